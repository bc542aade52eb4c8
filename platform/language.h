// The interface language. The settings store keeps it as the number "Lang":
// 1 English, 2 French; any other number shows English.
#pragma once

#include <cstdint>

namespace orvano {

enum class Language : std::uint32_t { English = 1, French = 2 };

constexpr Language LanguageOf(std::uint32_t lang) {
    return lang == static_cast<std::uint32_t>(Language::French) ? Language::French
                                                                : Language::English;
}

constexpr std::uint32_t LangValue(Language language) {
    return static_cast<std::uint32_t>(language);
}

}  // namespace orvano
