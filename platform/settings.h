// A small store of named values under key paths, standing in for the registry.
// The programs make their keys at start-up when missing (CreateProgramKeys);
// elsewhere they open existing keys only, so a missing key is a state the
// program sees and reports.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvano {

inline constexpr const char* kAppSettingsKey = "Software\\Apps\\Orvano";
inline constexpr const char* kTodaySettingsKey = "Software\\Microsoft\\Today\\Items\\Orvano";
// Under kTodaySettingsKey, one byte each: the alarm switch of Fajr, Zuhr, Asr,
// Maghrib and Isha (non-zero is on; a missing value is off).
inline constexpr std::array<const char*, 5> kAlarmValueNames = {
    "AlarmFajr", "AlarmZuhr", "AlarmAsr", "AlarmMaghrib", "AlarmIsha"};
// Under kAppSettingsKey, read by the window and the Today plug-in alike: the
// word naming how unreached twilights are estimated ("seventh", "middle",
// "angle" or "none").
inline constexpr const char* kHighLatitudeRuleValue = "HighLatitudeRule";

// The Hijri date's correction and the night times' switches, each value a
// text: [Hijri] Adjust (whole days, -2..2), [Night] ImsakMinutes (minutes
// before Fajr, 0..60), [Night] Show (the night times on the Home page, 0 or 1)
// and [Night] ImsakAlarm (Imsak's own alarm, 0 or 1).
inline constexpr const char* kHijriSettingsKey = "Hijri";
inline constexpr const char* kHijriAdjustValue = "Adjust";
inline constexpr const char* kNightSettingsKey = "Night";
inline constexpr const char* kImsakMinutesValue = "ImsakMinutes";
inline constexpr const char* kNightShowValue = "Show";
inline constexpr const char* kImsakAlarmValue = "ImsakAlarm";
inline constexpr int kHijriAdjustMin = -2;
inline constexpr int kHijriAdjustMax = 2;
inline constexpr int kImsakMinutesLimit = 60;

// The call to prayer, each value a text: [Adhan] File (played for every
// prayer), FajrFile (for Fajr instead, when set), Volume (0..100).
inline constexpr const char* kAdhanSettingsKey = "Adhan";
inline constexpr const char* kAdhanFileValue = "File";
inline constexpr const char* kAdhanFajrFileValue = "FajrFile";
inline constexpr const char* kAdhanVolumeValue = "Volume";
inline constexpr int kAdhanVolumeMax = 100;

// An open key. It is closed when destroyed.
class SettingsKey {
  public:
    virtual ~SettingsKey() = default;
    // The value's bytes as stored, or nothing when the value is missing.
    virtual std::optional<std::vector<std::uint8_t>> ReadRaw(const std::string& name) = 0;
    // Stores the bytes, replacing any earlier value. False when it could not be stored.
    virtual bool WriteRaw(const std::string& name, const std::vector<std::uint8_t>& bytes) = 0;

    // A 4-byte number (little-endian). Fails when missing or stored with another size.
    std::optional<std::uint32_t> ReadNumber(const std::string& name);
    bool WriteNumber(const std::string& name, std::uint32_t value);
    // A 1-byte value. Fails when missing or stored with another size.
    std::optional<std::uint8_t> ReadByte(const std::string& name);
    bool WriteByte(const std::string& name, std::uint8_t value);
    // A text, its bytes as they are (no terminator). Fails when missing.
    std::optional<std::string> ReadText(const std::string& name);
    bool WriteText(const std::string& name, const std::string& text);
};

// One text value of a batch: the key it goes under, its name, its text.
struct TextSetting {
    std::string key;
    std::string name;
    std::string text;
};

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // nullptr when the key does not exist (or the store cannot be read).
    virtual std::unique_ptr<SettingsKey> OpenKey(const std::string& path) = 0;
    // True when the key exists afterwards; an existing key is left as it is.
    virtual bool CreateKey(const std::string& path) = 0;
    // Stores every text, making the keys that are missing: all of them, or
    // none when any cannot be stored (false then), so that a form saved
    // together is never left half-saved.
    virtual bool WriteTexts(const std::vector<TextSetting>& texts) = 0;
};

// The window's and the strip's keys, made when missing so that a language
// choice and the alarm switches can be stored from the first start.
void CreateProgramKeys(SettingsStore& store);

// The HighLatitudeRule word stored under kAppSettingsKey; "" when the key or
// the value is missing.
std::string ReadHighLatitudeRuleText(SettingsStore& settings);

// What those values hold; a missing or malformed value leaves its default.
struct HijriNightSettings {
    int hijriAdjust = 0;
    int imsakMinutes = 10;
    bool nightShow = false;
    bool imsakAlarm = false;
};
HijriNightSettings ReadHijriNightSettings(SettingsStore& settings);

// A text value; "" when the key or the value is missing.
std::string ReadSettingText(SettingsStore& settings, const std::string& key,
                            const std::string& name);

// The adhan chosen in [Adhan]; empty files mean the desktop's own sounds.
struct AdhanSettings {
    std::string file;
    std::string fajrFile;
    int volume = 80;
    // The file for `prayer` (PrayerIndex 0 is Fajr): Fajr's own when set.
    const std::string& FileFor(int prayer) const {
        return prayer == 0 && !fajrFile.empty() ? fajrFile : file;
    }
    bool operator==(const AdhanSettings&) const = default;
};
AdhanSettings ReadAdhanSettings(SettingsStore& settings);

// Stores [Night] Show, making the group when missing. False when it could
// not be stored.
bool WriteNightShow(SettingsStore& settings, bool show);

}  // namespace orvano
