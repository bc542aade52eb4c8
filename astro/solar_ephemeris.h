// The Sun's low-precision ephemeris in Julian centuries, sidereal time,
// horizontal coordinates and the meridian transit of a day.
#pragma once

#include "astro/records.h"
#include "astro/trace.h"

namespace orvano {

double SunLongitude(double t);
double SunEquatorial(double l, double& ra, double& delta);
double GreenwichSiderealTime(double t);
void HorizontalPosition(double latitude, double hourAngle, double delta, double& altitude,
                        double& azimuth);

// Writes T, L, RA, delta, theta0 and transitHour of `sun` for the observation's
// date at the place's longitude, in local time of the zone in effect.
void MeridianTransit(const Observation& observation, const CurrentPlace& place,
                     double timeZoneInEffect, SunState& sun, const Trace& trace);

}  // namespace orvano
