// The dates and times the options give, and the clock's when they give none.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <initializer_list>
#include <string_view>

#include "astro/julian_time.h"
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

void SetDate(date::year_month_day day, Observation& o) {
    o.year = static_cast<int>(day.year());
    o.month = static_cast<int>(static_cast<unsigned>(day.month()));
    o.day = static_cast<int>(static_cast<unsigned>(day.day()));
}

namespace {

// Reads the fields of `shape` ("YYYY-MM-DD"): each run of one letter is a
// field of one to that many decimal digits, and every other character stands
// for itself, so no sign, space or base prefix gets in. False unless the whole
// text is read into exactly the given fields.
bool ScanFields(std::string_view text, std::string_view shape, std::initializer_list<int*> fields) {
    auto field = fields.begin();
    while (!shape.empty()) {
        const char c = shape.front();
        if (std::isalpha(static_cast<unsigned char>(c)) == 0) {
            if (!text.starts_with(c)) return false;
            text.remove_prefix(1);
            shape.remove_prefix(1);
            continue;
        }
        const size_t width = std::min(shape.find_first_not_of(c), shape.size());
        shape.remove_prefix(width);
        int value = 0;
        size_t digits = 0;
        for (; digits < width && !text.empty() && text.front() >= '0' && text.front() <= '9';
             ++digits) {
            value = value * 10 + (text.front() - '0');
            text.remove_prefix(1);
        }
        if (digits == 0 || field == fields.end()) return false;
        **field++ = value;
    }
    return text.empty() && field == fields.end();
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
    if (!ScanFields(text, "YYYY-MM-DD", {&y, &m, &d})) {
        throw UsageError("option '--" + option + "' needs YYYY-MM-DD, not '" + text + "'");
    }
    CheckDate(option, text, y, m, d);
    o.year = y;
    o.month = m;
    o.day = d;
}

void ParseMonth(const std::string& option, const std::string& text, Observation& o) {
    int y = 0, m = 0;
    if (!ScanFields(text, "YYYY-MM", {&y, &m})) {
        throw UsageError("option '--" + option + "' needs YYYY-MM, not '" + text + "'");
    }
    CheckDate(option, text, y, m, 1);
    o.year = y;
    o.month = m;
    o.day = 1;
}

void ParseDateTime(const std::string& option, const std::string& text, Observation& o) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!ScanFields(text, "YYYY-MM-DD hh:mm:ss", {&y, &mo, &d, &h, &mi, &s})) {
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
