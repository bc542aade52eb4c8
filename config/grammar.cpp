#include "config/grammar.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "astro/constants.h"
#include "astro/trace.h"
#include "astro/zone.h"
#include "config/methods.h"
#include "config/text_encoding.h"

namespace orvano {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

void CfgScanner::SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
}

CfgScanner::Scan CfgScanner::ReadInt(int& value) {
    SkipSpace();
    if (AtEnd()) return Scan::End;
    bool negative = false;
    if (text_[pos_] == '+' || text_[pos_] == '-') {
        negative = text_[pos_] == '-';
        ++pos_;
    }
    if (AtEnd() || !IsDigit(text_[pos_])) return Scan::Bad;
    int64_t magnitude = 0;
    bool tooLarge = false;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) {
        if (!tooLarge) {
            magnitude = magnitude * 10 + (text_[pos_] - '0');
            if (magnitude > int64_t{1} << 31) tooLarge = true;
        }
        ++pos_;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (tooLarge || signedValue > INT32_MAX || signedValue < INT32_MIN) return Scan::Bad;
    value = static_cast<int>(signedValue);
    return Scan::Ok;
}

CfgScanner::Scan CfgScanner::ReadDouble(double& value) {
    SkipSpace();
    if (AtEnd()) return Scan::End;
    // from_chars takes no '+', formatted input does.
    if (text_[pos_] == '+') {
        ++pos_;
        if (AtEnd() || text_[pos_] == '-' || text_[pos_] == '+') return Scan::Bad;
    }
    const char* first = text_.data() + pos_;
    const char* last = text_.data() + text_.size();
    double parsed = 0.0;
    auto [ptr, ec] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (ptr == first) return Scan::Bad;
    if (ec == std::errc::result_out_of_range) {
        // Subnormal values are still numbers; only what no double can hold is refused.
        long double wide = 0.0L;
        auto [widePtr, wideEc] = std::from_chars(first, last, wide, std::chars_format::general);
        if (wideEc != std::errc() || widePtr != ptr || !(std::fabs(wide) <= LDBL_MAX) ||
            std::fabs(wide) > static_cast<long double>(DBL_MAX)) {
            return Scan::Bad;
        }
        parsed = static_cast<double>(wide);
    } else if (ec != std::errc()) {
        return Scan::Bad;
    }
    if (!std::isfinite(parsed)) return Scan::Bad;
    pos_ = static_cast<size_t>(ptr - text_.data());
    value = parsed;
    return Scan::Ok;
}

CfgScanner::Scan CfgScanner::ReadWord(std::string& word) {
    SkipSpace();
    if (AtEnd()) return Scan::End;
    const size_t start = pos_;
    while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
    word = std::string(CutToChars(text_.substr(start, pos_ - start), kMaxTextChars));
    return Scan::Ok;
}

std::string CfgScanner::ReadRestOfLine() {
    const size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    std::string_view line = text_.substr(start, pos_ - start);
    if (pos_ < text_.size()) ++pos_;  // the line end
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return std::string(CutToChars(line, kMaxLineRestChars));
}

