// orvano-cli towns, and --town given by name.
#include <gtest/gtest.h>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::RunCli;

const std::string kTowns = std::string(ORVANO_TEST_DATA) + "/cli_towns.cfg";

TEST(CliTowns, ListsEveryTownWithItsZoneAndConvention) {
    const auto r = RunCli({"towns", "--config", kTowns});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("  #  Country  Name                   Zone               Convention\n"
                          "  0* Algérie  Alger                  UTC+1              League, with a "
                          "comma; and \\semicolon\n",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("\n  2  Norvège  Tromsø                 UTC+1 (Sunday DST) High north\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\n  5  USA      New_York               America/New_York   League"),
              std::string::npos)
        << r.out;
    const auto json = RunCli({"towns", "--config", kTowns, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("{\"index\":7,\"country\":\"Réunion\",\"name\":\"Saint-\\\"Denis\\\";"
                            "Nord,Est\",\"zone\":\"UTC+4\",\"timeZone\":4,\"dst\":0,"),
              std::string::npos)
        << json.out;
}

TEST(CliTowns, TownByIndexOrName) {
    const struct {
        const char* town;
        const char* chosen;  // what qibla's line starts with
    } cases[] = {
        {"4", "Hyderabad, Pakistan: "},
        {"alger", "Alger, Algérie: "},  // the exact name wins over the longer one
        {"ALGER_e", "Alger_Est, Algérie: "},
        {"alger est", "Alger_Est, Algérie: "},
        {"tromso", "Tromsø, Norvège: "},
        {"TROMSØ", "Tromsø, Norvège: "},
        {"new york", "New_York, USA: "},
        {"newa", "Newark, USA: "},
        {"India/Hyderabad", "Hyderabad, India: "},
        {"pakistan/hyder", "Hyderabad, Pakistan: "},
        {"norvege/tromsø", "Tromsø, Norvège: "},
        {"réunion/saint-\"denis\";nord,est", "Saint-\"Denis\";Nord,Est, Réunion: "},
    };
    for (const auto& c : cases) {
        const auto r = RunCli({"qibla", "--config", kTowns, "--town", c.town});
        EXPECT_EQ(r.status, 0) << c.town << ": " << r.err;
        EXPECT_EQ(r.out.rfind(c.chosen, 0), 0u) << c.town << ": " << r.out;
    }
}

TEST(CliTowns, AmbiguousOrUnknownNamesListTheCandidates) {
    const struct {
        const char* town;
        const char* err;
    } cases[] = {
        {"hyderabad",
         "orvano-cli qibla: option '--town': 'hyderabad' could be India/Hyderabad (3), "
         "Pakistan/Hyderabad (4); give Country/Name or the index\n"},
        {"new",
         "orvano-cli qibla: option '--town': 'new' could be USA/New_York (5), USA/Newark (6); "
         "give Country/Name or the index\n"},
        {"ew_yor",
         "orvano-cli qibla: option '--town': no town is named 'ew_yor'; did you mean "
         "USA/New_York (5)?\n"},
        {"France/Alger",
         "orvano-cli qibla: option '--town': no town is named 'France/Alger'; did you mean "
         "Algérie/Alger (0), Algérie/Alger_Est (1)?\n"},
        {"zz",
         "orvano-cli qibla: option '--town': no town is named 'zz'; 'orvano-cli towns' "
         "lists them\n"},
        {"8",
         "orvano-cli qibla: option '--town' needs a town index from 0 to 7 or a name, not "
         "'8'\n"},
        {"",
         "orvano-cli qibla: option '--town': no town is named ''; 'orvano-cli towns' lists "
         "them\n"},
    };
    for (const auto& c : cases) {
        const auto r = RunCli({"qibla", "--config", kTowns, "--town", c.town});
        EXPECT_EQ(r.status, 2) << c.town;
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
}  // namespace orvano
