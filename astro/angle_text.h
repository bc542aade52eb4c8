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

}  // namespace orvano
