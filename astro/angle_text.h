// Text forms of angles and hours shown on screen, in the calendar and in the
// trace. UTF-8.
#pragma once

#include <string>

namespace orvano {

inline constexpr const char* kClockOverflowText = "erreur : arrondi au jour suivant";

std::string AngleToDmsText(double angle);
std::string AngleToHmsText(double angle);
std::string HoursToHmsText(double hours);
std::string HoursToClockText(double hours);

// Forms for people rather than for the trace: one leading sign with unsigned
// parts, the seconds rounded and carried ("-64°50'54\"", never "59'60\"").
std::string ReadableDmsText(double angle);
std::string ReadableHmsText(double angle);
// A bearing from North, reduced into [0°, 360°).
std::string BearingText(double angle);
// A difference of two directions, reduced into (-180°, 180°].
double AngleDifference(double from, double to);

}  // namespace orvano
