#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "astro/angle_text.h"
#include "astro/civil_date.h"
#include "astro/constants.h"
#include "astro/json.h"
#include "astro/julian_time.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_report.h"
#include "astro/trace.h"

namespace orvano {
namespace {

double InDegrees(double radians) {
    return radians * kRadToDeg;
}
double JulianDate(double t) {
    return t * 36525 + 2451545.0;
}

TEST(JulianCenturies, EpochAndKnownDates) {
    EXPECT_EQ(JulianCenturies(1, 1, 2000, 12.0), 0.0);
    EXPECT_EQ(JulianCenturies(21, 6, 2010, 12.0), 0.10469541409993155);
    EXPECT_EQ(JulianCenturies(15, 12, 2010, 12.0), 0.10954140999315537);
}

TEST(JulianCenturies, DaysAndHoursCountOn) {
    EXPECT_EQ(JulianCenturies(0, 3, 2010, 7.5), JulianCenturies(28, 2, 2010, 7.5));
    EXPECT_NEAR(JulianCenturies(14, 5, 2010, 30.0), JulianCenturies(15, 5, 2010, 6.0), 1e-14);
}

// Outside 1900..2100 the century correction is computed, so dates stay true.
TEST(JulianCenturies, TrueDatesOutsideTheTwentiethAndTwentyFirstCenturies) {
    struct Case {
        int day, month, year;
        double jd;
        int weekday;  // 0 = Monday
    };
    const Case cases[] = {
        {1, 3, 2100, 2488128.5, 0}, {28, 2, 2100, 2488127.5, 6}, {1, 1, 1800, 2378496.5, 2},
        {1, 3, 1900, 2415079.5, 3}, {1, 3, 2000, 2451604.5, 2},
    };
    for (const Case& c : cases) {
        const double t = JulianCenturies(c.day, c.month, c.year, 0.0);
        EXPECT_NEAR(JulianDate(t), c.jd, 1e-6) << c.day << "/" << c.month << "/" << c.year;
        EXPECT_EQ(LocalWeekday(JulianCenturies(c.day, c.month, c.year, 12.0), 0), c.weekday)
            << c.day << "/" << c.month << "/" << c.year;
    }
}

TEST(Weekday, LocalWeekdayRule) {
    EXPECT_EQ(LocalWeekday(JulianCenturies(1, 1, 2000, 12.0 - 1), 1), 5);
    EXPECT_EQ(LocalWeekday(JulianCenturies(6, 12, 2026, 12.0 - 1), 1), 6);
    EXPECT_EQ(LocalWeekday(JulianCenturies(7, 12, 2026, 12.0 - 1), 1), 0);
    // Before 27 December 1999 the day count is negative; the floor rule still holds.
    EXPECT_EQ(LocalWeekday(JulianCenturies(26, 12, 1999, 12.0 - 1), 1), 6);
    EXPECT_STREQ(kWeekdayNames[4], "Vendredi");
    EXPECT_STREQ(kMonthNames[2], "Février");
    EXPECT_STREQ(kMonthNames[12], "Décembre");
}

struct DstCase {
    int rule, zone, year, startMonth, startDay, endMonth, endDay;
};

void ExpectDstPeriod(const DstCase& c) {
    SCOPED_TRACE(testing::Message() << "rule " << c.rule << " zone " << c.zone << " " << c.year);
    EXPECT_EQ(DstApplies(c.year, c.startMonth, c.startDay - 1, c.rule, c.zone), 0);
    EXPECT_EQ(DstApplies(c.year, c.startMonth, c.startDay, c.rule, c.zone), 1);
    EXPECT_EQ(DstApplies(c.year, c.endMonth, c.endDay - 1, c.rule, c.zone), 1);
    EXPECT_EQ(DstApplies(c.year, c.endMonth, c.endDay, c.rule, c.zone), 0);
}

TEST(DstApplies, SundayAndFridayRules) {
    const DstCase cases[] = {
        {1, 1, 2010, 3, 28, 10, 31}, {2, 1, 2010, 4, 30, 9, 24},  {2, 1, 2009, 4, 24, 9, 25},
        {2, 1, 2015, 4, 24, 9, 25},  {7, 1, 2010, 3, 28, 10, 31},
    };
    for (const DstCase& c : cases) ExpectDstPeriod(c);
    for (int month = 4; month <= 9; ++month) EXPECT_EQ(DstApplies(2010, month, 15, 1, 1), 1);
    for (int month : {1, 2, 11, 12}) EXPECT_EQ(DstApplies(2010, month, 15, 1, 1), 0);
}

// At zones -12 and +12 the shift is a whole day; the day count is rounded so
// the search never misses the weekday. At +12 it looks at the following day.
TEST(DstApplies, WholeDayShiftsAtZonesMinusAndPlusTwelve) {
    const DstCase cases[] = {
        {1, -12, 2009, 3, 29, 10, 25}, {1, 12, 2009, 3, 28, 10, 31},  {2, -12, 2009, 4, 24, 9, 25},
        {2, 12, 2009, 4, 30, 9, 24},   {1, -12, 2010, 3, 28, 10, 31}, {1, 12, 2010, 3, 27, 10, 30},
        {2, -12, 2010, 4, 30, 9, 24},  {2, 12, 2010, 4, 29, 9, 30},   {1, -12, 2021, 3, 28, 10, 31},
        {1, 12, 2021, 3, 27, 10, 30},  {1, -12, 2026, 3, 29, 10, 25}, {1, 12, 2026, 3, 28, 10, 31},
        {2, 12, 2026, 4, 30, 9, 24},
    };
    for (const DstCase& c : cases) ExpectDstPeriod(c);
}

TEST(ZoneInEffect, AddsAnHourOnlyUnderARule) {
    CurrentPlace place;
    place.TimeZone = 1;
    bool applies = true;
    EXPECT_EQ(ZoneInEffect(place, 1, 7, 2010, &applies), 1);
    EXPECT_FALSE(applies);
    place.DST = 1;
    EXPECT_EQ(ZoneInEffect(place, 1, 7, 2010, &applies), 2);
    EXPECT_TRUE(applies);
}

TEST(DaysInMonth, GregorianLeapYears) {
    const int cases[][3] = {{2, 2012, 29}, {2, 2100, 28}, {2, 2000, 29},
                            {2, 2010, 28}, {4, 2010, 30}, {12, 2010, 31}};
    for (const auto& [month, year, days] : cases) {
        EXPECT_EQ(DaysInMonth(year, month), days) << month << "/" << year;
    }
}

TEST(SolarEphemeris, FixedPoints) {
    EXPECT_NEAR(InDegrees(SunLongitude(0.0)), 280.3821, 5e-5);
    EXPECT_NEAR(InDegrees(GreenwichSiderealTime(0.0)), 280.46061837, 1e-9);
    double ra = 1, delta = 1;
    SunEquatorial(0.0, ra, delta);
    EXPECT_EQ(ra, 0.0);
    EXPECT_EQ(delta, 0.0);
    SunEquatorial(kPi / 2, ra, delta);
    EXPECT_NEAR(ra, kPi / 2, 1e-12);
    EXPECT_NEAR(InDegrees(delta), 23.43999, 1e-9);
    SunEquatorial(3 * kPi / 2, ra, delta);
    EXPECT_NEAR(ra, -kPi / 2, 1e-12);
    EXPECT_NEAR(InDegrees(delta), -23.43999, 1e-9);
}

TEST(SolarEphemeris, SolsticesOf2010) {
    struct Case {
        double t, L, RA, delta, theta0;
    };
    const Case cases[] = {{0.10469541409993155, 90.0210, 90.0229, 23.4400, 89.5762},
                          {0.10954140999315537, 263.4031, -97.1843, -23.2756, 264.0357}};
    for (const Case& c : cases) {
        const double L = SunLongitude(c.t);
        double ra = 0, delta = 0;
        SunEquatorial(L, ra, delta);
        EXPECT_NEAR(InDegrees(L), c.L, 5e-5);
        EXPECT_NEAR(InDegrees(ra), c.RA, 5e-5);
        EXPECT_NEAR(InDegrees(delta), c.delta, 5e-5);
        EXPECT_NEAR(InDegrees(GreenwichSiderealTime(c.t)), c.theta0, 5e-5);
    }
}

TEST(SolarEphemeris, HorizontalPosition) {
    double altitude = 0, azimuth = 1;
    HorizontalPosition(36 * kDegToRad, 0.0, 0.0, altitude, azimuth);
    EXPECT_NEAR(InDegrees(altitude), 54.0, 1e-12);
    EXPECT_EQ(azimuth, 0.0);
    HorizontalPosition(36 * kDegToRad, 0.01, 0.0, altitude, azimuth);
    EXPECT_GT(azimuth, 0.0);
    EXPECT_LT(azimuth, 0.1);
    HorizontalPosition(36 * kDegToRad, -0.01, 0.0, altitude, azimuth);
    EXPECT_GT(azimuth, kTwoPi - 0.1);
    EXPECT_LT(azimuth, kTwoPi);
}

TEST(MeridianTransit, EquationOfTimeOnBothSignsOfRightAscension) {
    struct Case {
        int day, month;
        double hour;
    };
    const Case cases[] = {{15, 6, 12.008}, {3, 11, 11.727}, {11, 2, 12.238}, {15, 12, 11.919}};
    CurrentPlace greenwich;
    for (const Case& c : cases) {
        SunState sun;
        MeridianTransit(Observation{c.day, c.month, 2010, 0, 0, 0}, greenwich, 0, sun, Trace{});
        EXPECT_NEAR(sun.transitHour, c.hour, 5e-4) << c.day << "/" << c.month;
    }
}

TEST(MeridianTransit, TraceLines) {
    CurrentPlace greenwich;
    SunState sun;
    StringTraceSink sink;
    MeridianTransit(Observation{15, 12, 2010, 0, 0, 0}, greenwich, 0, sun, Trace{1, &sink});
    // In mid-December the first estimate is near -12 and is brought to near 12.
    EXPECT_EQ(sink.text(), "T=0.109541  JC à 12h GMT\nT=0.109541 JC à 11h55'07\"\n");
}

CurrentPlace Algiers() {
    CurrentPlace place;
    place.Name = "Alger";
    place.Country = "Algerie";
    place.latitude = Degrees{36.75};
    place.longitude = Degrees{3.05};
    place.TimeZone = 1;
    return place;
}

// The Sun seen from `place` at a local time into `sun`; returns the zone in effect.
double Look(const Observation& when, const CurrentPlace& place, SunState& sun, Trace trace = {}) {
    double zone = 0;
    ComputeSunPosition(when, place, zone, sun, trace);
    return zone;
}

TEST(SunPosition, AlgiersAtTransitAndAfternoon) {
    SunState sun;
    Look({21, 6, 2010, 12, 49, 35}, Algiers(), sun);
    EXPECT_NEAR(sun.utHour, 11.826389, 5e-7);
    EXPECT_NEAR(InDegrees(sun.h), 76.690, 5e-4);
    EXPECT_NEAR(InDegrees(sun.az), 359.998, 5e-4);
    EXPECT_LT(sun.tau, 0.0);

    EXPECT_EQ(Look({21, 6, 2010, 16, 0, 0}, Algiers(), sun), 1);
    EXPECT_NEAR(InDegrees(sun.h), 47.201, 5e-4);
    EXPECT_NEAR(InDegrees(sun.az), 85.657, 5e-4);
    EXPECT_NEAR(InDegrees(sun.az) - 180, -94.343, 5e-4);
    EXPECT_NEAR(InDegrees(sun.tau), 47.596, 5e-4);
}

TEST(SunPosition, TraceReport) {
    StringTraceSink sink;
    SunState sun;
    Look({21, 6, 2010, 16, 0, 0}, Algiers(), sun, Trace{1, &sink});
    EXPECT_EQ(sink.text(),
              "_____________________________________________________________\n"
              "Lieu : Algerie, Alger\n"
              "latitude=36.75°   longitude=3.05°\n"
              "latitude= 36°45'00\"   longitude=  3°02'60\"\n"
              "__ Date : Lundi 21/6/2010 à 15h UT   DST does not apply  TZ (include DST)=1\n"
              "T=0.104699 JC\n"
              "Soleil Longitude L=90.1403° ie : 06h00'34\"\n"
              "theta0=134.699° ie : 08h58'48\"\n"
              "theta=137.749°  ie heure sidérale 09h10'60\"\n"
              "RA=90.1529° ie : 06h00'37\"\n"
              "delta=23.4399°  ie DE  23°26'24\"\n"
              "tau=47.5964°  ie angle horaire 03h10'23\"\n"
              "az=85.6567° (orgine Sud) ie : azimut  85°39'24\"\n"
              "------az=-94.3433° (orgine Nord) ie -180 : azimut -94°-20'-36\"\n"
              "h=47.201°  ie altitude  47°12'04\"\n");
}

// Looking at the Sun between local midnight and the zone offset must not move
// the observation's date back, however often it is repeated.
TEST(SunPosition, UtDateKeptWithoutTouchingTheObservation) {
    CurrentPlace place = Algiers();
    place.DST = 1;  // zone in effect 2 in summer
    const Observation observation{1, 7, 2010, 0, 30, 0};
    SunState sun;
    for (int repeat = 0; repeat < 3; ++repeat) {
        EXPECT_EQ(Look(observation, place, sun), 2);
        EXPECT_EQ(sun.utHour, 22.5);
        EXPECT_EQ(std::tie(sun.utDay, sun.utMonth, sun.utYear), std::tuple(30, 6, 2010));
        EXPECT_EQ(sun.T, JulianCenturies(30, 6, 2010, 22.5));
    }
    // The first of January steps back into the previous year.
    Look({1, 1, 2011, 0, 30, 0}, Algiers(), sun);
    EXPECT_EQ(std::tie(sun.utDay, sun.utMonth, sun.utYear), std::tuple(31, 12, 2010));
}

TEST(SunPosition, WesternZoneEveningRunsPastUtMidnight) {
    CurrentPlace place;
    place.TimeZone = -5;
    SunState sun;
    Look({10, 3, 2010, 20, 0, 0}, place, sun);
    EXPECT_EQ(sun.utHour, 25.0);
    EXPECT_EQ(sun.utDay, 10);
    EXPECT_NEAR(sun.T, JulianCenturies(11, 3, 2010, 1.0), 1e-15);
}

TEST(Qibla, Bearings) {
    EXPECT_NEAR(InDegrees(QiblaBearing(Degrees{36.75}, Degrees{3.05})), 105.4, 0.1);
    // Due north of the Kaaba the course is due south, due south of it due north.
    EXPECT_NEAR(std::fabs(QiblaBearing(Degrees{50}, Degrees{39.82620120048523})), kPi, 1e-12);
    EXPECT_NEAR(QiblaBearing(Degrees{-10}, Degrees{39.82620120048523}), 0.0, 1e-12);
    EXPECT_LT(QiblaBearing(Degrees{24.86}, Degrees{67.0}), 0.0);  // east of it
}

TEST(TextForms, AnglesAndHours) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {AngleToDmsText(36.75 * kDegToRad), " 36°45'00\""},
        {AngleToDmsText(0.5 * kDegToRad), "  0°30'00\""},
        {AngleToDmsText(23.43999 * kDegToRad), " 23°26'24\""},
        {AngleToDmsText(-0.25 * kDegToRad), "  0°-15'00\""},
        {AngleToDmsText(359.99999 * kDegToRad), "359°59'60\""},
        {AngleToHmsText(kPi), "12h00'00\""},
        {AngleToHmsText(4.0), "15h16'44\""},
        {HoursToHmsText(12.5), "12h30'00\""},
        {HoursToClockText(12.5), "12:30"},
        {HoursToClockText(5.9999), "06:00"},
        {HoursToClockText(23.99), "23:59"},
        {HoursToClockText(23.9999), "erreur : arrondi au jour suivant"},
        {HoursToClockText(24.25), "24:15"},
        {HoursToClockText(-0.5), "00:-30"},
        // A half minute at minute 59 carries into the hour only once.
        {HoursToClockText(12 + 59 / 60.0 + 31 / 3600.0), "13:00"},
        {HoursToClockText(12 + 58 / 60.0 + 31 / 3600.0), "12:59"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
}

// What people read: one leading sign, parts unsigned and carried, bearings from
// North in [0°, 360°), differences in (-180°, 180°].
TEST(TextForms, ReadableAngles) {
    const double jakartaQibla = -(64 + 50 / 60.0 + 54 / 3600.0) * kDegToRad;
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {ReadableDmsText(jakartaQibla), "-64°50'54\""},
        {ReadableDmsText(-(38 / 60.0 + 14 / 3600.0) * kDegToRad), " -0°38'14\""},
        {ReadableDmsText(36.75 * kDegToRad), AngleToDmsText(36.75 * kDegToRad)},
        {ReadableDmsText(23.43999 * kDegToRad), AngleToDmsText(23.43999 * kDegToRad)},
        {ReadableDmsText(-0.25 * kDegToRad), " -0°15'00\""},
        {ReadableDmsText(-0.000001 * kDegToRad), "  0°00'00\""},
        {ReadableDmsText(359.99999 * kDegToRad), "360°00'00\""},
        {ReadableDmsText(-(12 + 59 / 60.0 + 59.7 / 3600) * kDegToRad), "-13°00'00\""},
        {ReadableHmsText(-kPi / 2), "-06h00'00\""},
        {ReadableHmsText(4.0), AngleToHmsText(4.0)},
        {BearingText(jakartaQibla), "295°09'06\""},
        {BearingText(105.5 * kDegToRad), "105°30'00\""},
        {BearingText(-0.25 * kDegToRad), "359°45'00\""},
        {BearingText(359.99999 * kDegToRad), "  0°00'00\""},
        {BearingText(725 * kDegToRad), "  5°00'00\""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);

    struct Difference {
        double from, to, expected;
    };
    const Difference differences[] = {
        {264, 0, 96}, {0, -264, 96}, {350, 10, 20}, {10, 350, -20}, {0, 180, 180}, {0, -180, 180},
    };
    for (const Difference& d : differences) {
        EXPECT_NEAR(AngleDifference(d.from * kDegToRad, d.to * kDegToRad) * kRadToDeg, d.expected,
                    1e-9)
            << d.from << " to " << d.to;
    }
}

// Names from a file never reach a terminal or a JSON reader as control characters.
TEST(TextForms, ControlCharactersInNames) {
    struct Case {
        std::string name, printable, json;
    };
    const Case cases[] = {
        {"Oran", "Oran", "\"Oran\""},
        {"S\xC3\xA9tif", "S\xC3\xA9tif", "\"S\xC3\xA9tif\""},
        {"a\x1b[2Jb\x07", "a\\x1b[2Jb\\x07", "\"a\\u001b[2Jb\\u0007\""},
        {"del\x7f", "del\\x7f", "\"del\\u007f\""},
        {"c1\xC2\x9B"
         "31m",
         "c1\\x9b31m",
         "\"c1\xC2\x9B"
         "31m\""},
        {"tab\tnl\n", "tab\\x09nl\\x0a", "\"tab\\tnl\\n\""},
        {"\xE2\x80\xAE", "\xE2\x80\xAE", "\"\xE2\x80\xAE\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrintableText(c.name), c.printable);
        EXPECT_EQ(JsonString(c.name), c.json);
    }
}

}  // namespace
}  // namespace orvano
