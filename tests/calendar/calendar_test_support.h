// A town, a folder and the pieces of the expected page, shared by the calendar tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "astro/angle_text.h"
#include "calendar/month_calendar.h"
#include "engine/hijri.h"
#include "engine/schedule.h"
#include "engine/state.h"
#include "tests/support/temp_folder.h"

namespace orvano::testing {

// Oran: 35.6969 N, 0.6331 W, UTC+1, no summer time.
inline EngineState TownState(const std::string& name, int month, int year,
                             double latitude = 35.6969, double longitude = -0.6331,
                             int timeZone = 1) {
    EngineState state;
    Town town;
    town.Country = "Algerie";
    town.Name = name;
    town.latitude = latitude;
    town.longitude = longitude;
    town.TimeZone = timeZone;
    state.tables.Towns = {town};
    state.tables.NumberOfTowns = 1;
    state.tables.TownSelected = 0;
    Convention& c = state.tables.Conventions[0];
    c.FajrTwilightAngle = 18.0;
    c.IshaTwilightAngle = 17.0;
    c.SunriseSetAngle = 0.833;
    c.AddedMinutes = {0.0, -1.0, 2.0, 2.0, 3.0, 0.0};
    c.Name = "Muslim World League";
    state.place.Name = name;
    state.place.Country = town.Country;
    state.place.latitude = Degrees{latitude};
    state.place.longitude = Degrees{longitude};
    state.place.TimeZone = timeZone;
    state.observation = Observation{17, month, year, 9, 30, 0};
    return state;
}

// The whole observation, for comparing it at once.
inline auto Clock(const Observation& o) {
    return std::tie(o.day, o.month, o.year, o.hour, o.minute, o.second);
}

// Weekday of a civil date, 0 = Monday, by Sakamoto's rule: independent of the engine.
inline int CivilWeekday(int day, int month, int year) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    const int sundayFirst =
        (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
    return (sundayFirst + 6) % 7;
}

// The month names as the page holds them, in ISO-8859-1.
inline const char* Latin1MonthName(int month) {
    // Octal escapes: a hexadecimal one would swallow the letters after it.
    static const char* const names[] = {"",        "Janvier",  "F\351vrier", "Mars",    "Avril",
                                        "Mai",     "Juin",     "Juillet",    "Ao\373t", "Septembre",
                                        "Octobre", "Novembre", "D\351cembre"};
    return names[month];
}

// The head as it reads once its inline style block is taken out (WithoutStyle),
// for the town of TownState named `town`.
inline std::string ExpectedHead(int month, int year, const std::string& town = "Oran") {
    const std::string m = Latin1MonthName(month);
    const std::string y = std::to_string(year);
    return "<html><!-- Generateur de calendrier de pri\xE8res - " + m + " " + y + " -->\n" +
           "<head>\n" + "\t\t<title>Calendrier de pri\xE8res - " + m + " " + y + " </title>\n" +
           "\t\t<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\"/>\n"
           "\t</head>\n\t<body>\n"
           "\t\t<h1>" +
           town + ", Algerie - " + m + " " + y +
           "</h1>\n"
           "\t\t<p class=method>Muslim World League</p>\n"
           "\t\t\t<table cellpadding=0 cellspacing=1 border=1 class=tb>\n"
           "<tr bgcolor=\"#00F0F0\">\t\t\t<td width=10></td> \t\t\t<td width=60><b> Jour "
           "</b></td> \t\t\t<td width=40><b> Fajr </b></td>\t\t\t<td width=40><b> "
           "Chourouk</b></td>\t\t\t<td width=40><b> Zuhr </b></td>\t\t\t<td width=40><b> Asr "
           "</b></td>\t\t\t<td width=40><b> Maghrib </b></td>\t\t\t<td width=40><b> "
           "Isha</b></td>\t\t\t<td><b> H\xE9gire </b></td> </tr>\n";
}

inline const char* const kExpectedFoot = "</table><BR>\t</body>\n</html>\n";

// The whole page, each day's times taken from the day's own schedule and its
// weekday from the civil calendar.
inline std::string ExpectedPage(const EngineState& before, int dayCount) {
    static const char* const weekdays[] = {"Lundi",    "Mardi",  "Mercredi", "Jeudi",
                                           "Vendredi", "Samedi", "Dimanche"};
    const int month = before.observation.month;
    const int year = before.observation.year;
    std::string page = ExpectedHead(month, year);
    for (int d = 1; d <= dayCount; ++d) {
        EngineState day = before;
        day.tables.Verbose = 0;
        day.observation.day = d;
        ComputeDaySchedule(day);
        const int weekday = CivilWeekday(d, month, year);
        if (weekday == 4) {
            page += "<tr bgcolor=\"#FFD5D5\">\n";
        } else if (d % 2 == 0) {
            page += "<tr bgcolor=\"#F5F5F5\">\n";
        } else {
            page += "<tr bgcolor=\"#F0F0E0\">\n";
        }
        char number[16];
        std::snprintf(number, sizeof number, "%2d", d);
        page += std::string("\t\t<td width=10 align=\"right\"><b>") + number +
                "</b></td> \t\t<td width=60><b>" + weekdays[weekday] + "</b></td> ";
        for (std::size_t p = 0; p < kPrayerCount; ++p) {
            page +=
                "\t\t<td width=40>&nbsp;" + HoursToClockText(day.schedule.adjusted[p]) + "</td>";
        }
        const auto hijri = HijriOfCivilDay(year, month, d, before.hijriAdjust);
        page += "\t\t<td>&nbsp;" + (hijri ? HijriDateText(*hijri) : "") + "</td></tr>\n";
    }
    return page + kExpectedFoot;
}

// The page without its inline style block (kept whole, the block's lines
// included), which the tests of the style itself look at.
inline std::string WithoutStyle(std::string page) {
    const size_t begin = page.find("\t\t<style type=\"text/css\">\n");
    const size_t end = page.find("\t\t</style>\n");
    if (begin != std::string::npos && end != std::string::npos && end > begin) {
        page.erase(begin, end + std::string("\t\t</style>\n").size() - begin);
    }
    return page;
}

// The lines of a page, each with its line feed.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, stop - start));
        start = stop;
    }
    return lines;
}

