// The program-wide records of one deliverable, grouped. The application and the
// plug-in each own exactly one for the life of their process.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>

#include "astro/records.h"
#include "astro/trace.h"
#include "config/records.h"
#include "engine/night_times.h"
#include "engine/shown_times.h"

namespace orvano {

struct DaySchedule {
    std::array<double, kPrayerCount> exact{};
    std::array<double, kPrayerCount> adjusted{};
    SolveResults results;
    // What is shown and alarmed (ComputeShownTimes): per prayer its status
    // and its hour, not reduced into the day; the hour is a quiet NaN when the
    // status is None, so test the status before using it.
    std::array<PrayerStatus, kPrayerCount> status{};
    std::array<double, kPrayerCount> shown{};
};

struct MonthSchedule {
    int dayCount = 0;
    std::array<std::array<double, kPrayerCount>, 31> adjusted{};
    std::array<int, 31> weekday{};
    // Each day's DaySchedule::status and ::shown.
    std::array<std::array<PrayerStatus, kPrayerCount>, 31> status{};
    std::array<std::array<double, kPrayerCount>, 31> shown{};
};

struct EngineState {
    ConfigTables tables;
    CurrentPlace place;
    Observation observation;
    SunState sun;
    double timeZoneInEffect = 0.0;
    DaySchedule schedule;
    // The catalogue's methods as conventions, by id (MethodConventions). A
    // place whose Method names one of them, or a slot "slot0".."slot8", is
    // computed with it instead of its Convention slot.
    std::map<std::string, Convention, std::less<>> methods;
    // How failed Fajr and Isha solves are shown, where the user has chosen;
    // otherwise the method's own rule (HighLatitudeRuleOf).
    std::optional<HighLatitudeRule> highLatitudeRule;
    // The user's correction of the Hijri date in whole days, and Imsak's
    // minutes before Fajr.
    int hijriAdjust = 0;
    int imsakMinutes = kDefaultImsakMinutes;
    // Where the verbose report goes; nullptr prints nothing (the plug-in).
    TraceSink* traceSink = nullptr;

    Trace trace() const { return Trace{tables.Verbose, traceSink}; }
};

}  // namespace orvano
