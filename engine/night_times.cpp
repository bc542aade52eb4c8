#include "engine/night_times.h"

#include <algorithm>
#include <cmath>

#include "engine/state.h"
#include "language/messages.h"

namespace orvano {

namespace {

// The worse of two statuses: none over estimated over ok.
PrayerStatus Worse(PrayerStatus a, PrayerStatus b) {
    return std::max(a, b);
}

}  // namespace

NightTimes ComputeNightTimes(ZonedDay day, ZonedDay next, int imsakMinutes, NightEnd end,
                             const NightClock& clock) {
    NightTimes night;
    const DaySchedule& today = day.schedule;
    const DaySchedule& tomorrow = next.schedule;

    night.status[Imsak] = today.status[Fajr];
    if (today.status[Fajr] != PrayerStatus::None) {
        night.hour[Imsak] = (ShownMinuteOf(today.shown[Fajr]).minuteOfDay - imsakMinutes) / 60.0;
    }

    const size_t last = end == NightEnd::NextSunrise ? Chourouk : Fajr;
    const PrayerStatus ends = Worse(today.status[Maghrib], tomorrow.status[last]);
    night.status[Midnight] = night.status[LastThird] = ends;
    if (ends != PrayerStatus::None) {
        // Both ends on this day's clock: the next day's minutes moved by the
        // change of zone, so that the night has the minutes that pass.
        const int zoneShift = static_cast<int>(std::lround((next.zoneHours - day.zoneHours) * 60));
        const int start = ShownMinuteOf(today.shown[Maghrib]).minuteOfDay;
        const int length =
            1440 + ShownMinuteOf(tomorrow.shown[last]).minuteOfDay - zoneShift - start;
        const int middle = start + (length + 1) / 2;
        const int third = start + (2 * length + 1) / 3;
        // A minute of the day's clock as the clock then in force shows it.
        const auto onClock = [&](int minute) {
            if (clock.zone == nullptr) return minute >= 1440 ? minute + zoneShift : minute;
            const auto instant = std::chrono::sys_seconds(clock.date) +
                                 std::chrono::minutes(minute) -
                                 std::chrono::seconds(std::lround(day.zoneHours * 3600));
            const double offset = ZoneOffsetAtInstant(clock.zone, instant);
            return minute + static_cast<int>(std::lround((offset - day.zoneHours) * 60));
        };
        night.hour[Midnight] = onClock(middle) / 60.0;
        night.hour[LastThird] = onClock(third) / 60.0;
    }
    return night;
}

NightEnd NightEndOf(const Convention& convention) {
    return convention.NightEndsAtSunrise ? NightEnd::NextSunrise : NightEnd::NextFajr;
}

const char* NightTimeName(NightIndex index) {
    switch (index) {
        case Imsak:
            return Tr("Imsak");
        case Midnight:
            return Tr("Midnight");
        case LastThird:
            return Tr("Last third");
    }
    return "";
}

const char* NightTimeJsonKey(NightIndex index) {
    constexpr std::array<const char*, kNightCount> keys = {"imsak", "midnight", "lastThird"};
    return keys[static_cast<size_t>(index)];
}

const char* NightTimeCsvKey(NightIndex index) {
    constexpr std::array<const char*, kNightCount> keys = {"imsak", "midnight", "last_third"};
    return keys[static_cast<size_t>(index)];
}

}  // namespace orvano
