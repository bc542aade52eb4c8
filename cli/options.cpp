#include "cli/options.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <system_error>

#include "astro/json.h"
#include "astro/julian_time.h"
#include "astro/zone.h"
#include "platform/user_files.h"

namespace orvano::cli {

std::optional<std::string> Options::get(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::optional<long> Options::getInt(const std::string& name, long min, long max) const {
    auto text = get(name);
    if (!text) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0' || errno != 0 || value < min || value > max) {
        throw UsageError("option '--" + name + "' needs a whole number from " +
                         std::to_string(min) + " to " + std::to_string(max) + ", not '" + *text +
                         "'");
    }
    return value;
}

std::optional<double> Options::getDouble(const std::string& name) const {
    auto text = get(name);
    if (!text) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (text->empty() || *end != '\0' || errno != 0) {
        throw UsageError("option '--" + name + "' needs a number, not '" + *text + "'");
    }
    return value;
}

std::string DefaultConfigPath() {
    std::error_code error;
    const std::string program = std::filesystem::read_symlink("/proc/self/exe", error).string();
    const UserDataCfg config = PrepareUserDataCfg(InstalledFolderOfProgram(program) + "/data.cfg");
    if (!config.problem.empty()) std::fprintf(stderr, "orvano-cli: %s\n", config.problem.c_str());
    return config.path;
}

std::vector<std::string> MethodFolders() {
    std::error_code error;
    const std::string program = std::filesystem::read_symlink("/proc/self/exe", error).string();
    return MethodFoldersOf(InstalledFolderOfProgram(program));
}

std::string ConfigOption(const Options& options) {
    const auto given = options.get("config");
    return given ? *given : DefaultConfigPath();
}

std::string DefaultReadEchoPath() {
    return UserStateFolder() + "/read_echo.cfg";
}

std::string DefaultCalendarFolder() {
    std::string folder = UserDataFolder() + "/calendars";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

Observation LocalNow() {
    // One reading of the clock, so date and time never straddle midnight.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    Observation o;
    o.day = local.tm_mday;
    o.month = local.tm_mon + 1;
    o.year = local.tm_year + 1900;
    o.hour = local.tm_hour;
    o.minute = local.tm_min;
    o.second = local.tm_sec;
    return o;
}

Observation ZoneOrDesktopNow(const CurrentPlace& place) {
    if (place.FixedZone) {
        return FixedOffsetLocalTime(*place.FixedZone, std::chrono::system_clock::now());
    }
    if (const ZoneRef zone = PlaceZone(place)) {
        return ZoneLocalTime(zone, std::chrono::system_clock::now());
    }
    return LocalNow();
}

std::string ZoneNameInUse(const CurrentPlace& place) {
    return !place.FixedZone && PlaceZone(place) != nullptr ? place.Zone : std::string();
}

std::string PlaceLine(const CurrentPlace& place) {
    std::string line = PrintableText(place.Name) + ", " + PrintableText(place.Country);
    const std::string zone = ZoneNameInUse(place);
    if (!zone.empty()) line += " (" + zone + ")";
    return line;
}

void AddZone(JsonObject& json, const CurrentPlace& place) {
    const std::string zone = ZoneNameInUse(place);
    if (zone.empty()) {
        json.addRaw("zone", "null");
    } else {
        json.add("zone", zone);
    }
}

namespace {

// Reads exactly the given number of fields with their separators; nothing more.
bool ScanFields(const std::string& text, const char* format, int expected, int* a, int* b, int* c,
                int* d = nullptr, int* e = nullptr, int* f = nullptr) {
    int consumed = 0;
    std::string fmt = std::string(format) + "%n";
    int got = 0;
    switch (expected) {
        case 2:
            got = std::sscanf(text.c_str(), fmt.c_str(), a, b, &consumed);
            break;
        case 3:
            got = std::sscanf(text.c_str(), fmt.c_str(), a, b, c, &consumed);
            break;
        case 6:
            got = std::sscanf(text.c_str(), fmt.c_str(), a, b, c, d, e, f, &consumed);
            break;
        default:
            return false;
    }
    return got == expected && static_cast<size_t>(consumed) == text.size();
}

// A date that does not exist is refused, not carried into the next month; a
// year is written with its four digits, so that "24-01-01" is never the year 24.
void CheckDate(const std::string& option, const std::string& text, int year, int month, int day) {
    const bool fourDigits = text.size() > 4 && std::isdigit(static_cast<unsigned char>(text[0])) &&
                            std::isdigit(static_cast<unsigned char>(text[1])) &&
                            std::isdigit(static_cast<unsigned char>(text[2])) &&
                            std::isdigit(static_cast<unsigned char>(text[3])) && text[4] == '-';
    if (!fourDigits) {
        throw UsageError("option '--" + option + "' needs a four-digit year, not '" + text + "'");
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(month, year)) {
        throw UsageError("option '--" + option + "' has an impossible date '" + text + "'");
    }
}

}  // namespace

void ParseDate(const std::string& option, const std::string& text, Observation& o) {
    int y = 0, m = 0, d = 0;
    if (!ScanFields(text, "%4d-%2d-%2d", 3, &y, &m, &d)) {
        throw UsageError("option '--" + option + "' needs YYYY-MM-DD, not '" + text + "'");
    }
    CheckDate(option, text, y, m, d);
    o.year = y;
    o.month = m;
    o.day = d;
}

void ParseMonth(const std::string& option, const std::string& text, Observation& o) {
    int y = 0, m = 0, unused = 0;
    if (!ScanFields(text, "%4d-%2d", 2, &y, &m, &unused)) {
        throw UsageError("option '--" + option + "' needs YYYY-MM, not '" + text + "'");
    }
    CheckDate(option, text, y, m, 1);
    o.year = y;
    o.month = m;
    o.day = 1;
}

void ParseDateTime(const std::string& option, const std::string& text, Observation& o) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!ScanFields(text, "%4d-%2d-%2d %2d:%2d:%2d", 6, &y, &mo, &d, &h, &mi, &s)) {
        throw UsageError("option '--" + option + "' needs \"YYYY-MM-DD HH:MM:SS\", not '" + text +
                         "'");
    }
    CheckDate(option, text, y, mo, d);
    if (h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0) {
        throw UsageError("option '--" + option + "' has an impossible time '" + text + "'");
    }
    o = Observation{d, mo, y, h, mi, s};
}

}  // namespace orvano::cli
