// The program-wide records of one deliverable, grouped. The application and the
// plug-in each own exactly one for the life of their process.
#pragma once

#include <array>

#include "astro/records.h"
#include "astro/trace.h"
#include "config/records.h"

namespace orvano {

struct DaySchedule {
    std::array<double, kPrayerCount> exact{};
    std::array<double, kPrayerCount> adjusted{};
};

struct MonthSchedule {
    int dayCount = 0;
    std::array<std::array<double, kPrayerCount>, 31> adjusted{};
    std::array<int, 31> weekday{};
};

struct EngineState {
    ConfigTables tables;
    CurrentPlace place;
    Observation observation;
    SunState sun;
    int timeZoneInEffect = 0;
    DaySchedule schedule;
    // Where the verbose report goes; nullptr prints nothing (the plug-in).
    TraceSink* traceSink = nullptr;

    Trace trace() const { return Trace{tables.Verbose, traceSink}; }
};

}  // namespace orvano
