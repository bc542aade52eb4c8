#include "language/languages.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace orvano {

namespace {

constexpr std::array<LanguageName, 9> kLanguages = {{
    {"en", "English"},
    {"fr", "Français"},
    {"tr", "Türkçe"},
    {"id", "Bahasa Indonesia"},
    {"ms", "Bahasa Melayu"},
    {"bn", "বাংলা"},
    {"ar", "العربية"},
    {"ur", "اردو"},
    {"fa", "فارسی"},
}};

// "tr" from "tr_TR.UTF-8@euro", "pt-BR" or "tr"; case folded in ASCII only.
std::string LanguagePart(std::string_view locale) {
    const size_t end = locale.find_first_of("_-.@");
    std::string code(locale.substr(0, end));
    for (char& c : code) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return code;
}

const char* FirstSet(const Environment& environment, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = environment(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return nullptr;
}

}  // namespace

std::span<const LanguageName> Languages() {
    return kLanguages;
}

bool IsRightToLeft(std::string_view code) {
    return code == "ar" || code == "ur" || code == "fa";
}

bool IsSpokenLanguage(const std::string& code) {
    return std::any_of(kLanguages.begin(), kLanguages.end(),
                       [&](const LanguageName& l) { return code == l.code; });
}

std::optional<std::string> DesktopLanguage(const Environment& environment) {
    const char* locale = FirstSet(environment, {"LC_ALL", "LC_MESSAGES", "LANG"});
    if (locale == nullptr) return std::nullopt;
    const std::string_view name(locale);
    if (name == "C" || name == "POSIX") return std::nullopt;
    if (const char* list = FirstSet(environment, {"LANGUAGE"})) {
        std::string_view rest(list);
        while (!rest.empty()) {
            const size_t colon = rest.find(':');
            const std::string code = LanguagePart(rest.substr(0, colon));
            if (IsSpokenLanguage(code)) return code;
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    const std::string code = LanguagePart(name);
    if (IsSpokenLanguage(code)) return code;
    return std::nullopt;
}

LanguageChoice ChooseLanguage(const SavedLanguage& saved, const Environment& environment) {
    if (saved.code && IsSpokenLanguage(*saved.code)) return {*saved.code, LanguageSource::Saved};
    if (saved.lang && *saved.lang != 0) {
        return {*saved.lang == LangNumberOf("fr") ? "fr" : "en", LanguageSource::Saved};
    }
    if (auto desktop = DesktopLanguage(environment)) return {*desktop, LanguageSource::Desktop};
    return {kDefaultLanguage, LanguageSource::Default};
}

std::optional<std::string> LanguageArgument(const std::string& text) {
    if (text == "1") return "en";
    if (text == "2") return "fr";
    if (IsSpokenLanguage(text)) return text;
    return std::nullopt;
}

std::uint32_t LangNumberOf(const std::string& code) {
    if (code == "en") return 1;
    if (code == "fr") return 2;
    return 0;
}

}  // namespace orvano
