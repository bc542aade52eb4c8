// orvano-cli next: the prayer whose time has come and the next, around midnight.
#include <gtest/gtest.h>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::RunCli;

const std::string kTowns = std::string(ORVANO_TEST_DATA) + "/engine_towns.cfg";

std::vector<std::string> Alger(const char* at) {
    return {"next", "--config", kTowns, "--town", "0", "--at", at};
}

// Isha on 2010-06-21 falls at 25.146 h, shown as 01:09 of the next morning.
std::vector<std::string> LateIsha(const char* at) {
    return {"next", "--lat", "45", "--lon", "-45", "--tz", "0", "--method", "mwl", "--at", at};
}

TEST(CliNext, AroundMidnightAndAtTheMinute) {
    const struct {
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        {Alger("2010-01-15 00:00:00"),
         "Alger, Algérie\n2010-01-15 00:00:00\nnow   Isha      19:20 (yesterday)\n"
         "next  Fajr      06:27, in 6:27:00\nHijri     29 Muharram 1431\n"},
        {Alger("2010-01-15 06:26:59"),
         "Alger, Algérie\n2010-01-15 06:26:59\nnow   Isha      19:20 (yesterday)\n"
         "next  Fajr      06:27, in 0:00:01\nHijri     29 Muharram 1431\n"},
        {Alger("2010-01-15 06:27:00"),
         "Alger, Algérie\n2010-01-15 06:27:00\nnow   Fajr      06:27\n"
         "next  Chourouk  08:00, in 1:33:00\nHijri     29 Muharram 1431\n"},
        {Alger("2010-01-15 12:00:00"),
         "Alger, Algérie\n2010-01-15 12:00:00\nnow   Chourouk  08:00\n"
         "next  Zuhr      12:59, in 0:59:00\nHijri     29 Muharram 1431\n"},
        {Alger("2010-01-15 23:59:59"),
         "Alger, Algérie\n2010-01-15 23:59:59\nnow   Isha      19:21\n"
         "next  Fajr      06:26 (tomorrow), in 6:26:01\nHijri     1 Safar 1431\n"},
        {LateIsha("2010-06-21 23:59:59"),
         "Lieu, Coordonnees\n2010-06-21 23:59:59\nnow   Maghrib   22:50\n"
         "next  Isha      01:10 (tomorrow), in 1:10:01\nHijri     10 Rajab 1431\n"},
        {LateIsha("2010-06-22 00:30:00"),
         "Lieu, Coordonnees\n2010-06-22 00:30:00\nnow   Maghrib   22:50 (yesterday)\n"
         "next  Isha      01:10, in 0:40:00\nHijri     10 Rajab 1431\n"},
    };
    for (const auto& c : cases) {
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
}

// New York moves its clocks from 02:00 to 03:00 on 2010-03-14: the time left
// counts the hour that never was.
TEST(CliNext, TheTimeLeftIsRealTimeInANamedZone) {
    const std::string towns = std::string(ORVANO_TEST_DATA) + "/cli_towns.cfg";
    const struct {
        const char* at;
        const char* next;
    } cases[] = {
        {"2010-03-14 01:30:00", "next  Fajr      05:38, in 3:08:00\n"},
        {"2010-03-14 03:30:00", "next  Fajr      05:38, in 2:08:00\n"},
    };
    for (const auto& c : cases) {
        const auto r = RunCli({"next", "--config", towns, "--town", "new york", "--at", c.at});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(c.next), std::string::npos) << r.out;
    }
}

TEST(CliNext, JsonAndBadInstant) {
    auto args = Alger("2010-01-15 23:30:00");
    args.push_back("--json");
    const auto r = RunCli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"town\":\"Alger\",\"country\":\"Algérie\",\"at\":\"2010-01-15 23:30:00\","
              "\"timeZoneInEffect\":1,\"current\":{\"prayer\":\"Isha\",\"key\":\"isha\","
              "\"date\":\"2010-01-15\",\"time\":\"19:21\",\"status\":\"ok\"},\"next\":{"
              "\"prayer\":\"Fajr\",\"key\":\"fajr\",\"date\":\"2010-01-16\",\"time\":\"06:26\","
              "\"status\":\"ok\",\"secondsLeft\":24960},\"hijri\":{\"year\":1431,\"month\":2,"
              "\"day\":1,\"monthName\":\"Safar\"}}\n");
    for (const char* at : {"2010-02-30 10:00:00", "2010-01-15 24:00:00", "tomorrow"}) {
        const auto bad = RunCli(Alger(at));
        EXPECT_EQ(bad.status, 2) << at;
        EXPECT_NE(bad.err.find("--at"), std::string::npos) << bad.err;
        EXPECT_EQ(bad.out, "");
    }
}

}  // namespace
}  // namespace orvano
