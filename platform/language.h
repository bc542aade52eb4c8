// The interface language as the settings store keeps it: [Language] Code, and
// the older number "Lang" under the application's key (1 English, 2 French).
#pragma once

#include <string>

#include "language/digits.h"
#include "language/languages.h"
#include "platform/settings.h"

namespace orvano {

// The stored number: 1 English, 2 French; any other number shows English.
enum class Language : std::uint32_t { English = 1, French = 2 };

constexpr Language LanguageOf(std::uint32_t lang) {
    return lang == static_cast<std::uint32_t>(Language::French) ? Language::French
                                                                : Language::English;
}

constexpr std::uint32_t LangValue(Language language) {
    return static_cast<std::uint32_t>(language);
}

inline constexpr const char* kLanguageSettingsKey = "Language";
inline constexpr const char* kLanguageCodeValue = "Code";

SavedLanguage ReadSavedLanguage(SettingsStore& settings);

// [Language] Digits: Latin when missing or not a word it knows.
DigitStyle ReadDigitStyle(SettingsStore& settings);

// The language the programs speak: the saved choice, else the desktop's (from
// the process's environment), else French.
LanguageChoice LanguageOfSettings(SettingsStore& settings);

// Stores `code`: Lang for English and French (when the application's key
// exists), Code for the others, and Code for English and French too when a
// Code is already stored, so that it never outranks the newer choice.
bool SaveLanguage(SettingsStore& settings, const std::string& code);

}  // namespace orvano
