#include "astro/civil_date.h"

#include <algorithm>
#include <sstream>
#include <string>

namespace orvano {

int DaysInMonth(int year, int month) {
    const date::year_month_day_last last{
        date::year{year}, date::month_day_last{date::month{static_cast<unsigned>(month)}}};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

long long DaysFromCivil(int year, int month, int day) {
    return date::sys_days{CivilDateOf(year, month, day)}.time_since_epoch().count();
}

void SetDate(Observation& o, CivilDate day) {
    o.year = static_cast<int>(day.year());
    o.month = static_cast<int>(static_cast<unsigned>(day.month()));
    o.day = static_cast<int>(static_cast<unsigned>(day.day()));
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value one field of `fields` holds after reading the field `letter` alone.
int FieldValue(char letter, const date::fields<std::chrono::seconds>& fields) {
    switch (letter) {
        case 'Y':
            return static_cast<int>(fields.ymd.year());
        case 'm':
            return static_cast<int>(static_cast<unsigned>(fields.ymd.month()));
        case 'd':
            return static_cast<int>(static_cast<unsigned>(fields.ymd.day()));
        default:
            return static_cast<int>(fields.tod.to_duration().count());
    }
}

void Store(CivilText& out, char letter, int value) {
    switch (letter) {
        case 'Y':
            out.year = value;
            break;
        case 'm':
            out.month = value;
            break;
        case 'd':
            out.day = value;
            break;
        case 'H':
            out.hour = value / 3600;
            break;
        case 'M':
            out.minute = value / 60;
            break;
        default:
            out.second = value;
    }
}

// The length of the n-th run of digits in the text: fields are separated, so
// the n-th field's digits.
std::size_t RunLength(std::string_view text, int n) {
    std::size_t length = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && IsDigit(text[i])) {
            ++length;
        } else if (length > 0) {
            if (n-- == 0) return length;
            length = 0;
        }
    }
    return 0;
}

CivilTextFault Check(const CivilText& t, bool fourDigitYear) {
    if (!fourDigitYear) return CivilTextFault::kShortYear;
    if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month)) {
        return CivilTextFault::kNoSuchDate;
    }
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return CivilTextFault::kNoSuchTime;
    return CivilTextFault::kNone;
}

}  // namespace

CivilText ParseCivilText(std::string_view text, std::string_view format) {
    CivilText out;
    const bool allowed = std::all_of(text.begin(), text.end(), [&](char c) {
        return IsDigit(c) || (c != '%' && format.find(c) != std::string_view::npos);
    });
    if (!allowed) return out;

    // Each field is read alone with the separators before it, so that its own
    // value is known even where the date library would fold it into another
    // (a minute of 60 into the next hour); a space stands for exactly one.
    std::istringstream in{std::string(text)};
    int field = 0;
    int yearField = -1;
    for (std::size_t start = 0; start < format.size();) {
        const std::size_t percent = std::min(format.find('%', start), format.size());
        const std::size_t end = std::min(percent + 2, format.size());
        std::string piece;
        for (const char c : format.substr(start, end - start)) {
            piece += c == ' ' ? std::string("%n") : std::string(1, c);
        }
        date::fields<std::chrono::seconds> fields;
        date::from_stream(in, piece.c_str(), fields);
        if (in.fail()) return out;
        if (percent + 1 < format.size()) {
            const char letter = format[percent + 1];
            Store(out, letter, FieldValue(letter, fields));
            if (letter == 'Y') yearField = field;
            ++field;
        }
        start = end;
    }
    if (in.peek() != std::char_traits<char>::eof()) return out;
    out.fault = Check(out, yearField < 0 || RunLength(text, yearField) >= 4);
    return out;
}

}  // namespace orvano
