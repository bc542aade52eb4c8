#include "language/languages.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "language/messages.h"

namespace orvano {
namespace {

// An environment of exactly these variables.
Environment Only(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> const char* {
        const auto at = variables.find(name);
        return at == variables.end() ? nullptr : at->second.c_str();
    };
}

// gettext's order: LANGUAGE's list first, but only when the locale is not C;
// then the first set of LC_ALL, LC_MESSAGES and LANG.
TEST(DesktopLanguage, FollowsTheLocaleVariablesInGettextsOrder) {
    const struct {
        std::map<std::string, std::string> environment;
        std::optional<std::string> language;
    } cases[] = {
        {{{"LANG", "tr_TR.UTF-8"}}, "tr"},
        {{{"LANG", "id_ID"}}, "id"},
        {{{"LANG", "ms_MY.UTF-8@latin"}}, "ms"},
        {{{"LANG", "bn_BD.UTF-8"}}, "bn"},
        {{{"LANG", "de_DE.UTF-8"}}, std::nullopt},
        {{{"LANG", "C"}}, std::nullopt},
        {{{"LANG", "POSIX"}}, std::nullopt},
        {{}, std::nullopt},
        {{{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "tr_TR.UTF-8"}}, "tr"},
        {{{"LANG", "tr_TR.UTF-8"}, {"LC_ALL", "en_GB.UTF-8"}, {"LC_MESSAGES", "fr_FR"}}, "en"},
        // LANGUAGE's first spoken language wins over the locale's...
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "de:ms:tr"}}, "ms"},
        // ...and none spoken leaves the locale's.
        {{{"LANG", "id_ID.UTF-8"}, {"LANGUAGE", "de:nl"}}, "id"},
        // Under the C locale gettext ignores LANGUAGE.
        {{{"LANG", "C"}, {"LANGUAGE", "tr"}}, std::nullopt},
        {{{"LC_ALL", "POSIX"}, {"LANG", "tr_TR.UTF-8"}}, std::nullopt},
        // An empty variable counts as unset.
        {{{"LC_ALL", ""}, {"LANG", "TR_tr"}}, "tr"},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& [name, value] : c.environment) shown += name + "=" + value + " ";
        EXPECT_EQ(DesktopLanguage(Only(c.environment)), c.language) << shown;
    }
}

TEST(ChooseLanguage, SavedCodeThenLangThenDesktopThenFrench) {
    const Environment turkish = Only({{"LANG", "tr_TR.UTF-8"}});
    const Environment plain = Only({{"LANG", "C"}});
    const struct {
        SavedLanguage saved;
        const Environment& environment;
        const char* code;
        LanguageSource source;
    } cases[] = {
        {{"bn", 2}, turkish, "bn", LanguageSource::Saved},
        {{"xx", 2}, turkish, "fr", LanguageSource::Saved},
        {{std::nullopt, 1}, turkish, "en", LanguageSource::Saved},
        {{std::nullopt, 2}, turkish, "fr", LanguageSource::Saved},
        // Any other non-zero number has always shown English.
        {{std::nullopt, 7}, turkish, "en", LanguageSource::Saved},
        {{std::nullopt, 0}, turkish, "tr", LanguageSource::Desktop},
        {{}, turkish, "tr", LanguageSource::Desktop},
        {{}, plain, "fr", LanguageSource::Default},
    };
    for (const auto& c : cases) {
        const LanguageChoice choice = ChooseLanguage(c.saved, c.environment);
        EXPECT_EQ(choice.code, c.code)
            << c.saved.code.value_or("-") << " " << c.saved.lang.value_or(0);
        EXPECT_EQ(choice.source, c.source) << c.code;
    }
}

TEST(LanguageArgument, TakesLangNumbersAndCodes) {
    EXPECT_EQ(LanguageArgument("1"), "en");
    EXPECT_EQ(LanguageArgument("2"), "fr");
    for (const LanguageName& language : Languages()) {
        EXPECT_EQ(LanguageArgument(language.code), language.code);
    }
    for (const char* refused : {"3", "0", "", "TR", "tr_TR", "de", "fr "}) {
        EXPECT_EQ(LanguageArgument(refused), std::nullopt) << refused;
    }
}

// Each catalogue as built answers in its language; "en" and a language with
// no catalogue show the source texts.
TEST(Messages, EachLanguageSpeaksFromItsCatalogue) {
    const struct {
        const char* code;
        const char* home;
        const char* fajr;
    } cases[] = {
        {"en", "Home", "Fajr"},     {"fr", "Accueil", "Fajr"}, {"tr", "Ana sayfa", "İmsak"},
        {"id", "Beranda", "Subuh"}, {"ms", "Utama", "Subuh"},  {"bn", "হোম", "ফজর"},
        {"ar", "الرئيسية", "فجر"},  {"ur", "سرورق", "فجر"},    {"fa", "خانه", "صبح"},
        {"xx", "Home", "Fajr"},
    };
    for (const auto& c : cases) {
        const ScopedLanguage language(c.code);
        EXPECT_STREQ(Tr("Home"), c.home) << c.code;
        EXPECT_STREQ(Tr("prayer", "Fajr"), c.fajr) << c.code;
    }
}

}  // namespace
}  // namespace orvano
