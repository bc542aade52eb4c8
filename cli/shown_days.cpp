#include "cli/shown_days.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "astro/julian_time.h"
#include "astro/zone.h"
#include "engine/schedule.h"
#include "engine/solver.h"

namespace orvano::cli {

ShownDay ComputeShownDay(EngineState& state, date::year_month_day day) {
    state.observation.year = static_cast<int>(day.year());
    state.observation.month = static_cast<int>(static_cast<unsigned>(day.month()));
    state.observation.day = static_cast<int>(static_cast<unsigned>(day.day()));
    ComputeDaySchedule(state);
    const DaySchedule& s = state.schedule;
    ShownDay shown;
    shown.date = day;
    shown.zoneHours = state.timeZoneInEffect;
    for (size_t i = 0; i < kPrayerCount; ++i) {
        shown.status[i] = s.status[i];
        if (s.status[i] == PrayerStatus::None) continue;
        const ShownMinute minute = ShownMinuteOf(s.shown[i]);
        shown.text[i] = minute.text;
        shown.utcMinute[i] =
            LocalToUtcSeconds(state.place, date::sys_days(day) + date::days(minute.dayOffset),
                              std::int64_t{minute.minuteOfDay} * 60, shown.zoneHours) /
            60;
    }
    shown.schedule = s;
    shown.hijri = HijriOfCivilDay(
        static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
        static_cast<int>(static_cast<unsigned>(day.day())), state.hijriAdjust);
    return shown;
}

NightTimes ShownNights(const EngineState& state, const ShownDay& day, const ShownDay& next) {
    return ComputeNightTimes({day.schedule, day.zoneHours}, {next.schedule, next.zoneHours},
                             state.imsakMinutes, NightEndOf(SelectedConvention(state)),
                             {PlaceZone(state.place), date::sys_days(day.date)});
}

DayAsides AsidesOf(const ShownDay& day, const PrayerExtras& extras) {
    const bool friday = IsFriday(static_cast<int>(static_cast<unsigned>(day.date.day())),
                                 static_cast<int>(static_cast<unsigned>(day.date.month())),
                                 static_cast<int>(day.date.year()));
    return AsidesOfDay(day.schedule, friday, extras);
}

const char* ShownPrayerName(const DayAsides& asides, size_t prayer) {
    return asides.IsJumuah(prayer) ? kJumuahName : kPrayerNames[prayer];
}

std::string AsideText(const DayAsides& asides, size_t prayer, AsideField field) {
    const std::optional<int>& minute = asides.prayer[prayer].*field;
    return minute ? MinuteClockText(*minute) : std::string();
}

std::string HijriJson(const std::optional<HijriDate>& hijri) {
    if (!hijri) return "null";
    JsonObject json;
    json.add("year", hijri->year).add("month", hijri->month).add("day", hijri->day);
    json.add("monthName", HijriMonthName(hijri->month));
    return json.str();
}

std::string HijriLine(const std::optional<HijriDate>& hijri) {
    return "Hijri     " + (hijri ? HijriDateText(*hijri) : std::string("--"));
}

std::string NightJson(const NightTimes& night, NightIndex index) {
    const auto n = static_cast<size_t>(index);
    const PrayerStatus status = night.status[n];
    JsonObject json;
    if (status == PrayerStatus::None)
        json.addRaw("hour", "null");
    else
        json.add("hour", night.hour[n]);
    json.add("text", ShownClockText(status, night.hour[n]));
    json.add("status", PrayerStatusName(status));
    return json.str();
}

std::string DateText(date::year_month_day day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

std::int64_t LocalToUtcSeconds(const CurrentPlace& place, date::sys_days day,
                               std::int64_t secondOfDay, double zoneHours) {
    const std::int64_t local =
        static_cast<std::int64_t>(day.time_since_epoch().count()) * 86400 + secondOfDay;
    if (ZoneRef zone = PlaceZone(place)) {
        // Whole days first, so that 24:00 is the next day's midnight.
        const auto whole =
            date::sys_days(date::days(local >= 0 ? local / 86400 : (local - 86399) / 86400));
        const std::int64_t second =
            local - static_cast<std::int64_t>(whole.time_since_epoch().count()) * 86400;
        const date::year_month_day civil{whole};
        const Observation o{static_cast<int>(static_cast<unsigned>(civil.day())),
                            static_cast<int>(static_cast<unsigned>(civil.month())),
                            static_cast<int>(civil.year()),
                            static_cast<int>(second / 3600),
                            static_cast<int>(second / 60 % 60),
                            static_cast<int>(second % 60)};
        return std::chrono::duration_cast<std::chrono::seconds>(
                   ZoneInstant(zone, o).time_since_epoch())
            .count();
    }
    return local - static_cast<std::int64_t>(std::llround(zoneHours * 3600));
}

Observation PlaceNow(const CurrentPlace& place) {
    if (ZoneRef zone = PlaceZone(place)) {
        return ZoneLocalTime(zone, std::chrono::system_clock::now());
    }
    const std::time_t now = std::time(nullptr);
    // The zone in effect depends on the local date, which depends on the zone:
    // the standard zone's date decides, as the rules change at night.
    const auto at = [&](double zoneHours) {
        const auto seconds = static_cast<std::time_t>(std::llround(zoneHours * 3600));
        const std::time_t local = now + seconds;
        std::tm t{};
        gmtime_r(&local, &t);
        return Observation{t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                           t.tm_hour, t.tm_min,     t.tm_sec};
    };
    const Observation standard = at(place.TimeZone);
    return at(ZoneInEffect(place, standard.day, standard.month, standard.year, nullptr));
}

}  // namespace orvano::cli
