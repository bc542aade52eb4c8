// The night's times of a day, derived from its shown prayer times: Imsak
// before Fajr, and the middle and the last third of the night that runs from
// the day's shown Maghrib to the next day's shown Fajr.
#pragma once

#include <array>
#include <chrono>
#include <string>

#include "astro/zone.h"
#include "engine/shown_times.h"

namespace orvano {

struct DaySchedule;
struct Convention;

enum NightIndex : int { Imsak = 0, Midnight = 1, LastThird = 2 };
inline constexpr int kNightCount = 3;

inline constexpr int kDefaultImsakMinutes = 10;

// A day's shown schedule with the zone in effect that day.
struct ZonedDay {
    const DaySchedule& schedule;
    double zoneHours = 0;
};

// Which clock a time of the night is read on: with a named zone, the zone's
// at that instant (the night's date needed for it); without, the next day's
// zone from midnight on.
struct NightClock {
    ZoneRef zone = nullptr;
    std::chrono::sys_days date{};
};

// Where the night the middle and the last third divide ends: the methods
// catalogue says which rule a method follows.
enum class NightEnd : unsigned char { NextFajr, NextSunrise };

struct NightTimes {
    // Per NightIndex: its status and its hour, on a whole minute, counted
    // from the day's midnight as the shown hours are (past 24 after it). The
    // hour means nothing when the status is None.
    std::array<PrayerStatus, kNightCount> status{};
    std::array<double, kNightCount> hour{};
};

// Imsak is the shown Fajr less `imsakMinutes`, with Fajr's status. The
// night's middle and the start of its last third divide the minutes from the
// shown Maghrib to the next day's shown Fajr, or sunrise under
// NightEnd::NextSunrise (a change of zone between the two days counted), a
// half minute rounding up; each is estimated when one of its two ends is, and
// has no time when one of them has none.
NightTimes ComputeNightTimes(ZonedDay day, ZonedDay next, int imsakMinutes, NightEnd end,
                             const NightClock& clock);

// The night's end under a convention's rule.
NightEnd NightEndOf(const Convention& convention);

// The names the night times are shown with, in the language in use. Imsak's
// differs from every language's name for Fajr.
const char* NightTimeName(NightIndex index);
// The lower-case words of JSON fields and CSV columns: "imsak", "midnight",
// "lastThird" / "last_third".
const char* NightTimeJsonKey(NightIndex index);
const char* NightTimeCsvKey(NightIndex index);

}  // namespace orvano