namespace {

using Scan = CfgScanner::Scan;

bool Int(CfgScanner& s, int& v) {
    return s.ReadInt(v) == Scan::Ok;
}
bool Real(CfgScanner& s, double& v) {
    return s.ReadDouble(v) == Scan::Ok;
}
bool Word(CfgScanner& s, std::string& v) {
    return s.ReadWord(v) == Scan::Ok;
}

bool ConventionIndex(CfgScanner& s, int& index) {
    return Int(s, index) && ValidConventionIndex(index);
}

bool Within(double v, double low, double high) {
    return v >= low && v <= high;
}

// Values that cannot mean anything are refused as a bad format, so that no
// later computation or text form works on them.
bool TownInRange(const Town& t) {
    return Within(t.latitude, -90, 90) && Within(t.longitude, -180, 180) &&
           Within(t.TimeZone, kMinTimeZone, kMaxTimeZone) && ValidConventionIndex(t.Convention);
}

bool ParamsInRange(const ConventionParamsRecord& p) {
    return Within(p.FajrTwilightAngle, -90, 90) && Within(p.IshaTwilightAngle, -90, 90) &&
           Within(p.SunriseSetAngle, -90, 90) &&
           Within(p.IshaPlusMinutes, -kMaxAddedMinutes, kMaxAddedMinutes) &&
           Within(p.ZuhrHour, 0, 24);
}

std::string QuotedName(std::string_view rest) {
    const size_t open = rest.find('"');
    if (open == std::string_view::npos) return {};
    const size_t close = rest.find('"', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(CutToChars(rest.substr(open + 1, close - open - 1), kMaxTextChars));
}

bool ReadFields(CfgScanner& s, Record& r) {
    switch (r.kind) {
        case 1:
            r.type = Record::Type::Header;
            return Int(s, r.NumberOfTowns) && Int(s, r.TownSelected) && Int(s, r.Verbose);
        case 2:
            r.type = Record::Type::Town;
            return Word(s, r.town.Country) && Word(s, r.town.Name) && Real(s, r.town.latitude) &&
                   Real(s, r.town.longitude) && Int(s, r.town.TimeZone) && Int(s, r.town.DST) &&
                   Int(s, r.town.Convention) && TownInRange(r.town);
        case 3: {
            r.type = Record::Type::ConventionParams;
            ConventionParamsRecord& p = r.params;
            if (!ConventionIndex(s, p.index)) return false;
            r.conventionIndex = p.index;
            return Int(s, p.AsrShafii) && Real(s, p.FajrTwilightAngle) &&
                   Real(s, p.IshaTwilightAngle) && Real(s, p.SunriseSetAngle) &&
                   Int(s, p.Isha_is_Maghrib_plus) && Int(s, p.IshaPlusMinutes) &&
                   Int(s, p.ZuhrFixe) && Real(s, p.ZuhrHour) && ParamsInRange(p);
        }
        case 4:
            r.type = Record::Type::AddedMinutes;
            if (!ConventionIndex(s, r.conventionIndex)) return false;
            for (double& m : r.addedMinutes) {
                if (!Real(s, m) || !Within(m, -kMaxAddedMinutes, kMaxAddedMinutes)) return false;
            }
            return true;
        case 5:
            r.type = Record::Type::ConventionName;
            if (!ConventionIndex(s, r.conventionIndex)) return false;
            r.rest = s.ReadRestOfLine();
            r.name = QuotedName(r.rest);
            return true;
        case 8:
            r.type = Record::Type::Comment;
            r.rest = s.ReadRestOfLine();
            return true;
        default:
            return false;
    }
}

}  // namespace

Record ReadRecord(CfgScanner& scanner) {
    Record record;
    switch (scanner.ReadInt(record.kind)) {
        case Scan::End:
            record.type = Record::Type::End;
            return record;
        case Scan::Bad:
            record.type = Record::Type::BadFormat;
            return record;
        case Scan::Ok:
            break;
    }
    record.kindRead = true;
    if (!ReadFields(scanner, record)) record.type = Record::Type::BadFormat;
    return record;
}

namespace {

// The value of a "<word> <value>" comment record, blanks around it dropped;
// empty when the rest of the line is not of that form.
std::string_view RecordValue(std::string_view rest, std::string_view word) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    auto skipBlanks = [&] {
        while (!rest.empty() && blank(rest.front())) rest.remove_prefix(1);
    };
    skipBlanks();
    if (!rest.starts_with(word)) return {};
    rest.remove_prefix(word.size());
    if (rest.empty() || !blank(rest.front())) return {};
    skipBlanks();
    while (!rest.empty() && blank(rest.back())) rest.remove_suffix(1);
    return rest;
}

}  // namespace

std::string ZoneRecordName(std::string_view rest) {
    const std::string_view name = RecordValue(rest, "zone");
    return ZoneNameWellFormed(name) ? std::string(name) : std::string();
}

std::string ZoneLine(const Town& town) {
    return ZoneNameWellFormed(town.Zone) ? "8 zone " + town.Zone + "\n" : std::string();
}

std::string MethodRecordId(std::string_view rest) {
    const std::string_view id = RecordValue(rest, "method");
    return MethodIdWellFormed(id) ? std::string(id) : std::string();
}

std::string MethodLine(const Town& town) {
    return MethodIdWellFormed(town.Method) ? "8 method " + town.Method + "\n" : std::string();
}

