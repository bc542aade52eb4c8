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

}  // namespace
}  // namespace orvano::testing
