// orvano-cli export and month --csv: golden bytes, read back by real parsers.
#include <date/date.h>
#include <gtest/gtest.h>

#include <chrono>
#include <regex>

#include "cli/export.h"
#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::ReadFile;
using testing::RunCli;

const std::string kData = ORVANO_TEST_DATA;
const std::string kTowns = kData + "/cli_towns.cfg";

class CliExport : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return folder_ / name; }

    // What the parser read, one line per row or event; fails the test on a
    // file it refuses.
    std::string Parsed(const std::string& kind, const std::string& path) const {
        const std::string out = Path("parsed.txt");
        const std::string command = std::string(ORVANO_TEST_PYTHON) + " " + ORVANO_SOURCE_DIR +
                                    "/tests/cli/export_check.py " + kind + " " + path + " > " + out;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return ReadFile(out);
    }

    testing::TempFolder folder_;
};

// Réunion's town name needs every escape; Fajr and Maghrib have their alarm on.
TEST_F(CliExport, IcalendarMatchesTheGoldenAndReadsBack) {
    const std::string settings = Path("settings.ini");
    testing::WriteFile(settings,
                       "[Software\\Microsoft\\Today\\Items\\Orvano]\nAlarmFajr=hex:01\n"
                       "AlarmZuhr=hex:00\nAlarmMaghrib=hex:01\n");
    const std::string file = Path("times.ics");
    const auto r =
        RunCli({"export", "--config", kTowns, "--town", "7", "--format", "ics", "--from",
                "2010-01-31", "--to", "2010-02-01", "--settings", settings, "--out", file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(file), ReadFile(kData + "/cli_export_reunion.ics"));
    const std::string parsed = Parsed("ics", file);
    const std::string name = "Saint-\"Denis\";Nord,Est, Réunion";
    // The Hijri date at the event's instant: the evening starts the next day.
    const auto description = [&](const char* hijri) {
        return "|" + name +
               "\\nConvention: League, with a comma; and \\semicolon\\nHijri: " + hijri + "|";
    };
    EXPECT_EQ(parsed.rfind("20100131-fajr-deca4f348f378045@orvano|2010-01-31T00:40:00+00:00|Fajr " +
                               name + description("16 Safar 1431") +
                               "0:00:00\n"
                               "20100131-dhuhr-deca4f348f378045@orvano|2010-01-31T08:32:00+00:00|"
                               "Zuhr " +
                               name + description("16 Safar 1431") + "\n",
                           0),
              0u)
        << parsed;
    EXPECT_NE(parsed.find("20100201-maghrib-deca4f348f378045@orvano|2010-02-01T15:02:00+00:00|"
                          "Maghrib " +
                          name + description("18 Safar 1431") + "0:00:00\n"),
              std::string::npos);
    EXPECT_EQ(std::count(parsed.begin(), parsed.end(), '\n'), 10);  // five a day, no sunrise
    // Without the settings, no alarm; the same bytes otherwise.
    const auto plain =
        RunCli({"export", "--config", kTowns, "--town", "7", "--format", "ics", "--from",
                "2010-01-31", "--to", "2010-02-01", "--settings", Path("none.ini")});
    EXPECT_EQ(plain.out.find("VALARM"), std::string::npos);
    const std::regex alarm("BEGIN:VALARM\r\n(.*\r\n)*?END:VALARM\r\n");
    EXPECT_EQ(plain.out, std::regex_replace(ReadFile(file), alarm, ""));
}

// Polar night at Tromsø: no sunrise, Asr or Maghrib; those cells stay empty and
// those events are left out.
TEST_F(CliExport, PrayersWithoutTimeAreEmptyInCsvAndAbsentFromIcalendar) {
    const std::string csv = Path("tromso.csv");
    const auto r = RunCli({"export", "--config", kTowns, "--town", "tromso", "--format", "csv",
                           "--from", "2010-12-01", "--to", "2010-12-02", "--out", csv});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(csv), ReadFile(kData + "/cli_export_tromso.csv"));
    EXPECT_EQ(Parsed("csv", csv),
              "date|fajr|sunrise|dhuhr|asr|maghrib|isha|fajr_status|sunrise_status|"
              "dhuhr_status|asr_status|maghrib_status|isha_status|hijri_year|hijri_month|"
              "hijri_day|imsak|midnight|last_third\n"
              "2010-12-01|06:03||11:33|||16:53|ok|none|ok|none|none|ok|1431|12|25|05:53||\n"
              "2010-12-02|06:05||11:34|||16:51|ok|none|ok|none|none|ok|1431|12|26|05:55||\n");
    const std::string ics = Path("tromso.ics");
    ASSERT_EQ(RunCli({"export", "--config", kTowns, "--town", "tromso", "--format", "ics", "--from",
                      "2010-12-01", "--to", "2010-12-01", "--out", ics})
                  .status,
              0);
    const std::string parsed = Parsed("ics", ics);
    EXPECT_NE(parsed.find("|2010-12-01T05:03:00+00:00|Fajr "), std::string::npos) << parsed;
    EXPECT_NE(parsed.find("|2010-12-01T10:33:00+00:00|Zuhr "), std::string::npos) << parsed;
    EXPECT_NE(parsed.find("|2010-12-01T15:53:00+00:00|Isha "), std::string::npos) << parsed;
    EXPECT_EQ(std::count(parsed.begin(), parsed.end(), '\n'), 3);
}

