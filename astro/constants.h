#pragma once

namespace orvano {

// The constants exactly as the computations are defined with them; replacing a
// product by a division (or vice versa) changes the last bits of the results.
inline constexpr double kDegToRad = 0.017453292519943295;
inline constexpr double kRadToDeg = 57.29577951308232;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kRadToHours = 3.819718634205488;
inline constexpr double kHoursToRad = 0.2617993877991494;
inline constexpr double kMinuteInHours = 0.016666666666666666;
// One hour expressed in Julian centuries: 1 / (24 * 36525).
inline constexpr double kHourInCenturies = 1.140771161305042e-06;

}  // namespace orvano
