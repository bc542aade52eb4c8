// What the user sets beside the prayer times: a reminder some minutes before a
// prayer, the iqama after it, and the Friday prayer in Zuhr's place. The
// texts they are stored as, and the minutes they give on a day, counted from
// the prayer's shown minute so that no list or alarm disagrees with the time
// the user reads.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "astro/records.h"
#include "language/messages.h"

namespace orvano {

struct DaySchedule;

// Minutes after the prayer's own minute, or a clock time of its own.
struct IqamaRule {
    enum class Kind { None, After, At };
    Kind kind = Kind::None;
    int minutes = 0;  // After: 1..kIqamaAfterMax; At: minute of the day
    bool operator==(const IqamaRule&) const = default;
};

inline constexpr int kIqamaAfterMax = 180;
inline constexpr int kReminderMinutesMax = 120;

// "15" (minutes after) or "13:30" (a time); "" or "0" is none. Nothing for
// any other text, which the caller reports or ignores.
std::optional<IqamaRule> ParseIqamaRule(std::string_view text);
// The text that parses back to `rule` ("" for none).
std::string IqamaRuleText(const IqamaRule& rule);
// "HH:MM" exactly, as a minute of the day.
std::optional<int> ParseClockMinute(std::string_view text);
// Minutes before a prayer, "0".."120"; "" is 0.
std::optional<int> ParseReminderMinutes(std::string_view text);

// "HH:MM" of a minute counted from some midnight, taken into [0, 1440).
std::string MinuteClockText(int minute);

// Fridays under Jumu'ah: Zuhr is shown and announced as the Friday prayer, at
// Zuhr's own time or at `minute`, with its own iqama.
struct JumuahSettings {
    bool enabled = false;
    std::optional<int> minute;  // none: Zuhr's own time
    IqamaRule iqama;
    bool operator==(const JumuahSettings&) const = default;
};

// Everything above, by PrayerIndex (Chourouk has neither a reminder nor an
// iqama).
struct PrayerExtras {
    std::array<int, kPrayerCount> reminderMinutes{};  // 0: none
    std::array<IqamaRule, kPrayerCount> iqama{};
    JumuahSettings jumuah;
    bool operator==(const PrayerExtras&) const = default;
};

// The groups and value names they are stored under; the prayers' value names
// are those of the alarm switches without "Alarm".
inline constexpr const char* kRemindersGroup = "Reminders";
inline constexpr const char* kIqamaGroup = "Iqama";
inline constexpr const char* kJumuahGroup = "Jumuah";
inline constexpr const char* kJumuahEnabledValue = "Enabled";
inline constexpr const char* kJumuahTimeValue = "Time";
inline constexpr const char* kJumuahIqamaValue = "Iqama";
inline constexpr std::array<const char*, kPrayerCount> kPrayerValueNames = {
    "Fajr", "", "Zuhr", "Asr", "Maghrib", "Isha"};

// Whether any prayer has an iqama (Jumu'ah's counts when it is on), or a
// reminder: what decides whether the lists show them at all.
bool AnyIqama(const PrayerExtras& extras);
bool AnyReminder(const PrayerExtras& extras);

// The Friday prayer's name where Zuhr's would be.
inline constexpr const char* kJumuahName = NC_("prayer", "Jumu'ah");

// Reads them through `text` (group, value name -> the stored text, "" when
// missing); a text that does not parse leaves its default.
using SettingText = std::function<std::string(const char* group, const char* name)>;
PrayerExtras ReadPrayerExtras(const SettingText& text);

// One prayer of one day as announced, in minutes from that day's midnight (a
// reminder may fall before it, an iqama after the next).
struct PrayerAside {
    std::optional<int> minute;  // the prayer's own: its shown minute, or Jumu'ah's
    std::optional<int> iqama;
    std::optional<int> reminder;
};
struct DayAsides {
    std::array<PrayerAside, kPrayerCount> prayer{};
    bool jumuah = false;  // Zuhr is the Friday prayer this day
    // Whether `p` (a PrayerIndex) is announced as Jumu'ah this day.
    bool IsJumuah(std::size_t p) const { return jumuah && p == std::size_t{Zuhr}; }
};
// `friday`: the schedule's date is a Friday. A prayer without a time has no
// reminder and no iqama; Jumu'ah at a time of its own has one whatever Zuhr's.
DayAsides AsidesOfDay(const DaySchedule& day, bool friday, const PrayerExtras& extras);

// Whether a civil date is a Friday.
bool IsFriday(int day, int month, int year);

}  // namespace orvano
