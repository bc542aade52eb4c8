#include "platform/language.h"

#include "language/messages.h"

namespace orvano {

SavedLanguage ReadSavedLanguage(SettingsStore& settings) {
    SavedLanguage saved;
    if (auto key = settings.OpenKey(kAppSettingsKey)) saved.lang = key->ReadNumber("Lang");
    if (auto key = settings.OpenKey(kLanguageSettingsKey)) {
        saved.code = key->ReadText(kLanguageCodeValue);
    }
    return saved;
}

DigitStyle ReadDigitStyle(SettingsStore& settings) {
    auto key = settings.OpenKey(kLanguageSettingsKey);
    const std::optional<std::string> word =
        key ? key->ReadText(kDigitsSettingsValue) : std::nullopt;
    return word ? ParseDigitStyle(*word).value_or(DigitStyle::Latin) : DigitStyle::Latin;
}

LanguageChoice LanguageOfSettings(SettingsStore& settings) {
    return ChooseLanguage(ReadSavedLanguage(settings), DesktopEnvironment);
}

bool SaveLanguage(SettingsStore& settings, const std::string& code) {
    const std::uint32_t lang = LangNumberOf(code);
    bool saved = true;
    if (lang != 0) {
        auto key = settings.OpenKey(kAppSettingsKey);
        saved = key != nullptr && key->WriteNumber("Lang", lang);
    }
    auto key = settings.OpenKey(kLanguageSettingsKey);
    const bool codeStored = key != nullptr && key->ReadText(kLanguageCodeValue).has_value();
    if (lang != 0 && !codeStored) return saved;
    if (key == nullptr && settings.CreateKey(kLanguageSettingsKey)) {
        key = settings.OpenKey(kLanguageSettingsKey);
    }
    return key != nullptr && key->WriteText(kLanguageCodeValue, code) && saved;
}

}  // namespace orvano
