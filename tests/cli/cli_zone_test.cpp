// Zones on the command line: --tz as hours or a zone name, the desktop's zone
// without it, "zone" and "timeZoneInEffect" in JSON, unknown and bad names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::RunCli;

// The value of "key" in a flat JSON object, as written.
std::string JsonValue(const std::string& json, const std::string& key) {
    const std::string head = "\"" + key + "\":";
    const size_t at = json.find(head);
    if (at == std::string::npos) return "(missing)";
    const size_t from = at + head.size();
    return json.substr(from, json.find_first_of(",}", from) - from);
}

// TZ for the runs of one test; the tool inherits it.
struct DesktopZone {
    explicit DesktopZone(const char* tz) { setenv("TZ", tz, 1); }
    ~DesktopZone() { unsetenv("TZ"); }
};

const std::vector<std::string> kDelhi = {"--lat", "28.6139", "--lon", "77.209"};
const std::string kDelhiMethod =
    "orvano-cli: the nearest place is New Delhi, India; its country's method karachi-hanafi is "
    "used\n";

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(CliZone, TzTakesHoursOrAZoneName) {
    struct Case {
        std::vector<std::string> tz;
        const char* desktop;
        std::string zoneInEffect, zone;
    } cases[] = {
        {{"--tz", "Asia/Kolkata"}, "UTC", "5.5", "\"Asia/Kolkata\""},
        {{"--tz", "5.5"}, "UTC", "5.5", "null"},
        {{"--tz", "5"}, "UTC", "5", "null"},
        {{"--tz", "-3.5"}, "UTC", "-3.5", "null"},
        {{}, "Asia/Kathmandu", "5.75", "\"Asia/Kathmandu\""},  // the desktop's zone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktop);
        DesktopZone desktop(c.desktop);
        const std::vector<std::vector<std::string>> commands = {
            {"times", "--date", "2026-03-21"}, {"month", "--month", "2026-03"}, {"sun"}};
        for (const std::vector<std::string>& command : commands) {
            std::vector<std::string> args = Args(Args(command, kDelhi), c.tz);
            args.push_back("--json");
            const auto r = RunCli(args);
            ASSERT_EQ(r.status, 0) << command[0] << " " << r.err;
            EXPECT_EQ(r.err, command[0] == "sun" ? "" : kDelhiMethod) << command[0];
            EXPECT_EQ(JsonValue(r.out, "timeZoneInEffect"), c.zoneInEffect) << command[0];
            EXPECT_EQ(JsonValue(r.out, "zone"), c.zone) << command[0];
        }
    }
}

TEST(CliZone, TextShowsTheZoneAndFractionalHours) {
    DesktopZone desktop("UTC");
    const auto named =
        RunCli(Args({"times"}, Args(kDelhi, {"--tz", "Asia/Kolkata", "--date", "2026-03-21"})));
    const auto hours =
        RunCli(Args({"times"}, Args(kDelhi, {"--tz", "5.5", "--date", "2026-03-21"})));
    ASSERT_EQ(named.status, 0);
    EXPECT_EQ(named.out.substr(0, named.out.find('\n')), "Lieu, Coordonnees (Asia/Kolkata)");
    EXPECT_NE(named.out.find("2026-03-21  TZ=5.5\n"), std::string::npos) << named.out;
    // The same times: only the first line differs.
    EXPECT_EQ(named.out.substr(named.out.find('\n')), hours.out.substr(hours.out.find('\n')));
}

TEST(CliZone, UnknownAndBadNames) {
    DesktopZone desktop("UTC");
    const auto unknown = RunCli(
        Args({"times"}, Args(kDelhi, {"--tz", "Asia/Atlantis", "--date", "2026-03-21", "--json"})));
    EXPECT_EQ(unknown.status, 0);
    EXPECT_EQ(unknown.err,
              "orvano-cli: unknown time zone \"Asia/Atlantis\" for Lieu; using TimeZone 0 and "
              "DST 0\n" +
                  kDelhiMethod);
    EXPECT_EQ(JsonValue(unknown.out, "timeZoneInEffect"), "0");
    EXPECT_EQ(JsonValue(unknown.out, "zone"), "null");
    for (const char* bad : {"Asia/Kolkata;rm", "15", "-12.5", "", "5.5h"}) {
        const auto r = RunCli(Args({"times"}, Args(kDelhi, {"--tz", bad})));
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("--tz"), std::string::npos) << r.err;
    }
}

TEST(CliZone, UnknownZoneOfAFileTownFallsBackToItsIntegers) {
    testing::TempFolder folder;
    const std::string path = folder / "data.cfg";
    testing::WriteFile(path, "1 1 0 0\n2 India Delhi 28.6139 77.209 5 0 0\n8 zone Asia/Delhi\n");
    const auto r = RunCli({"times", "--config", path, "--date", "2026-03-21", "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "orvano-cli: unknown time zone \"Asia/Delhi\" for Delhi; using TimeZone 5 and DST "
              "0\n");
    EXPECT_EQ(JsonValue(r.out, "timeZoneInEffect"), "5");
}

}  // namespace
}  // namespace orvano
