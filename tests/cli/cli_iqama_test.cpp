// Reminders, iqama and Jumu'ah, as the window stores them, in the tool's
// outputs: after everything that was there before, and only when set.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::RunCli;

const std::string kTowns = std::string(ORVANO_TEST_DATA) + "/engine_towns.cfg";

// Alger on Friday 15 January 2010 shows Fajr 06:27, Zuhr 12:59, Asr 15:36,
// Maghrib 17:58 and Isha 19:21 (CliTimes.TextNamesTheTownTheDateSixTimes...).
class CliAsides : public ::testing::Test {
  protected:
    // The store keeps each value's bytes in hexadecimal.
    static std::string Hex(const std::string& text) {
        std::string out = "hex:";
        for (const char c : text) {
            if (out.size() > 4) out += ',';
            char byte[4];
            std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(c));
            out += byte;
        }
        return out;
    }

    void Settings(const std::vector<std::pair<std::string, std::string>>& groups) {
        std::filesystem::create_directories(home_.path() + "/config/orvano");
        std::string text;
        for (const auto& [group, values] : groups) text += "[" + group + "]\n" + values;
        testing::WriteFile(home_.path() + "/config/orvano/settings.ini", text);
    }

    testing::CliResult Run(std::vector<std::string> args) {
        args.insert(args.end(), {"--config", kTowns, "--town", "0"});
        const std::string& h = home_.path();
        return RunCli(args, {},
                      {"HOME=" + h, "XDG_CONFIG_HOME=" + h + "/config",
                       "XDG_STATE_HOME=" + h + "/state", "XDG_DATA_HOME=" + h + "/data"});
    }

    void SetEverything() {
        Settings({{"Reminders", "Fajr=" + Hex("20") + "\nAsr=" + Hex("15") + "\n"},
                  {"Iqama",
                   "Asr=" + Hex("15") + "\nMaghrib=" + Hex("18:10") + "\nIsha=" + Hex("90") + "\n"},
                  {"Jumuah", "Enabled=" + Hex("1") + "\nTime=" + Hex("13:30") +
                                 "\nIqama=" + Hex("10") + "\n"}});
    }

    testing::TempFolder home_;
};

TEST_F(CliAsides, TimesPrintsThemAfterEveryEarlierLine) {
    const auto before = Run({"times", "--date", "2010-01-15"});
    ASSERT_EQ(before.status, 0) << before.err;
    SetEverything();
    const auto friday = Run({"times", "--date", "2010-01-15"});
    ASSERT_EQ(friday.status, 0) << friday.err;
    EXPECT_EQ(friday.out, before.out +
                              "Jumu'ah   13:30\n"
                              "Iqama     Jumu'ah 13:40\n"
                              "Iqama     Asr 15:51\n"
                              "Iqama     Maghrib 18:10\n"
                              "Iqama     Isha 20:51\n"
                              "Reminder  Fajr 06:07\n"
                              "Reminder  Asr 15:21\n");
    // Thursday: Zuhr is Zuhr, without an iqama of its own.
    const auto thursday = Run({"times", "--date", "2010-01-14"});
    ASSERT_EQ(thursday.status, 0) << thursday.err;
    EXPECT_EQ(thursday.out.find("Jumu'ah"), std::string::npos) << thursday.out;
    EXPECT_EQ(thursday.out.find("Zuhr 1"), std::string::npos) << thursday.out;
    EXPECT_NE(thursday.out.find("\nIqama     Asr "), std::string::npos) << thursday.out;
}

