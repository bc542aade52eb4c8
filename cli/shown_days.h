// Days of the schedule as the program shows them, with the instant each
// prayer falls on: what `next` and `export` work from.
#pragma once

#include <date/date.h>

#include <array>
#include <cstdint>
#include <string>

#include "astro/civil_date.h"
#include "engine/state.h"

namespace orvano::cli {

// The names the tool prints, and the lower-case words of CSV headers and
// iCalendar identifiers.
inline constexpr std::array<const char*, kPrayerCount> kPrayerNames = {"Fajr", "Chourouk", "Zuhr",
                                                                       "Asr",  "Maghrib",  "Isha"};
inline constexpr std::array<const char*, kPrayerCount> kPrayerKeys = {"fajr", "sunrise", "dhuhr",
                                                                      "asr",  "maghrib", "isha"};

struct ShownDay {
    date::year_month_day date;
    double zoneHours = 0;  // the zone in effect that day
    std::array<PrayerStatus, kPrayerCount> status{};
    // "HH:MM" as shown; empty when the prayer has no time.
    std::array<std::string, kPrayerCount> text;
    // The instant, in minutes since 1970-01-01 00:00 UTC; meaningful only when
    // the prayer has a time. A shown hour beyond the day's end falls on the
    // next day, though the prayer belongs to this one.
    std::array<std::int64_t, kPrayerCount> utcMinute{};
};

// Computes `day` for state.place under state.tables and state.highLatitudeRule;
// state.observation and state.schedule are left as that day's.
ShownDay ComputeShownDay(EngineState& state, date::year_month_day day);

std::string DateText(date::year_month_day day);

// The local civil time of the place now, in the zone in effect there.
Observation PlaceNow(const CurrentPlace& place);

// The instant, in seconds since 1970-01-01 00:00 UTC, of a local civil time of
// the place: through its named zone when it has one, else `zoneHours` east.
std::int64_t LocalToUtcSeconds(const CurrentPlace& place, date::sys_days day,
                               std::int64_t secondOfDay, double zoneHours);

}  // namespace orvano::cli
