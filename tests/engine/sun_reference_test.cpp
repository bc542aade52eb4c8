// The engine against an independent ephemeris: tests/data/sun_reference.csv,
// written by tests/data/ephemeris/make_reference.js (see its header for
// the definitions). Every case must hold, no averages; the test also prints
// the largest and the median error of each quantity, the table README quotes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "astro/constants.h"
#include "engine/schedule.h"
#include "engine/solver.h"

namespace orvano {
namespace {

struct ReferenceDay {
    std::string place;
    double lat = 0, lon = 0;
    int year = 0, month = 0, day = 0;
    // transit, rise, set, dawn18, dusk18, dawn15, dusk15, dawn12, dusk12, asr1, asr2,
    // as the file writes them: hours, "none" or "skip".
    std::vector<std::string> times;
};

std::vector<ReferenceDay> ReadReference() {
    std::ifstream in(ORVANO_TEST_DATA "/sun_reference.csv");
    std::vector<ReferenceDay> days;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("place,", 0) == 0) continue;
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
        if (f.size() != 17) {
            ADD_FAILURE() << "malformed line: " << line;
            continue;
        }
        ReferenceDay d{f[0],
                       std::stod(f[1]),
                       std::stod(f[2]),
                       std::stoi(f[3]),
                       std::stoi(f[4]),
                       std::stoi(f[5]),
                       {f.begin() + 6, f.end()}};
        days.push_back(d);
    }
    return days;
}

// One quantity: which column of the file, which hour of the engine's day
// under which convention, and the bound in seconds.
struct Quantity {
    const char* name;
    std::size_t column;
    int prayer;
    double twilight;  // the Fajr and Isha angle of the convention
    bool shafii;
    double boundSeconds;
};

constexpr Quantity kQuantities[] = {
    {"transit", 0, Zuhr, 18, true, 10},   {"sunrise", 1, Chourouk, 18, true, 15},
    {"sunset", 2, Maghrib, 18, true, 15}, {"dawn -18", 3, Fajr, 18, true, 20},
    {"dusk -18", 4, Isha, 18, true, 20},  {"dawn -15", 5, Fajr, 15, true, 20},
    {"dusk -15", 6, Isha, 15, true, 20},  {"dawn -12", 7, Fajr, 12, true, 20},
    {"dusk -12", 8, Isha, 12, true, 20},  {"Asr k=1", 9, Asr, 18, true, 20},
    {"Asr k=2", 10, Asr, 18, false, 20},
};

DaySchedule EngineDay(const ReferenceDay& d, const Quantity& q, int zone) {
    EngineState state;
    Convention& c = state.tables.Conventions[0];
    c.FajrTwilightAngle = q.twilight;
    c.IshaTwilightAngle = q.twilight;
    c.SunriseSetAngle = 0.833;
    c.AsrShafii = q.shafii;
    state.place.latitude = Degrees{d.lat};
    state.place.longitude = Degrees{d.lon};
    state.place.TimeZone = zone;
    state.observation = Observation{d.day, d.month, d.year, 12, 0, 0};
    ComputeDaySchedule(state);
    return state.schedule;
}

TEST(SunReference, EveryCaseWithinItsBound) {
    const std::vector<ReferenceDay> days = ReadReference();
    ASSERT_GE(days.size(), 200U);
    std::printf("%-10s %6s %9s %9s\n", "quantity", "cases", "max (s)", "median (s)");
    for (const Quantity& q : kQuantities) {
        std::vector<double> errors;
        for (const ReferenceDay& d : days) {
            const std::string& ref = d.times[q.column];
            if (ref == "skip") continue;
            const int zone = static_cast<int>(std::lround(d.lon / 15));
            const DaySchedule day = EngineDay(d, q, zone);
            const auto p = static_cast<std::size_t>(q.prayer);
            if (ref == "none") {
                EXPECT_EQ(day.results.result[p], kSolveAlwaysAbove) << q.name << " " << d.place;
                continue;
            }
            ASSERT_EQ(day.results.result[p], kSolveFound) << q.name << " " << d.place;
            const double error = std::fabs((day.exact[p] - zone - std::stod(ref)) * 3600);
            EXPECT_LE(error, q.boundSeconds)
                << q.name << " at " << d.place << " " << d.year << "-" << d.month << "-" << d.day;
            errors.push_back(error);
        }
        ASSERT_FALSE(errors.empty());
        std::sort(errors.begin(), errors.end());
        std::printf("%-10s %6zu %9.1f %9.1f\n", q.name, errors.size(), errors.back(),
                    errors[errors.size() / 2]);
    }
}

}  // namespace
}  // namespace orvano
