// What is shown and alarmed for each prayer of a day: the adjusted hour when
// its solve succeeded, an estimate from the night when a twilight was never
// reached, or no time at all. The solver's results and hours are read, never
// changed.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "astro/records.h"
#include "config/records.h"

namespace orvano {

struct Convention;
struct DaySchedule;

enum class PrayerStatus : unsigned char { Ok, Estimated, None };

// The text a status is written with: "ok", "estimated", "none".
const char* PrayerStatusName(PrayerStatus status);
// "seventh", "middle", "angle", "none": the words of the setting and of the
// command line.
const char* HighLatitudeRuleName(HighLatitudeRule rule);
// The rule named by one of those words; nothing for any other text.
std::optional<HighLatitudeRule> ParseHighLatitudeRule(std::string_view text);

// What the day's solves returned beside their hours.
struct SolveResults {
    // SolveSalatHour's result per PrayerIndex; 0 for Zuhr, which is never
    // solved, and for an Isha that follows Maghrib.
    std::array<int, kPrayerCount> result{};
    // Isha is Maghrib's exact hour plus fixed minutes, not a solve.
    bool ishaFollowsMaghrib = false;
};

// Fills day.status and day.shown from day.exact, day.adjusted and
// day.results:
//  - Fajr or Isha whose solve failed, on a day whose sunrise and sunset were
//    found, is estimated from night = (sunrise + 24) - sunset (exact hours):
//    Fajr = sunrise - portion, Isha = sunset + portion, then the added minutes
//    exactly as for an adjusted hour. Under HighLatitudeRule::None it has no
//    time.
//  - None: a failed sunrise or sunset; a failed Asr, and any Asr on a day
//    whose sunrise found the Sun always below the horizon (the shadow formula
//    still gives an hour then); an Isha following a failed Maghrib; a failed
//    Fajr or Isha that is not estimated.
// Allocates nothing.
void ComputeShownTimes(DaySchedule& day, const Convention& convention, HighLatitudeRule rule);

// An hour brought into [0, 24): h - 24 * floor(h / 24). The date it belongs
// to does not change.
double ReduceIntoDay(double hours);

inline constexpr int kMinutesPerDay = 24 * 60;

inline constexpr const char* kNoTimeText = "--:--";

// Where an hour of a day's schedule is shown and rung: a whole minute of a
// date. Every page, list, file and alarm takes its minute from here, so that
// none of them disagrees with another near midnight.
struct ShownMinute {
    int minuteOfDay = -1;  // [0, 1440); -1 for an hour that is not a number
    // The date the minute falls on, in days after the schedule's own date:
    // +1 for an hour of 24 or more, or one that rounds to midnight from
    // 23:59:30 on; -1 for a negative hour. Lists keep the prayer in its own
    // day's row; alarms ring on the date it falls on.
    int dayOffset = 0;
    std::string text = kNoTimeText;  // "HH:MM" of minuteOfDay

    bool valid() const { return minuteOfDay >= 0; }
    // Minutes from the schedule's own midnight to this one.
    int minutesFromScheduleMidnight() const { return dayOffset * kMinutesPerDay + minuteOfDay; }
};

// The minute `hour` (decimal local hours from the schedule's midnight) is
// shown and rung at. Nearest goes up from half a minute exactly as the
// traced clock text does; Up and Down keep an hour a hair past a whole
// minute (the binary hour's error) on that minute.
ShownMinute ShownMinuteOf(double hour, MinuteRounding rounding = MinuteRounding::Nearest);

// The clock text shown for a prayer: "--:--" when it has no time, else the
// text of its shown minute.
std::string ShownClockText(PrayerStatus status, double hour);

// Follows every estimated time wherever it is shown; the legend explains it.
inline constexpr const char* kEstimateMark = "*";

// The legend of the mark: which rule made the estimated times, in the
// language in use, starting with the mark ("" for the rule None, which estimates
// nothing).
const char* EstimateLegendText(HighLatitudeRule rule);
// The same in a few characters, for where room is short ("* 1/7 night").
const char* EstimateLegendShortText(HighLatitudeRule rule);

}  // namespace orvano
