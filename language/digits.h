// The digits a user reads in times and dates: the ASCII ones by default, or,
// when [Language] Digits asks for them, the digits of a language that has
// its own. Only what is shown goes through here; files, exports and traces
// that programs read keep ASCII digits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvano {

enum class DigitStyle { Latin, Arabic };

inline constexpr const char* kDigitsSettingsValue = "Digits";

// "latin" or "arabic", as the settings store them; nothing for another word.
std::optional<DigitStyle> ParseDigitStyle(std::string_view text);
const char* DigitStyleName(DigitStyle style);

// `text` with its ASCII digits written as `language` writes them under
// `style`: Arabic-Indic (U+0660..U+0669) for Arabic, Extended Arabic-Indic
// (U+06F0..U+06F9) for Persian and Urdu. Other languages, and Latin, keep
// the text as it is.
std::string ShownDigits(std::string_view text, std::string_view language, DigitStyle style);

}  // namespace orvano
