#include "platform/settings.h"

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

}  // namespace orvano

namespace orvano {

void CreateProgramKeys(SettingsStore& store) {
    for (const char* key : {kAppSettingsKey, kTodaySettingsKey}) {
        if (store.OpenKey(key) == nullptr) store.CreateKey(key);
    }
}

}  // namespace orvano
