// Days of the schedule as the program shows them, with the instant each
// prayer falls on: what `next` and `export` work from.
#pragma once

#include <date/date.h>

#include <array>
#include <cstdint>
#include <string>

#include "astro/civil_date.h"
#include "astro/json.h"
#include "engine/hijri.h"
#include "engine/iqama.h"
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
    // The day as computed, for what is derived from its shown hours.
    DaySchedule schedule;
    // The Hijri day that begins the evening before, under state.hijriAdjust.
    std::optional<HijriDate> hijri;
};

// Computes `day` for state.place under state.tables and state.highLatitudeRule;
// state.observation and state.schedule are left as that day's.
ShownDay ComputeShownDay(EngineState& state, date::year_month_day day);

// The night times of `day`, whose night ends on `next`'s Fajr.
NightTimes ShownNights(const EngineState& state, const ShownDay& day, const ShownDay& next);

// {"year", "month", "day", "monthName"} (English), or null.
std::string HijriJson(const std::optional<HijriDate>& hijri);
// "Hijri     5 Ramadan 1445", the text outputs' last line; "Hijri     --"
// when ICU has no date.
std::string HijriLine(const std::optional<HijriDate>& hijri);
// {"hour", "text", "status"}: the hour as the shown hours are given (null
// when there is none), its clock text and its status.
std::string NightJson(const NightTimes& night, NightIndex index);

std::string DateText(date::year_month_day day);

// The reminders, iqama and Jumu'ah of `day` under what the user set.
DayAsides AsidesOf(const ShownDay& day, const PrayerExtras& extras);
// The name a prayer is printed with: Jumu'ah in Zuhr's place on a Friday
// that has it.
const char* ShownPrayerName(const DayAsides& asides, size_t prayer);
// The clock text of one of a prayer's asides (its own minute, its iqama or
// its reminder), "" when it has none.
using AsideField = std::optional<int> PrayerAside::*;
std::string AsideText(const DayAsides& asides, size_t prayer, AsideField field);

// The local civil time of the place now, in the zone in effect there.
Observation PlaceNow(const CurrentPlace& place);

// The instant, in seconds since 1970-01-01 00:00 UTC, of a local civil time of
// the place: through its named zone when it has one, else `zoneHours` east.
std::int64_t LocalToUtcSeconds(const CurrentPlace& place, date::sys_days day,
                               std::int64_t secondOfDay, double zoneHours);

}  // namespace orvano::cli
