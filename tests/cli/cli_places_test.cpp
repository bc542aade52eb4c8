// The gazetteer from the command line: towns --search, --town beyond data.cfg, add.
#include <gtest/gtest.h>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::RunCli;

const std::string kTowns = std::string(ORVANO_TEST_DATA) + "/cli_towns.cfg";

TEST(CliPlaces, TownBeyondDataCfgComesFromTheGazetteer) {
    const struct {
        const char* town;
        const char* placeLine;  // the first line of times
        const char* note;       // standard error, empty for a town of the file
    } cases[] = {
        {"Oslo", "Oslo, Norway (Europe/Oslo)\n",
         "orvano-cli: 'Oslo' is no town of data.cfg; Oslo, Norway from the gazetteer\n"},
        {"Hyderabad, Pakistan", "Hyderabad, Pakistan (Asia/Karachi)\n",
         "orvano-cli: 'Hyderabad, Pakistan' is no town of data.cfg; Hyderabad, Sindh, Pakistan "
         "from the gazetteer\n"},
        {"Norway/Bergen", "Bergen, Norway (Europe/Oslo)\n",
         "orvano-cli: 'Norway/Bergen' is no town of data.cfg; Bergen, Norway from the "
         "gazetteer\n"},
        {"sarajevo", "Sarajevo, Bosnia_and_Herzegovina (Europe/Sarajevo)\n", ""},
    };
    for (const auto& c : cases) {
        const auto r = RunCli({"times", "--config", testing::InstalledDataCfg(), "--town", c.town,
                               "--date", "2026-03-10"});
        EXPECT_EQ(r.status, 0) << c.town << r.err;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), c.placeLine) << c.town;
        EXPECT_EQ(r.err, c.note) << c.town;
    }
}

