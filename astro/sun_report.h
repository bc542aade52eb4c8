// Where the Sun stands at the observation's date and clock time.
#pragma once

#include "astro/records.h"
#include "astro/trace.h"

namespace orvano {

// Fills every field of `sun` but transitHour, and sets timeZoneInEffect. The
// observation is left as it is: the UT date of the instant is kept in
// sun.utDay/utMonth/utYear instead.
void ComputeSunPosition(const Observation& observation, const CurrentPlace& place,
                        double& timeZoneInEffect, SunState& sun, const Trace& trace);

// Initial great-circle course from the place toward the Kaaba, radians
// clockwise from North, in (-pi, pi].
double QiblaBearing(Degrees latitude, Degrees longitude);

}  // namespace orvano
