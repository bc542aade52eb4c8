#include "engine/iqama.h"

#include <charconv>
#include <cstdio>

#include "astro/civil_date.h"
#include "engine/state.h"

namespace orvano {

namespace {

std::optional<int> Whole(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int> ParseClockMinute(std::string_view text) {
    // Exactly two digits, a colon, two digits: "9:5" or "09:05:00" are typing slips.
    if (text.size() != 5 || text[2] != ':') return std::nullopt;
    const auto hour = Whole(text.substr(0, 2));
    const auto minute = Whole(text.substr(3, 2));
    if (!hour || !minute || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59) {
        return std::nullopt;
    }
    return *hour * 60 + *minute;
}

std::optional<int> ParseReminderMinutes(std::string_view text) {
    if (text.empty()) return 0;
    const auto minutes = Whole(text);
    if (!minutes || *minutes < 0 || *minutes > kReminderMinutesMax) return std::nullopt;
    return minutes;
}

std::optional<IqamaRule> ParseIqamaRule(std::string_view text) {
    if (text.empty() || text == "0") return IqamaRule{};
    if (text.find(':') != std::string_view::npos) {
        const auto minute = ParseClockMinute(text);
        if (!minute) return std::nullopt;
        return IqamaRule{IqamaRule::Kind::At, *minute};
    }
    const auto after = Whole(text);
    if (!after || *after < 1 || *after > kIqamaAfterMax) return std::nullopt;
    return IqamaRule{IqamaRule::Kind::After, *after};
}

std::string IqamaRuleText(const IqamaRule& rule) {
    switch (rule.kind) {
        case IqamaRule::Kind::After:
            return std::to_string(rule.minutes);
        case IqamaRule::Kind::At:
            return MinuteClockText(rule.minutes);
        case IqamaRule::Kind::None:
            break;
    }
    return "";
}

std::string MinuteClockText(int minute) {
    const int ofDay = ((minute % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", ofDay / 60, ofDay % 60);
    return text;
}

PrayerExtras ReadPrayerExtras(const SettingText& text) {
    PrayerExtras extras;
    for (std::size_t p = 0; p < kPrayerValueNames.size(); ++p) {
        const char* name = kPrayerValueNames[p];
        if (*name == '\0') continue;
        extras.reminderMinutes[p] = ParseReminderMinutes(text(kRemindersGroup, name)).value_or(0);
        extras.iqama[p] = ParseIqamaRule(text(kIqamaGroup, name)).value_or(IqamaRule{});
    }
    JumuahSettings& jumuah = extras.jumuah;
    jumuah.enabled = text(kJumuahGroup, kJumuahEnabledValue) == "1";
    jumuah.minute = ParseClockMinute(text(kJumuahGroup, kJumuahTimeValue));
    jumuah.iqama = ParseIqamaRule(text(kJumuahGroup, kJumuahIqamaValue)).value_or(IqamaRule{});
    return extras;
}

bool AnyIqama(const PrayerExtras& extras) {
    for (const IqamaRule& rule : extras.iqama) {
        if (rule.kind != IqamaRule::Kind::None) return true;
    }
    return extras.jumuah.enabled && extras.jumuah.iqama.kind != IqamaRule::Kind::None;
}

bool AnyReminder(const PrayerExtras& extras) {
    for (const int minutes : extras.reminderMinutes) {
        if (minutes > 0) return true;
    }
    return false;
}

DayAsides AsidesOfDay(const DaySchedule& day, bool friday, const PrayerExtras& extras) {
    DayAsides asides;
    asides.jumuah = friday && extras.jumuah.enabled;
    for (std::size_t p = 0; p < asides.prayer.size(); ++p) {
        if (p == Chourouk) continue;
        PrayerAside& aside = asides.prayer[p];
        IqamaRule iqama = extras.iqama[p];
        if (asides.IsJumuah(p)) {
            aside.minute = extras.jumuah.minute;
            iqama = extras.jumuah.iqama;
        }
        if (!aside.minute && day.status[p] != PrayerStatus::None) {
            const ShownMinute shown = ShownMinuteOf(day.shown[p]);
            if (shown.valid()) aside.minute = shown.minutesFromScheduleMidnight();
        }
        if (!aside.minute) continue;  // no time, nothing beside it
        if (iqama.kind == IqamaRule::Kind::After) aside.iqama = *aside.minute + iqama.minutes;
        if (iqama.kind == IqamaRule::Kind::At) aside.iqama = iqama.minutes;
        if (extras.reminderMinutes[p] > 0)
            aside.reminder = *aside.minute - extras.reminderMinutes[p];
    }
    return asides;
}

bool IsFriday(int day, int month, int year) {
    return date::weekday(date::sys_days(CivilDateOf(year, month, day))) == date::Friday;
}

}  // namespace orvano
