// The civil calendar: one date type, one days-in-month, one days-from-civil
// and one reader of dates and clock times in text, all on the date library
// that already gives the zones.
#pragma once

#include <date/date.h>

#include <string_view>

#include "astro/records.h"

namespace orvano {

using CivilDate = date::year_month_day;

// Days of a month in the Gregorian calendar (February 2100 has 28).
int DaysInMonth(int year, int month);

// Days from 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(int year, int month, int day);

inline CivilDate CivilDateOf(int year, int month, int day) {
    return date::year{year} / date::month{static_cast<unsigned>(month)} /
           date::day{static_cast<unsigned>(day)};
}

// The date `days` days after (before, when negative) `day`.
inline CivilDate AddDays(CivilDate day, long long days) {
    return date::sys_days{day} + date::days{days};
}

// The date an observation's fields hold, and the fields set from a date (the
// clock time stays).
inline CivilDate DateOf(const Observation& o) {
    return CivilDateOf(o.year, o.month, o.day);
}
void SetDate(Observation& o, CivilDate day);

// Why a text is not a date or a clock time, in the order the checks are made.
enum class CivilTextFault {
    kNone,
    kShape,       // not the format's digits and separators
    kShortYear,   // the year is written with fewer than four digits
    kNoSuchDate,  // year outside 1..9999, month outside 1..12, day beyond the month
    kNoSuchTime,  // hour above 23, minute or second above 59
};

// The fields read, as numbers even when they name no date, so that a caller
// can word its own message about them.
struct CivilText {
    int year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    CivilTextFault fault = CivilTextFault::kShape;

    CivilDate date() const { return CivilDateOf(year, month, day); }
};

// Reads the whole text in a format of numeric fields (%Y, %m, %d, %H, %M, %S,
// at most one of each) and literal separators, such as "%Y-%m-%d %H:%M:%S" or
// "%d/%m/%Y". Only decimal digits and the separators may appear: no sign,
// space or base prefix gets into a field. A year takes one to four digits,
// the other fields one or two.
CivilText ParseCivilText(std::string_view text, std::string_view format);

}  // namespace orvano
