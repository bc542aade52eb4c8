// The Sun's low-precision ephemeris in Julian centuries, sidereal time,
// horizontal coordinates and the meridian transit of a day.
//
// The coefficients are those of the standard low-precision solar theory: the
// Sun's geometric mean longitude and mean anomaly as polynomials in Julian
// centuries from J2000.0, the equation of centre to the third harmonic, a
// fixed obliquity of 23.43999 degrees (no nutation, no aberration), and the
// IAU 1982 expression of Greenwich mean sidereal time. The longitude is good to
// about 0.01 degree (a few seconds of time in the prayer hours) for dates
// within a couple of centuries of 2000; far outside roughly 1800-2200 the
// neglected terms grow and the results drift.
#pragma once

#include "astro/records.h"
#include "astro/trace.h"

namespace orvano {

// `t` in Julian centuries from J2000.0; the true longitude in radians, [0, 2 pi).
double SunLongitude(double t);
// From the longitude `l` (radians): right ascension and declination in radians.
double SunEquatorial(double l, double& ra, double& delta);
// Greenwich mean sidereal time at `t`, radians in [0, 2 pi).
double GreenwichSiderealTime(double t);
// All angles in radians; azimuth clockwise from North.
void HorizontalPosition(double latitude, double hourAngle, double delta, double& altitude,
                        double& azimuth);

// Writes T, L, RA, delta, theta0 and transitHour of `sun` for the observation's
// date at the place's longitude, in local time of the zone in effect.
void MeridianTransit(const Observation& observation, const CurrentPlace& place,
                     double timeZoneInEffect, SunState& sun, const Trace& trace);

}  // namespace orvano
