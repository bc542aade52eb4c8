#include "today/town_time.h"

#include "astro/zone.h"
#include "platform/notification_store.h"

namespace orvano {

namespace {

Observation ToObservation(const LocalTime& t) {
    return {t.day, t.month, t.year, t.hour, t.minute, t.second};
}

// The weekday follows from the date; the milliseconds are the clock's own.
LocalTime ToLocalTime(const Observation& o, int milliseconds) {
    return NormaliseLocalTime(
        {o.year, o.month, 0, o.day, o.hour, o.minute, o.second, milliseconds});
}

}  // namespace

LocalTime TownNow(const LocalTime& desktopNow, const CurrentPlace& place) {
    const ZoneRef zone = PlaceZone(place);
    if (zone == nullptr) return desktopNow;
    return ToLocalTime(DesktopTimeInZone(ToObservation(desktopNow), zone), desktopNow.milliseconds);
}

LocalTime TownTimeOnDesktop(const LocalTime& townTime, const CurrentPlace& place) {
    const ZoneRef zone = PlaceZone(place);
    if (zone == nullptr) return townTime;
    const LocalTime n = NormaliseLocalTime(townTime);  // an end at 24:00 is the next day's 00:00
    return ToLocalTime(ZoneTimeOnDesktop(ToObservation(n), zone), n.milliseconds);
}

}  // namespace orvano