TEST_F(CliAsides, JsonGainsFieldsAtItsEndOnlyWhenSet) {
    const auto before = Run({"times", "--date", "2010-01-15", "--json"});
    ASSERT_EQ(before.status, 0) << before.err;
    for (const char* field : {"\"iqama\"", "\"reminders\"", "\"jumuah\""}) {
        EXPECT_EQ(before.out.find(field), std::string::npos) << field;
    }
    SetEverything();
    const auto after = Run({"times", "--date", "2010-01-15", "--json"});
    ASSERT_EQ(after.status, 0) << after.err;
    ASSERT_GT(before.out.size(), 2u);
    const std::string kept = before.out.substr(0, before.out.size() - 2);  // without "}\n"
    EXPECT_EQ(after.out, kept +
                             ",\"iqama\":[null,null,\"13:40\",\"15:51\",\"18:10\",\"20:51\"]"
                             ",\"reminders\":[\"06:07\",null,null,\"15:21\",null,null]"
                             ",\"jumuah\":{\"time\":\"13:30\",\"iqama\":\"13:40\"}}\n");
    const auto thursday = Run({"times", "--date", "2010-01-14", "--json"});
    EXPECT_NE(thursday.out.find(",\"jumuah\":null}"), std::string::npos) << thursday.out;
}

TEST_F(CliAsides, CsvGainsColumnsAtTheEnd) {
    const std::vector<std::string> args = {"export",     "--format", "csv",       "--from",
                                           "2010-01-14", "--to",     "2010-01-15"};
    const auto before = Run(args);
    ASSERT_EQ(before.status, 0) << before.err;
    SetEverything();
    const auto after = Run(args);
    ASSERT_EQ(after.status, 0) << after.err;
    std::vector<std::string> was, is;
    for (const auto& [text, lines] : {std::pair{&before.out, &was}, std::pair{&after.out, &is}}) {
        for (size_t at = 0, end; (end = text->find("\r\n", at)) != std::string::npos; at = end + 2)
            lines->push_back(text->substr(at, end - at));
    }
    ASSERT_EQ(was.size(), 3u);
    ASSERT_EQ(is.size(), 3u);
    EXPECT_EQ(is[0], was[0] +
                         ",fajr_iqama,dhuhr_iqama,asr_iqama,maghrib_iqama,isha_iqama"
                         ",fajr_reminder,dhuhr_reminder,asr_reminder,maghrib_reminder,"
                         "isha_reminder,jumuah");
    EXPECT_EQ(is[2], was[2] + ",,13:40,15:51,18:10,20:51,06:07,,15:21,,,13:30");
    EXPECT_EQ(is[1].substr(0, was[1].size() + 3), was[1] + ",,,");  // no Jumu'ah, no Zuhr iqama
    EXPECT_EQ(is[1].back(), ',');
}

TEST_F(CliAsides, CalendarEventsCarryTheIqamaTheRemindersAndJumuah) {
    SetEverything();
    const auto r = Run({"export", "--format", "ics", "--from", "2010-01-15", "--to", "2010-01-15"});
    ASSERT_EQ(r.status, 0) << r.err;
    // Alger is one hour east: Jumu'ah at 13:30 is 12:30 UTC.
    EXPECT_NE(r.out.find("DTSTART:20100115T123000Z\r\nSUMMARY:Jumu'ah Alger\\, Alg"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\\nIqama: 13:40\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("\\nIqama: 15:51\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Asr in 15 min\r\n"
                         "TRIGGER:-PT15M\r\nEND:VALARM\r\n"),
              std::string::npos);
    EXPECT_EQ(r.out.find("SUMMARY:Zuhr"), std::string::npos);
}

TEST_F(CliAsides, TextsTheWindowWouldNotWriteAreLeftOut) {
    Settings({{"Reminders", "Fajr=" + Hex("121") + "\nAsr=" + Hex("-5") + "\n"},
              {"Iqama", "Asr=" + Hex("24:00") + "\nIsha=" + Hex("ten") + "\n"},
              {"Jumuah", "Enabled=" + Hex("yes") + "\n"}});
    const auto r = Run({"times", "--date", "2010-01-15", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* field : {"\"iqama\"", "\"reminders\"", "\"jumuah\""}) {
        EXPECT_EQ(r.out.find(field), std::string::npos) << field;
    }
}

}  // namespace
}  // namespace orvano
