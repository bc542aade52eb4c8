// The one type of a place's angles: degrees, as data.cfg, the fields and the
// command line give them.
#pragma once

#include "astro/constants.h"

namespace orvano {

// An angle in degrees. It never turns into a number by itself: the solver and
// the Sun's position ask for Radians() where their maths starts, and a writer
// or a field takes value(), the very degrees that were read, so a town's
// latitude is never turned back from radians.
class Degrees {
  public:
    constexpr Degrees() = default;
    constexpr explicit Degrees(double degrees) : degrees_(degrees) {}

    constexpr double value() const { return degrees_; }
    // The product with the constant the computations are defined with, so
    // every solve sees the radians it always saw.
    constexpr double Radians() const { return degrees_ * kDegToRad; }

    friend constexpr bool operator==(Degrees, Degrees) = default;

  private:
    double degrees_ = 0.0;
};

}  // namespace orvano
