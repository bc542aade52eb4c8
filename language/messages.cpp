#include "language/messages.h"

#include <libintl.h>
#include <linux/limits.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

#include "language/languages.h"

// GNU gettext's count of catalogue changes: raising it makes gettext forget
// what it looked up, as its manual says to do after changing LANGUAGE.
extern "C" int _nl_msg_cat_cntr;  // NOLINT(bugprone-reserved-identifier)

namespace orvano {

namespace {

// LANGUAGE as the desktop gave it, before the program set its own.
const std::optional<std::string>& DesktopLanguageVariable() {
    static const std::optional<std::string> value = []() -> std::optional<std::string> {
        const char* given = std::getenv("LANGUAGE");
        if (given == nullptr) return std::nullopt;
        return std::string(given);
    }();
    return value;
}

std::mutex& LanguageLock() {
    static std::mutex lock;
    return lock;
}

std::string& Current() {
    static std::string code;
    return code;
}

bool IsCLocale(const char* name) {
    return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

std::string ProgramPrefix() {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<size_t>(length) >= path.size()) return ".";
    path.resize(static_cast<size_t>(length));
    // PREFIX/bin/program -> PREFIX
    for (int up = 0; up < 2; ++up) {
        const size_t slash = path.find_last_of('/');
        if (slash == std::string::npos) return ".";
        path.resize(slash);
    }
    return path.empty() ? "/" : path;
}

// The desktop's messages are the C locale's: no language asked for.
bool DesktopHasCLocale() {
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = std::getenv(name);
        if (locale != nullptr && *locale != '\0') break;
    }
    const bool cLocale = locale == nullptr || *locale == '\0' || IsCLocale(locale) ||
                         std::strncmp(locale, "C.", 2) == 0;
    return cLocale && DesktopLanguageVariable().value_or("").empty();
}

}  // namespace

std::string CatalogueFolder() {
    const char* folder = std::getenv("ORVANO_LOCALEDIR");
    if (folder != nullptr && *folder != '\0') return folder;
    return ProgramPrefix() + "/share/locale";
}

const char* DesktopEnvironment(const char* name) {
    if (std::strcmp(name, "LANGUAGE") != 0) return std::getenv(name);
    const auto& given = DesktopLanguageVariable();
    return given ? given->c_str() : nullptr;
}

void UseLanguage(const std::string& code) {
    const std::lock_guard<std::mutex> hold(LanguageLock());
    (void)DesktopLanguageVariable();
    std::string& current = Current();
    if (current == code) return;
    static const bool bound = [] {
        ::bindtextdomain(kTextDomain, CatalogueFolder().c_str());
        // Catalogues are UTF-8, and so is every text the program writes,
        // whatever the C library's character type says.
        ::bind_textdomain_codeset(kTextDomain, "UTF-8");
        return true;
    }();
    (void)bound;
    // gettext reads LANGUAGE at each look-up but ignores it under the C
    // locale, where the messages' category stays unless set; only that
    // category is touched, so character classes and number forms never follow
    // the language.
    if (IsCLocale(std::setlocale(LC_MESSAGES, nullptr))) std::setlocale(LC_MESSAGES, "C.UTF-8");
    // Under the C locale the C library's own messages (strerror's among them,
    // which reports and logs quote) stay as that locale has them, whatever
    // language the program speaks.
    if (DesktopHasCLocale()) ::bindtextdomain("libc", "/nonexistent");
    ::setenv("LANGUAGE", code.c_str(), 1);
    ++_nl_msg_cat_cntr;
    current = code;
}

const std::string& LanguageInUse() {
    return Current();
}

namespace {

// Until a program chooses, it speaks its default language.
void ChooseDefaultOnce() {
    if (Current().empty()) UseLanguage(kDefaultLanguage);
}

}  // namespace

const char* Tr(const char* text) {
    ChooseDefaultOnce();
    return ::dgettext(kTextDomain, text);
}

const char* Tr(const char* context, const char* text) {
    ChooseDefaultOnce();
    // gettext keeps a context before the text, separated by EOT.
    const std::string key = std::string(context) + '\004' + text;
    const char* found = ::dgettext(kTextDomain, key.c_str());
    return found == key.c_str() ? text : found;
}

}  // namespace orvano
