// The interface language as the settings store keeps it: [Language] Code, and
// the older number "Lang" under the application's key (1 English, 2 French).
#pragma once

#include <string>

#include "language/digits.h"
#include "language/languages.h"
#include "platform/settings.h"

namespace orvano {

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
