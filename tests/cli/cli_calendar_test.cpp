#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::ReadFile;
using testing::RunCli;

const std::string kTowns = std::string(ORVANO_TEST_DATA) + "/calendar_towns.cfg";

class CliCalendar : public ::testing::Test {
  protected:
    void TearDown() override {
        if (!oldPath_.empty()) setenv("PATH", oldPath_.c_str(), 1);
    }

    // Puts a stand-in xdg-open first on PATH; each run adds one line to the
    // record: its number of arguments, "|", and its first argument.
    std::string FakeOpener() {
        const std::string bin = root_ + "/bin";
        std::filesystem::create_directory(bin);
        const std::string record = root_ + "/opened.txt";
        std::ofstream script(bin + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> '" << record << "'\n";
        script.close();
        chmod((bin + "/xdg-open").c_str(), 0755);
        const char* path = getenv("PATH");
        oldPath_ = path != nullptr ? path : "/usr/bin:/bin";
        setenv("PATH", (bin + ":" + oldPath_).c_str(), 1);
        return record;
    }

    // The opener runs detached; give it a generous while to finish its line.
    static std::string WaitFor(const std::string& path) {
        std::string text;
        for (int i = 0; i < 400; ++i) {
            text = ReadFile(path);
            if (!text.empty() && text.back() == '\n') break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return text;
    }

    testing::TempFolder folder_;
    const std::string& root_ = folder_.path();
    std::string oldPath_;
};

TEST_F(CliCalendar, WritesThePageAndPrintsItsPath) {
    const auto r =
        RunCli({"calendar", "--config", kTowns, "--month", "2010-01", "--out", root_, "--no-open"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string path = root_ + "/Oran_Janvier2010.html";
    EXPECT_EQ(r.out, path + "\n");
    const std::string page = ReadFile(path);
    EXPECT_EQ(page.substr(0, page.find('\n') + 1),
              "<html><!-- Generateur de calendrier de pri\xE8res - Janvier 2010 -->\n");
    EXPECT_NE(page.find("<b> 1</b></td> \t\t<td width=60><b>Vendredi</b>"), std::string::npos);
}

TEST_F(CliCalendar, TownOptionChoosesTheTownAndItsNameKeepsItsAccent) {
    const auto r = RunCli({"calendar", "--config", kTowns, "--town", "1", "--month", "2012-02",
                           "--out", root_ + "/", "--no-open"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string path = root_ + "/Ghardaïa_Février2012.html";
    EXPECT_EQ(r.out, path + "\n");
    const std::string page = ReadFile(path);
    EXPECT_NE(page.find("<title>Calendrier de pri\xE8res - F\xE9vrier 2012 </title>"),
              std::string::npos);
    EXPECT_NE(page.find("<b>29</b>"), std::string::npos);
    EXPECT_EQ(page.find("<b>30</b>"), std::string::npos);
}

TEST_F(CliCalendar, OpensThePageWithThePathAsOneArgument) {
    const std::string record = FakeOpener();
    const std::string folder = root_ + "/a folder; with 'quotes' $(x)";
    std::filesystem::create_directory(folder);
    const auto r = RunCli({"calendar", "--config", kTowns, "--month", "2010-03", "--out", folder});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string path = folder + "/Oran_Mars2010.html";
    EXPECT_EQ(r.out, path + "\n");
    EXPECT_EQ(WaitFor(record), "1|" + path + "\n");
}

TEST_F(CliCalendar, NoOpenStartsNothing) {
    const std::string record = FakeOpener();
    const auto r =
        RunCli({"calendar", "--config", kTowns, "--month", "2010-03", "--out", root_, "--no-open"});
    ASSERT_EQ(r.status, 0) << r.err;
    // A run that does open, afterwards, proves the stand-in would have left a record.
    const auto control =
        RunCli({"calendar", "--config", kTowns, "--month", "2010-04", "--out", root_});
    ASSERT_EQ(control.status, 0) << control.err;
    EXPECT_EQ(WaitFor(record), "1|" + root_ + "/Oran_Avril2010.html\n");
}

TEST_F(CliCalendar, FailuresAreReportedOnStandardErrorOnly) {
    const std::string record = FakeOpener();
    const auto missing = RunCli(
        {"calendar", "--config", kTowns, "--month", "2010-01", "--out", root_ + "/missing/deeper"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "orvano-cli calendar: option '--out': the folder '" + root_ +
                               "/missing/deeper' does not exist\n");
    EXPECT_FALSE(std::filesystem::exists(root_ + "/missing"));

    std::filesystem::create_directory(root_ + "/Oran_Janvier2010.html");
    const auto taken =
        RunCli({"calendar", "--config", kTowns, "--month", "2010-01", "--out", root_});
    EXPECT_EQ(taken.status, 1);
    EXPECT_EQ(taken.out, "");
    EXPECT_EQ(taken.err, "File open error Oran_Janvier2010.html\n");
    EXPECT_FALSE(std::filesystem::exists(record));
}

TEST_F(CliCalendar, BadUsageExitsTwoNamingTheArgument) {
    const auto month = RunCli({"calendar", "--config", kTowns, "--month", "2010-13", "--no-open"});
    EXPECT_EQ(month.status, 2);
    EXPECT_NE(month.err.find("--month"), std::string::npos) << month.err;
    const auto out = RunCli({"calendar", "--config", kTowns, "--out"});
    EXPECT_EQ(out.status, 2);
    EXPECT_NE(out.err.find("--out"), std::string::npos) << out.err;
    const auto other = RunCli({"calendar", "--config", kTowns, "--json"});
    EXPECT_EQ(other.status, 2);
    EXPECT_NE(other.err.find("--json"), std::string::npos) << other.err;
}

}  // namespace
}  // namespace orvano
