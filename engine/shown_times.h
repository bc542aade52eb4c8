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

namespace orvano {

struct Convention;
struct DaySchedule;

enum class PrayerStatus : unsigned char { Ok, Estimated, None };

// How a Fajr or Isha whose twilight is never reached is estimated: a seventh
// of the night, half of it, or the twilight angle's sixtieth of it; or not at
// all.
enum class HighLatitudeRule : unsigned char { Seventh, Middle, Angle, None };

inline constexpr HighLatitudeRule kDefaultHighLatitudeRule = HighLatitudeRule::Seventh;

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

// The clock text shown for a prayer: "--:--" when it has no time, else the
// clock text of its hour reduced into the day.
std::string ShownClockText(PrayerStatus status, double hour);

// The minute of the day (0..1439) that a shown hour is shown as, the hour
// first brought into the day.
int ShownMinute(double hours);

inline constexpr const char* kNoTimeText = "--:--";

// Follows every estimated time wherever it is shown; the legend explains it.
inline constexpr const char* kEstimateMark = "*";

// The legend of the mark: which rule made the estimated times, in English or
// French, starting with the mark ("" for the rule None, which estimates
// nothing).
const char* EstimateLegendText(HighLatitudeRule rule, bool french);
// The same in a few characters, for where room is short ("* 1/7 night").
const char* EstimateLegendShortText(HighLatitudeRule rule, bool french);

}  // namespace orvano
