#include "language/digits.h"

namespace orvano {

namespace {

// The UTF-8 of a language's zero, whose nine successors follow it in
// Unicode: two bytes, the second of which counts up.
struct Zero {
    char lead;
    char trail;
};

std::optional<Zero> ZeroOf(std::string_view language) {
    if (language == "ar") return Zero{'\xD9', '\xA0'};                      // U+0660
    if (language == "fa" || language == "ur") return Zero{'\xDB', '\xB0'};  // U+06F0
    return std::nullopt;
}

}  // namespace

std::optional<DigitStyle> ParseDigitStyle(std::string_view text) {
    // A hand-edited "Arabic" means what "arabic" does; the case is folded in
    // ASCII only, whatever the locale.
    std::string word(text);
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (word == "latin") return DigitStyle::Latin;
    if (word == "arabic") return DigitStyle::Arabic;
    return std::nullopt;
}

const char* DigitStyleName(DigitStyle style) {
    return style == DigitStyle::Arabic ? "arabic" : "latin";
}

std::string ShownDigits(std::string_view text, std::string_view language, DigitStyle style) {
    const std::optional<Zero> zero = style == DigitStyle::Arabic ? ZeroOf(language) : std::nullopt;
    if (!zero) return std::string(text);
    std::string shown;
    shown.reserve(text.size() * 2);
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            shown += zero->lead;
            shown += static_cast<char>(zero->trail + (c - '0'));
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace orvano
