#include "today/town_time.h"

#include <chrono>
#include <ctime>

#include "astro/zone.h"
#include "platform/notification_store.h"

namespace orvano {

namespace {

using Instant = std::chrono::system_clock::time_point;

// The desktop's zone is the C library's, as the system clock reads it.
Instant DesktopInstant(const LocalTime& t) {
    std::tm local{};
    local.tm_year = t.year - 1900;
    local.tm_mon = t.month - 1;
    local.tm_mday = t.day;
    local.tm_hour = t.hour;
    local.tm_min = t.minute;
    local.tm_sec = t.second;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local)) +
           std::chrono::milliseconds(t.milliseconds);
}

LocalTime DesktopLocal(Instant instant, int milliseconds) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(instant);
    std::tm local{};
    localtime_r(&seconds, &local);
    LocalTime t{local.tm_year + 1900,
                local.tm_mon + 1,
                local.tm_wday,
                local.tm_mday,
                local.tm_hour,
                local.tm_min,
                std::min(local.tm_sec, 59),
                milliseconds};
    return t;
}

}  // namespace

LocalTime TownNow(const LocalTime& desktopNow, const CurrentPlace& place) {
    const ZoneRef zone = PlaceZone(place);
    if (zone == nullptr) return desktopNow;
    const Observation o = ZoneLocalTime(zone, DesktopInstant(desktopNow));
    LocalTime t{o.year, o.month, 0, o.day, o.hour, o.minute, o.second, desktopNow.milliseconds};
    return NormaliseLocalTime(t);  // sets the weekday
}

LocalTime TownTimeOnDesktop(const LocalTime& townTime, const CurrentPlace& place) {
    const ZoneRef zone = PlaceZone(place);
    if (zone == nullptr) return townTime;
    const LocalTime n = NormaliseLocalTime(townTime);  // an end at 24:00 is the next day's 00:00
    const Instant instant = ZoneInstant(zone, {n.day, n.month, n.year, n.hour, n.minute, n.second});
    return DesktopLocal(instant, n.milliseconds);
}

}  // namespace orvano
