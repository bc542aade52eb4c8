#include "platform/settings.h"

#include <charconv>

namespace orvano {

std::optional<std::uint32_t> SettingsKey::ReadNumber(const std::string& name) {
    const auto bytes = ReadRaw(name);
    if (!bytes || bytes->size() != 4) return std::nullopt;
    return static_cast<std::uint32_t>((*bytes)[0]) | static_cast<std::uint32_t>((*bytes)[1]) << 8 |
           static_cast<std::uint32_t>((*bytes)[2]) << 16 |
           static_cast<std::uint32_t>((*bytes)[3]) << 24;
}

bool SettingsKey::WriteNumber(const std::string& name, std::uint32_t value) {
    return WriteRaw(name, {static_cast<std::uint8_t>(value & 0xFF),
                           static_cast<std::uint8_t>((value >> 8) & 0xFF),
                           static_cast<std::uint8_t>((value >> 16) & 0xFF),
                           static_cast<std::uint8_t>((value >> 24) & 0xFF)});
}

std::optional<std::uint8_t> SettingsKey::ReadByte(const std::string& name) {
    const auto bytes = ReadRaw(name);
    if (!bytes || bytes->size() != 1) return std::nullopt;
    return (*bytes)[0];
}

bool SettingsKey::WriteByte(const std::string& name, std::uint8_t value) {
    return WriteRaw(name, {value});
}

std::optional<std::string> SettingsKey::ReadText(const std::string& name) {
    const auto bytes = ReadRaw(name);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

bool SettingsKey::WriteText(const std::string& name, const std::string& text) {
    return WriteRaw(name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string ReadHighLatitudeRuleText(SettingsStore& settings) {
    auto key = settings.OpenKey(kAppSettingsKey);
    if (!key) return "";
    return key->ReadText(kHighLatitudeRuleValue).value_or("");
}

namespace {

// A whole number written as text, within [min, max].
std::optional<int> ReadWhole(SettingsKey* key, const char* name, int min, int max) {
    if (key == nullptr) return std::nullopt;
    const auto text = key->ReadText(name);
    if (!text) return std::nullopt;
    const char* begin = text->data();
    const char* end = begin + text->size();
    if (begin != end && *begin == '+') ++begin;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || value < min || value > max) return std::nullopt;
    return value;
}

}  // namespace

HijriNightSettings ReadHijriNightSettings(SettingsStore& settings) {
    HijriNightSettings read;
    const auto hijri = settings.OpenKey(kHijriSettingsKey);
    const auto night = settings.OpenKey(kNightSettingsKey);
    read.hijriAdjust = ReadWhole(hijri.get(), kHijriAdjustValue, kHijriAdjustMin, kHijriAdjustMax)
                           .value_or(read.hijriAdjust);
    read.imsakMinutes = ReadWhole(night.get(), kImsakMinutesValue, 0, kImsakMinutesLimit)
                            .value_or(read.imsakMinutes);
    read.nightShow = ReadWhole(night.get(), kNightShowValue, 0, 1).value_or(0) == 1;
    read.imsakAlarm = ReadWhole(night.get(), kImsakAlarmValue, 0, 1).value_or(0) == 1;
    return read;
}

std::string ReadSettingText(SettingsStore& settings, const std::string& key,
                            const std::string& name) {
    const auto open = settings.OpenKey(key);
    return open ? open->ReadText(name).value_or("") : "";
}

AdhanSettings ReadAdhanSettings(SettingsStore& settings) {
    AdhanSettings read;
    const auto key = settings.OpenKey(kAdhanSettingsKey);
    if (!key) return read;
    read.file = key->ReadText(kAdhanFileValue).value_or("");
    read.fajrFile = key->ReadText(kAdhanFajrFileValue).value_or("");
    read.reminderFile = key->ReadText(kAdhanReminderFileValue).value_or("");
    read.volume = ReadWhole(key.get(), kAdhanVolumeValue, 0, kAdhanVolumeMax).value_or(read.volume);
    return read;
}

bool WriteNightShow(SettingsStore& settings, bool show) {
    if (!settings.CreateKey(kNightSettingsKey)) return false;
    const auto key = settings.OpenKey(kNightSettingsKey);
    return key && key->WriteText(kNightShowValue, show ? "1" : "0");
}

}  // namespace orvano

namespace orvano {

void CreateProgramKeys(SettingsStore& store) {
    for (const char* key : {kAppSettingsKey, kTodaySettingsKey}) {
        if (store.OpenKey(key) == nullptr) store.CreateKey(key);
    }
}

}  // namespace orvano
