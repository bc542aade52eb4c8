#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "astro/angle_text.h"
#include "astro/civil_date.h"
#include "astro/constants.h"
#include "astro/julian_time.h"
#include "astro/solar_ephemeris.h"
#include "engine/schedule.h"
#include "engine/solve_day.h"
#include "engine/solver.h"
#include "tests/engine/engine_reference.h"
#include "tests/support/temp_folder.h"

// Counts every allocation made while `gCounting` is set, to show that the
// month's computation allocates nothing.
namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
}  // namespace

// The replacement pair frees what it allocated itself; GCC cannot see that
// through inlining.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    if (gCounting) ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace orvano {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Fajr 18°, Isha 17°, sunrise/sunset 0.833°, Shafi'i Asr, nothing added.
Convention StandardConvention() {
    Convention c;
    c.FajrTwilightAngle = 18;
    c.IshaTwilightAngle = 17;
    c.SunriseSetAngle = 0.833;
    c.AsrShafii = true;
    c.Name = "Standard";
    return c;
}

EngineState MakeState(double latDeg, double lonDeg, int zone, int day, int month, int year,
                      const Convention& convention = StandardConvention(), int dst = 0) {
    EngineState state;
    state.tables.Conventions[0] = convention;
    state.place.Name = "Ville";
    state.place.Country = "Pays";
    state.place.latitude = Degrees{latDeg};
    state.place.longitude = Degrees{lonDeg};
    state.place.TimeZone = zone;
    state.place.DST = dst;
    state.place.Convention = 0;
    state.observation = Observation{day, month, year, 12, 0, 0};
    return state;
}

// The state after the day's transit, as the solver expects it.
EngineState TransitState(double latDeg, double lonDeg, int zone, int day, int month, int year,
                         const Convention& convention = StandardConvention()) {
    EngineState state = MakeState(latDeg, lonDeg, zone, day, month, year, convention);
    state.timeZoneInEffect = zone;
    MeridianTransit(state.observation, state.place, zone, state.sun, Trace{});
    return state;
}

