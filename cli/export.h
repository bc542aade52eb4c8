// A span of days written as CSV (RFC 4180) or iCalendar (RFC 5545). The
// same place, tables and days always give the same bytes.
#pragma once

#include <array>
#include <string>

#include "cli/shown_days.h"

namespace orvano::cli {

// Header "date,fajr,sunrise,dhuhr,asr,maghrib,isha" then each prayer's status
// ("ok", "estimated", "none"), the Hijri date (hijri_year, hijri_month,
// hijri_day) and the night times (imsak, midnight, last_third); one row a
// day, times as shown, empty for a time that does not exist; CRLF line ends.
// The reminders, iqama and Jumu'ah the user set come in columns after those,
// only when set (fajr_iqama..isha_iqama, fajr_reminder..isha_reminder,
// jumuah), so that the file stays as it was for everyone else.
std::string ExportCsv(EngineState& state, date::year_month_day from, date::year_month_day to,
                      const PrayerExtras& extras = {});

// One event a prayer a day (no sunrise), at its instant in UTC; a prayer with
// no time is left out. `alarms` (per PrayerIndex) adds a reminder at the
// prayer's time; `extras` the user's reminders before it, its iqama in the
// description, and Jumu'ah in Zuhr's place on Fridays. DTSTAMP is `from` at
// 00:00 UTC.
std::string ExportIcs(EngineState& state, date::year_month_day from, date::year_month_day to,
                      const std::array<bool, kPrayerCount>& alarms,
                      const PrayerExtras& extras = {});

// RFC 5545 text: backslash, semicolon, comma and line ends escaped, other
// control characters left out.
std::string IcsText(const std::string& text);
// One content line, folded so that no line exceeds 75 octets (never inside a
// UTF-8 character), ending in CRLF.
std::string IcsLine(const std::string& line);

}  // namespace orvano::cli
