// Program-wide records of the astronomy core. Each deliverable owns one
// instance of each for the life of its process; tests make their own.
#pragma once

#include <optional>
#include <string>

#include "astro/degrees.h"

namespace orvano {

// Prayer order used by every table of six times.
enum PrayerIndex : int { Fajr = 0, Chourouk = 1, Zuhr = 2, Asr = 3, Maghrib = 4, Isha = 5 };
inline constexpr int kPrayerCount = 6;

// The date and clock time under computation, local civil time.
struct Observation {
    int day = 0;
    int month = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The selected town's working values that the engine reads.
struct CurrentPlace {
    std::string Name;
    std::string Country;
    Degrees latitude;    // north positive
    Degrees longitude;   // east positive
    int TimeZone = 0;    // standard zone, whole hours east of Greenwich
    int DST = 0;         // 0 none, 2 Friday rule, other Sunday rule
    int Convention = 0;  // index into the convention table
    // The town's zone in the system's zone database; empty for the whole-hour
    // model. A name the database does not know also falls back to it.
    std::string Zone;
    // The town's catalogue method id; empty: the Convention slot.
    std::string Method;
    // A zone in effect given directly in hours, such as 5.5 (the command line's
    // --tz); when set it is used as it is, without summer time.
    std::optional<double> FixedZone;
};

// The Sun's last computed quantities, overwritten by each computation.
// Angles are in radians here, unlike the degrees of the configuration's records.
struct SunState {
    double T = 0.0;            // Julian centuries from J2000.0
    double L = 0.0;            // true longitude, radians
    double RA = 0.0;           // right ascension, radians in (-pi, pi]
    double delta = 0.0;        // declination, radians
    double theta0 = 0.0;       // Greenwich sidereal time, radians
    double theta = 0.0;        // local sidereal time, radians
    double tau = 0.0;          // hour angle, radians
    double h = 0.0;            // altitude, radians
    double az = 0.0;           // azimuth, radians clockwise from North
    double transitHour = 0.0;  // local hours
    double utHour = 0.0;       // UT hours
    // The UT date of the last position computation. Kept here so that the
    // observation itself is never moved back a day by looking at the Sun.
    int utDay = 0;
    int utMonth = 0;
    int utYear = 0;
};

}  // namespace orvano
