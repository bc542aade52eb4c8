#include "astro/zone.h"

#include <date/tz.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "astro/civil_date.h"
#include "astro/trace.h"

namespace orvano {

namespace {

using std::chrono::seconds;

double Hours(seconds offset) {
    return static_cast<double>(offset.count()) / 3600.0;
}

date::local_seconds LocalTime(int day, int month, int year, long long localSeconds) {
    const date::local_days first{date::year{year} / date::month{static_cast<unsigned>(month)} /
                                 date::day{1}};
    return first + date::days{day - 1} + seconds{localSeconds};
}

date::sys_seconds YearStart(int year) {
    return date::sys_days{date::year{year} / date::January / date::day{1}};
}

// The lowest and highest offsets the zone takes within the year.
std::pair<seconds, seconds> OffsetRange(ZoneRef zone, int year) {
    const date::sys_seconds end = YearStart(year + 1);
    date::sys_seconds t = YearStart(year);
    date::sys_info info = zone->get_info(t);
    seconds low = info.offset, high = info.offset;
    // A year holds a handful of changes; the bound only guards the loop.
    for (int guard = 0; guard < 64 && info.end < end; ++guard) {
        t = info.end;
        info = zone->get_info(t);
        low = std::min(low, info.offset);
        high = std::max(high, info.offset);
    }
    return {low, high};
}

bool ZoneNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
           c == '_' || c == '+' || c == '-';
}

// Files of the zone folder that are no zone a town can be in.
bool ChoosableZone(std::string_view name) {
    return ZoneNameWellFormed(name) && name != "Factory" && name != "posixrules" &&
           name != "localtime" && !name.starts_with("posix/") && !name.starts_with("right/");
}

std::string KnownOrEmpty(const std::string& name) {
    return FindZone(name) != nullptr ? name : std::string();
}

std::string TrimmedFirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    if (!file || !std::getline(file, line)) return {};
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

}  // namespace

bool ZoneNameWellFormed(std::string_view name) {
    return !name.empty() && name.size() <= kMaxZoneNameBytes &&
           std::all_of(name.begin(), name.end(), ZoneNameChar);
}

