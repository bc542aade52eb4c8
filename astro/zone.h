// Named time zones from the system's zone database (/usr/share/zoneinfo),
// read through the date/tz library. Offsets are hours east of Greenwich as
// doubles (5.5, 5.75, -3.5, 12.75); a zone is looked up by its database name.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "astro/records.h"

namespace date {
class time_zone;
}

namespace orvano {

using ZoneRef = const date::time_zone*;

// A zone name longer than this, empty, or with a character outside
// A-Za-z0-9/_+- is malformed.
inline constexpr std::size_t kMaxZoneNameBytes = 64;
bool ZoneNameWellFormed(std::string_view name);

// The database's zone of that name; nullptr when the name is malformed, not in
// the database, or the database cannot be read.
ZoneRef FindZone(std::string_view name);
inline bool ZoneKnown(std::string_view name) {
    return FindZone(name) != nullptr;
}

// Every zone name a user may choose, sorted.
std::vector<std::string> ZoneNames();

// The offset in effect at a local clock time (seconds since local midnight of
// the civil date; days beyond the month count on). A time inside a gap or a
// fold takes the offset in effect before the change.
double ZoneOffsetAtLocal(ZoneRef zone, int day, int month, int year, long long localSeconds);
// The offset at 12:00 local time: what a day's schedule uses.
double ZoneOffsetAtNoon(ZoneRef zone, int day, int month, int year);
// The offset at an instant.
double ZoneOffsetAtInstant(ZoneRef zone, std::chrono::system_clock::time_point instant);

// The zone's standard offset in a year: the lowest offset it takes in that
// year, so that summer time is whatever lies above it. The database's own
// summer-time flag is not used: it marks lower offsets too (Casablanca in
// Ramadan, Dublin in winter).
double ZoneStandardOffset(ZoneRef zone, int year);
// Whether the offset changes within the year.
bool ZoneHasSummerTime(ZoneRef zone, int year);

// The town line's integers for a zone: TimeZone is the standard offset
// truncated toward zero, DST is 1 when the zone has summer time in that year.
struct ZoneIntegers {
    int TimeZone = 0;
    int DST = 0;
};
ZoneIntegers ZoneIntegersOf(ZoneRef zone, int year);

// The civil date and clock time in the zone at an instant ("now" for a town
// with a zone).
Observation ZoneLocalTime(ZoneRef zone, std::chrono::system_clock::time_point instant);
// The same at a fixed offset in hours.
Observation FixedOffsetLocalTime(double hours, std::chrono::system_clock::time_point instant);
// The instant of a local civil time in the zone (gap and fold as above).
std::chrono::system_clock::time_point ZoneInstant(ZoneRef zone, const Observation& local);

// The desktop's civil time (the C library's local zone, as the system clock
// reads it) as the civil time in `zone` at the same instant, and back.
Observation DesktopTimeInZone(const Observation& desktop, ZoneRef zone);
Observation ZoneTimeOnDesktop(const Observation& local, ZoneRef zone);

// The desktop's own zone: the one TZ names when it is a database zone, else
// the zone /etc/localtime links to, else the one in /etc/timezone; empty when
// none of them names a known zone. The paths are parameters for tests.
std::string DesktopZoneName(const char* tzVariable, const std::string& localtimePath,
                            const std::string& timezonePath);
std::string DesktopZoneName();

// A zone in effect as a text: "%d" for whole hours, "%g" otherwise.
std::string ZoneHoursText(double hours);

// Whether a place's zone name is known; the zone, or nullptr (whole-hour model).
inline ZoneRef PlaceZone(const CurrentPlace& place) {
    return place.Zone.empty() ? nullptr : FindZone(place.Zone);
}

}  // namespace orvano
