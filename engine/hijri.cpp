#include "engine/hijri.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <array>
#include <memory>
#include <mutex>

#include "astro/civil_date.h"
#include "engine/shown_times.h"
#include "engine/state.h"

namespace orvano {

namespace {

constexpr std::array<const char*, 12> kEnglishMonths = {
    "Muharram", "Safar",   "Rabi' al-Awwal", "Rabi' al-Thani", "Jumada al-Ula", "Jumada al-Akhirah",
    "Rajab",    "Sha'ban", "Ramadan",        "Shawwal",        "Dhu al-Qi'dah", "Dhu al-Hijjah"};
constexpr std::array<const char*, 12> kFrenchMonths = {
    "Mouharram",          "Safar",        "Rabia al-Awal", "Rabia ath-Thani", "Joumada al-Oula",
    "Joumada ath-Thania", "Rajab",        "Chaabane",      "Ramadan",         "Chawwal",
    "Dhou al-Qi'da",      "Dhou al-Hijja"};

// One calendar for the process, used under CalendarLock: ICU's calendars are
// not safe to share between threads, and making one loads the calendar's
// data, too slow to do for every date of a month. Not one per thread: a
// thread_local object with a destructor keeps the library that holds it
// loaded after dlclose, and the Today plug-in must unload while its host's
// services still exist.
std::mutex& CalendarLock() {
    static std::mutex lock;
    return lock;
}

icu::Calendar* UmmAlQura() {
    static const std::unique_ptr<icu::Calendar> calendar = [] {
        UErrorCode status = U_ZERO_ERROR;
        // The instant given is noon UTC of the civil date, so the calendar
        // must count days in UTC, whatever the desktop's zone.
        std::unique_ptr<icu::Calendar> made(icu::Calendar::createInstance(
            icu::TimeZone::getGMT()->clone(), icu::Locale("en@calendar=islamic-umalqura"), status));
        if (U_FAILURE(status)) made.reset();
        return made;
    }();
    return calendar.get();
}

}  // namespace

std::optional<HijriDate> HijriOfCivilDay(int year, int month, int day, int adjust) {
    const std::lock_guard<std::mutex> lock(CalendarLock());
    icu::Calendar* calendar = UmmAlQura();
    if (calendar == nullptr) return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
    const long long days = DaysFromCivil(year, month, day) + adjust;
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime((static_cast<UDate>(days) * 86400.0 + 43200.0) * 1000.0, status);
    HijriDate hijri;
    hijri.year = calendar->get(UCAL_EXTENDED_YEAR, status);
    hijri.month = calendar->get(UCAL_MONTH, status) + 1;
    hijri.day = calendar->get(UCAL_DATE, status);
    if (U_FAILURE(status)) return std::nullopt;
    return hijri;
}

HijriDay HijriOfDay(int year, int month, int day, const DaySchedule& schedule, int adjust) {
    HijriDay hijri;
    hijri.daylight = HijriOfCivilDay(year, month, day, adjust);
    hijri.evening = HijriOfCivilDay(year, month, day, adjust + 1);
    if (schedule.status[Maghrib] != PrayerStatus::None) {
        hijri.eveningMinute = ShownMinuteOf(schedule.shown[Maghrib]).minuteOfDay;
    }
    return hijri;
}

std::optional<HijriDate> HijriAtMinute(int year, int month, int day, const DaySchedule& schedule,
                                       int minuteOfDay, int adjust) {
    return HijriOfDay(year, month, day, schedule, adjust).At(minuteOfDay);
}

const char* HijriMonthName(int month, bool french) {
    if (month < 1 || month > 12) return "";
    const auto index = static_cast<size_t>(month - 1);
    return french ? kFrenchMonths[index] : kEnglishMonths[index];
}

std::string HijriDateText(const HijriDate& date, bool french) {
    return std::to_string(date.day) + " " + HijriMonthName(date.month, french) + " " +
           std::to_string(date.year);
}

}  // namespace orvano
