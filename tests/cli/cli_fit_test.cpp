// orvano-cli fit: the worked example of docs/ fitted, applied and read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::ReadFile;
using testing::RunCli;

const std::string kExample = std::string(ORVANO_SOURCE_DIR) + "/docs/fit-example.csv";

class CliFit : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::WriteFile(config_,
                           ReadFile(std::string(ORVANO_SOURCE_DIR) + "/resources/data.cfg"));
    }
    testing::CliResult Fit(std::vector<std::string> args) const {
        args.insert(args.begin(), {"fit", "--config", config_, "--town", "Paris"});
        return RunCli(args);
    }

    testing::TempFolder folder_;
    std::string config_ = folder_ / "data.cfg";
};

// The rows of `month` as the timetable's CSV writes them: the date, then the
// clock texts of the six times.
std::vector<std::string> MonthRows(const std::string& text) {
    std::vector<std::string> rows;
    std::istringstream lines(text);
    const std::regex clock("[0-9][0-9]:[0-9][0-9]");
    for (std::string line; std::getline(lines, line);) {
        int day = 0;
        if (std::sscanf(line.c_str(), "%d", &day) != 1) continue;
        char row[16];
        std::snprintf(row, sizeof row, "2024-03-%02d", day);
        rows.emplace_back(row);
        for (auto it = std::sregex_iterator(line.begin(), line.end(), clock);
             it != std::sregex_iterator(); ++it) {
            rows.back() += "," + it->str();
        }
    }
    return rows;
}

// The example table's rows after its header.
std::vector<std::string> ExampleRows() {
    std::vector<std::string> rows;
    const std::string csv = ReadFile(kExample);
    for (size_t at = csv.find('\n') + 1; at < csv.size(); at = csv.find('\n', at) + 1) {
        rows.push_back(csv.substr(at, csv.find('\n', at) - at));
    }
    return rows;
}

TEST_F(CliFit, AppliedFitReproducesTheTimetable) {
    const auto r =
        Fit({"--timetable", kExample, "--apply", "5", "--force", "--name", "Grande Mosquée"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(
        r.out.find("Fajr       31   12.5 / 13         0.0 / 0        twilight angle 14° (was 12°)"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Every time of the table is reproduced within 1 minute."),
              std::string::npos);
    EXPECT_NE(ReadFile(config_).find("5 5         \"Grande Mosquée\""), std::string::npos);
    EXPECT_EQ(RunCli({"read", "--config", config_}).status, 0);

    const auto month =
        RunCli({"month", "--config", config_, "--town", "Paris", "--month", "2024-03"});
    ASSERT_EQ(month.status, 0);
    EXPECT_EQ(MonthRows(month.out), ExampleRows());
}

// Applied as a method of the user's catalogue, the fit names its table and
// dates, the town's method line points at it, and the month shows the table.
TEST_F(CliFit, AppliedAsAMethodTheTownFollowsIt) {
    const auto r =
        Fit({"--timetable", kExample, "--catalogue", "--apply-method", "grande-mosquee"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(
        std::regex_search(r.out, std::regex("\nNearest method of the catalogue: [a-z0-9_-]+ "
                                            "\".*\", [0-9.]+ % of the times within 1 "
                                            "minute \\(mean [0-9.]+ min\\)\\.\n")))
        << r.out;
    const std::string file = testing::CliHome().path() + "/config/orvano/methods/fitted.methods";
    const std::string methods = ReadFile(file);
    std::filesystem::remove(file);
    EXPECT_NE(methods.find("[grande-mosquee]\n"), std::string::npos) << methods;
    EXPECT_NE(methods.find("source = fitted to fit-example.csv, 2024-03-01 to 2024-03-31\n"),
              std::string::npos);
    EXPECT_NE(ReadFile(config_).find("Paris            48.856600   2.352200    1        1   5 "
                                     "\n8 zone Europe/Paris\n8 method grande-mosquee\n"),
              std::string::npos);
    testing::WriteFile(file, methods);
    const auto month =
        RunCli({"month", "--config", config_, "--town", "Paris", "--month", "2024-03"});
    std::filesystem::remove(file);
    ASSERT_EQ(month.status, 0) << month.err;
    EXPECT_EQ(month.err, "");
    EXPECT_EQ(MonthRows(month.out), ExampleRows());
}

TEST_F(CliFit, JsonReportsEveryPrayerAndWhatWasApplied) {
    const auto r = Fit({"--timetable", kExample, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* key : {"\"reproduces\":true", "\"changed\":4", "\"applied\":null",
                            "\"prayer\":\"Isha\"", "\"fajrTwilightAngle\":14,"}) {
        EXPECT_NE(r.out.find(key), std::string::npos) << key << "\n" << r.out;
    }
}

TEST_F(CliFit, RefusesAndLeavesTheFileAlone) {
    const std::string bad = folder_ / "bad.csv";
    testing::WriteFile(bad, "Date,Fajr\n2024-03-01,06:13\n2024-13-02,06:11\n");
    struct Case {
        std::vector<std::string> args;
        std::string inError;
    };
    const std::vector<Case> cases = {
        {{"--timetable", kExample, "--apply", "9"}, "--apply"},
        {{"--timetable", kExample, "--apply", "5"}, "France/Marseille"},
        {{"--timetable", bad, "--apply", "5", "--force"}, "line 3: no such date \"2024-13-02\""},
        {{"--apply", "5"}, "--timetable"},
        {{"--timetable", folder_ / "none.csv"}, "no such file"},
    };
    const std::string before = ReadFile(config_);
    for (const Case& c : cases) {
        const auto r = Fit(c.args);
        EXPECT_EQ(r.status, 2) << c.inError;
        EXPECT_NE(r.err.find(c.inError), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(config_), before);
    }
}

}  // namespace
}  // namespace orvano
