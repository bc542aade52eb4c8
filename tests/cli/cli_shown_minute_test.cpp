// The minute a prayer is shown and rung at, near and past midnight: the same
// in the tool's text, JSON, CSV, iCalendar and calendar, and on the strip.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "cli/export.h"
#include "config/grammar.h"
#include "config/reader.h"
#include "platform/notification_store.h"
#include "tests/cli/run_cli.h"
#include "tests/support/recording_messages.h"
#include "today/item_logic.h"

namespace orvano {
namespace {

using Minute = std::pair<std::string, long long>;  // "HH:MM", days after the 10th

Minute FromMinutes(long long minutes) {  // counted from 10 March 2026 00:00
    const long long days = minutes >= 0 ? minutes / 1440 : -((1439 - minutes) / 1440);
    const long long m = minutes - days * 1440;
    return {Format("%02lld:%02lld", m / 60, m % 60), days};
}

std::string Match(const std::string& text, const std::string& pattern) {
    std::smatch m;
    return std::regex_search(text, m, std::regex(pattern)) ? m[1].str() : "no " + pattern;
}

EngineState Bundled(const std::string& config) {
    EngineState state;
    testing::RecordingMessageSink boxes;
    EXPECT_EQ(ReadDataCfg(config, "", state.tables, state.place, boxes, nullptr), 0);
    return state;
}

// Zuhr fixed at 23:59:45, at 24:00, and 800 minutes before the transit (a
// negative hour), on 10 March 2026 in towns at UTC+1 all year: every list
// keeps it in the 10th's row, and its event and alarm fall on its own date.
TEST(ShownMinute, ZuhrNearMidnightIsTheSameMinuteEverywhere) {
    const std::string config = ORVANO_TEST_DATA "/midnight_hours.cfg", d = "2026-03-10";
    const std::string skip = R"(\t\t<td width=40>&nbsp;[^<]*</td>)";
    const testing::TempFolder folder;
    const long long dayOffsets[] = {1, 1, -1};
    for (int town = 0; town < 3; ++town) {
        const auto run = [&](std::vector<std::string> args) {
            args.insert(args.begin() + 1, {"--config", config, "--town", std::to_string(town)});
            const auto r = testing::RunCli(args);
            EXPECT_EQ(r.status, 0) << r.err;
            return r.out;
        };
        // The nearest minute, half up, of the hour the JSON gives to the bit.
        const std::string json = run({"times", "--date", d, "--json"});
        const double hour = std::stod(Match(json, R"re("adjusted":\[[^,]+,[^,]+,([^,]+))re"));
        const Minute expected = FromMinutes(std::llround(std::floor(hour * 60 + 0.5)));
        EXPECT_EQ(expected.second, dayOffsets[town]) << hour;
        if (town < 2) {
            EXPECT_EQ(expected.first, "00:00");
        }

        const std::string page = testing::ReadFile(Match(
            run({"calendar", "--month", "2026-03", "--out", folder.path(), "--no-open"}), "(.*)"));
        const std::string lists[] = {
            Match(run({"times", "--date", d}), R"(Zuhr +(\S+))"),
            Match(json, R"re("text":\["[^"]*","[^"]*","([^"]*)")re"),
            Match(run({"export", "--format", "csv", "--from", d, "--to", d}),
                  "\n" + d + ",[^,]*,[^,]*,([^,]*),"),
            Match(page, "<b>10</b>.*?" + skip + skip + R"(\t\t<td width=40>&nbsp;([^<]*)</td>)"),
        };
        for (const std::string& text : lists) EXPECT_EQ(text, expected.first) << town;

        const std::string ics = run({"export", "--format", "ics", "--from", d, "--to", d});
        const std::string utc = Match(ics, R"(dhuhr-[^\r]*\r\n[^\r]*\r\nDTSTART:(\d{8}T\d{4}))");
        // The strip, with Zuhr's alarm on: its alarm comes last, after any the
        // 9th's or the 11th's Zuhr carries onto the 10th.
        TodayItemState item;
        item.engine = Bundled(config);
        FillCurrentPlace(item.engine.tables.Towns[static_cast<std::size_t>(town)],
                         item.engine.place);
        item.AlarmSwitches[Zuhr] = 1;
        const LocalTime noon{2026, 3, 2, 10, 12, 0, 0, 0};
        NotificationStore store(folder.path() + "/alarms" + std::to_string(town),
                                folder.path() + "/events", [&] { return noon; });
        DailyRefresh(item, noon, store);
        const auto alarm = store.Entries().back();
        EXPECT_EQ(Match(alarm.user.dialogTitle, R"(^Zuhr (\S+))"), expected.first);
        const LocalTime midnight{2026, 3, 2, 10, 0, 0, 0, 0};
        const Minute instants[] = {
            FromMinutes((std::stoll(utc.substr(6, 2)) - 10) * 1440 +
                        std::stoll(utc.substr(9, 2)) * 60 + std::stoll(utc.substr(11, 2)) + 60),
            FromMinutes((LocalTimeKey(alarm.trigger.start) - LocalTimeKey(midnight)) / 60000),
        };
        for (const Minute& instant : instants) EXPECT_EQ(instant, expected) << town;
    }
}

// Every bundled town, the 15th of every month, under every high-latitude
// rule: no shown time, CSV file or alarm text carries the traced clock
// text's message.
TEST(ShownMinute, NoShownTextFileOrAlarmCarriesTheClockMessage) {
    EngineState state = Bundled(testing::InstalledDataCfg());
    int pastMidnight = 0;
    for (const auto rule : {HighLatitudeRule::Seventh, HighLatitudeRule::Middle,
                            HighLatitudeRule::Angle, HighLatitudeRule::None}) {
        state.highLatitudeRule = rule;
        for (int town = 0; town < state.tables.NumberOfTowns; ++town) {
            FillCurrentPlace(state.tables.Towns[static_cast<std::size_t>(town)], state.place);
            for (unsigned month = 1; month <= 12; ++month) {
                const auto day = date::year(2026) / date::month(month) / 15;
                std::string shown = cli::ExportCsv(state, day, day);
                for (std::size_t p = 0; p < kPrayerCount; ++p) {
                    const double hour = state.schedule.shown[p];
                    shown += ShownClockText(state.schedule.status[p], hour) +
                             AlarmTitle(static_cast<int>(p), hour, state.schedule.status[p]);
                    pastMidnight += std::isfinite(hour) && (hour < 0 || hour >= 23.99);
                }
                ASSERT_EQ(shown.find("erreu"), std::string::npos) << state.place.Name << month;
            }
        }
    }
    EXPECT_GT(pastMidnight, 0);  // the texts above were not all easy ones
}

}  // namespace
}  // namespace orvano
