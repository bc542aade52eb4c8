#include "calendar/month_calendar.h"

#include <array>
#include <cerrno>
#include <cstdio>

#include "astro/angle_text.h"
#include "astro/civil_date.h"
#include "astro/julian_time.h"
#include "calendar/html_text.h"
#include "engine/hijri.h"
#include "engine/schedule.h"
#include "fileio/safe_file.h"
#include "language/date_names.h"
#include "language/languages.h"
#include "language/messages.h"

namespace orvano {

namespace {

constexpr int kFriday = 4;

// The page's texts come from the catalogue; the markup around them is fixed.
constexpr const char* kComment = "<html><!-- %s -->\n";
// A language read from the right says so, for the browser to lay the table out
// from the right and to pick its fonts.
constexpr const char* kRightToLeftComment = "<html lang=\"%s\" dir=\"rtl\"><!-- %s -->\n";
constexpr const char* kHeadStart = "<head>\n";
constexpr const char* kTitle = "\t\t<title>%s </title>\n";
constexpr const char* kContentType =
    "\t\t<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%s\"/>\n";
constexpr const char* kHeadEnd = "\t</head>\n\t<body>\n";
constexpr const char* kTableStart = "\t\t\t<table cellpadding=0 cellspacing=1 border=1 class=tb>\n";
// The column heads, written as one long line.
constexpr const char* kColumnHeads =
    "<tr bgcolor=\"#00F0F0\">\t\t\t<td width=10></td> \t\t\t<td width=60><b> %s </b></td> "
    "\t\t\t<td width=40><b> %s </b></td>\t\t\t<td width=40><b> %s</b></td>\t\t\t<td "
    "width=40><b> %s </b></td>\t\t\t<td width=40><b> %s </b></td>\t\t\t<td width=40><b> "
    "%s </b></td>\t\t\t<td width=40><b> %s</b></td>\t\t\t<td><b> %s </b></td> </tr>\n";
constexpr const char* kLatin1 = "iso-8859-1";

// Everything the page needs travels in it: the month prints on one A4 or
// Letter sheet, with its row colours.
constexpr const char* kStyle =
    "\t\t<style type=\"text/css\">\n"
    "\t\t\tbody { font-family: sans-serif; }\n"
    "\t\t\th1 { font-size: 1.4em; margin: 0 0 0.2em 0; }\n"
    "\t\t\tp.method { margin: 0 0 0.8em 0; }\n"
    "\t\t\ttable.tb td { padding: 1px 4px; }\n"
    "\t\t\ttr.today td { font-weight: bold; border: 2px solid #B00000; }\n"
    "\t\t\t@page { margin: 12mm; }\n"
    "\t\t\t@media print {\n"
    "\t\t\t\tbody { margin: 0; font-size: 10pt; }\n"
    "\t\t\t\th1 { font-size: 14pt; }\n"
    "\t\t\t\ttable.tb { page-break-inside: avoid; }\n"
    "\t\t\t\ttable.tb td { padding: 0 3px; }\n"
    "\t\t\t\t* { -webkit-print-color-adjust: exact; print-color-adjust: exact; }\n"
    "\t\t\t}\n"
    "\t\t</style>\n";

// Town and country, month and year, then the method the times follow.
constexpr const char* kHeading = "\t\t<h1>%s, %s - %s %d</h1>\n\t\t<p class=method>%s</p>\n";

constexpr const char* kTodayClass = " class=today";

constexpr const char* kCells =
    "\t\t<td width=10 align=\"right\"><b>%2d</b></td> \t\t<td width=60><b>%s</b></td> \t\t<td "
    "width=40>&nbsp;%s</td>\t\t<td width=40>&nbsp;%s</td>\t\t<td width=40>&nbsp;%s</td>\t\t<td "
    "width=40>&nbsp;%s</td>\t\t<td width=40>&nbsp;%s</td>\t\t<td width=40>&nbsp;%s</td>\t\t<td>"
    "&nbsp;%s</td></tr>\n";

constexpr const char* kFoot = "</table><BR>\t</body>\n</html>\n";
constexpr const char* kFootWithLegend =
    "</table><BR>\n\t\t<p class=legend>%s</p>\n\t</body>\n</html>\n";

std::string RowOpening(int day, int weekday, bool today) {
    const char* colour = "#F0F0E0";
    if (weekday == kFriday) {
        colour = "#FFD5D5";
        // Evenness: the halved integer against the halved double.
        // NOLINTNEXTLINE(bugprone-integer-division): the truncation is the test.
    } else if (static_cast<double>(day / 2) == day * 0.5) {
        colour = "#F5F5F5";
    }
    return Format("<tr bgcolor=\"%s\"%s>\n", colour, today ? kTodayClass : "");
}

// The shown time; an estimated one carries the mark the legend explains.
std::string Cell(PrayerStatus status, double hours) {
    std::string text = ShownClockText(status, hours);
    if (status == PrayerStatus::Estimated) text += kEstimateMark;
    return EscapeHtmlText(text);
}

std::string Escaped(const char* text) {
    return EscapeHtmlText(text);
}

std::string ColumnHeads() {
    const auto prayer = [](const char* name) { return Escaped(Tr("prayer", name)); };
    return Format(kColumnHeads, Escaped(Tr("calendar column", "Day")).c_str(),
                  prayer("Fajr").c_str(), prayer("Chourouk").c_str(), prayer("Zuhr").c_str(),
                  prayer("Asr").c_str(), prayer("Maghrib").c_str(), prayer("Isha").c_str(),
                  Escaped(Tr("calendar column", "Hijri")).c_str());
}

// The whole page is made in UTF-8, and written in the encoding the catalogue
// names: ISO-8859-1 is made as one piece.
struct PageFacts {
    int month = 0;
    int year = 0;
    int today = 0;  // the day of the month to mark, 0 for none
    HighLatitudeRule rule = kDefaultHighLatitudeRule;
    int hijriAdjust = 0;
    std::string town, country, method;
};

std::string PageText(const MonthSchedule& month, const PageFacts& facts) {
    const int monthNumber = facts.month;
    const int year = facts.year;
    const std::string monthName = Escaped(ShownMonthName(monthNumber));
    const std::string encoding = Tr("encoding of the calendar page", "UTF-8");
    std::string page;
    const std::string generator =
        Format(Tr("Prayer calendar generator - %s %d"), monthName.c_str(), year);
    const std::string& language = LanguageInUse();
    page += IsRightToLeft(language)
                ? Format(kRightToLeftComment, language.c_str(), generator.c_str())
                : Format(kComment, generator.c_str());
    page += kHeadStart;
    page += Format(kTitle, Format(Tr("Prayer calendar - %s %d"), monthName.c_str(), year).c_str());
    page += Format(kContentType, encoding.c_str());
    page += kStyle;
    page += kHeadEnd;
    page +=
        Format(kHeading, EscapeHtmlText(facts.town).c_str(), EscapeHtmlText(facts.country).c_str(),
               monthName.c_str(), year, EscapeHtmlText(facts.method).c_str());
    page += kTableStart;
    page += ColumnHeads();
    bool estimated = false;
    for (int d = 1; d <= month.dayCount; ++d) {
        const auto row = static_cast<size_t>(d - 1);
        const int weekday = month.weekday[row];
        const auto& hours = month.shown[row];
        const auto& status = month.status[row];
        const std::string weekdayName =
            weekday >= 0 && weekday < 7 ? Escaped(ShownWeekdayName(weekday)) : "?";
        std::array<std::string, kPrayerCount> cells;
        for (size_t i = 0; i < cells.size(); ++i) {
            cells[i] = Cell(status[i], hours[i]);
            if (status[i] == PrayerStatus::Estimated) estimated = true;
        }
        // The Hijri day that covers the date's daylight.
        const auto hijri = HijriOfCivilDay(year, monthNumber, d, facts.hijriAdjust);
        const std::string hijriText = hijri ? EscapeHtmlText(HijriDateText(*hijri)) : "";
        page += RowOpening(d, weekday, d == facts.today);
        page += Format(kCells, d, weekdayName.c_str(), cells[Fajr].c_str(), cells[Chourouk].c_str(),
                       cells[Zuhr].c_str(), cells[Asr].c_str(), cells[Maghrib].c_str(),
                       cells[Isha].c_str(), hijriText.c_str());
    }
    if (estimated) {
        // Only a page that shows an estimate has the legend; every other page
        // keeps its foot as it always was.
        page +=
            Format(kFootWithLegend,
                   Escaped(Format(Tr("%s (high latitude)"), EstimateLegendText(facts.rule)).c_str())
                       .c_str());
    } else {
        page += kFoot;
    }
    return encoding == kLatin1 ? Utf8ToLatin1Html(page) : page;
}

// Made without a name (or exclusively under a fresh one) beside the page and
// renamed over it: an earlier page of the same month is never left cut short,
// and a link planted in the folder is never written through.
CalendarStatus WriteReplacing(const std::string& path, const std::string& fileName,
                              const std::string& bytes) {
    ReplacingFile file;
    if (!file.Create(path, "." + fileName + ".part.", false)) return CalendarStatus::OpenError;
    file.Write(bytes);
    if (!file.Commit()) {
        return errno == EIO || errno == ENOSPC || errno == EDQUOT ? CalendarStatus::WriteError
                                                                  : CalendarStatus::OpenError;
    }
    return CalendarStatus::Written;
}

}  // namespace

std::string CalendarFileName(const std::string& townName, int month, int year) {
    const std::string ending = std::string("_") + kMonthNames[static_cast<std::size_t>(month)] +
                               std::to_string(year) + ".html";
    // A long town name is cut, never the month and the year.
    const size_t endingChars = CharacterCount(ending);
    const std::string name = CutToFit(
        SafeFileNamePart(townName),
        kMaxCalendarFileNameChars > endingChars ? kMaxCalendarFileNameChars - endingChars : 0,
        kMaxCalendarFileNameBytes > ending.size() ? kMaxCalendarFileNameBytes - ending.size() : 0);
    return name + ending;
}

CalendarResult WriteMonthCalendar(EngineState& state, const std::string& folder, TraceSink& console,
                                  const PageOpener& opener,
                                  const std::optional<Observation>& today) {
    CalendarResult result;
    const ConfigTables& tables = state.tables;
    if (tables.Towns.empty() || tables.TownSelected < 0 ||
        static_cast<size_t>(tables.TownSelected) >= tables.Towns.size()) {
        console.Write("No town in the town table: no calendar written\n");
        result.status = CalendarStatus::NoTown;
        return result;
    }
    const int monthNumber = state.observation.month;
    const int year = state.observation.year;
    if (monthNumber < 1 || monthNumber > 12) {
        console.Write(Format("Month %d does not exist: no calendar written\n", monthNumber));
        result.status = CalendarStatus::BadMonth;
        return result;
    }

    // The month is computed without a report whatever the switch says.
    MonthSchedule month;
    ComputeMonthSchedule(state, month, DaysInMonth(year, monthNumber), Trace{});
    // The switch itself leaves as 0 or 1, which a later Save writes.
    state.tables.Verbose = state.tables.Verbose != 0 ? 1 : 0;

    const Town& town = tables.Towns[static_cast<std::size_t>(tables.TownSelected)];
    PageFacts facts;
    facts.month = monthNumber;
    facts.year = year;
    if (today && today->month == monthNumber && today->year == year) facts.today = today->day;
    facts.rule = HighLatitudeRuleOf(state);
    facts.hijriAdjust = state.hijriAdjust;
    facts.town = town.Name;
    facts.country = town.Country;
    if (town.Convention >= 0 && town.Convention < kConventionCount) {
        facts.method = tables.Conventions[static_cast<std::size_t>(town.Convention)].Name;
    }

    std::string base = folder;
    if (!base.empty() && base.back() != '/') base += '/';
    result.fileName = CalendarFileName(town.Name, monthNumber, year);
    result.path = base + result.fileName;

    const bool tooLong = CharacterCount(result.fileName) > kMaxCalendarFileNameChars ||
                         result.fileName.size() > kMaxCalendarFileNameBytes ||
                         result.path.size() > kMaxCalendarPathBytes;
    if (tooLong) {
        result.status = CalendarStatus::NameTooLong;
    } else {
        result.status = WriteReplacing(result.path, result.fileName, PageText(month, facts));
    }

    switch (result.status) {
        case CalendarStatus::Written:
            if (opener) opener(result.path);
            break;
        case CalendarStatus::WriteError:
            console.Write(Format("File write error %s\n", result.fileName.c_str()));
            break;
        default:
            console.Write(Format("File open error %s\n", result.fileName.c_str()));
            break;
    }
    return result;
}

}  // namespace orvano
