// The Hijri date against an independent Umm al-Qura table, and the night
// times against the shown times they are derived from.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "config/grammar.h"
#include "config/methods.h"
#include "config/reader.h"
#include "engine/hijri.h"
#include "engine/night_times.h"
#include "engine/schedule.h"
#include "engine/solver.h"
#include "language/messages.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"

namespace orvano {
namespace {

// Reads a reference of tests/data (hijri_umm_al_qura.csv by default): each
// date with the reference's Hijri date of the days two before to two after it
// (tools/hijri-reference).
struct ReferenceRow {
    int year = 0, month = 0, day = 0;
    std::array<HijriDate, 5> byAdjust;  // adjust -2..2
};

std::vector<ReferenceRow> ReadReference(const char* file = "hijri_umm_al_qura.csv") {
    std::ifstream in(std::string(ORVANO_TEST_DATA) + "/" + file);
    std::vector<ReferenceRow> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        for (char& c : line) c = c == '-' || c == ',' ? ' ' : c;
        std::istringstream fields(line);
        ReferenceRow r;
        fields >> r.year >> r.month >> r.day;
        for (HijriDate& h : r.byAdjust) fields >> h.year >> h.month >> h.day;
        EXPECT_FALSE(fields.fail()) << line;
        if (!fields.fail()) rows.push_back(r);
    }
    return rows;
}

// Whether two Hijri dates may be at most `days` apart whatever the months'
// lengths: the same month and day numbers that close, or the end of one
// month and the start of the next.
bool WithinDays(const HijriDate& a, const HijriDate& b, int days) {
    const int monthA = a.year * 12 + a.month;
    const int monthB = b.year * 12 + b.month;
    if (monthA == monthB) return std::abs(a.day - b.day) <= days;
    if (std::abs(monthA - monthB) != 1) return false;
    const HijriDate& later = monthA > monthB ? a : b;
    const HijriDate& earlier = monthA > monthB ? b : a;
    return later.day + (30 - earlier.day) <= days + 1;
}

// Where Saudi Arabia has published the Umm al-Qura calendar (1420 AH on,
// here to 2028), ICU's table is the reference's, but for two months that
// ICU begins a day apart from it. Before and after, the two tables are each
// a reckoning of their own: a month may begin a day apart after 2028, and
// up to two days apart before 2000.
TEST(Hijri, FollowsTheUmmAlQuraReferenceUnderEveryAdjustment) {
    const std::vector<ReferenceRow> rows = ReadReference();
    ASSERT_GT(rows.size(), 1000u);
    int exact = 0;
    for (const ReferenceRow& r : rows) {
        const bool published = r.year >= 2000 && r.year <= 2028;
        const std::string date = std::to_string(r.year * 10000 + r.month * 100 + r.day);
        const bool knownApart = date == "20060722" || date == "20241228";
        for (int adjust = -2; adjust <= 2; ++adjust) {
            const HijriDate& want = r.byAdjust[static_cast<size_t>(adjust + 2)];
            const auto got = HijriOfCivilDay(r.year, r.month, r.day, adjust);
            if (published && !knownApart) {
                EXPECT_EQ(got, want) << date << " adjust " << adjust;
                ++exact;
            } else {
                ASSERT_TRUE(got);
                EXPECT_TRUE(WithinDays(*got, want, r.year < 2000 ? 2 : 1))
                    << date << " adjust " << adjust;
            }
        }
    }
    EXPECT_GT(exact, 1000);
}

// Over the years Saudi Arabia has published (1420-1450 AH), every tenth day
// under every adjustment is the date of a second independent copy of the
// table, @umalqura/core's.
TEST(Hijri, FollowsThePublishedUmmAlQuraTableExactly) {
    const std::vector<ReferenceRow> rows = ReadReference("hijri_umm_al_qura_published.csv");
    ASSERT_GT(rows.size(), 1000u);
    for (const ReferenceRow& r : rows) {
        for (int adjust = -2; adjust <= 2; ++adjust) {
            EXPECT_EQ(HijriOfCivilDay(r.year, r.month, r.day, adjust),
                      r.byAdjust[static_cast<size_t>(adjust + 2)])
                << r.year << "-" << r.month << "-" << r.day << " adjust " << adjust;
        }
    }
}

TEST(Hijri, NamesAndTextInBothLanguages) {
    // Friday 15 March 2024 is 5 Ramadan 1445 on the Umm al-Qura calendar.
    const auto date = HijriOfCivilDay(2024, 3, 15, 0);
    ASSERT_TRUE(date);
    for (const char* language : {"en", "fr"}) {
        const ScopedLanguage in(language);
        EXPECT_EQ(HijriDateText(*date), "5 Ramadan 1445") << language;
    }
    const struct {
        int month;
        const char* english;
        const char* french;
    } cases[] = {{1, "Muharram", "Mouharram"},
                 {8, "Sha'ban", "Chaabane"},
                 {10, "Shawwal", "Chawwal"},
                 {12, "Dhu al-Hijjah", "Dhou al-Hijja"},
                 {0, "", ""},
                 {13, "", ""}};
    const ScopedLanguage french("fr");
    for (const auto& c : cases) {
        EXPECT_STREQ(HijriMonthName(c.month), c.english);
        if (c.month >= 1 && c.month <= 12) {
            EXPECT_EQ(HijriDateText({1445, c.month, 1}), std::string("1 ") + c.french + " 1445");
        }
    }
}

PrayerStatus StatusOf(char letter) {
    return letter == 'o'   ? PrayerStatus::Ok
           : letter == 'e' ? PrayerStatus::Estimated
                           : PrayerStatus::None;
}

// A day shown with Fajr, sunrise 1.5 h after it and Maghrib; `status` holds
// Fajr's and Maghrib's letters: o ok, e estimated, n none.
DaySchedule Day(double fajr, double maghrib, const char* status = "oo") {
    DaySchedule day;
    day.shown[Fajr] = fajr;
    day.status[Fajr] = StatusOf(status[0]);
    day.shown[Maghrib] = maghrib;
    day.status[Maghrib] = StatusOf(status[1]);
    day.shown[Chourouk] = fajr + 1.5;
    day.status[Chourouk] = PrayerStatus::Ok;
    return day;
}

TEST(Hijri, TheShownMaghribStartsTheNextDay) {
    // 1 Ramadan 1448 is Monday 8 February 2027; Maghrib shown at 17:41.
    const DaySchedule evening = Day(5.2, 17 + 41 / 60.0 - 0.004);
    const DaySchedule noMaghrib = Day(5.2, 0, "on");
    const struct {
        const DaySchedule* day;
        int minute;
        int adjust;
        HijriDate want;
    } cases[] = {{&evening, 17 * 60 + 40, 0, {1448, 8, 30}},
                 {&evening, 17 * 60 + 41, 0, {1448, 9, 1}},
                 {&evening, 20 * 60, 0, {1448, 9, 1}},
                 {&evening, 20 * 60, 1, {1448, 9, 2}},
                 {&noMaghrib, 23 * 60 + 59, 0, {1448, 8, 30}}};
    for (const auto& c : cases) {
        EXPECT_EQ(HijriAtMinute(2027, 2, 7, *c.day, c.minute, c.adjust), c.want) << c.minute;
    }
}

TEST(NightTimes, DividesTheNightFromMaghribToTheNextFajr) {
    const NightClock paris{FindZone("Europe/Paris"),
                           std::chrono::sys_days(std::chrono::year(2026) / 10 / 24)};
    const struct {
        DaySchedule day, next;
        double zone, nextZone;
        int imsakMinutes;
        const char* texts;   // Imsak, middle, last third
        const char* status;  // their letters
        NightEnd end = NightEnd::NextFajr;
        NightClock clock = {};
    } cases[] = {
        // 18:00 to 05:00: 660 minutes, the middle at 23:30, the last third at 01:20.
        {Day(5, 18), Day(5, 18), 1, 1, 10, "04:50 23:30 01:20", "ooo"},
        // 661 minutes: half a minute rounds up; two thirds are 440.67 minutes.
        {Day(5, 18), Day(5 + 1 / 60.0, 18), 1, 1, 0, "05:00 23:31 01:21", "ooo"},
        // Clocks go forward an hour in the night: 600 minutes pass (the
        // zone's rule known only by its offsets: the new clock from midnight).
        {Day(5, 18), Day(5, 18), 1, 2, 10, "04:50 23:00 01:40", "ooo"},
        // Paris goes back at 03:00 on 25 October 2026: 840 minutes from
        // 18:00 to 07:00; 01:00 is before the change, 03:20 after it.
        {Day(5, 18), Day(7, 18), 2, 1, 10, "04:50 01:00 02:20", "ooo", NightEnd::NextFajr, paris},
        // An estimated next Fajr makes the night's times estimated; Imsak follows its own Fajr.
        {Day(5, 18), Day(4, 18, "eo"), 0, 0, 15, "04:45 23:00 00:40", "oee"},
        {Day(5, 18, "en"), Day(5, 18), 0, 0, 10, "04:50 --:-- --:--", "enn"},
        {Day(5, 18, "no"), Day(0, 18, "no"), 0, 0, 10, "--:-- --:-- --:--", "nnn"},
        // To the next sunrise (06:30): 750 minutes, the middle at 00:15, the last third at 02:20.
        {Day(5, 18), Day(5, 18), 1, 1, 10, "04:50 00:15 02:20", "ooo", NightEnd::NextSunrise},
    };
    for (const auto& c : cases) {
        const NightTimes night = ComputeNightTimes({c.day, c.zone}, {c.next, c.nextZone},
                                                   c.imsakMinutes, c.end, c.clock);
        std::string texts;
        for (const NightIndex n : {Imsak, Midnight, LastThird}) {
            EXPECT_EQ(night.status[n], StatusOf(c.status[n])) << c.texts << " " << n;
            texts += (n == Imsak ? "" : " ") + ShownClockText(night.status[n], night.hour[n]);
        }
        EXPECT_EQ(texts, c.texts);
    }
}

// "HH:MM" as minutes.
int Minutes(const std::string& text) {
    return std::stoi(text.substr(0, 2)) * 60 + std::stoi(text.substr(3, 2));
}
int ShownMinutes(const DaySchedule& day, std::size_t prayer) {
    return Minutes(ShownClockText(day.status[prayer], day.shown[prayer]));
}

Observation NoonOf(std::chrono::sys_days civil) {
    const std::chrono::year_month_day ymd{civil};
    return {static_cast<int>(unsigned{ymd.day()}),
            static_cast<int>(unsigned{ymd.month()}),
            static_cast<int>(ymd.year()),
            12,
            0,
            0};
}

// Over every bundled town for a year, the night times as shown against the
// shown Fajr and Maghrib texts: Imsak ten minutes before Fajr, the middle
// and the last third of the night within the rounding of its two ends.
TEST(NightTimes, FollowTheShownTimesOfEveryBundledTownForAYear) {
    const std::string bytes =
        testing::ReadFile(std::string(ORVANO_SOURCE_DIR) + "/resources/data.cfg");
    EngineState state;
    CurrentPlace place;
    testing::RecordingMessageSink boxes;
    ASSERT_EQ(ReadDataCfgBytes(bytes, state.tables, place, nullptr, boxes, nullptr), 0);
    using std::chrono::days;
    const auto first = std::chrono::sys_days(std::chrono::year(2026) / 1 / 1);
    int checked = 0;
    for (const Town& town : state.tables.Towns) {
        FillCurrentPlace(town, state.place);
        state.observation = NoonOf(first - days(1));
        ComputeDaySchedule(state);
        DaySchedule day = state.schedule;
        double zone = state.timeZoneInEffect;
        for (auto civil = first; civil < first + days(365); civil += days(1)) {
            state.observation = NoonOf(civil);
            ComputeDaySchedule(state);
            const DaySchedule next = state.schedule;
            const double nextZone = state.timeZoneInEffect;
            const NightTimes night = ComputeNightTimes({day, zone}, {next, nextZone}, 10,
                                                       NightEndOf(SelectedConvention(state)),
                                                       {PlaceZone(state.place), civil - days(1)});
            const auto text = [&](NightIndex n) {
                return ShownClockText(night.status[n], night.hour[n]);
            };
            if (day.status[Fajr] != PrayerStatus::None) {
                EXPECT_EQ((Minutes(text(Imsak)) + 10) % 1440, ShownMinutes(day, Fajr))
                    << town.Name << (civil - first).count();
            } else {
                EXPECT_EQ(text(Imsak), kNoTimeText);
            }
            if (day.status[Maghrib] == PrayerStatus::None ||
                next.status[Fajr] == PrayerStatus::None) {
                EXPECT_EQ(text(Midnight), kNoTimeText);
                EXPECT_EQ(text(LastThird), kNoTimeText);
            } else if (nextZone == zone) {  // a change of clock is left to the table above
                // The night on one clock, in minutes from 00:00 of the day.
                const int start = ShownMinutes(day, Maghrib);
                const int end = 1440 + ShownMinutes(next, Fajr);
                const auto onDayClock = [&](NightIndex n) {
                    const int m = Minutes(text(n));
                    return m < start ? m + 1440 : m;  // past midnight
                };
                EXPECT_NEAR(2 * onDayClock(Midnight), start + end, 1)
                    << town.Name << (civil - first).count();
                EXPECT_NEAR(3 * onDayClock(LastThird), start + 2 * end, 2)
                    << town.Name << (civil - first).count();
                ++checked;
            }
            day = next;
            zone = nextZone;
        }
    }
    EXPECT_GT(checked, 40000);  // of 133 towns x 365 nights
}

// The catalogue's rules reach the engine: Umm al-Qura's Ramadan Isha, and
// the night's end by the method's midnight; data.cfg's conventions end it at Fajr.
TEST(NightTimes, TheCatalogueSaysWhereTheNightEndsAndIshaInRamadan) {
    MethodCatalogue catalogue;
    ReadMethodFolders({std::string(ORVANO_SOURCE_DIR) + "/resources/methods"}, catalogue);
    const auto conventions = MethodConventions(catalogue);
    const struct {
        const char* id;
        NightEnd end;
        std::optional<int> ramadan;
    } cases[] = {{"umm-al-qura", NightEnd::NextSunrise, 120},
                 {"mwl", NightEnd::NextSunrise, std::nullopt},
                 {"tehran", NightEnd::NextFajr, std::nullopt}};
    for (const auto& c : cases) {
        const auto found = conventions.find(c.id);
        ASSERT_NE(found, conventions.end()) << c.id;
        EXPECT_EQ(NightEndOf(found->second), c.end) << c.id;
        EXPECT_EQ(found->second.IshaRamadanMinutes, c.ramadan) << c.id;
        EXPECT_EQ(MethodAsConvention(MethodFromConvention(found->second))->NightEndsAtSunrise,
                  found->second.NightEndsAtSunrise)
            << c.id;
    }
    EXPECT_EQ(NightEndOf(Convention{}), NightEnd::NextFajr);
}

}  // namespace
}  // namespace orvano
