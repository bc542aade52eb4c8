#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>

#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/sun_report.h"
#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::RunCli;

const std::vector<std::string> kAlgiers = {"--lat", "36.75", "--lon", "3.05", "--tz", "1"};

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

double JsonDouble(const std::string& json, const std::string& key) {
    const std::regex pattern("\"" + key + "\":([-0-9.eE+]+)");
    std::smatch match;
    if (!std::regex_search(json, match, pattern)) {
        ADD_FAILURE() << "no key " << key;
        return NAN;
    }
    return std::strtod(match[1].str().c_str(), nullptr);
}

TEST(CliSun, JsonHasEverySunStateFieldToTheBit) {
    const auto r = RunCli(Args({"sun"}, Args(kAlgiers, {"--at", "2010-06-21 16:00:00", "--json"})));
    ASSERT_EQ(r.status, 0) << r.err;
    CurrentPlace place;
    place.latitude = Degrees{36.75};
    place.longitude = Degrees{3.05};
    place.TimeZone = 1;
    double zone = 0;
    SunState sun;
    ComputeSunPosition(Observation{21, 6, 2010, 16, 0, 0}, place, zone, sun, Trace{});
    const std::pair<const char*, double> fields[] = {
        {"T", sun.T},           {"L", sun.L},          {"RA", sun.RA},   {"delta", sun.delta},
        {"theta0", sun.theta0}, {"theta", sun.theta},  {"tau", sun.tau}, {"h", sun.h},
        {"az", sun.az},         {"utHour", sun.utHour}};
    for (const auto& [key, value] : fields) EXPECT_EQ(JsonDouble(r.out, key), value) << key;
    EXPECT_NE(r.out.find("\"timeZoneInEffect\":1,\"dstApplies\":false,\"utDay\":21,"
                         "\"utMonth\":6,\"utYear\":2010,\"zone\":null}"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
}

TEST(CliSun, TracePrintsTheReportAndNothingElse) {
    const auto r =
        RunCli(Args({"sun"}, Args(kAlgiers, {"--at", "2010-06-21 16:00:00", "--trace"})));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        r.out.rfind("_____________________________________________________________\nLieu : ", 0),
        0u);
    EXPECT_NE(r.out.find("\n__ Date : Lundi 21/6/2010 à 15h UT   DST does not apply  TZ (include "
                         "DST)=1\n"),
              std::string::npos);
    const std::string last = "\nh=47.201°  ie altitude  47°12'04\"\n";
    ASSERT_GT(r.out.size(), last.size());
    EXPECT_EQ(r.out.substr(r.out.size() - last.size()), last);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 15);
}

// The text a person reads: bearings from North in [0°, 360°), one leading sign.
TEST(CliReadableAngles, QiblaAndSunText) {
    struct Case {
        std::vector<std::string> args;
        std::string line;
    };
    const Case cases[] = {
        // Jakarta faces west-north-west: east of the Kaaba, the course is negative.
        {{"qibla", "--lat", "-6.2088", "--lon", "106.8456"},
         "Qibla " + BearingText(QiblaBearing(Degrees{-6.2088}, Degrees{106.8456})) +
             " from North\n"},
        {{"sun", "--lat", "36.75", "--lon", "3.05", "--tz", "1", "--at", "2010-06-21 16:00:00"},
         "azimuth from North 265°39'"},
    };
    for (const Case& c : cases) {
        const auto r = RunCli(c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(c.line), std::string::npos) << r.out;
    }
    const auto jakarta = RunCli({"qibla", "--lat", "-6.2088", "--lon", "106.8456"});
    EXPECT_NE(jakarta.out.find("Qibla 295°"), std::string::npos) << jakarta.out;
    // Before sunrise the altitude is negative: one sign, before the degrees.
    const auto dawn = RunCli(Args({"sun"}, Args(kAlgiers, {"--at", "2010-06-21 05:20:00"})));
    const std::regex altitude("\naltitude +-[0-9]+°[0-9]{2}'[0-9]{2}\"\n");
    EXPECT_TRUE(std::regex_search(dawn.out, altitude)) << dawn.out;
}

TEST(CliQibla, AlgiersFacesEastSouthEast) {
    const auto r = RunCli(Args({"qibla", "--json"}, {"--lat", "36.75", "--lon", "3.05"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const double bearing = JsonDouble(r.out, "bearing");
    EXPECT_EQ(bearing, QiblaBearing(Degrees{36.75}, Degrees{3.05}));
    EXPECT_NEAR(bearing * kRadToDeg, 105.4, 0.1);
    EXPECT_NE(r.out.find("\"text\":" + std::string("\"105°23'50\\\"\"")), std::string::npos)
        << r.out;
}

TEST(CliUsage, BadArgumentsExitTwoNamingTheArgument) {
    struct Case {
        std::vector<std::string> args;
        std::string named;
    };
    const Case cases[] = {
        {{"sun", "--lat", "36", "--lon", "3", "--at", "2010-13-01 10:00:00"}, "--at"},
        {{"sun", "--lat", "36", "--lon", "3", "--at", "yesterday"}, "--at"},
        {{"sun", "--lat", "136", "--lon", "3"}, "--lat"},
        {{"sun", "--lat", "36", "--lon", "3", "--bogus"}, "--bogus"},
        {{"sun", "--lat", "36", "--lon", "3", "--tz"}, "--tz"},
        {{"sun", "--lat", "36", "--lon", "3", "--json", "--trace"}, "--json"},
        {{"qibla", "--lat", "x", "--lon", "3"}, "--lat"},
        {{"nonsense"}, "nonsense"},
    };
    for (const Case& c : cases) {
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.status, 2) << c.named;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        // One line naming the argument; an unknown command is followed by the usage list.
        EXPECT_EQ(r.err.find('\n') + 1 == r.err.size(), c.named != "nonsense") << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

}  // namespace
}  // namespace orvano
