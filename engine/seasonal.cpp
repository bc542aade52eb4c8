#include "engine/seasonal.h"

#include <array>
#include <cmath>

#include "astro/civil_date.h"

namespace orvano {

namespace {

// The four values at the solstice, the equinox's neighbours and the other
// solstice, each 75 minutes plus a slope over 55 degrees of latitude,
// interpolated over the spans of the published table: 91, 46, 46, 46, 46 days
// and the rest of the year.
double Seasonal(const std::array<double, 4>& slopes, double latitude, int dyy) {
    const double lat = std::fabs(latitude);
    const double a = 75 + slopes[0] / 55.0 * lat;
    const double b = 75 + slopes[1] / 55.0 * lat;
    const double c = 75 + slopes[2] / 55.0 * lat;
    const double d = 75 + slopes[3] / 55.0 * lat;
    if (dyy < 91) return a + (b - a) / 91.0 * dyy;
    if (dyy < 137) return b + (c - b) / 46.0 * (dyy - 91);
    if (dyy < 183) return c + (d - c) / 46.0 * (dyy - 137);
    if (dyy < 229) return d + (c - d) / 46.0 * (dyy - 183);
    if (dyy < 275) return c + (b - c) / 46.0 * (dyy - 229);
    return b + (a - b) / 91.0 * (dyy - 275);
}

}  // namespace

int DaysSinceSolstice(double latitudeDegrees, int year, int month, int day) {
    const int solsticeMonth = latitudeDegrees >= 0 ? 12 : 6;
    const long long today = DaysFromCivil(year, month, day);
    long long solstice = DaysFromCivil(year, solsticeMonth, 21);
    if (solstice > today) solstice = DaysFromCivil(year - 1, solsticeMonth, 21);
    return static_cast<int>(today - solstice);
}

double SeasonalFajrMinutes(double latitudeDegrees, int daysSinceSolstice) {
    return Seasonal({28.65, 19.44, 32.74, 48.1}, latitudeDegrees, daysSinceSolstice);
}

double SeasonalIshaMinutes(double latitudeDegrees, int daysSinceSolstice) {
    return Seasonal({25.6, 2.05, -9.21, 6.14}, latitudeDegrees, daysSinceSolstice);
}

}  // namespace orvano
