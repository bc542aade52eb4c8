#include <gtest/gtest.h>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::RunCli;

const char* const kCommands[] = {"towns",  "times", "month", "next",     "export",
                                 "trace",  "sun",   "qibla", "calendar", "read",
                                 "resave", "bench", "fit",   "add",      "methods"};

TEST(CliHelp, EveryCommandDescribesItselfAndIsListed) {
    const auto tool = RunCli({"--help"});
    ASSERT_EQ(tool.status, 0) << tool.err;
    EXPECT_EQ(RunCli({"-h"}).out, tool.out);
    EXPECT_EQ(RunCli({"help"}).out, tool.out);
    for (const char* name : kCommands) {
        EXPECT_NE(tool.out.find(std::string("\n  ") + name + " "), std::string::npos) << name;
        for (const char* flag : {"--help", "-h"}) {
            const auto r = RunCli({name, flag});
            EXPECT_EQ(r.status, 0) << name << " " << flag << ": " << r.err;
            EXPECT_NE(r.out.find(std::string("Usage: orvano-cli ") + name + " [OPTIONS]"),
                      std::string::npos)
                << r.out;
            EXPECT_NE(r.out.find("Options:"), std::string::npos) << r.out;
        }
        EXPECT_EQ(RunCli({"help", name}).out, RunCli({name, "--help"}).out) << name;
    }
}

// A user with no settings: the desktop's language when the tool speaks it,
// English (as the tool has always written) under the C locale.
TEST(CliHelp, FollowsTheDesktopsLanguage) {
    const std::string& h = testing::CliHome().path() + "/desktop";
    const struct {
        const char* lang;
        const char* usage;
        const char* dayOption;
    } cases[] = {
        {"tr_TR.UTF-8", "\nKullanım: orvano-cli [SEÇENEKLER] KOMUT\n", "Gün (varsayılan: bugün)"},
        {"id_ID.UTF-8", "\nPenggunaan: orvano-cli [OPSI] PERINTAH\n", "Hari (bawaan: hari ini)"},
        {"C", "\nUsage: orvano-cli [OPTIONS] COMMAND\n", "The day (default: today)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        const std::vector<std::string> environment = {"HOME=" + h,
                                                      "XDG_CONFIG_HOME=" + h + "/config",
                                                      "XDG_STATE_HOME=" + h + "/state",
                                                      "XDG_DATA_HOME=" + h + "/data",
                                                      std::string("LANG=") + c.lang,
                                                      "LANGUAGE=",
                                                      "LC_ALL=",
                                                      "LC_MESSAGES="};
        const auto tool = RunCli({"--help"}, {}, environment);
        ASSERT_EQ(tool.status, 0) << tool.err;
        EXPECT_NE(tool.out.find(c.usage), std::string::npos) << tool.out;
        const auto times = RunCli({"times", "--help"}, {}, environment);
        EXPECT_NE(times.out.find(c.dayOption), std::string::npos) << times.out;
    }
}

TEST(CliHelp, VersionAndUnknownTopic) {
    const auto version = RunCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orvano-cli " ORVANO_VERSION "\n");
    const auto topic = RunCli({"help", "nonsense"});
    EXPECT_EQ(topic.status, 2);
    EXPECT_EQ(topic.err, "orvano-cli help: unknown command 'nonsense'\n");
    const auto none = RunCli({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err.rfind("orvano-cli: missing command\n", 0), 0u) << none.err;
}

}  // namespace
}  // namespace orvano
