// orvano-cli methods: the installed catalogue, the user's own methods file and
// the data.cfg conventions, as text and JSON.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/cli/run_cli.h"

namespace orvano::testing {
namespace {

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(CliMethods, JsonListsTheCatalogueAndTheSlotsEachWithASource) {
    const CliResult r = RunCli({"methods", "--json", "--config", InstalledDataCfg()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // 27 catalogue methods and the nine slots; no source is empty.
    EXPECT_EQ(Count(r.out, "\"id\":"), 36u);
    EXPECT_EQ(Count(r.out, "\"source\":\""), 36u);
    EXPECT_EQ(Count(r.out, "\"source\":\"\""), 0u);
    EXPECT_NE(r.out.find("\"id\":\"tehran\""), std::string::npos);
    EXPECT_NE(r.out.find("\"maghrib\":\"angle 4.5\""), std::string::npos);
    EXPECT_NE(r.out.find("\"id\":\"slot8\""), std::string::npos);
    EXPECT_NE(r.out.find("\"problems\":[]"), std::string::npos);
}

TEST(CliMethods, UsersMethodIsListedAndItsBadLineNamed) {
    const std::string folder = CliHome().path() + "/config/orvano/methods";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/mosque.methods")
        << "[my-mosque]\nname = My mosque\nauthority = Imam\nsource = printed table 2026\n"
           "fajr = before-sunrise 100\nisha = after-maghrib 80\n"
           "[broken]\nname = B\nauthority = A\nsource = S\nasr = 9\n";
    const CliResult r = RunCli({"methods", "--config", InstalledDataCfg()});
    std::filesystem::remove_all(folder);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "orvano-cli methods: " + folder +
                         "/mosque.methods:11: '9' is no shadow factor (0.25 to 4) for asr\n");
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\nmy-mosque +My mosque\n")));
    EXPECT_NE(r.out.find("fajr before-sunrise 100;"), std::string::npos);
    EXPECT_EQ(r.out.find("broken"), std::string::npos);
}

// A town whose method line names JAKIM is computed with JAKIM's method, as
// --method jakim computes the same place; without the line its slot serves.
TEST(CliMethods, ATownsMethodLineGivesThatMethodsTimes) {
    const std::string config = CliHome().path() + "/kl.cfg";
    const std::string town = "1 1 0 0\n2 Malaysia Kuala_Lumpur 3.139 101.6869 8 0 0\n";
    const auto text = [](const std::vector<std::string>& args) {
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        const size_t at = r.out.find("\"text\":[");
        return at == std::string::npos ? r.out : r.out.substr(at, r.out.find(']', at) - at);
    };
    const std::vector<std::string> day = {"times",  "--config",   config,
                                          "--date", "2026-04-15", "--json"};
    std::vector<std::string> jakim = day;
    jakim.insert(jakim.end(), {"--method", "jakim"});
    WriteFile(config, town);
    const std::string slot = text(day);
    const std::string byOption = text(jakim);
    WriteFile(config, town + "8 method jakim\n");
    EXPECT_EQ(text(day), byOption);
    EXPECT_NE(slot, byOption);
}

// A method's own high-latitude rule estimates London's midsummer Fajr and
// Isha (the Sun never 17° down) when the user has chosen no rule; a chosen
// rule wins over it.
TEST(CliMethods, TheMethodsHighLatitudeRuleServesUsersWhoChoseNone) {
    const std::string folder = CliHome().path() + "/config/orvano/methods";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/north.methods")
        << "[north]\nname = North\nauthority = Imam\nsource = printed table 2026\n"
           "high-latitude = middle\n";
    const std::vector<std::string> london = {"times",      "--lat",    "51.5074", "--lon",
                                             "-0.1278",    "--tz",     "1",       "--date",
                                             "2010-06-21", "--method", "north",   "--json"};
    const struct {
        std::vector<std::string> more;
        const char* text;
    } cases[] = {
        {{}, R"("01:02","04:43","13:02","17:25","21:21","01:02")"},
        {{"--high-latitude", "seventh"}, R"("03:40","04:43","13:02","17:25","21:21","22:25")"},
        {{"--high-latitude", "none"}, R"("--:--","04:43","13:02","17:25","21:21","--:--")"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = london;
        args.insert(args.end(), c.more.begin(), c.more.end());
        const CliResult r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(std::string("\"text\":[") + c.text + "]"), std::string::npos) << r.out;
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace orvano::testing