TEST(IcsText, EscapesDropsControlsAndFoldsOnCharacters) {
    EXPECT_EQ(cli::IcsText("a\\b;c,d\ne\r\x01\x1b\x7f\tf é"), "a\\\\b\\;c\\,d\\nef é");
    const std::string ascii(80, 'x');
    EXPECT_EQ(cli::IcsLine(ascii), ascii.substr(0, 75) + "\r\n " + ascii.substr(75) + "\r\n");
    // "é" is two octets: the first line stops before one that would straddle 75.
    const std::string accents = std::string(74, 'x') + "éé";
    EXPECT_EQ(cli::IcsLine(accents), std::string(74, 'x') + "\r\n éé\r\n");
    EXPECT_EQ(cli::IcsLine(std::string(75, 'x')), std::string(75, 'x') + "\r\n");
}

TEST_F(CliExport, MonthCsvAndTheDefaultSpan) {
    const auto month =
        RunCli({"month", "--config", kTowns, "--town", "7", "--month", "2010-02", "--csv"});
    const auto span = RunCli({"export", "--config", kTowns, "--town", "7", "--format", "csv",
                              "--from", "2010-02-01", "--to", "2010-02-28"});
    ASSERT_EQ(month.status, 0) << month.err;
    EXPECT_EQ(month.out, span.out);
    EXPECT_EQ(std::count(month.out.begin(), month.out.end(), '\n'), 1 + 28);
    // Without --from and --to: this month in the place's zone (here UTC).
    const auto now = RunCli({"export", "--lat", "0", "--lon", "0", "--tz", "0", "--format", "csv"});
    const auto today =
        date::year_month_day{date::floor<date::days>(std::chrono::system_clock::now())};
    const auto days = static_cast<unsigned>((today.year() / today.month() / date::last).day());
    EXPECT_EQ(std::count(now.out.begin(), now.out.end(), '\n'), 1 + days);
    char first[16];
    std::snprintf(first, sizeof first, "\n%04d-%02u-01,", static_cast<int>(today.year()),
                  static_cast<unsigned>(today.month()));
    EXPECT_NE(now.out.find(first), std::string::npos) << now.out;
}

TEST_F(CliExport, BadSpansAndFoldersAreRefusedInOneLine) {
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--from", "2010-01-10", "--to", "2010-01-09"},
         "option '--to' 2010-01-09 comes before --from 2010-01-10"},
        {{"--from", "2010-01-10", "--to", "2020-01-10"},
         "options '--from' and '--to' span more than 10 years"},
        {{"--from", "2010-02-29"}, "option '--from' has an impossible date '2010-02-29'"},
        {{"--to", "2010/03/01"}, "option '--to' needs YYYY-MM-DD, not '2010/03/01'"},
        {{"--out", "/nonexistent/deeper/times.csv"},
         "option '--out': the folder '/nonexistent/deeper' does not exist"},
        {{"--format", "xml"}, "option '--format' needs csv or ics, not 'xml'"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"export", "--lat", "0", "--lon", "0", "--method", "mwl"};
        if (c.args.front() != "--format") args.insert(args.end(), {"--format", "csv"});
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = RunCli(args);
        EXPECT_EQ(r.status, 2) << c.err;
        EXPECT_EQ(r.err, "orvano-cli export: " + c.err + "\n");
        EXPECT_EQ(r.out, "");
    }
    // Ten years to the day before is the longest span.
    const auto longest = RunCli({"export", "--lat", "0", "--lon", "0", "--format", "csv", "--from",
                                 "2010-01-10", "--to", "2020-01-09"});
    EXPECT_EQ(longest.status, 0) << longest.err;
    EXPECT_EQ(std::count(longest.out.begin(), longest.out.end(), '\n'), 1 + 3652);
}

}  // namespace
}  // namespace orvano
