// The dates and times the options give, and the clock's when they give none.
#include <chrono>
#include <ctime>

#include "astro/civil_date.h"
#include "astro/zone.h"
#include "cli/options.h"

namespace orvano::cli {

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

namespace {

// Reads the text in `format` or says why not in the program's own words; a
// year is written with its four digits, so that "24-01-01" is never the year
// 24, and a date that does not exist is refused, not carried into the next
// month.
CivilText ReadOption(const std::string& option, const std::string& text, const char* format,
                     const char* shape) {
    const CivilText t = ParseCivilText(text, format);
    switch (t.fault) {
        case CivilTextFault::kNone:
            return t;
        case CivilTextFault::kShape:
            throw UsageError("option '--" + option + "' needs " + shape + ", not '" + text + "'");
        case CivilTextFault::kShortYear:
            throw UsageError("option '--" + option + "' needs a four-digit year, not '" + text +
                             "'");
        case CivilTextFault::kNoSuchDate:
            throw UsageError("option '--" + option + "' has an impossible date '" + text + "'");
        case CivilTextFault::kNoSuchTime:
            break;
    }
    throw UsageError("option '--" + option + "' has an impossible time '" + text + "'");
}

}  // namespace

void ParseDate(const std::string& option, const std::string& text, Observation& o) {
    SetDate(o, ReadOption(option, text, "%Y-%m-%d", "YYYY-MM-DD").date());
}

void ParseMonth(const std::string& option, const std::string& text, Observation& o) {
    SetDate(o, ReadOption(option, text, "%Y-%m", "YYYY-MM").date());
}

void ParseDateTime(const std::string& option, const std::string& text, Observation& o) {
    const CivilText t = ReadOption(option, text, "%Y-%m-%d %H:%M:%S", "\"YYYY-MM-DD HH:MM:SS\"");
    o = Observation{t.day, t.month, t.year, t.hour, t.minute, t.second};
}

}  // namespace orvano::cli
