// The catalogue's rules in the engine: Maghrib at an angle against an
// independent ephemeris, the Moonsighting Committee's seasons against its
// published example, minutes before sunrise, rounding, and each rule's status.
#include "config/methods.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "astro/constants.h"
#include "engine/schedule.h"
#include "engine/seasonal.h"

namespace orvano {
namespace {

MethodCatalogue Bundled() {
    MethodCatalogue catalogue;
    ReadMethodFolders({std::string(ORVANO_SOURCE_DIR) + "/resources/methods"}, catalogue);
    return catalogue;
}

// A day at a place, computed under a method of the bundled catalogue (or a
// user's method text).
DaySchedule Day(const std::string& method, double lat, double lon, double zone, int y, int m, int d,
                const std::string& userText = "") {
    MethodCatalogue catalogue = Bundled();
    ReadMethodText(userText, "user", catalogue);
    EngineState state;
    state.methods = MethodConventions(catalogue);
    state.place.Method = method;
    state.place.latitude = Degrees{lat};
    state.place.longitude = Degrees{lon};
    state.place.FixedZone = zone;
    state.observation = Observation{d, m, y, 12, 0, 0};
    ComputeDaySchedule(state);
    return state.schedule;
}

// The low-precision ephemeris, at the solar rate, stays within 20 s of the
// reference at these latitudes all year.
constexpr double kMaghribToleranceSeconds = 20;

// tests/data/maghrib_angle_reference.csv: astronomy-engine's crossing of the
// method's angle on every evening of 2026 (see tests/data/README.md).
TEST(MethodRules, MaghribAtAnAngleFollowsTheEphemerisAllYear) {
    std::ifstream file(std::string(ORVANO_TEST_DATA) + "/maghrib_angle_reference.csv");
    ASSERT_TRUE(file);
    std::string line;
    int rows = 0;
    double worst = 0.0;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#' || line.starts_with("place")) continue;
        std::istringstream fields(line);
        std::string place, cell;
        std::getline(fields, place, ',');
        double v[7];
        for (double& x : v) {
            std::getline(fields, cell, ',');
            x = std::stod(cell);
        }
        const std::string method = place == "Tehran" ? "tehran" : "jafari";
        const DaySchedule day = Day(method, v[0], v[1], 3.5, static_cast<int>(v[3]),
                                    static_cast<int>(v[4]), static_cast<int>(v[5]));
        std::getline(fields, cell, ',');
        const double seconds = std::fabs((day.exact[Maghrib] - 3.5) - std::stod(cell)) * 3600;
        EXPECT_EQ(day.status[Maghrib], PrayerStatus::Ok);
        worst = std::max(worst, seconds);
        ++rows;
    }
    EXPECT_EQ(rows, 730);
    EXPECT_LE(worst, kMaghribToleranceSeconds);
}

// The published example (islamic-network/prayer-times-moonsighting, README):
// 24 December 2020 at latitude 25.2119894, Fajr 88 minutes before sunrise
// and Isha 86 minutes after sunset, to the minute.
TEST(MethodRules, SeasonalMinutesGiveThePublishedExample) {
    const int days = DaysSinceSolstice(25.2119894, 2020, 12, 24);
    EXPECT_EQ(days, 3);
    EXPECT_EQ(std::lround(SeasonalFajrMinutes(25.2119894, days)), 88);
    EXPECT_EQ(std::lround(SeasonalIshaMinutes(25.2119894, days)), 86);
    struct Case {
        double lat;
        int y, m, d, days;
    } cases[] = {{51.5, 2026, 12, 21, 0}, {51.5, 2026, 1, 1, 11},   {51.5, 2026, 12, 20, 364},
                 {-33.9, 2026, 6, 21, 0}, {-33.9, 2026, 1, 1, 194}, {51.5, 2024, 12, 31, 10}};
    for (const Case& c : cases) EXPECT_EQ(DaysSinceSolstice(c.lat, c.y, c.m, c.d), c.days);
}

// Minutes before sunrise and the seasons are exact offsets of the solved
// sunrise and sunset; each has the status of what it follows, and the seasons
// are estimated beyond 55 degrees.
TEST(MethodRules, OffsetRulesAreExactAndCarryTheirStatus) {
    const std::string mosque =
        "[bury]\nname = B\nauthority = A\nsource = S\nfajr = before-sunrise 100\n";
    const DaySchedule bury = Day("bury", 53.59, -2.3, 0, 2026, 3, 10, mosque);
    EXPECT_EQ(bury.exact[Fajr], bury.exact[Chourouk] - 100 * kMinuteInHours);
    EXPECT_EQ(bury.status[Fajr], PrayerStatus::Ok);

    const DaySchedule london = Day("moonsighting", 51.5, -0.13, 0, 2026, 3, 10);
    const int days = DaysSinceSolstice(51.5, 2026, 3, 10);
    EXPECT_EQ(london.exact[Fajr],
              london.exact[Chourouk] - SeasonalFajrMinutes(51.5, days) * kMinuteInHours);
    EXPECT_EQ(london.exact[Isha],
              london.exact[Maghrib] + SeasonalIshaMinutes(51.5, days) * kMinuteInHours);
    EXPECT_EQ(london.adjusted[Maghrib], london.exact[Maghrib] + 3 * kMinuteInHours);

    struct Case {
        std::string method;
        double lat;
        int m, d;
        PrayerStatus fajr, maghrib, isha;
    } cases[] = {
        {"moonsighting", 51.5, 6, 21, PrayerStatus::Ok, PrayerStatus::Ok, PrayerStatus::Ok},
        {"moonsighting", 59.9, 6, 21, PrayerStatus::Estimated, PrayerStatus::Ok,
         PrayerStatus::Estimated},
        {"moonsighting", 69.65, 12, 21, PrayerStatus::None, PrayerStatus::None, PrayerStatus::None},
        {"bury", 69.65, 12, 21, PrayerStatus::None, PrayerStatus::None, PrayerStatus::Ok},
        {"tehran", 69.65, 6, 21, PrayerStatus::None, PrayerStatus::None, PrayerStatus::None},
        {"tehran", 35.69, 6, 21, PrayerStatus::Ok, PrayerStatus::Ok, PrayerStatus::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method + " " + std::to_string(c.lat));
        const DaySchedule day = Day(c.method, c.lat, 10.0, 1, 2026, c.m, c.d, mosque);
        EXPECT_EQ(day.status[Fajr], c.fajr);
        EXPECT_EQ(day.status[Maghrib], c.maghrib);
        EXPECT_EQ(day.status[Isha], c.isha);
    }
}

// A method that rounds up or down shows that whole minute of its time.
TEST(MethodRules, RoundingUpAndDownOwnTheShownMinute) {
    const std::string down =
        "[down]\nname = D\nauthority = A\nsource = S\nfajr = angle 18\nisha = angle 18\n"
        "rounding = down\n";
    for (const std::string& method :
         {std::string("jakim"), std::string("down"), std::string("karachi")}) {
        for (int d = 1; d <= 28; d += 9) {
            const DaySchedule day = Day(method, 3.139, 101.6869, 8, 2026, 4, d, down);
            for (size_t p = 0; p < kPrayerCount; ++p) {
                const double minutes = day.shown[p] * 60;
                const double adjusted = day.adjusted[p] * 60;
                if (method == "karachi") {
                    EXPECT_EQ(day.shown[p], day.adjusted[p]);
                    continue;
                }
                EXPECT_NEAR(minutes, std::round(minutes), 1e-6);
                if (method == "jakim") {
                    EXPECT_TRUE(minutes >= adjusted - 1e-6 && minutes < adjusted + 1) << p;
                } else {
                    EXPECT_TRUE(minutes <= adjusted + 1e-6 && minutes > adjusted - 1) << p;
                }
            }
        }
    }
}

}  // namespace
}  // namespace orvano
