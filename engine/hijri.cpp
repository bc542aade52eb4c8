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
#include "language/messages.h"

namespace orvano {

namespace {

constexpr std::array<const char*, 12> kMonths = {
    NC_("Hijri month", "Muharram"),       NC_("Hijri month", "Safar"),
    NC_("Hijri month", "Rabi' al-Awwal"), NC_("Hijri month", "Rabi' al-Thani"),
    NC_("Hijri month", "Jumada al-Ula"),  NC_("Hijri month", "Jumada al-Akhirah"),
    NC_("Hijri month", "Rajab"),          NC_("Hijri month", "Sha'ban"),
    NC_("Hijri month", "Ramadan"),        NC_("Hijri month", "Shawwal"),
    NC_("Hijri month", "Dhu al-Qi'dah"),  NC_("Hijri month", "Dhu al-Hijjah")};

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

const char* HijriMonthName(int month) {
    if (month < 1 || month > 12) return "";
    return kMonths[static_cast<size_t>(month - 1)];
}

std::string HijriDateText(const HijriDate& date) {
    return std::to_string(date.day) + " " + Tr("Hijri month", HijriMonthName(date.month)) + " " +
           std::to_string(date.year);
}

}  // namespace orvano