ZoneRef FindZone(std::string_view name) {
    if (!ZoneNameWellFormed(name)) return nullptr;
    try {
        ZoneRef zone = date::locate_zone(name);
        // Loads the zone's file now, so that a file that cannot be read means
        // an unknown zone here rather than an exception later.
        (void)zone->get_info(YearStart(2000));
        return zone;
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::vector<std::string> ZoneNames() {
    std::vector<std::string> names;
    try {
        for (const date::time_zone& zone : date::get_tzdb().zones) {
            if (ChoosableZone(zone.name())) names.emplace_back(zone.name());
        }
    } catch (const std::exception&) {
        return {};
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

double ZoneOffsetAtLocal(ZoneRef zone, int day, int month, int year, long long localSeconds) {
    // In a gap `first` is the period before it, in a fold the earlier one.
    return Hours(zone->get_info(LocalTime(day, month, year, localSeconds)).first.offset);
}

double ZoneOffsetAtNoon(ZoneRef zone, int day, int month, int year) {
    return ZoneOffsetAtLocal(zone, day, month, year, 12LL * 3600);
}

double ZoneOffsetAtInstant(ZoneRef zone, std::chrono::system_clock::time_point instant) {
    return Hours(zone->get_info(std::chrono::floor<seconds>(instant)).offset);
}

double ZoneStandardOffset(ZoneRef zone, int year) {
    return Hours(OffsetRange(zone, year).first);
}

bool ZoneHasSummerTime(ZoneRef zone, int year) {
    const auto [low, high] = OffsetRange(zone, year);
    return high > low;
}

ZoneIntegers ZoneIntegersOf(ZoneRef zone, int year) {
    const auto [low, high] = OffsetRange(zone, year);
    // Seconds divided as integers truncate toward zero: -3:30 gives -3.
    return ZoneIntegers{static_cast<int>(low.count() / 3600), high > low ? 1 : 0};
}

namespace {

Observation CivilTime(date::local_seconds local) {
    const date::local_days day = std::chrono::floor<date::days>(local);
    const date::year_month_day ymd{day};
    const date::hh_mm_ss<seconds> clock{local - day};
    Observation o;
    SetDate(o, ymd);
    o.hour = static_cast<int>(clock.hours().count());
    o.minute = static_cast<int>(clock.minutes().count());
    o.second = static_cast<int>(clock.seconds().count());
    return o;
}

}  // namespace

Observation ZoneLocalTime(ZoneRef zone, std::chrono::system_clock::time_point instant) {
    return CivilTime(zone->to_local(std::chrono::floor<seconds>(instant)));
}

Observation FixedOffsetLocalTime(double hours, std::chrono::system_clock::time_point instant) {
    const seconds offset{std::llround(hours * 3600)};
    const auto utc = std::chrono::floor<seconds>(instant);
    return CivilTime(date::local_seconds{utc.time_since_epoch() + offset});
}

std::chrono::system_clock::time_point ZoneInstant(ZoneRef zone, const Observation& local) {
    const long long clock = local.hour * 3600LL + local.minute * 60LL + local.second;
    const date::local_seconds t = LocalTime(local.day, local.month, local.year, clock);
    const seconds offset = zone->get_info(t).first.offset;
    return date::sys_seconds{t.time_since_epoch() - offset};
}

Observation DesktopTimeInZone(const Observation& desktop, ZoneRef zone) {
    std::tm local{};
    local.tm_year = desktop.year - 1900;
    local.tm_mon = desktop.month - 1;
    local.tm_mday = desktop.day;
    local.tm_hour = desktop.hour;
    local.tm_min = desktop.minute;
    local.tm_sec = desktop.second;
    local.tm_isdst = -1;
    return ZoneLocalTime(zone, std::chrono::system_clock::from_time_t(std::mktime(&local)));
}

Observation ZoneTimeOnDesktop(const Observation& local, ZoneRef zone) {
    const std::time_t instant = std::chrono::system_clock::to_time_t(ZoneInstant(zone, local));
    std::tm desktop{};
    localtime_r(&instant, &desktop);
    // A leap second is shown as the minute's last second.
    return Observation{desktop.tm_mday, desktop.tm_mon + 1, desktop.tm_year + 1900,
                       desktop.tm_hour, desktop.tm_min,     std::min(desktop.tm_sec, 59)};
}

namespace {

// The zone a zone file's path names: what follows "zoneinfo/" in the path as
// given, or in the path its links lead to ("posix/" files are the same zones).
std::string ZoneOfPath(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    for (const std::filesystem::path& p : {path, resolved}) {
        const std::string text = p.string();
        const std::string marker = "zoneinfo/";
        const auto at = text.rfind(marker);
        if (at == std::string::npos) continue;
        std::string name = text.substr(at + marker.size());
        if (name.starts_with("posix/")) name.erase(0, 6);
        if (!(name = KnownOrEmpty(name)).empty()) return name;
    }
    return {};
}

// Whether the database zone keeps the C library's offsets through the whole year.
bool SameOffsetsAsLibrary(ZoneRef zone, int year) {
    const date::sys_seconds noon = YearStart(year) + std::chrono::hours{12};
    for (int day = 0; day < 366; ++day) {
        const date::sys_seconds t = noon + date::days{day};
        const std::time_t instant = std::chrono::system_clock::to_time_t(t);
        std::tm local{};
        if (localtime_r(&instant, &local) == nullptr ||
            zone->get_info(t).offset != seconds{local.tm_gmtoff})
            return false;
    }
    return true;
}

// A database zone with the offsets the C library gives a POSIX rule in TZ
// ("CET-1CEST,M3.5.0,M10.5.0/3", "<+14>-14") this year: the system's own zone
// when it agrees, else Etc/UTC, else the first such zone by name; empty when
// none does.
std::string ZoneOfRule(const std::string& systemZone) {
    tzset();
    const int year = static_cast<int>(
        date::year_month_day(std::chrono::floor<date::days>(std::chrono::system_clock::now()))
            .year());
    // A TZ the C library cannot read is UTC to it.
    for (const std::string& name : {systemZone, std::string("Etc/UTC")}) {
        if (const ZoneRef zone = FindZone(name); zone && SameOffsetsAsLibrary(zone, year))
            return name;
    }
    for (const std::string& name : ZoneNames()) {
        if (SameOffsetsAsLibrary(FindZone(name), year)) return name;
    }
    return {};
}

std::string SystemZoneName(const std::string& localtimePath, const std::string& timezonePath) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(localtimePath, error);
    if (!error) {
        std::string name = ZoneOfPath(target);
        if (!name.empty()) return name;
    }
    return KnownOrEmpty(TrimmedFirstLine(timezonePath));
}

}  // namespace

std::string DesktopZoneName(const char* tzVariable, const std::string& localtimePath,
                            const std::string& timezonePath) {
    std::string system = SystemZoneName(localtimePath, timezonePath);
    if (tzVariable == nullptr) return system;
    std::string_view tz = tzVariable;
    // The C library reads an empty TZ as UTC.
    if (tz.empty()) return "Etc/UTC";
    if (tz.starts_with(':')) tz.remove_prefix(1);
    if (FindZone(tz) != nullptr) return std::string(tz);
    if (tz.starts_with('/')) return ZoneOfPath(std::filesystem::path(tz));
    // A rule is read as the C library reads it, which it does only for the
    // process's own TZ.
    const char* processTz = std::getenv("TZ");
    if (processTz == nullptr || std::string_view(processTz) != tzVariable) return {};
    return ZoneOfRule(system);
}

std::string DesktopZoneName() {
    return DesktopZoneName(std::getenv("TZ"), "/etc/localtime", "/etc/timezone");
}

std::string ZoneHoursText(double hours) {
    const double whole = std::trunc(hours);
    if (whole == hours && std::fabs(hours) < 1e9)
        return Format("%lld", static_cast<long long>(whole));
    return Format("%g", hours);
}

}  // namespace orvano
