// Reminders, iqama and Jumu'ah: what each stored text means, and the minutes
// they give beside a day's shown times.
#include "engine/iqama.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "engine/state.h"

namespace orvano {
namespace {

using Kind = IqamaRule::Kind;

TEST(Iqama, TextsParseToRulesOrAreRefused) {
    const struct {
        const char* text;
        std::optional<IqamaRule> rule;
    } cases[] = {
        {"", IqamaRule{}},
        {"0", IqamaRule{}},
        {"15", IqamaRule{Kind::After, 15}},
        {"180", IqamaRule{Kind::After, 180}},
        {"181", std::nullopt},
        {"-5", std::nullopt},
        {"13:30", IqamaRule{Kind::At, 13 * 60 + 30}},
        {"00:00", IqamaRule{Kind::At, 0}},
        {"24:00", std::nullopt},
        {"12:60", std::nullopt},
        {"9:05", std::nullopt},
        {"13:30:00", std::nullopt},
        {"15 min", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseIqamaRule(c.text), c.rule);
        if (c.rule) {
            EXPECT_EQ(ParseIqamaRule(IqamaRuleText(*c.rule)), c.rule);
        }
    }
}

TEST(Iqama, ReminderMinutesRunFromNoneTo120) {
    EXPECT_EQ(ParseReminderMinutes(""), 0);
    EXPECT_EQ(ParseReminderMinutes("0"), 0);
    EXPECT_EQ(ParseReminderMinutes("120"), 120);
    EXPECT_EQ(ParseReminderMinutes("121"), std::nullopt);
    EXPECT_EQ(ParseReminderMinutes("-1"), std::nullopt);
    EXPECT_EQ(ParseReminderMinutes("1.5"), std::nullopt);
}

TEST(Iqama, SettingsReadPerPrayerAndBadTextsLeaveTheDefault) {
    const std::map<std::string, std::string> stored = {
        {"Reminders/Fajr", "20"},  {"Reminders/Asr", "121"}, {"Reminders/Isha", "x"},
        {"Reminders/Zuhr", "120"}, {"Iqama/Asr", "15"},      {"Iqama/Maghrib", "19:00"},
        {"Iqama/Isha", "25:00"},   {"Jumuah/Enabled", "1"},  {"Jumuah/Time", "13:30"},
        {"Jumuah/Iqama", "20"},
    };
    const PrayerExtras extras = ReadPrayerExtras([&stored](const char* group, const char* name) {
        const auto found = stored.find(std::string(group) + "/" + name);
        return found == stored.end() ? std::string() : found->second;
    });
    EXPECT_EQ(extras.reminderMinutes, (std::array<int, kPrayerCount>{20, 0, 120, 0, 0, 0}));
    EXPECT_EQ(extras.iqama[Asr], (IqamaRule{Kind::After, 15}));
    EXPECT_EQ(extras.iqama[Maghrib], (IqamaRule{Kind::At, 19 * 60}));
    EXPECT_EQ(extras.iqama[Isha], IqamaRule{});
    EXPECT_EQ(extras.jumuah, (JumuahSettings{true, 13 * 60 + 30, {Kind::After, 20}}));
    EXPECT_EQ(ReadPrayerExtras([](const char*, const char*) { return std::string(); }),
              PrayerExtras{});
}

// A day whose prayers are shown at the given minutes (-1: no time).
DaySchedule DayAt(const std::array<double, kPrayerCount>& minutes) {
    DaySchedule day;
    for (std::size_t p = 0; p < minutes.size(); ++p) {
        day.status[p] = minutes[p] < 0 ? PrayerStatus::None : PrayerStatus::Ok;
        day.shown[p] = minutes[p] < 0 ? std::nan("") : minutes[p] * 0.016666666666666666;
    }
    return day;
}

// Every minute counts from the prayer's shown one, the rounded minute the
// user reads, even where it falls on another day.
TEST(Iqama, AsidesFollowTheShownMinute) {
    // Fajr 00:10, Zuhr 12:42, Asr 15:12.6 (shown 15:13), Maghrib none,
    // Isha 23:59.6 (shown 00:00 of the next day).
    const DaySchedule day = DayAt({10, 400, 762, 912.6, -1, 1439.6});
    PrayerExtras extras;
    extras.reminderMinutes = {20, 0, 0, 15, 10, 0};
    extras.iqama[Asr] = {Kind::After, 15};
    extras.iqama[Maghrib] = {Kind::After, 5};
    extras.iqama[Isha] = {Kind::After, 30};
    extras.iqama[Zuhr] = {Kind::At, 13 * 60};
    const DayAsides asides = AsidesOfDay(day, false, extras);
    EXPECT_FALSE(asides.jumuah);
    EXPECT_EQ(asides.prayer[Fajr].reminder, -10);  // 23:50 the day before
    EXPECT_EQ(MinuteClockText(*asides.prayer[Fajr].reminder), "23:50");
    EXPECT_EQ(asides.prayer[Asr].minute, 913);
    EXPECT_EQ(asides.prayer[Asr].iqama, 928);
    EXPECT_EQ(asides.prayer[Asr].reminder, 898);
    EXPECT_EQ(asides.prayer[Zuhr].iqama, 780);
    EXPECT_EQ(asides.prayer[Zuhr].reminder, std::nullopt);
    // Without a time, neither a reminder nor an iqama.
    EXPECT_EQ(asides.prayer[Maghrib].minute, std::nullopt);
    EXPECT_EQ(asides.prayer[Maghrib].iqama, std::nullopt);
    EXPECT_EQ(asides.prayer[Maghrib].reminder, std::nullopt);
    EXPECT_EQ(asides.prayer[Isha].iqama, 1470);
    EXPECT_EQ(MinuteClockText(*asides.prayer[Isha].iqama), "00:30");
    EXPECT_EQ(asides.prayer[Chourouk].minute, std::nullopt);
}

TEST(Iqama, JumuahTakesZuhrsPlaceOnFridaysOnly) {
    const DaySchedule day = DayAt({300, 400, 762, 913, 1100, 1200});
    PrayerExtras extras;
    extras.iqama[Zuhr] = {Kind::After, 10};
    extras.reminderMinutes[Zuhr] = 30;
    extras.jumuah = {true, 13 * 60 + 30, {Kind::After, 20}};
    const struct {
        const char* name;
        bool friday;
        bool enabled;
        std::optional<int> time;
        int minute, iqama, reminder;
        bool jumuah;
    } cases[] = {
        {"a Friday, at its own time", true, true, 810, 810, 830, 780, true},
        {"a Friday, at Zuhr's time", true, true, std::nullopt, 762, 782, 732, true},
        {"another day", false, true, 810, 762, 772, 732, false},
        {"turned off", true, false, 810, 762, 772, 732, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        extras.jumuah.enabled = c.enabled;
        extras.jumuah.minute = c.time;
        const DayAsides asides = AsidesOfDay(day, c.friday, extras);
        EXPECT_EQ(asides.jumuah, c.jumuah);
        EXPECT_EQ(asides.prayer[Zuhr].minute, c.minute);
        EXPECT_EQ(asides.prayer[Zuhr].iqama, c.iqama);
        EXPECT_EQ(asides.prayer[Zuhr].reminder, c.reminder);
    }
}

TEST(Iqama, FridaysOfTheCivilCalendar) {
    EXPECT_TRUE(IsFriday(15, 3, 2024));
    EXPECT_FALSE(IsFriday(14, 3, 2024));
    EXPECT_TRUE(IsFriday(1, 1, 2010));
    EXPECT_TRUE(IsFriday(11, 12, 2026));
}

TEST(Iqama, AnyTellsWhetherTheListsShowThem) {
    PrayerExtras extras;
    EXPECT_FALSE(AnyIqama(extras));
    EXPECT_FALSE(AnyReminder(extras));
    extras.jumuah.iqama = {Kind::After, 10};
    EXPECT_FALSE(AnyIqama(extras));  // Jumu'ah off
    extras.jumuah.enabled = true;
    EXPECT_TRUE(AnyIqama(extras));
    extras.reminderMinutes[Isha] = 5;
    EXPECT_TRUE(AnyReminder(extras));
}

}  // namespace
}  // namespace orvano