// How often `what` occurs in `text`.
inline size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The row openings of the day rows, in order.
inline std::vector<std::string> DayRowColours(const std::string& page) {
    std::vector<std::string> colours;
    for (const std::string& line : Lines(page)) {
        if (line.rfind("<tr bgcolor=\"#", 0) == 0 && line.size() == 23) {
            colours.push_back(line.substr(13, 7));
        }
    }
    return colours;
}

// What every calendar test builds: a fresh folder, Oran's state for January
// 2010, the console, and an opener that remembers each page it was asked to
// open with what the file held then.
class CalendarTest : public ::testing::Test {
  protected:
    // Writes the month of `state` into `where`, the test's folder by default.
    CalendarResult Write(const std::string& where) {
        return WriteMonthCalendar(state, where, console, [this](const std::string& path) {
            opened.push_back(path);
            openedPages.push_back(ReadFile(path));
        });
    }
    CalendarResult Write() { return Write(folder.path()); }
    // Writes the month and returns the page, failing the test when nothing was written.
    std::string WrittenPage() {
        const CalendarResult result = Write();
        EXPECT_EQ(result.status, CalendarStatus::Written) << console.text();
        return ReadFile(result.path);
    }

    TempFolder folder;
    EngineState state = TownState("Oran", 1, 2010);
    StringTraceSink console;
    std::vector<std::string> opened;
    std::vector<std::string> openedPages;
};

template <class Case>
class CalendarCaseTest : public CalendarTest, public ::testing::WithParamInterface<Case> {};

}  // namespace orvano::testing
