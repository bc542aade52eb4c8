#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using ::testing::HasSubstr;
using testing::ReadFile;
using testing::RunCli;
using ::testing::StartsWith;

const std::string kTowns = std::string(ORVANO_TEST_DATA) + "/engine_towns.cfg";

// The elements of a flat JSON array "key":[a,b,...], as written.
std::vector<std::string> JsonArrayItems(const std::string& json, const std::string& key) {
    const std::string head = "\"" + key + "\":[";
    const size_t start = json.find(head);
    if (start == std::string::npos) {
        ADD_FAILURE() << "no array " << key << " in " << json;
        return {};
    }
    const size_t from = start + head.size();
    const size_t end = json.find(']', from);
    std::vector<std::string> items;
    std::stringstream list(json.substr(from, end - from));
    for (std::string item; std::getline(list, item, ',');) items.push_back(item);
    return items;
}

// JSON numbers of hours as h:m:s to the nearest second, space-separated.
std::string ToSeconds(const std::vector<std::string>& numbers) {
    std::string text;
    for (const std::string& number : numbers) {
        const long s = std::lround(std::strtod(number.c_str(), nullptr) * 3600);
        char hms[32];
        std::snprintf(hms, sizeof hms, "%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
        text += (text.empty() ? "" : " ") + std::string(hms);
    }
    return text;
}

TEST(CliTrace, PrintsExactlyTheReport) {
    const struct {
        const char* town;
        const char* date;
        const char* golden;
    } cases[] = {{"0", "2010-01-15", "engine_report_alger_2010-01-15.txt"},
                 {"1", "2010-06-21", "engine_report_tromso_2010-06-21.txt"}};
    for (const auto& c : cases) {
        const auto r = RunCli({"trace", "--config", kTowns, "--town", c.town, "--date", c.date});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, ReadFile(std::string(ORVANO_TEST_DATA) + "/" + c.golden));
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliTimes, JsonHoldsTheDayToTheSecond) {
    const auto r =
        RunCli({"times", "--config", kTowns, "--town", "2", "--date", "2010-06-21", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, StartsWith("{\"town\":\"Sydney\",\"country\":\"Australie\","
                                  "\"date\":\"2010-06-21\",\"timeZoneInEffect\":10,\"exact\":["));
    const auto exact = JsonArrayItems(r.out, "exact");
    EXPECT_EQ(ToSeconds(exact), "05:30:34 07:00:01 11:56:54 14:35:52 16:53:47 18:18:11");
    EXPECT_EQ(JsonArrayItems(r.out, "adjusted"), exact);
    const std::vector<std::string> text = {"\"05:31\"", "\"07:00\"", "\"11:57\"",
                                           "\"14:36\"", "\"16:54\"", "\"18:18\""};
    EXPECT_EQ(JsonArrayItems(r.out, "text"), text);
    EXPECT_EQ(r.out.back(), '\n');
}

TEST(CliTimes, AddedMinutesAndSummerTimeShowInTheJson) {
    const auto r =
        RunCli({"times", "--config", kTowns, "--town", "0", "--date", "2010-07-15", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("\"timeZoneInEffect\":2,"));
    const auto exact = JsonArrayItems(r.out, "exact");
    const auto adjusted = JsonArrayItems(r.out, "adjusted");
    ASSERT_EQ(exact.size(), 6u);
    ASSERT_EQ(adjusted.size(), 6u);
    const double added[] = {-2, 0, 1.5, 0, 3, 0};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(
            std::strtod(adjusted[i].c_str(), nullptr) - std::strtod(exact[i].c_str(), nullptr),
            added[i] / 60, 1e-12)
            << i;
    }
}

TEST(CliTimes, TextNamesTheTownTheDateSixTimesTheHijriDateAndTheNight) {
    const auto r = RunCli({"times", "--config", kTowns, "--town", "0", "--date", "2010-01-15"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Alger, Algérie\n"
              "2010-01-15  TZ=1\n"
              "Fajr      06:27\n"
              "Chourouk  08:00\n"
              "Zuhr      12:59\n"
              "Asr       15:36\n"
              "Maghrib   17:58\n"
              "Isha      19:21\n"
              "Hijri     29 Muharram 1431\n"
              "Imsak     06:17\n"
              "Midnight  00:12\n"
              "Last third 02:17\n");
}

// Without a gazetteer to name the country, coordinates have the fixed angles.
TEST(CliTimes, CoordinatesWithoutAGazetteerUseTheStandardAngles) {
    const testing::TempFolder folder;
    const std::string cli = testing::LoneCliCopy(folder);
    const struct {
        const char* gazetteer;  // the copy's file, or null for none
        const char* reason;     // after "the gazetteer cannot be read: "
    } cases[] = {
        {nullptr, "/share/orvano/gazetteer.tsv: "},
        {"not a gazetteer\n", "/share/orvano/gazetteer.tsv: line 1: "},
    };
    for (const auto& c : cases) {
        if (c.gazetteer != nullptr)
            testing::WriteFile(folder / "share/orvano/gazetteer.tsv", c.gazetteer);
        const auto r = RunCli({"times", "--lat", "36.75", "--lon", "3.05", "--tz", "1", "--date",
                               "2010-01-15", "--json"},
                              {}, {}, cli);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ToSeconds(JsonArrayItems(r.out, "exact")),
                  "06:28:34 07:59:41 12:57:14 15:35:58 17:55:03 19:21:02");
        EXPECT_THAT(r.out, HasSubstr("\"method\":null"));
        const std::string head =
            "orvano-cli: the gazetteer cannot be read: " + folder.path() + c.reason;
        EXPECT_THAT(r.err, StartsWith(head));
        EXPECT_EQ(r.err.substr(r.err.find("; the standard")),
                  "; the standard angles (Fajr 18°, Isha 17°) are used\n");
    }
}

TEST(CliTimes, EveryTownOfTheDefaultTables) {
    const std::string data = testing::InstalledDataCfg();
    const std::string text = ReadFile(data);
    std::smatch header;
    ASSERT_TRUE(std::regex_search(text, header, std::regex("(^|\n)1[ \t]+([0-9]+)")))
        << "no default data.cfg staged at " << data;
    const int towns = std::atoi(header[2].str().c_str());
    ASSERT_GT(towns, 0);
    // Every time inside 00:00..23:59, or no time at all.
    const std::regex clock("^\"(([01][0-9]|2[0-3]):[0-5][0-9]|--:--)\"$");
    for (int town = 0; town < towns; ++town) {
        // The bundled file itself: other tests in the process may have changed
        // the user's copy.
        const auto r = RunCli({"times", "--config", data, "--town", std::to_string(town), "--date",
                               "2026-06-21", "--json"});
        ASSERT_EQ(r.status, 0) << town << ": " << r.err;
        ASSERT_EQ(JsonArrayItems(r.out, "exact").size(), 6u) << town;
        const auto times = JsonArrayItems(r.out, "text");
        ASSERT_EQ(times.size(), 6u) << town;
        for (const std::string& t : times) EXPECT_TRUE(std::regex_match(t, clock)) << town << t;
    }
    const auto beyond =
        RunCli({"times", "--config", data, "--town", std::to_string(towns), "--json"});
    EXPECT_EQ(beyond.status, 2);
}

// Shown times at high latitudes and far from the zone's meridian: statuses,
// texts, and "adjusted" as the shown hour, null when there is none.
TEST(CliTimes, StatusTextAndShownHourOfEachPrayer) {
    const std::vector<std::string> london = {"times",   "--lat",  "51.5074",    "--lon",
                                             "-0.1278", "--tz",   "1",          "--method",
                                             "mwl",     "--date", "2010-06-21", "--json"};
    auto with = [](std::vector<std::string> args, std::vector<std::string> more) {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const struct {
        std::vector<std::string> args;
        const char* status;
        const char* text;
    } cases[] = {
        {london, R"("estimated","ok","ok","ok","ok","estimated")",
         R"("03:40","04:43","13:02","17:25","21:21","22:25")"},
        {with(london, {"--high-latitude", "middle"}),
         R"("estimated","ok","ok","ok","ok","estimated")",
         R"("01:02","04:43","13:02","17:25","21:21","01:02")"},
        {with(london, {"--high-latitude", "none"}), R"("none","ok","ok","ok","ok","none")",
         R"("--:--","04:43","13:02","17:25","21:21","--:--")"},
        {{"times", "--lat", "1.87", "--lon", "-157.4", "--tz", "14", "--method", "mwl", "--date",
          "2010-06-21", "--json"},
         R"("ok","ok","ok","ok","ok","ok")",
         R"("05:09","06:25","12:31","15:58","18:38","19:49")"},
    };
    for (const auto& c : cases) {
        const auto r = RunCli(c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_THAT(r.out, HasSubstr(std::string("\"status\":[") + c.status + "]"));
        EXPECT_THAT(r.out, HasSubstr(std::string("\"text\":[") + c.text + "]"));
        const auto exact = JsonArrayItems(r.out, "exact");
        const auto adjusted = JsonArrayItems(r.out, "adjusted");
        ASSERT_EQ(adjusted.size(), 6u);
        const double sunrise = std::strtod(exact[1].c_str(), nullptr);
        const double sunset = std::strtod(exact[4].c_str(), nullptr);
        const double night = (sunrise + 24) - sunset;
        const bool middle = c.args.back() == "middle";
        if (std::string(c.status).find("none") != std::string::npos) {
            EXPECT_EQ(adjusted[0], "null");
            EXPECT_EQ(adjusted[5], "null");
        } else if (std::string(c.status).find("estimated") != std::string::npos) {
            // No minutes are added at a place given by coordinates.
            const double portion = middle ? night / 2 : night / 7;
            EXPECT_EQ(std::strtod(adjusted[0].c_str(), nullptr), sunrise - portion);
            EXPECT_EQ(std::strtod(adjusted[5].c_str(), nullptr), sunset + portion);
        } else {
            // Unreduced, beyond 24 at UTC+14.
            EXPECT_GT(std::strtod(adjusted[0].c_str(), nullptr), 24.0);
        }
    }
    // The window's setting is the default; the option overrides it.
    testing::TempFolder folder;
    const std::string settings = folder.path() + "/settings.ini";
    testing::WriteFile(settings,
                       "[Software\\Apps\\Orvano]\nHighLatitudeRule=hex:6d,69,64,64,6c,65\n");
    const std::vector<std::string> day = {
        "export", "--lat",  "51.5074",    "--lon", "-0.1278",    "--tz",       "1",     "--format",
        "csv",    "--from", "2010-06-21", "--to",  "2010-06-21", "--settings", settings};
    EXPECT_THAT(RunCli(day).out,
                HasSubstr("2010-06-21,01:02,04:43,13:02,17:25,21:21,01:02,estimated,"));
    EXPECT_THAT(RunCli(with(day, {"--high-latitude", "seventh"})).out,
                HasSubstr("2010-06-21,03:40,04:43,13:02,17:25,21:21,22:25,estimated,"));

    const auto bad = RunCli(with(london, {"--high-latitude", "seventh-ish"}));
    EXPECT_EQ(bad.status, 2);
    EXPECT_THAT(bad.err, HasSubstr("--high-latitude"));
}

TEST(CliMonth, JsonRowsAreTheDaysTimes) {
    const auto month =
        RunCli({"month", "--config", kTowns, "--town", "0", "--month", "2010-01", "--json"});
    ASSERT_EQ(month.status, 0) << month.err;
    EXPECT_THAT(month.out, HasSubstr("\"dayCount\":31,"));
    const auto weekday = JsonArrayItems(month.out, "weekday");
    ASSERT_EQ(weekday.size(), 31u);
    EXPECT_EQ(weekday[0], "4");
    EXPECT_EQ(weekday[14], "4");
    const auto day =
        RunCli({"times", "--config", kTowns, "--town", "0", "--date", "2010-01-15", "--json"});
    const auto adjusted = JsonArrayItems(day.out, "adjusted");
    ASSERT_EQ(adjusted.size(), 6u);
    // Row 15 of the month, written with the same digits.
    std::string row = "[";
    for (size_t i = 0; i < 6; ++i) row += (i ? "," : "") + adjusted[i];
    row += "]";
    const size_t rows = month.out.find("\"adjusted\":[[");
    ASSERT_NE(rows, std::string::npos);
    size_t at = rows + std::string("\"adjusted\":[").size();
    for (int d = 1; d < 15; ++d) at = month.out.find("],[", at) + 2;
    EXPECT_EQ(month.out.substr(at, row.size()), row);
    // Day 15's night times, each the object `times` gives for that date.
    for (const std::string key : {"imsak", "midnight", "lastThird"}) {
        const std::string head = "\"" + key + "\":";
        const size_t object = day.out.find(head + "{") + head.size();
        ASSERT_GT(object, head.size()) << key;
        const std::string want = day.out.substr(object, day.out.find('}', object) - object + 1);
        size_t item = month.out.find(head + "[{");
        ASSERT_NE(item, std::string::npos) << key;
        item += head.size() + 1;
        for (int d = 1; d < 15; ++d) item = month.out.find("},{", item) + 2;
        EXPECT_EQ(month.out.substr(item, want.size()), want) << key;
    }
}

TEST(CliMonth, TextHasADayPerLine) {
    const auto r = RunCli({"month", "--config", kTowns, "--town", "2", "--month", "2012-02"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, StartsWith("Sydney, Australie\nFévrier 2012\n"));
    EXPECT_THAT(r.out, HasSubstr("\n29 Mercredi "));
    EXPECT_THAT(r.out, ::testing::Not(HasSubstr("\n30 ")));
    // The last line: the Hijri days of the first and the last date.
    EXPECT_THAT(r.out, HasSubstr("\nHijri     9 Rabi' al-Awwal 1433 - 7 Rabi' al-Thani 1433\n"));
}

TEST(CliEngine, BadUsageAndUnreadableTables) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"times", "--config", kTowns, "--date", "2010-02-30"}, 2, "--date"},
        {{"times", "--config", kTowns, "--date", "15/01/2010"}, 2, "--date"},
        {{"times", "--config", kTowns, "--town", "3"}, 2, "--town"},
        {{"month", "--config", kTowns, "--month", "2010-13"}, 2, "--month"},
        {{"trace", "--config", kTowns, "--json"}, 2, "--json"},
        {{"bench", "--towns", "0"}, 2, "--towns"},
        {{"bench", "--days", "x"}, 2, "--days"},
        {{"bench", "--threads", "0"}, 2, "--threads"},
        {{"times", "--config", "/nonexistent/data.cfg"}, 1, "/nonexistent/data.cfg"},
    };
    for (const auto& c : cases) {
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << r.err;
        EXPECT_THAT(r.err, HasSubstr(c.says));
        EXPECT_EQ(r.out, "");
    }
}

TEST(CliBench, SameChecksumOnAnyNumberOfThreads) {
    const auto one = RunCli({"bench", "--towns", "5", "--days", "40"});
    const auto two = RunCli({"bench", "--towns", "5", "--days", "40", "--threads", "2"});
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(two.status, 0) << two.err;
    std::smatch a, b;
    ASSERT_TRUE(std::regex_search(one.out, a, std::regex("checksum=([-0-9.e+]+)\n")));
    ASSERT_TRUE(std::regex_search(two.out, b, std::regex("checksum=([-0-9.e+]+)\n")));
    EXPECT_EQ(a[1].str(), b[1].str());
    // 5 towns x 40 days x 6 hours, each between -12 and 36.
    const double checksum = std::strtod(a[1].str().c_str(), nullptr);
    EXPECT_GT(checksum, 5 * 40 * 6 * 1.0);
    EXPECT_LT(checksum, 5 * 40 * 6 * 24.0);
    EXPECT_TRUE(std::regex_search(one.out, std::regex("\ndays_per_second=[0-9]+\n$"))) << one.out;
}

}  // namespace
}  // namespace orvano
