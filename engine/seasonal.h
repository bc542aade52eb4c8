// The Moonsighting Committee Worldwide's seasonal Fajr and Isha, as published
// by Syed Khalid Shaukat, "Fajr and Isha" (September 2015), section 11: minutes
// before sunrise and after sunset as piecewise-linear functions of the
// latitude and of the days since the winter solstice.
#pragma once

namespace orvano {

// Beyond this latitude the committee takes a seventh of the night instead.
inline constexpr double kSeasonalMaxLatitude = 55.0;

// Days since 21 December (northern hemisphere) or 21 June (southern) last
// passed on the civil date, 0 on the day itself.
int DaysSinceSolstice(double latitudeDegrees, int year, int month, int day);

// Fajr's minutes before sunrise.
double SeasonalFajrMinutes(double latitudeDegrees, int daysSinceSolstice);
// Isha's minutes after sunset (the general Shafaq, red and white combined).
double SeasonalIshaMinutes(double latitudeDegrees, int daysSinceSolstice);

}  // namespace orvano
