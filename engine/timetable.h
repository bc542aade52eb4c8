// A mosque's published timetable: the days it lists and the clock times it
// gives for each prayer, as read from a CSV or tab-separated file.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "astro/records.h"

namespace orvano {

inline constexpr int kNoTime = -1;

struct TimetableDay {
    int year = 0;
    int month = 0;
    int day = 0;
    // Minutes after local midnight in PrayerIndex order; kNoTime where the
    // table leaves the cell empty.
    std::array<int, kPrayerCount> minutes{kNoTime, kNoTime, kNoTime, kNoTime, kNoTime, kNoTime};
    int line = 0;  // where the day stands in the file, for messages
};

struct Timetable {
    std::vector<TimetableDay> days;
    // Which prayers have a column.
    std::array<bool, kPrayerCount> given{};
};

// A fit needs at least this many days with a time.
inline constexpr int kMinTimetableDays = 7;

// Reads the table. The first non-empty line is the header; the separator is
// a tab, a semicolon or a comma, whichever the header holds first in that
// order. On failure returns false and fills `errors` with one line each,
// "line N: reason", for every line that cannot be used, so the user can mend
// them all at once.
bool ParseTimetable(std::string_view text, Timetable& table, std::vector<std::string>& errors);

// The column a header cell names, or -1: Fajr/Subh/Sobh, Sunrise/Chourouk/
// Shuruq/Lever, Dhuhr/Zuhr/Dohr, Asr, Maghrib/Maghreb, Isha/Icha, any case.
int PrayerColumn(std::string_view header);

}  // namespace orvano
