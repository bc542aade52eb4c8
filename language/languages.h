// The languages the program speaks and which one a user gets: a saved choice,
// else the desktop's locale, else French.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvano {

struct LanguageName {
    const char* code;  // BCP 47
    const char* name;  // in the language itself
};

// English and French first (the stored Lang numbers 1 and 2), then the others.
std::span<const LanguageName> Languages();
bool IsSpokenLanguage(const std::string& code);
// Arabic, Urdu and Persian: pages and controls are mirrored for them.
bool IsRightToLeft(std::string_view code);

inline constexpr const char* kDefaultLanguage = "fr";

// What the settings hold: [Language] Code and the older number Lang
// (1 English, 2 French, any other non-zero number English).
struct SavedLanguage {
    std::optional<std::string> code;
    std::optional<std::uint32_t> lang;
};

enum class LanguageSource { Saved, Desktop, Default };

struct LanguageChoice {
    std::string code;
    LanguageSource source = LanguageSource::Default;
};

using Environment = std::function<const char*(const char*)>;

// The desktop's language as gettext would take it: the first spoken language
// of LANGUAGE, else of the first set of LC_ALL, LC_MESSAGES and LANG; nothing
// under the C or POSIX locale (where gettext ignores LANGUAGE) or when none is
// spoken here.
std::optional<std::string> DesktopLanguage(const Environment& environment);

LanguageChoice ChooseLanguage(const SavedLanguage& saved, const Environment& environment);

// A `--lang` argument: 1 (English) and 2 (French) as Lang numbers them, or a
// spoken language's code; nothing for anything else.
std::optional<std::string> LanguageArgument(const std::string& text);

// The Lang number a language is stored with; 0 for those only Code names.
std::uint32_t LangNumberOf(const std::string& code);

}  // namespace orvano
