// The texts a user reads, looked up in the message catalogue of the language
// in use. Source texts are English; a text no catalogue holds is shown as
// written.
#pragma once

#include <string>

namespace orvano {

inline constexpr const char* kTextDomain = "orvano";

// Every later message comes from `code`'s catalogue ("en", or a code with no
// catalogue: the source texts). Cheap when `code` is already in use.
void UseLanguage(const std::string& code);
const std::string& LanguageInUse();

// A language used for a while, then the one in use before.
class ScopedLanguage {
  public:
    explicit ScopedLanguage(const std::string& code) : previous_(LanguageInUse()) {
        UseLanguage(code);
    }
    ~ScopedLanguage() { UseLanguage(previous_); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

  private:
    std::string previous_;
};

// `text` in the language in use (French until a language is chosen).
const char* Tr(const char* text) __attribute__((format_arg(1)));
// The same for a text whose translation depends on where it stands.
const char* Tr(const char* context, const char* text) __attribute__((format_arg(2)));

// Marks a text for the catalogues where it is stored, to be looked up with Tr
// where it is shown.
constexpr const char* N_(const char* text) {
    return text;
}
// The same for a text looked up with Tr(context, text).
constexpr const char* NC_(const char* /*context*/, const char* text) {
    return text;
}

// The process's environment as the desktop gave it: LANGUAGE is the one the
// program started with, whatever UseLanguage set since.
const char* DesktopEnvironment(const char* name);

// The folder holding LANG/LC_MESSAGES/orvano.mo: $ORVANO_LOCALEDIR when set,
// else PREFIX/share/locale beside the running program's PREFIX/bin.
std::string CatalogueFolder();

}  // namespace orvano