TEST(CliPlaces, SearchListsBestFirst) {
    const auto r = RunCli({"towns", "--search", "hyderabad", "--limit", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "  #  Place                       Zone                  Latitude  Longitude "
              "Population  Convention\n"
              "  1  Hyderabad, Telangana, India Asia/Kolkata           17.3840    78.4564    "
              "3597816  8\n"
              "  2  Hyderabad, Sindh, Pakistan  Asia/Karachi           25.3924    68.3737    "
              "1386330  8\n");
    const auto json = RunCli({"towns", "--search", "kuala lum", "--limit", "1", "--json"});
    EXPECT_EQ(json.out,
              "{\"search\":\"kuala lum\",\"places\":[{\"display\":\"Kuala Lumpur, Malaysia\","
              "\"name\":\"Kuala Lumpur\",\"asciiName\":\"Kuala Lumpur\",\"region\":\"Kuala "
              "Lumpur\",\"country\":\"Malaysia\",\"countryCode\":\"MY\",\"latitude\":3.1412,"
              "\"longitude\":101.68653,\"zone\":\"Asia/Kuala_Lumpur\",\"population\":1453975,"
              "\"conventionIndex\":7}]}\n");
    EXPECT_EQ(RunCli({"towns", "--search", "x", "--limit", "0"}).status, 2);
    EXPECT_EQ(RunCli({"towns", "--limit", "3"}).status, 2);
}

TEST(CliPlaces, AddWritesTheTownOnce) {
    const testing::TempFolder folder;
    const std::string cfg = folder / "data.cfg";
    testing::WriteFile(cfg, testing::ReadFile(kTowns));
    const struct {
        std::vector<std::string> args;
        int status;
        const char* out;  // the start of standard output
    } steps[] = {
        {{"--search", "oslo"},
         0,
         "Added town 8: Norway/Oslo, 59.9127, 10.7461, Europe/Oslo, convention 0 "},
        {{"--search", "Oslo, Norway"}, 2, ""},  // already there
        {{"--search", "hyderabad"},
         2,
         "  1  Hyderabad, Telangana, India\n  2  Hyderabad, Sindh, Pakistan\n"},
        {{"--search", "hyderabad", "--pick", "3"}, 2, ""},
        {{"--search", "hyderabad", "--pick", "2"}, 2, ""},  // the file has Pakistan/Hyderabad
        {{"--search", "nowhere at all"}, 2, ""},
        {{"--lat", "59.95", "--lon", "10.8", "--name", "My  own mosque"},
         0,
         "Added town 9: Norway/My__own_mosque, 59.9500, 10.8000, Europe/Oslo, convention 0 "},
        {{"--lat", "21.4", "--lon", "39.8", "--tz", "3", "--name", "Camp"},
         0,
         "Added town 10: Saudi_Arabia/Camp, 21.4000, 39.8000, no zone, convention 3 "},
        {{"--lat", "21.4", "--lon", "39.8", "--tz", "Mars/Base", "--name", "X"}, 2, ""},
        {{"--lat", "95", "--lon", "39.8", "--name", "X"}, 2, ""},
        {{"--lat", "21.4", "--lon", "39.8"}, 2, ""},
        {{"--search", "oslo", "--lat", "1"}, 2, ""},
    };
    for (const auto& s : steps) {
        std::vector<std::string> args = {"add", "--config", cfg};
        args.insert(args.end(), s.args.begin(), s.args.end());
        const auto r = RunCli(args);
        EXPECT_EQ(r.status, s.status) << s.args[1] << r.err;
        EXPECT_EQ(r.out.rfind(s.out, 0), 0u) << s.args[1] << r.out;
    }
    const auto towns = RunCli({"towns", "--config", cfg, "--json"});
    EXPECT_NE(
        towns.out.find("{\"index\":8,\"country\":\"Norway\",\"name\":\"Oslo\",\"zone\":"
                       "\"Europe/Oslo\",\"timeZone\":1,\"dst\":1,\"latitude\":59.912730000000003,"),
        std::string::npos)
        << towns.out;
    EXPECT_NE(towns.out.find("\"index\":10,\"country\":\"Saudi_Arabia\",\"name\":\"Camp\",\"zone\":"
                             "\"UTC+3\",\"timeZone\":3,\"dst\":0,"),
              std::string::npos)
        << towns.out;
    EXPECT_EQ(towns.out.find("\"index\":11,"), std::string::npos);
}

// Coordinates without --method compute as --method of the nearest place's
// country would, and as the town "add" makes there does.
TEST(CliPlaces, CoordinatesTakeTheMethodOfTheNearestPlacesCountry) {
    const testing::TempFolder folder;
    const std::string cfg = folder / "data.cfg";
    testing::WriteFile(cfg, testing::ReadFile(kTowns));
    // Past the place line, which names the place and its zone.
    const auto times = [](const std::string& out) { return out.substr(out.find('\n')); };
    const struct {
        const char* lat;
        const char* lon;
        const char* tz;
        const char* method;
        const char* nearest;
    } cases[] = {
        {"41.01", "28.95", "3", "diyanet", "Istanbul, Turkey"},
        {"-6.2", "106.85", "7", "kemenag", "Jakarta, Indonesia"},
        {"24.86", "67.01", "5", "karachi-hanafi", "Karachi, Pakistan"},
        {"30.04", "31.24", "2", "egypt", "Cairo, Egypt"},
        {"48.86", "2.35", "1", "uoif", "Paris, Île-de-France, France"},
        {"51.51", "-0.13", "0", "mwl", "London, England, United Kingdom"},
        {"0", "75", "5", "karachi", "Male, Maldives"},  // the Indian Ocean
    };
    for (const auto& c : cases) {
        const std::vector<std::string> place = {"times", "--lat", c.lat,    "--lon",     c.lon,
                                                "--tz",  c.tz,    "--date", "2026-03-10"};
        const auto r = RunCli(place);
        std::vector<std::string> given = place;
        given.insert(given.end(), {"--method", c.method});
        const auto m = RunCli(given);
        ASSERT_EQ(r.status, 0) << c.method << r.err;
        EXPECT_EQ(r.out, m.out) << c.method;
        EXPECT_NE(r.out.find(std::string("\nMethod: ") + c.method + " ("), std::string::npos)
            << r.out;
        EXPECT_EQ(r.err, std::string("orvano-cli: the nearest place is ") + c.nearest +
                             "; its country's method " + c.method + " is used\n");
        EXPECT_EQ(m.err, "");
        // The --tz given is the offset of the nearest place's zone that day.
        const std::string name = std::string("At_") + c.method;
        ASSERT_EQ(
            RunCli({"add", "--config", cfg, "--lat", c.lat, "--lon", c.lon, "--name", name}).status,
            0);
        const auto town =
            RunCli({"times", "--config", cfg, "--town", name, "--date", "2026-03-10"});
        EXPECT_EQ(times(town.out), times(r.out)) << c.method;
    }
}

}  // namespace
}  // namespace orvano
