// The Hijri date of a civil day on the Umm al-Qura calendar, as ICU keeps it
// (its table where the table reaches, the tabular calendar beyond), and the
// user's correction of a day or two for the local sighting of the moon.
#pragma once

#include <optional>
#include <string>

namespace orvano {

struct DaySchedule;

struct HijriDate {
    int year = 0;
    int month = 0;  // 1 = Muharram .. 12 = Dhu al-Hijjah
    int day = 0;

    bool operator==(const HijriDate&) const = default;
};

inline constexpr int kRamadan = 9;

// The Hijri day that begins on the evening before the civil date and covers
// its daylight, moved `adjust` days later (earlier when negative). Nothing
// when ICU cannot give it.
std::optional<HijriDate> HijriOfCivilDay(int year, int month, int day, int adjust);

// The Hijri date at a minute of a civil day whose schedule is `schedule`:
// the evening starts the day, so from the shown Maghrib on it is the next
// civil day's; on a day without a Maghrib the day turns at local midnight.
std::optional<HijriDate> HijriAtMinute(int year, int month, int day, const DaySchedule& schedule,
                                       int minuteOfDay, int adjust);

// The two Hijri dates a civil day shows: the one its daylight is in, and the
// one its evening starts at the shown Maghrib (never, on a day without one).
struct HijriDay {
    std::optional<HijriDate> daylight;
    std::optional<HijriDate> evening;
    int eveningMinute = 24 * 60;  // the shown Maghrib's minute of the day

    const std::optional<HijriDate>& At(int minuteOfDay) const {
        return minuteOfDay >= eveningMinute ? evening : daylight;
    }
    bool InRamadan() const { return daylight && daylight->month == kRamadan; }
};
HijriDay HijriOfDay(int year, int month, int day, const DaySchedule& schedule, int adjust);

// The month's name as written in English (1..12; "" for anything else), the
// same in every language for what machines read.
const char* HijriMonthName(int month);

// "5 Ramadan 1445".
std::string HijriDateText(const HijriDate& date);

}  // namespace orvano
