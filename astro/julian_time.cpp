#include "astro/julian_time.h"

#include <cmath>

#include "astro/constants.h"

namespace orvano {

const std::array<const char*, 7> kWeekdayNames = {"Lundi",    "Mardi",  "Mercredi", "Jeudi",
                                                  "Vendredi", "Samedi", "Dimanche"};
const std::array<const char*, 13> kMonthNames = {
    "",        "Janvier", "Février",   "Mars",    "Avril",    "Mai",     "Juin",
    "Juillet", "Août",    "Septembre", "Octobre", "Novembre", "Décembre"};

double JulianCenturies(int day, int month, int year, double hourUT) {
    if (month <= 2) {
        month += 12;
        year -= 1;
    }
    const int a = static_cast<int>(365.25 * year);
    const int b = -static_cast<int>(-30.6001 * (month + 1));
    // The Gregorian century correction, -15 for every year from March 1900 to
    // February 2100; computed rather than fixed so other centuries are right too.
    const int centuries = year / 100;
    const int correction = -centuries + centuries / 4;
    const double jd =
        static_cast<double>(a + b + correction) + hourUT * (1.0 / 24) + day + 1720996.5;
    return (jd - 2451545.0) * 2.7378507871321012e-05;
}

namespace {

int FloorModSeven(double x) {
    const long long days = static_cast<long long>(std::floor(x));
    int weekday = static_cast<int>(days % 7);
    if (weekday < 0) weekday += 7;
    return weekday;
}

}  // namespace

int WeekdayIndex(double t) {
    return FloorModSeven(36525 * t + 5.0);
}

int LocalWeekday(double t, double timeZoneInEffect) {
    return WeekdayIndex(t + (timeZoneInEffect + 12) * kHourInCenturies);
}

int DstApplies(int year, int month, int day, int rule, int timeZone) {
    int startMonth = 3, endMonth = 10, weekday = 6, startFrom = 31, endFrom = 31;
    if (rule == 2) {
        startMonth = 4;
        endMonth = 9;
        weekday = 4;
        startFrom = 30;
        endFrom = 30;
    }
    const double f = (timeZone + 12) * (1.0 / 24);
    auto lastWeekdayOf = [&](int m, int from) {
        for (int d = from; d > from - 7; --d) {
            // The day count at 12:00 UT is whole by construction; rounding it
            // keeps zones -12 and +12 (f exactly 0 or 1) from landing a hair
            // below the intended day.
            const double count = std::round(36525 * JulianCenturies(d, m, year, 12.0));
            if (FloorModSeven(count + f + 5.0) == weekday) return d;
        }
        return from;  // unreachable: seven consecutive days hold every weekday
    };
    const int startDay = lastWeekdayOf(startMonth, startFrom);
    const int endDay = lastWeekdayOf(endMonth, endFrom);
    if (startMonth < month && month < endMonth) return 1;
    if (month == startMonth && day >= startDay) return 1;
    if (month == endMonth && day < endDay) return 1;
    return 0;
}

double ZoneInEffect(ZoneRef zone, const CurrentPlace& place, int day, int month, int year,
                    bool* dstApplies) {
    if (place.FixedZone) {
        if (dstApplies != nullptr) *dstApplies = false;
        return *place.FixedZone;
    }
    if (zone != nullptr) {
        const double offset = ZoneOffsetAtNoon(zone, day, month, year);
        // The standard offset costs lookups of its own; only the report needs it.
        if (dstApplies != nullptr) *dstApplies = offset > ZoneStandardOffset(zone, year);
        return offset;
    }
    const bool applies =
        place.DST != 0 && DstApplies(year, month, day, place.DST, place.TimeZone) == 1;
    if (dstApplies != nullptr) *dstApplies = applies;
    return place.TimeZone + (applies ? 1 : 0);
}

double ZoneInEffect(const CurrentPlace& place, int day, int month, int year, bool* dstApplies) {
    return ZoneInEffect(PlaceZone(place), place, day, month, year, dstApplies);
}

double ZoneInEffectAtClock(const CurrentPlace& place, const Observation& o, bool* dstApplies) {
    const ZoneRef zone = PlaceZone(place);
    if (zone == nullptr || place.FixedZone) {
        return ZoneInEffect(zone, place, o.day, o.month, o.year, dstApplies);
    }
    const long long clock = o.hour * 3600LL + o.minute * 60LL + o.second;
    const double offset = ZoneOffsetAtLocal(zone, o.day, o.month, o.year, clock);
    if (dstApplies != nullptr) *dstApplies = offset > ZoneStandardOffset(zone, o.year);
    return offset;
}

}  // namespace orvano
