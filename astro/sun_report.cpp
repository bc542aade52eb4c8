#include "astro/sun_report.h"

#include <cmath>

#include "astro/angle_text.h"
#include "astro/civil_date.h"
#include "astro/constants.h"
#include "astro/julian_time.h"
#include "astro/solar_ephemeris.h"
#include "astro/trace.h"

namespace orvano {

void ComputeSunPosition(const Observation& observation, const CurrentPlace& place,
                        double& timeZoneInEffect, SunState& sun, const Trace& trace) {
    bool dstApplies = false;
    timeZoneInEffect = ZoneInEffectAtClock(place, observation, &dstApplies);

    trace.Printf("_____________________________________________________________\n");
    trace.Printf("Lieu : %s, %s\n", PrintableText(place.Country).c_str(),
                 PrintableText(place.Name).c_str());
    // The report gives the angles the computation uses: the radians, in degrees.
    const double latitude = place.latitude.Radians();
    const double longitude = place.longitude.Radians();
    trace.Printf("latitude=%g°   longitude=%g°\n", latitude * kRadToDeg, longitude * kRadToDeg);
    trace.Printf("latitude=%s   longitude=%s\n", AngleToDmsText(latitude).c_str(),
                 AngleToDmsText(longitude).c_str());

    double utHour = (observation.hour - timeZoneInEffect) + observation.second * (1.0 / 3600) +
                    observation.minute * (1.0 / 60);
    const int dayBack = utHour < 0 ? 1 : 0;
    utHour += 24 * dayBack;
    sun.utHour = utHour;
    // Day 0 counts as the last day of the previous month on the time scale;
    // the date kept for display is the real calendar date.
    sun.T = JulianCenturies(observation.day - dayBack, observation.month, observation.year, utHour);
    const CivilDate utDate =
        AddDays(CivilDateOf(observation.year, observation.month, observation.day), -dayBack);
    sun.utDay = static_cast<int>(static_cast<unsigned>(utDate.day()));
    sun.utMonth = static_cast<int>(static_cast<unsigned>(utDate.month()));
    sun.utYear = static_cast<int>(utDate.year());

    trace.Printf("__ Date : %s %d/%d/%d à %gh UT   %s  TZ (include DST)=%s\n",
                 kWeekdayNames[static_cast<std::size_t>(LocalWeekday(sun.T, timeZoneInEffect))],
                 sun.utDay, sun.utMonth, sun.utYear, utHour,
                 dstApplies ? "DST Applies" : "DST does not apply",
                 ZoneHoursText(timeZoneInEffect).c_str());
    trace.Printf("T=%g JC\n", sun.T);

    sun.L = SunLongitude(sun.T);
    trace.Printf("Soleil Longitude L=%g° ie : %s\n", sun.L * kRadToDeg,
                 AngleToHmsText(sun.L).c_str());
    SunEquatorial(sun.L, sun.RA, sun.delta);

    sun.theta0 = GreenwichSiderealTime(sun.T);
    sun.theta = sun.theta0 + longitude;
    trace.Printf("theta0=%g° ie : %s\n", sun.theta0 * kRadToDeg,
                 AngleToHmsText(sun.theta0).c_str());
    trace.Printf("theta=%g°  ie heure sidérale %s\n", sun.theta * kRadToDeg,
                 AngleToHmsText(sun.theta).c_str());

    sun.tau = sun.theta - sun.RA;
    trace.Printf("RA=%g° ie : %s\n", sun.RA * kRadToDeg, AngleToHmsText(sun.RA).c_str());
    trace.Printf("delta=%g°  ie DE %s\n", sun.delta * kRadToDeg, AngleToDmsText(sun.delta).c_str());
    trace.Printf("tau=%g°  ie angle horaire %s\n", sun.tau * kRadToDeg,
                 AngleToHmsText(sun.tau).c_str());

    HorizontalPosition(latitude, sun.tau, sun.delta, sun.h, sun.az);
    trace.Printf("az=%g° (orgine Sud) ie : azimut %s\n", sun.az * kRadToDeg,
                 AngleToDmsText(sun.az).c_str());
    trace.Printf("------az=%g° (orgine Nord) ie -180 : azimut %s\n", sun.az * kRadToDeg - 180,
                 AngleToDmsText(sun.az - kPi).c_str());
    trace.Printf("h=%g°  ie altitude %s\n", sun.h * kRadToDeg, AngleToDmsText(sun.h).c_str());
}

double QiblaBearing(Degrees placeLatitude, Degrees placeLongitude) {
    const double kaabaLatitude = 21.422509756558238 * kDegToRad;
    const double kaabaLongitude = 39.82620120048523 * kDegToRad;
    const double latitude = placeLatitude.Radians();
    const double deltaLongitude = kaabaLongitude - placeLongitude.Radians();
    const double numerator = std::sin(deltaLongitude);
    const double denominator = std::tan(kaabaLatitude) * std::cos(latitude) -
                               std::sin(latitude) * std::cos(deltaLongitude);
    return std::atan2(numerator, denominator);
}

}  // namespace orvano