bool ApplyTownRecord(std::string_view rest, std::string& zone, std::string& method,
                     TownRecordsSeen& seen) {
    if (std::string name = ZoneRecordName(rest); !name.empty() && !seen.zone) {
        zone = std::move(name);
        seen.zone = true;
        return true;
    }
    if (std::string id = MethodRecordId(rest); !id.empty() && !seen.method) {
        method = std::move(id);
        seen.method = true;
        return true;
    }
    return false;
}

void ApplyConventionParams(const ConventionParamsRecord& r, Convention& c) {
    c.AsrShafii = r.AsrShafii == 1;
    c.FajrTwilightAngle = r.FajrTwilightAngle;
    c.IshaTwilightAngle = r.IshaTwilightAngle;
    c.SunriseSetAngle = r.SunriseSetAngle;
    c.Isha_is_Maghrib_plus = r.Isha_is_Maghrib_plus == 1;
    c.IshaPlusMinutes = r.IshaPlusMinutes;
    c.ZuhrFixe = r.ZuhrFixe == 1;
    c.ZuhrHour = r.ZuhrHour;
}

void FillCurrentPlace(const Town& town, CurrentPlace& place) {
    place.Name = town.Name;
    place.Country = town.Country;
    place.latitude = Degrees{town.latitude};
    place.longitude = Degrees{town.longitude};
    place.TimeZone = town.TimeZone;
    place.DST = town.DST;
    place.Convention = town.Convention;
    place.Zone = town.Zone;
    place.Method = town.Method;
}

std::string IntText(int value) {
    return Format("%d", value);
}

std::string GeneralText(double value) {
    return Format("%g", value);
}

std::string FixedText(double value, int decimals) {
    return Format("%.*f", decimals, value);
}

std::string PadRight(std::string text, size_t width) {
    const size_t chars = CharCount(text);
    if (chars < width) text.append(width - chars, ' ');
    return text;
}

std::string HeaderFields(int numberOfTowns, int townSelected, int verbose) {
    // "%-13d  %-12d  %-7d\n"
    return PadRight(IntText(numberOfTowns), 13) + "  " + PadRight(IntText(townSelected), 12) +
           "  " + PadRight(IntText(verbose), 7) + "\n";
}

std::string TownFields(const Town& t) {
    // "%-15s  %-15s  %-10lf  %-10lf  %-7d  %-2d  %-2d\n"
    return PadRight(t.Country, 15) + "  " + PadRight(t.Name, 15) + "  " +
           PadRight(FixedText(t.latitude, 6), 10) + "  " + PadRight(FixedText(t.longitude, 6), 10) +
           "  " + PadRight(IntText(t.TimeZone), 7) + "  " + PadRight(IntText(t.DST), 2) + "  " +
           PadRight(IntText(t.Convention), 2) + "\n";
}

std::string ConventionParamsFields(const ConventionParamsRecord& p) {
    // "%-9d  %-14d  %-16g  %-16g  %-15g  %-19d  %-4d  %-7d  %-15.7f\n"
    return PadRight(IntText(p.index), 9) + "  " + PadRight(IntText(p.AsrShafii), 14) + "  " +
           PadRight(GeneralText(p.FajrTwilightAngle), 16) + "  " +
           PadRight(GeneralText(p.IshaTwilightAngle), 16) + "  " +
           PadRight(GeneralText(p.SunriseSetAngle), 15) + "  " +
           PadRight(IntText(p.Isha_is_Maghrib_plus), 19) + "  " +
           PadRight(IntText(p.IshaPlusMinutes), 4) + "  " + PadRight(IntText(p.ZuhrFixe), 7) +
           "  " + PadRight(FixedText(p.ZuhrHour, 7), 15) + "\n";
}

std::string AddedMinutesFields(int index, const std::array<double, kPrayerCount>& minutes) {
    // "%-9d  %-7g  %-7g  %-7g  %-7g  %-7g  %-7g\n"
    std::string line = PadRight(IntText(index), 9);
    for (const double m : minutes) line += "  " + PadRight(GeneralText(m), 7);
    return line + "\n";
}

std::string ConventionNameFields(int index, std::string_view name) {
    // "%-9d \"%s\"\n"
    return PadRight(IntText(index), 9) + " \"" + std::string(name) + "\"\n";
}

}  // namespace orvano
