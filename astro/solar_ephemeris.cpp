#include "astro/solar_ephemeris.h"

#include <cmath>

#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/julian_time.h"

namespace orvano {

namespace {

// Reduction of degrees to [0, 360): the multiple of 360 is formed in integers.
double ReduceDegrees(double degrees) {
    const int turns = static_cast<int>(degrees * (1.0 / 360));
    degrees = degrees - static_cast<double>(360 * turns);
    if (degrees < 0) degrees += 360;
    return degrees;
}

void EvaluateSun(double t, SunState& sun) {
    sun.T = t;
    sun.L = SunLongitude(t);
    SunEquatorial(sun.L, sun.RA, sun.delta);
    sun.theta0 = GreenwichSiderealTime(t);
}

}  // namespace

double SunLongitude(double t) {
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double M = t * 35999.0503 + 357.5291 - t2 * 0.0001559 - t3 * 4.8e-07;
    const double m = M * kDegToRad;
    const double q = (1.9146 - t * 0.004817 - t2 * 1.4e-05) * std::sin(m) +
                     (0.019993 - t * 0.000101) * std::sin(2 * m) + std::sin(3 * m) * 0.00029;
    const double L0 = (t * 0.0003032 + 36000.76983) * t + 280.46645;
    return ReduceDegrees(q + L0) * kDegToRad;
}

double SunEquatorial(double l, double& ra, double& delta) {
    const double epsilon = 23.43999 * kDegToRad;
    const double z = std::sin(l) * std::sin(epsilon);
    const double c = std::sqrt(1 - z * z);
    delta = std::atan2(z, c);
    // The half-angle form gives RA in (-pi, pi]; the transit relies on that range.
    ra = 2 * std::atan2(std::sin(l) * std::cos(epsilon), c + std::cos(l));
    return ra;
}

double GreenwichSiderealTime(double t) {
    const double t3 = t * t * t;
    const double theta0 =
        (t * 0.000387933 + 13185000.770053742) * t + 280.46061837 - t3 * 2.5833118057349522e-08;
    return ReduceDegrees(theta0) * kDegToRad;
}

void HorizontalPosition(double latitude, double hourAngle, double delta, double& altitude,
                        double& azimuth) {
    altitude = std::asin(std::cos(hourAngle) * std::cos(delta) * std::cos(latitude) +
                         std::sin(delta) * std::sin(latitude));
    double a = std::atan2(-std::sin(hourAngle), std::tan(delta) * std::cos(latitude) -
                                                    std::cos(hourAngle) * std::sin(latitude)) -
               kPi;
    if (a < 0) a += kTwoPi;
    azimuth = a;
}

void MeridianTransit(const Observation& observation, const CurrentPlace& place,
                     double timeZoneInEffect, SunState& sun, const Trace& trace) {
    const int day = observation.day, month = observation.month, year = observation.year;
    EvaluateSun(JulianCenturies(day, month, year, 12.0), sun);
    trace.Printf("T=%g  JC à 12h GMT\n", sun.T);

    const double longitude = place.longitude.Radians();
    double t = (sun.RA - (sun.theta0 - kPi) - longitude) * kRadToHours;
    double second;
    if (t < 0) {
        // RA is negative for half of the year and the estimate lands near -12.
        t += 24;
        second = JulianCenturies(day - 1, month, year, t + 24);
    } else {
        second = JulianCenturies(day, month, year, t);
    }
    EvaluateSun(second, sun);
    // The text is formed only for a reader: it costs more than the transit.
    if (trace.on()) trace.Printf("T=%g JC à %s\n", sun.T, HoursToHmsText(t).c_str());

    double transit =
        (sun.RA - (sun.theta0 - t * kHoursToRad) - longitude) * kRadToHours + timeZoneInEffect;
    if (transit < 0) transit += 24;
    sun.transitHour = transit;
}

}  // namespace orvano