// Decimal hours as h:m:s to the nearest second.
std::string ToSecond(double hours) {
    const long s = std::lround(hours * 3600);
    return Format("%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
}

std::string Report(EngineState& state) {
    StringTraceSink sink;
    state.traceSink = &sink;
    state.tables.Verbose = 1;
    ComputeDaySchedule(state);
    state.traceSink = nullptr;
    state.tables.Verbose = 0;
    return sink.text();
}

auto SunFields(const SunState& s) {
    return std::tie(s.T, s.L, s.RA, s.delta, s.theta0, s.h, s.tau, s.transitHour);
}
void ExpectSameSun(const SunState& a, const SunState& b) {
    EXPECT_EQ(SunFields(a), SunFields(b));
}

// The six hours to the second, space-separated.
std::string ToSeconds(const std::array<double, kPrayerCount>& hours) {
    std::string text;
    for (double hour : hours) text += (text.empty() ? "" : " ") + ToSecond(hour);
    return text;
}

struct TableRow {
    double lat, lon;
    int zone, day, month, year;
    const char* times;  // Fajr, Chourouk, Zuhr (the transit), Asr, Maghrib, Isha
};

const TableRow kTable[] = {
    {36.75, 3.05, 1, 15, 1, 2010, "06:28:34 07:59:41 12:57:14 15:35:58 17:55:03 19:21:02"},
    {36.75, 3.05, 1, 21, 6, 2010, "03:37:15 05:29:13 12:49:35 16:41:08 20:09:57 21:54:17"},
    {-33.87, 151.2, 10, 21, 6, 2010, "05:30:34 07:00:01 11:56:54 14:35:52 16:53:47 18:18:11"},
    {21.42, 39.83, 3, 21, 6, 2010, "04:13:55 05:39:18 12:22:27 15:42:17 19:05:35 20:25:44"},
};

TEST(DaySchedule, FourPlacesToTheSecond) {
    for (const TableRow& row : kTable) {
        SCOPED_TRACE(Format("%g %g %d/%d", row.lat, row.lon, row.day, row.month));
        EngineState state = MakeState(row.lat, row.lon, row.zone, row.day, row.month, row.year);
        ComputeDaySchedule(state);
        EXPECT_EQ(state.timeZoneInEffect, row.zone);
        EXPECT_EQ(ToSeconds(state.schedule.exact), row.times);
        EXPECT_EQ(state.schedule.adjusted, state.schedule.exact);  // nothing added
    }
}

TEST(Solver, EachPrayerAloneMatchesTheTable) {
    for (const TableRow& row : kTable) {
        EngineState state = TransitState(row.lat, row.lon, row.zone, row.day, row.month, row.year);
        std::array<double, kPrayerCount> hours{};
        hours[Zuhr] = state.sun.transitHour;
        for (unsigned kind : {Fajr, Chourouk, Asr, Maghrib, Isha}) {
            hours[kind] = -7;
            EXPECT_EQ(SolveSalatHour(state, kind, &hours[kind]), kSolveFound) << kind;
        }
        EXPECT_EQ(ToSeconds(hours), row.times);
    }
}

// What each solve returns: Zuhr and unknown kinds are refused without
// touching the Sun; beyond the polar circles the first pass fails with hour 0.
struct SolveCase {
    const char* what;
    double lat;
    int day, month;
    unsigned kind;
    int result;
    double lowest, highest;  // the hour found lies strictly between them
    friend void PrintTo(const SolveCase& c, std::ostream* os) { *os << c.what << " " << c.kind; }
};

class SolveResult : public ::testing::TestWithParam<SolveCase> {};

TEST_P(SolveResult, AndItsHour) {
    const SolveCase& c = GetParam();
    // Algiers, or Tromsø beyond the polar circle.
    EngineState state = TransitState(c.lat, c.lat > 60 ? 18.96 : 3.05, 1, c.day, c.month, 2010);
    const SunState before = state.sun;
    double hour = 5;
    EXPECT_EQ(SolveSalatHour(state, c.kind, &hour), c.result);
    if (c.result == kSolveFound) {
        EXPECT_GT(hour, c.lowest);
        EXPECT_LT(hour, c.highest);
    } else {
        EXPECT_EQ(hour, 0.0);
    }
    if (c.result == kSolveBadKind) ExpectSameSun(state.sun, before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SolveResult,
    ::testing::Values(SolveCase{"Zuhr", 36.75, 15, 1, 2u, kSolveBadKind, 0, 0},
                      SolveCase{"unknown", 36.75, 15, 1, 6u, kSolveBadKind, 0, 0},
                      SolveCase{"unknown", 36.75, 15, 1, 1000u, kSolveBadKind, 0, 0},
                      SolveCase{"midnight sun", 69.65, 21, 6, Fajr, kSolveAlwaysAbove, 0, 0},
                      SolveCase{"midnight sun", 69.65, 21, 6, Chourouk, kSolveAlwaysAbove, 0, 0},
                      SolveCase{"midnight sun", 69.65, 21, 6, Maghrib, kSolveAlwaysAbove, 0, 0},
                      SolveCase{"midnight sun", 69.65, 21, 6, Isha, kSolveAlwaysAbove, 0, 0},
                      SolveCase{"midnight sun", 69.65, 21, 6, Asr, kSolveFound, 15, 19},
                      SolveCase{"polar night", 69.65, 21, 12, Chourouk, kSolveAlwaysBelow, 0, 0}));

TEST(DaySchedule, MidnightSunKeepsZeroAndAddsTheMinutesAlone) {
    Convention c = StandardConvention();
    c.AddedMinutes = {2, -1, 0, 3, 4, 1.5};
    EngineState state = MakeState(69.65, 18.96, 1, 21, 6, 2010, c);
    const std::string report = Report(state);
    const DaySchedule& d = state.schedule;
    for (std::size_t i : {Fajr, Chourouk, Maghrib, Isha}) {
        EXPECT_EQ(d.exact[i], 0.0) << i;
        EXPECT_EQ(d.adjusted[i], c.AddedMinutes[i] * kMinuteInHours) << i;
    }
    EXPECT_GT(d.exact[Asr], 15.0);
    EXPECT_EQ(HoursToClockText(d.adjusted[Fajr]), "00:02");
    // The failed solves report their error and then the hour they left.
    EXPECT_THAT(report,
                HasSubstr("we have Midnight Sun.\nChourouk (Sunrise) at 0h ie : 00h00'00\"\n"));
}

// Near the latitude where a twilight stops being reached, pass 1 can succeed
// and a later pass fail; the hour is then the one of the pass before.
TEST(Solver, LaterPassFailureKeepsThePreviousPassHour) {
    int failedSecond = 0, failedThird = 0;
    for (int step = 0; step < 4000 && (failedSecond == 0 || failedThird == 0); ++step) {
        const double lat = 48.0 + step * 0.0005;
        for (int day : {10, 11, 12, 21}) {
            EngineState state = TransitState(lat, 2.35, 2, day, 6, 2010);
            for (unsigned kind : {Fajr, Isha}) {
                EngineState copy = state;
                std::vector<double> passes;
                double expected = 0;
                const int expectedResult =
                    reference::SolveSalatHour(copy, kind, &expected, &passes);
                if (expectedResult == 0 || passes.empty()) continue;
                double hour = -1;
                EXPECT_EQ(SolveSalatHour(state, kind, &hour), expectedResult);
                EXPECT_EQ(hour, passes.back());
                if (passes.size() == 1) ++failedSecond;
                if (passes.size() == 2) ++failedThird;
            }
        }
    }
    EXPECT_GT(failedSecond, 0);
    EXPECT_GT(failedThird, 0);
}

TEST(Solver, NotANumberLeavesTheHourAndEndsWithSuccess) {
    Convention c = StandardConvention();
    c.FajrTwilightAngle = std::numeric_limits<double>::quiet_NaN();
    EngineState state = TransitState(36.75, 3.05, 1, 15, 1, 2010, c);
    state.sun.tau = 0.25;
    double hour = 9;
    EXPECT_EQ(SolveSalatHour(state, Fajr, &hour), kSolveFound);
    EXPECT_EQ(hour, 0.0);
    EXPECT_EQ(state.sun.tau, 0.25);  // no hour angle was in range
    // The second and third passes started again from hour 0.0, UT -1.
    EXPECT_EQ(state.sun.T, JulianCenturies(15, 1, 2010, -1.0));
}

TEST(Solver, LeavesTheSunAtItsLastInstant) {
    EngineState state = TransitState(36.75, 3.05, 1, 15, 1, 2010);
    EngineState ref = state;
    double a = 0, b = 0;
    SolveSalatHour(state, Asr, &a);
    reference::SolveSalatHour(ref, Asr, &b);
    EXPECT_EQ(a, b);
    ExpectSameSun(state.sun, ref.sun);
    // h is the Asr altitude of the last pass: above the horizon.
    EXPECT_GT(state.sun.h, 0.0);
}

TEST(Solver, HanafiAsrIsLaterThanShafii) {
    Convention hanafi = StandardConvention();
    hanafi.AsrShafii = false;
    const double places[][3] = {{36.75, 3.05, 1},  {-33.87, 151.2, 10}, {21.42, 39.83, 3},
                                {60.17, 24.94, 2}, {0.0, -78.5, -5},    {-54.8, -68.3, -3}};
    for (const auto& p : places) {
        for (int month = 1; month <= 12; ++month) {
            EngineState shafii = MakeState(p[0], p[1], static_cast<int>(p[2]), 10, month, 2010);
            EngineState other =
                MakeState(p[0], p[1], static_cast<int>(p[2]), 10, month, 2010, hanafi);
            ComputeDaySchedule(shafii);
            ComputeDaySchedule(other);
            EXPECT_GT(other.schedule.exact[Asr], shafii.schedule.exact[Asr] + 0.1)
                << p[0] << " month " << month;
            EXPECT_EQ(other.schedule.exact[Fajr], shafii.schedule.exact[Fajr]);
        }
    }
}

TEST(DaySchedule, FixedZuhrHourReplacesOnlyTheAdjustedZuhr) {
    Convention c = StandardConvention();
    c.ZuhrFixe = true;
    c.ZuhrHour = 13.5;
    c.AddedMinutes[Zuhr] = 7;
    EngineState state = MakeState(36.75, 3.05, 1, 15, 1, 2010, c);
    const std::string report = Report(state);
    EXPECT_EQ(state.schedule.adjusted[Zuhr], 13.5);
    EXPECT_EQ(state.schedule.exact[Zuhr], state.sun.transitHour);
    EXPECT_EQ(ToSecond(state.schedule.exact[Zuhr]), "12:57:14");
    EXPECT_THAT(report, HasSubstr("Chourouk=07h59'41\" +0mn  07h59'41\"\nZuhr Fixed = 13h30'00\"\n"
                                  "Asr     ="));
    EXPECT_THAT(report, Not(HasSubstr("Zuhr    =12h")));
    EXPECT_THAT(report, HasSubstr("Zuhr    =13:30\n"));
}

TEST(DaySchedule, IshaFollowsMaghribByFixedMinutes) {
    Convention c = StandardConvention();
    c.Isha_is_Maghrib_plus = true;
    c.IshaPlusMinutes = 90;
    c.AddedMinutes[Maghrib] = 3;
    c.AddedMinutes[Isha] = 2;
    EngineState state = MakeState(36.75, 3.05, 1, 15, 1, 2010, c);
    const std::string report = Report(state);
    const DaySchedule& d = state.schedule;
    EXPECT_EQ(d.exact[Isha], 90.0 * kMinuteInHours + d.exact[Maghrib]);
    EXPECT_NEAR(d.exact[Isha] - d.exact[Maghrib], 1.5, 1e-12);
    // Maghrib's added minutes do not enter Isha; its own do.
    EXPECT_EQ(d.adjusted[Isha], d.exact[Isha] + 2 * kMinuteInHours);
    // No solver lines between the Fajr result and the Isha line.
    const std::string expected = Format(
        "Fajr (Twilight) at %gh ie : %s\n\nIsha (Maghrib_plus 90mn) at %gh ie : %s\n\n"
        " 1st iter ",
        d.exact[Fajr], HoursToHmsText(d.exact[Fajr]).c_str(), d.exact[Isha],
        HoursToHmsText(d.exact[Isha]).c_str());
    EXPECT_THAT(report, HasSubstr(expected));
    EXPECT_THAT(report, Not(HasSubstr("Isha (Twilight)")));
    // Four solves: four " 1st iter" lines.
    size_t count = 0;
    for (size_t at = 0; (at = report.find(" 1st iter", at)) != std::string::npos; ++at) ++count;
    EXPECT_EQ(count, 4u);
}

TEST(DaySchedule, AddedMinutesAndTheirSigns) {
    Convention c = StandardConvention();
    c.AddedMinutes = {-2, 1.5, 0, -1.5, 2, 0.25};
    EngineState state = MakeState(36.75, 3.05, 1, 15, 1, 2010, c);
    const std::string report = Report(state);
    const DaySchedule& d = state.schedule;
    for (std::size_t i = 0; i < kPrayerCount; ++i) {
        EXPECT_EQ(d.adjusted[i], d.exact[i] + c.AddedMinutes[i] * kMinuteInHours) << i;
    }
    EXPECT_NEAR(d.exact[Fajr] - d.adjusted[Fajr], 2.0 / 60, 1e-12);
    const struct {
        const char* label;
        std::size_t index;
        const char* sign;
    } lines[] = {{"Fajr    =", Fajr, " -2mn  "},    {"Chourouk=", Chourouk, " +1.5mn  "},
                 {"Zuhr    =", Zuhr, " +0mn  "},    {"Asr     =", Asr, " -1.5mn  "},
                 {"Maghrib =", Maghrib, " +2mn  "}, {"Isha    =", Isha, " +0.25mn  "}};
    for (const auto& line : lines) {
        const std::string expected = std::string(line.label) + HoursToHmsText(d.exact[line.index]) +
                                     line.sign + HoursToHmsText(d.adjusted[line.index]) + "\n";
        EXPECT_THAT(report, HasSubstr(expected));
    }
    EXPECT_THAT(report, HasSubstr("Fajr    =06:27\n"));
}

TEST(DaySchedule, SummerTimeMakesEveryHourOneLater) {
    for (int dst : {1, 2}) {
        EngineState summer = MakeState(36.75, 3.05, 1, 15, 7, 2010, StandardConvention(), dst);
        EngineState standard = MakeState(36.75, 3.05, 1, 15, 7, 2010);
        const std::string report = Report(summer);
        ComputeDaySchedule(standard);
        EXPECT_EQ(summer.timeZoneInEffect, 2);
        EXPECT_EQ(standard.timeZoneInEffect, 1);
        for (std::size_t i = 0; i < kPrayerCount; ++i) {
            EXPECT_NEAR(summer.schedule.exact[i] - standard.schedule.exact[i], 1.0, 1e-9) << i;
        }
        EXPECT_THAT(report, HasSubstr("\nDST AppliesConvention 0\n"));
        EXPECT_THAT(report, HasSubstr(" at Date=: 15/7/2010   TZ=2\n"));
        EXPECT_THAT(report, HasSubstr("   DST Applies  TZ (include DST)=2\n"));
    }
    EngineState winter = MakeState(36.75, 3.05, 1, 15, 1, 2010, StandardConvention(), 1);
    const std::string report = Report(winter);
    EXPECT_EQ(winter.timeZoneInEffect, 1);
    EXPECT_THAT(report, HasSubstr("\nDST does not apply\nConvention 0\n"));
}

TEST(DaySchedule, AnIshaAfterMidnightStaysAboveTwentyFour) {
    Convention c = StandardConvention();
    c.Isha_is_Maghrib_plus = true;
    c.IshaPlusMinutes = 400;
    EngineState state = MakeState(36.75, 3.05, 1, 21, 6, 2010, c);
    ComputeDaySchedule(state);
    EXPECT_GT(state.schedule.exact[Isha], 24.0);
    EXPECT_EQ(HoursToClockText(state.schedule.adjusted[Isha]).substr(0, 3), "26:");
}

TEST(DaySchedule, ConventionIndexOutsideTheTableFallsBackToTheFirst) {
    EngineState state = MakeState(36.75, 3.05, 1, 15, 1, 2010);
    for (int index : {42, -1}) {
        state.place.Convention = index;
        ComputeDaySchedule(state);
        EXPECT_EQ(ToSeconds(state.schedule.exact), kTable[0].times) << index;
    }
}

// The shared-work path against the plain transcription, over places from the
// equator to beyond the polar circles, every season, both Asr rules and the
// special rules, bit for bit.
TEST(DaySchedule, SameBitsAsThePlainTranscription) {
    std::mt19937_64 random(20100115);
    std::uniform_real_distribution<double> latitude(-75, 75), longitude(-180, 180), unit(0, 1);
    for (int n = 0; n < 3000; ++n) {
        Convention c;
        c.FajrTwilightAngle = 12 + 8 * unit(random);
        c.IshaTwilightAngle = n % 7 == 0 ? c.FajrTwilightAngle : 12 + 8 * unit(random);
        c.SunriseSetAngle = n % 5 == 0 ? 0.0 : 0.833;
        c.AsrShafii = n % 2 == 0;
        c.Isha_is_Maghrib_plus = n % 3 == 0;
        c.IshaPlusMinutes = 90;
        c.ZuhrFixe = n % 4 == 0;
        c.ZuhrHour = 13.25;
        for (double& m : c.AddedMinutes) m = std::floor(unit(random) * 9) - 4;
        const double lon = longitude(random);
        EngineState state =
            MakeState(latitude(random), lon, static_cast<int>(std::lround(lon / 15)),
                      1 + static_cast<int>(unit(random) * 28), 1 + n % 12, 1990 + n % 40, c, n % 3);
        EngineState ref = state;
        ComputeDaySchedule(state);
        reference::ComputeDaySchedule(ref);
        ASSERT_EQ(state.timeZoneInEffect, ref.timeZoneInEffect);
        ASSERT_EQ(state.schedule.exact, ref.schedule.exact) << n;
        ASSERT_EQ(state.schedule.adjusted, ref.schedule.adjusted) << n;
        ExpectSameSun(state.sun, ref.sun);
    }
}

TEST(Solver, DeclinationAloneHasTheBitsOfTheEquatorialPair) {
    std::mt19937_64 random(23);
    std::uniform_real_distribution<double> longitude(0, kTwoPi);
    std::vector<double> values = {0.0, kPi / 2, kPi, 3 * kPi / 2, kTwoPi - 1e-15};
    for (int i = 0; i < 20000; ++i) values.push_back(longitude(random));
    for (double l : values) {
        double ra = 0, delta = 0;
        SunEquatorial(l, ra, delta);
        ASSERT_EQ(engine_detail::SunDeclination(l), delta) << l;
    }
}

TEST(Solver, SameTraceAndBitsAsThePlainTranscription) {
    for (const TableRow& row : kTable) {
        for (double lat : {row.lat, 66.0, 69.65}) {
            EngineState state = TransitState(lat, row.lon, row.zone, row.day, row.month, row.year);
            state.tables.Verbose = 1;
            for (unsigned kind : {Fajr, Chourouk, Asr, Maghrib, Isha}) {
                EngineState ref = state;
                StringTraceSink a, b;
                state.traceSink = &a;
                ref.traceSink = &b;
                double ha = 0, hb = 0;
                EXPECT_EQ(SolveSalatHour(state, kind, &ha),
                          reference::SolveSalatHour(ref, kind, &hb));
                EXPECT_EQ(ha, hb);
                EXPECT_EQ(a.text(), b.text());
                ExpectSameSun(state.sun, ref.sun);
            }
        }
    }
}

TEST(DaySchedule, NothingIsPrintedWithoutVerboseOrWithoutSink) {
    EngineState state = MakeState(36.75, 3.05, 1, 15, 1, 2010);
    StringTraceSink sink;
    state.traceSink = &sink;
    ComputeDaySchedule(state);
    EXPECT_EQ(sink.text(), "");
    state.traceSink = nullptr;
    state.tables.Verbose = 1;
    ComputeDaySchedule(state);  // the plug-in's way: no sink, no output, no crash
    EXPECT_EQ(ToSeconds(state.schedule.exact), kTable[0].times);
}

// Checked line by line against the report's layout: the header with the DST
// text running into the convention line, the transit's two lines, each solve's
// lines before its result, the exact hours with their signs and the rounded ones.
TEST(DaySchedule, GoldenReportAlgiersWinter) {
    Convention c = StandardConvention();
    c.AddedMinutes = {-2, 0, 1.5, 0, 3, 0};
    EngineState state = MakeState(36.75, 3.05, 1, 15, 1, 2010, c, 1);
    state.place.Name = "Alger";
    state.place.Country = "Algérie";
    EXPECT_EQ(Report(state),
              testing::ReadFile(ORVANO_TEST_DATA "/engine_report_alger_2010-01-15.txt"));
}

TEST(DaySchedule, GoldenReportHighNorthSummer) {
    Convention c = StandardConvention();
    c.Isha_is_Maghrib_plus = true;
    c.IshaPlusMinutes = 90;
    c.ZuhrFixe = true;
    c.ZuhrHour = 13.5;
    c.AsrShafii = false;
    c.AddedMinutes = {2, 0, 0, 0, 0, -1.5};
    EngineState state = MakeState(69.65, 18.96, 1, 21, 6, 2010, StandardConvention(), 1);
    state.tables.Conventions[1] = c;
    state.place.Convention = 1;
    state.place.Name = "Tromsø";
    state.place.Country = "Norvège";
    EXPECT_EQ(Report(state),
              testing::ReadFile(ORVANO_TEST_DATA "/engine_report_tromso_2010-06-21.txt"));
}

TEST(MonthSchedule, RowsAreTheDaySchedules) {
    // March and October hold the Sunday rule's changes; the Friday rule's are
    // in April and September.
    const int cases[][3] = {{3, 2010, 1}, {10, 2010, 1}, {4, 2010, 2}, {9, 2010, 2}, {2, 2012, 1}};
    for (const auto& [month, year, dst] : cases) {
        EngineState state = MakeState(48.85, 2.35, 1, 15, month, year, StandardConvention(), dst);
        const int count = DaysInMonth(year, month);
        MonthSchedule table;
        ComputeMonthSchedule(state, table, count);
        EXPECT_EQ(table.dayCount, count);

        std::vector<double> zones;
        for (int d = 1; d <= count; ++d) {
            EngineState day = state;
            day.observation.day = d;
            ComputeDaySchedule(day);
            zones.push_back(day.timeZoneInEffect);
            EXPECT_EQ(table.adjusted[static_cast<size_t>(d - 1)], day.schedule.adjusted)
                << month << "/" << d;
            if (d > 1) {
                EXPECT_EQ(table.weekday[static_cast<size_t>(d - 1)],
                          (table.weekday[static_cast<size_t>(d - 2)] + 1) % 7);
            }
        }
        // The month does straddle a change of zone (February does not).
        EXPECT_EQ(zones.front() != zones.back(), month != 2) << month;
    }
}

TEST(MonthSchedule, WeekdaysOfKnownDays) {
    const struct {
        int month, year, zone, firstWeekday;
    } cases[] = {{1, 2010, 1, 4},  {1, 2000, 1, 5},  {1, 2000, -5, 5}, {1, 2010, 12, 4},
                 {12, 1999, 1, 2}, {12, 2026, 1, 1}, {2, 2100, 0, 0}};
    for (const auto& c : cases) {
        EngineState state = MakeState(36.75, 15 * c.zone, c.zone, 1, c.month, c.year);
        MonthSchedule table;
        ComputeMonthSchedule(state, table, 28);
        EXPECT_EQ(table.weekday[0], c.firstWeekday) << c.month << "/" << c.year;
        EXPECT_EQ(table.weekday[7], c.firstWeekday) << c.month << "/" << c.year;
    }
}

TEST(MonthSchedule, RowsBeyondTheCountAreUntouched) {
    EngineState state = MakeState(36.75, 3.05, 1, 9, 2, 2010);
    MonthSchedule table;
    for (auto& row : table.adjusted) row.fill(-99);
    table.weekday.fill(-1);
    ComputeMonthSchedule(state, table, 28);
    EXPECT_EQ(table.adjusted[28][0], -99);
    EXPECT_EQ(table.weekday[30], -1);
    EXPECT_NE(table.adjusted[27][0], -99);

    MonthSchedule untouched;
    untouched.dayCount = 77;
    ComputeMonthSchedule(state, untouched, 0);
    ComputeMonthSchedule(state, untouched, -3);
    EXPECT_EQ(untouched.dayCount, 77);
    EXPECT_EQ(untouched.adjusted[0][0], 0.0);

    // More days than the table holds: the table is filled, nothing beyond.
    MonthSchedule clamped;
    ComputeMonthSchedule(state, clamped, 45);
    EXPECT_EQ(clamped.dayCount, 31);
}

// The month's lines go where its trace argument says; the state's switch
// and sink decide nothing.
TEST(MonthSchedule, PrintsOnlyThroughTheTraceItIsGiven) {
    EngineState state = MakeState(36.75, 3.05, 1, 9, 2, 2010);
    StringTraceSink stateSink, given;
    state.tables.Verbose = 1;
    state.traceSink = &stateSink;
    MonthSchedule month;
    ComputeMonthSchedule(state, month, 2);
    EXPECT_EQ(stateSink.text(), "");
    ComputeMonthSchedule(state, month, 2, Trace{1, &given});
    EXPECT_EQ(stateSink.text(), "");
    EXPECT_THAT(given.text(), HasSubstr(" 1st iter "));
}

TEST(MonthSchedule, AllocatesNothing) {
    EngineState state = MakeState(36.75, 3.05, 1, 9, 7, 2010, StandardConvention(), 1);
    MonthSchedule table;
    gAllocations = 0;
    gCounting = true;
    ComputeMonthSchedule(state, table, 31);
    gCounting = false;
    EXPECT_EQ(gAllocations.load(), 0);
    // The counter does count: a report allocates.
    gCounting = true;
    const std::string report = Report(state);
    gCounting = false;
    EXPECT_GT(gAllocations.load(), 0);
}

// Shown hours: one day per row, the statuses and texts a user sees. Added
// minutes 2, 0, 1, 0, 3, -1.5 throughout.
struct ShownPlace {
    double lat, lon;
    int zone, dst;
};

struct ShownCase {
    const char* what;
    ShownPlace place;
    int month;  // day 21 of 2010
    Convention convention;
    HighLatitudeRule rule;
    const char* status;  // per prayer: o ok, e estimated, n none
    const char* texts;   // the six shown texts, space-separated
};

Convention With(double fajr, double isha, int ishaPlus = 0) {
    Convention c = StandardConvention();
    c.FajrTwilightAngle = fajr;
    c.IshaTwilightAngle = isha;
    c.Isha_is_Maghrib_plus = ishaPlus != 0;
    c.IshaPlusMinutes = ishaPlus;
    c.AddedMinutes = {2, 0, 1, 0, 3, -1.5};
    return c;
}

// The estimate written out again from the exact hours: night from sunrise to
// the next sunrise less the day, a portion before sunrise and after sunset.
double Estimate(const DaySchedule& d, const Convention& c, HighLatitudeRule rule, int prayer) {
    const double night = (d.exact[Chourouk] + 24) - d.exact[Maghrib];
    const double angle = prayer == Fajr ? c.FajrTwilightAngle : c.IshaTwilightAngle;
    const double portion = rule == HighLatitudeRule::Middle  ? night / 2
                           : rule == HighLatitudeRule::Angle ? night * (angle / 60)
                                                             : night / 7;
    const double hour = prayer == Fajr ? d.exact[Chourouk] - portion : d.exact[Maghrib] + portion;
    return hour + c.AddedMinutes[static_cast<size_t>(prayer)] * kMinuteInHours;
}

TEST(ShownTimes, StatusesTextsAndEstimatesToTheBit) {
    const Convention standard = With(18, 17);
    const ShownPlace london{51.5074, -0.1278, 0, 1};
    const ShownPlace tromso{69.65, 18.96, 1, 0};
    const ShownPlace paris{48.85, 2.35, 1, 1};
    const ShownPlace kiritimati{1.87, -157.4, 14, 0};
    using R = HighLatitudeRule;
    const ShownCase cases[] = {
        {"London, seventh", london, 6, standard, R::Seventh, "eooooe",
         "03:42 04:43 13:03 17:25 21:24 22:23"},
        {"London, middle", london, 6, standard, R::Middle, "eooooe",
         "01:04 04:43 13:03 17:25 21:24 01:01"},
        {"London, angle", london, 6, standard, R::Angle, "eooooe",
         "02:33 04:43 13:03 17:25 21:24 23:25"},
        {"London, no estimate", london, 6, standard, R::None, "noooon",
         "--:-- 04:43 13:03 17:25 21:24 --:--"},
        {"Tromso, midnight sun", tromso, 6, standard, R::Seventh, "nnoonn",
         "--:-- --:-- 11:47 16:58 --:-- --:--"},
        {"Tromso, polar night", tromso, 12, standard, R::Seventh, "ononno",
         "06:30 --:-- 11:43 --:-- --:-- 16:42"},
        {"Paris, only Isha fails", paris, 6, With(15, 18), R::Seventh, "oooooe",
         "03:24 05:47 13:53 18:10 22:01 23:03"},
        {"Tromso, Isha 90 min after a failed Maghrib", tromso, 6, With(18, 17, 90), R::Seventh,
         "nnoonn", "--:-- --:-- 11:47 16:58 --:-- --:--"},
        {"Kiritimati, UTC+14 at -157", kiritimati, 6, standard, R::Seventh, "oooooo",
         "05:11 06:25 12:32 15:58 18:41 19:48"},
    };
    for (const ShownCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ShownPlace& at = c.place;
        EngineState state =
            MakeState(at.lat, at.lon, at.zone, 21, c.month, 2010, c.convention, at.dst);
        state.highLatitudeRule = c.rule;
        ComputeDaySchedule(state);
        const DaySchedule& d = state.schedule;
        MonthSchedule month;
        ComputeMonthSchedule(state, month, 30);
        const size_t row = 20;
        std::string texts;
        for (size_t i = 0; i < kPrayerCount; ++i) {
            SCOPED_TRACE(i);
            const char want = c.status[i];
            EXPECT_EQ(d.status[i], want == 'o'   ? PrayerStatus::Ok
                                   : want == 'e' ? PrayerStatus::Estimated
                                                 : PrayerStatus::None);
            texts += (i == 0 ? "" : " ") + ShownClockText(d.status[i], d.shown[i]);
            if (want == 'o') {
                EXPECT_EQ(d.shown[i], d.adjusted[i]);
            } else if (want == 'e') {
                EXPECT_EQ(d.shown[i], Estimate(d, c.convention, c.rule, static_cast<int>(i)));
            } else {
                EXPECT_TRUE(std::isnan(d.shown[i]));
            }
            EXPECT_EQ(month.status[row][i], d.status[i]);
            if (want != 'n') {
                EXPECT_EQ(month.shown[row][i], d.shown[i]);
            }
        }
        EXPECT_EQ(texts, c.texts);
    }
}

// Which minute of which date an hour of a day's schedule is shown and rung at.
TEST(ShownTimes, OneMinuteAndDateForEveryHour) {
    const auto hms = [](int h, int m, double s) { return h + m / 60.0 + s / 3600.0; };
    using R = MinuteRounding;
    const struct {
        double hours;
        MinuteRounding rounding;
        int minuteOfDay, dayOffset;
        const char* text;
    } cases[] = {
        {hms(5, 42, 29.9), R::Nearest, 342, 0, "05:42"},
        {hms(5, 42, 30), R::Nearest, 343, 0, "05:43"},
        {0.125, R::Nearest, 8, 0, "00:08"},
        {hms(12, 59, 59.6), R::Nearest, 780, 0, "13:00"},
        {hms(23, 59, 29), R::Nearest, 1439, 0, "23:59"},
        {hms(23, 59, 30), R::Nearest, 0, 1, "00:00"},
        {24.25, R::Nearest, 15, 1, "00:15"},
        {-0.5, R::Nearest, 1410, -1, "23:30"},
        {-0.001, R::Nearest, 0, 0, "00:00"},
        {hms(5, 42, 0.5), R::Up, 343, 0, "05:43"},
        {5.7, R::Up, 342, 0, "05:42"},
        {hms(23, 59, 1), R::Up, 0, 1, "00:00"},
        {-0.001, R::Down, 1439, -1, "23:59"},
        {std::nan(""), R::Nearest, -1, 0, "--:--"},
    };
    for (const auto& c : cases) {
        const ShownMinute m = ShownMinuteOf(c.hours, c.rounding);
        EXPECT_EQ(std::tuple(m.minuteOfDay, m.dayOffset, m.text),
                  std::tuple(c.minuteOfDay, c.dayOffset, std::string(c.text)))
            << c.hours;
    }
}

TEST(ShownTimes, ReductionIntoTheDayAndRuleNames) {
    const double cases[][2] = {
        {29.46666, 5.46666}, {-19.25, 4.75}, {24.0, 0.0}, {12.5, 12.5}, {-48.5, 23.5}};
    for (const auto& [hours, reduced] : cases) EXPECT_NEAR(ReduceIntoDay(hours), reduced, 1e-12);
    EXPECT_EQ(ReduceIntoDay(29.25), 29.25 - 24 * std::floor(29.25 / 24));
    // The traced clock text keeps its message past 23:59; what is shown is the next midnight.
    EXPECT_EQ(HoursToClockText(ReduceIntoDay(-0.001)), kClockOverflowText);
    EXPECT_EQ(ShownClockText(PrayerStatus::Ok, -0.001), "00:00");
    for (const char* name : {"seventh", "middle", "angle", "none"}) {
        ASSERT_TRUE(ParseHighLatitudeRule(name).has_value()) << name;
        EXPECT_STREQ(HighLatitudeRuleName(*ParseHighLatitudeRule(name)), name);
    }
    for (const char* bad : {"", "Seventh", "seventh ", "1/7"})
        EXPECT_FALSE(ParseHighLatitudeRule(bad).has_value()) << bad;
}

// ---- towns with a zone name ---------------------------------------------------

TEST(ZoneTown, DelhiIsExactlyHalfAnHourAfterTheSameTownAtFive) {
    for (const auto& [day, month] : {std::pair{21, 3}, {21, 6}, {22, 12}}) {
        EngineState five = MakeState(28.6139, 77.209, 5, day, month, 2026);
        EngineState delhi = five;
        delhi.place.Zone = "Asia/Kolkata";
        ComputeDaySchedule(five);
        const std::string report = Report(delhi);
        EXPECT_EQ(delhi.timeZoneInEffect, 5.5);
        for (std::size_t i = 0; i < kPrayerCount; ++i) {
            EXPECT_EQ(delhi.schedule.exact[i] - five.schedule.exact[i], 0.5) << i;
            EXPECT_EQ(delhi.schedule.adjusted[i] - five.schedule.adjusted[i], 0.5) << i;
        }
        EXPECT_THAT(report, HasSubstr("   TZ=5.5\n"));
        EXPECT_THAT(report, HasSubstr("DST does not apply  TZ (include DST)=5.5\n"));
    }
}

TEST(ZoneTown, MonthTakesEachDaysOffset) {
    // New York's summer time starts on 8 March 2026: each day of the month
    // equals the same town at the whole-hour zone it has that day.
    EngineState ny = MakeState(40.7128, -74.006, -5, 1, 3, 2026);
    ny.place.Zone = "America/New_York";
    MonthSchedule month;
    ComputeMonthSchedule(ny, month, 31);
    for (int d = 1; d <= 31; ++d) {
        EngineState fixed = MakeState(40.7128, -74.006, d < 8 ? -5 : -4, d, 3, 2026);
        ComputeDaySchedule(fixed);
        EXPECT_EQ(month.adjusted[static_cast<size_t>(d - 1)], fixed.schedule.adjusted) << d;
    }
    EngineState summer = ny;
    summer.observation.day = 8;
    EXPECT_THAT(Report(summer), HasSubstr("DST Applies"));
}

}  // namespace
}  // namespace orvano
