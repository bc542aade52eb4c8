#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "astro/julian_time.h"
#include "astro/trace.h"
#include "calendar/html_text.h"
#include "calendar/month_calendar.h"
#include "language/messages.h"
#include "tests/calendar/calendar_test_support.h"

namespace orvano {
namespace {

using testing::CalendarCaseTest;
using testing::CalendarTest;
using testing::CivilWeekday;
using testing::Clock;
using testing::Count;
using testing::DayRowColours;
using testing::ExpectedHead;
using testing::ExpectedPage;
using testing::kExpectedFoot;
using testing::Lines;
using testing::ReadFile;
using testing::TownState;
using testing::WithoutStyle;

using Entries = std::vector<std::string>;

// A day row's colour: Fridays marked, the other rows alternating by day number.
std::string RowColour(int day, int month, int year) {
    return CivilWeekday(day, month, year) == 4 ? "#FFD5D5" : day % 2 == 0 ? "#F5F5F5" : "#F0F0E0";
}

// The opener is handed the finished page, once.
TEST_F(CalendarTest, OranJanuary2010IsTheExpectedPageByteForByte) {
    const EngineState before = state;
    const CalendarResult result = Write();
    ASSERT_EQ(result.status, CalendarStatus::Written);
    EXPECT_EQ(result.fileName, "Oran_Janvier2010.html");
    EXPECT_EQ(result.path, folder.path() + "/Oran_Janvier2010.html");
    EXPECT_EQ(folder.Entries(), Entries{"Oran_Janvier2010.html"});
    const std::string page = ReadFile(result.path);
    EXPECT_EQ(WithoutStyle(page), ExpectedPage(before, 31));
    const auto lines = Lines(WithoutStyle(page));
    ASSERT_GE(lines.size(), 11u);
    EXPECT_EQ(lines[0], "<html><!-- Generateur de calendrier de pri\xE8res - Janvier 2010 -->\n");
    EXPECT_EQ(lines[11].rfind("\t\t<td width=10 align=\"right\"><b> 1</b></td> \t\t<td "
                              "width=60><b>Vendredi</b></td> ",
                              0),
              0u)
        << lines[11];
    // The reference's Umm al-Qura date (tests/data/hijri_umm_al_qura.csv, 2009-12-31 + 1).
    EXPECT_NE(lines[11].find("\t\t<td>&nbsp;15 Mouharram 1431</td></tr>\n"), std::string::npos)
        << lines[11];
    EXPECT_EQ(console.text(), "");
    EXPECT_EQ(opened, Entries{result.path});
    EXPECT_EQ(openedPages, Entries{page});
}

// Arabic, Urdu and Persian pages say their language and direction on <html>,
// in UTF-8; the others' opening line stays as it was.
TEST_F(CalendarTest, RightToLeftPagesSayTheirLanguageAndDirection) {
    const struct {
        const char* language;
        const char* opening;
    } cases[] = {
        {"ar", "<html lang=\"ar\" dir=\"rtl\"><!-- منشئ تقويم أوقات الصلاة - يناير 2010 -->\n"},
        {"ur", "<html lang=\"ur\" dir=\"rtl\"><!-- نماز کے اوقات کا کیلنڈر ساز - جنوری 2010 -->\n"},
        {"fa", "<html lang=\"fa\" dir=\"rtl\"><!-- سازندهٔ تقویم اوقات نماز - ژانویه 2010 -->\n"},
        {"en", "<html><!-- Prayer calendar generator - January 2010 -->\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        const ScopedLanguage language(c.language);
        const std::string page = WrittenPage();
        EXPECT_EQ(Lines(page).at(0), c.opening);
        EXPECT_EQ(Count(page, "dir=\"rtl\""), std::string(c.language) == "en" ? 0u : 1u);
        EXPECT_NE(page.find("charset=UTF-8"), std::string::npos);
    }
}

TEST_F(CalendarTest, HeadIsSingleByteLatin1) {
    state = TownState("Oran", 8, 2014);
    const CalendarResult result = Write();
    ASSERT_EQ(result.status, CalendarStatus::Written);
    EXPECT_EQ(result.fileName, "Oran_Août2014.html");
    const std::string page = ReadFile(result.path);
    const std::string head = ExpectedHead(8, 2014);
    EXPECT_EQ(WithoutStyle(page).substr(0, head.size()), head);
    EXPECT_NE(page.find("Calendrier de pri\xE8res - Ao\xFBt 2014 </title>"), std::string::npos);
    // No UTF-8 sequence anywhere: the lead bytes of "è" and "û" would be 0xC3.
    EXPECT_EQ(page.find('\xC3'), std::string::npos);
}

// The page carries its own style (no style.css beside it, none needed), with
// print rules; the month in progress marks today's row and no other.
TEST_F(CalendarTest, InlineStyleAndTodaysRow) {
    struct Case {
        std::optional<Observation> today;
        int markedDay;  // 0: no row marked
    };
    const Case cases[] = {
        {std::nullopt, 0},
        {Observation{9, 1, 2010, 0, 0, 0}, 9},
        {Observation{15, 1, 2010, 23, 59, 59}, 15},  // a Friday keeps its colour
        {Observation{9, 2, 2010, 0, 0, 0}, 0},
        {Observation{9, 1, 2011, 0, 0, 0}, 0},
    };
    const std::string plain = WithoutStyle(WrittenPage());
    for (const Case& c : cases) {
        const CalendarResult result =
            WriteMonthCalendar(state, folder.path(), console, {}, c.today);
        ASSERT_EQ(result.status, CalendarStatus::Written);
        const std::string page = ReadFile(result.path);
        EXPECT_EQ(page.find("style.css"), std::string::npos);
        EXPECT_EQ(Count(page, "<style"), 1u);
        EXPECT_LT(page.find("</style>"), page.find("</head>"));
        EXPECT_NE(page.find("@media print"), std::string::npos);
        EXPECT_NE(page.find("tr.today"), std::string::npos);
        EXPECT_EQ(Count(page, " class=today>"), c.markedDay == 0 ? 0u : 1u);
        std::string unmarked = WithoutStyle(page);
        if (c.markedDay != 0) {
            const std::string colour = RowColour(c.markedDay, 1, 2010);
            const std::string marked = "<tr bgcolor=\"" + colour + "\" class=today>\n";
            const size_t at = unmarked.find(marked);
            ASSERT_NE(at, std::string::npos);
            char day[8];
            std::snprintf(day, sizeof day, "%2d", c.markedDay);
            const std::string dayCell = std::string("\t\t<td width=10 align=\"right\"><b>") + day;
            EXPECT_EQ(unmarked.substr(at + marked.size(), dayCell.size()), dayCell);
            unmarked.replace(at, marked.size(), "<tr bgcolor=\"" + colour + "\">\n");
        }
        // Everything else, every cell of every row included, as on the unmarked page.
        EXPECT_EQ(unmarked, plain);
    }
}

// One row per day of the Gregorian month, each of its colour. The first five
// months start on a Friday; February shows the leap-year rule.
TEST_F(CalendarTest, OneColouredRowPerDay) {
    const std::array<int, 3> months[] = {
        {1, 2010, 31}, {10, 2010, 31}, {8, 2014, 31},  {2, 2013, 28}, {12, 2017, 31},
        {2, 2012, 29}, {2, 2100, 28},  {2, 2010, 28},  {2, 2000, 29}, {2, 1900, 28},
        {4, 2010, 30}, {6, 2010, 30},  {12, 2010, 31}, {7, 2010, 31}};
    for (const auto& [month, year, days] : months) {
        SCOPED_TRACE(std::to_string(month) + "/" + std::to_string(year));
        state = TownState("Oran", month, year);
        const std::string page = WithoutStyle(WrittenPage());
        const auto colours = DayRowColours(page);
        ASSERT_EQ(colours.size(), static_cast<size_t>(days));
        for (int d = 1; d <= days; ++d) {
            EXPECT_EQ(colours[static_cast<std::size_t>(d - 1)], RowColour(d, month, year)) << d;
        }
        // Header, row openings, cell lines: 10 head lines without the style block
        // (the heading's two among them), two per day, the foot's two.
        EXPECT_EQ(Lines(page).size(), static_cast<size_t>(10 + 2 * days + 2));
        EXPECT_NE(page.find("<b>" + std::to_string(days) + "</b>"), std::string::npos);
        EXPECT_EQ(page.find("<b>" + std::to_string(days + 1) + "</b>"), std::string::npos);
    }
}

TEST_F(CalendarTest, DayNumbersBelowTenHaveALeadingSpace) {
    state = TownState("Oran", 4, 2010);
    const auto lines = Lines(WithoutStyle(WrittenPage()));
    const std::string cellStart = "\t\t<td width=10 align=\"right\"><b>";
    for (int d = 1; d <= 30; ++d) {
        const std::string& line = lines[static_cast<std::size_t>(10 + 2 * (d - 1) + 1)];
        const std::string number = (d < 10 ? " " : "") + std::to_string(d);
        EXPECT_EQ(line.rfind(cellStart + number + "</b></td> ", 0), 0u) << line;
    }
}

TEST_F(CalendarTest, WritingTwiceReplacesTheFileWithTheSameBytes) {
    const std::string path = folder / "Oran_Mars2010.html";
    testing::WriteFile(path, std::string(100000, 'x'));
    state = TownState("Oran", 3, 2010);
    const CalendarResult first = Write();
    ASSERT_EQ(first.status, CalendarStatus::Written);
    EXPECT_EQ(first.path, path);
    const std::string firstPage = ReadFile(path);
    EXPECT_EQ(firstPage.find('x' + std::string(10, 'x')), std::string::npos);
    const CalendarResult second = Write(folder.path() + "/");
    ASSERT_EQ(second.status, CalendarStatus::Written);
    EXPECT_EQ(second.path, path);
    EXPECT_EQ(ReadFile(path), firstPage);
    EXPECT_EQ(folder.Entries(), Entries{"Oran_Mars2010.html"});
}

TEST_F(CalendarTest, MonthIsComputedSilentlyAndTheVerboseSwitchComesBackAsZeroOrOne) {
    StringTraceSink trace;
    for (const auto& [before, after] : {std::pair{1, 1}, {7, 1}, {-3, 1}, {0, 0}}) {
        SCOPED_TRACE(before);
        state = TownState("Oran", 1, 2010);
        state.traceSink = &trace;
        state.tables.Verbose = before;

        // The same sink does receive the day's report when the switch is on, so
        // an empty sink below means the month really was computed in silence.
        EngineState probe = state;
        probe.tables.Verbose = 1;
        ComputeDaySchedule(probe);
        ASSERT_FALSE(trace.text().empty());
        trace.clear();

        ASSERT_EQ(Write().status, CalendarStatus::Written);
        EXPECT_EQ(trace.text(), "");
        EXPECT_EQ(console.text(), "");
        EXPECT_EQ(state.tables.Verbose, after);
    }
}

TEST_F(CalendarTest, DateScheduleAndZoneAreAsBefore) {
    state = TownState("Oran", 5, 2010);
    state.place.DST = 1;
    ComputeDaySchedule(state);
    const EngineState before = state;
    ASSERT_EQ(Write().status, CalendarStatus::Written);
    EXPECT_EQ(Clock(state.observation), Clock(before.observation));
    EXPECT_EQ(state.schedule.exact, before.schedule.exact);
    EXPECT_EQ(state.schedule.adjusted, before.schedule.adjusted);
    EXPECT_EQ(state.timeZoneInEffect, before.timeZoneInEffect);
}

// A folder that cannot take the page: only the console line comes out, the
// date is as before and the folder holds what it held (a trailing "/" marks a folder).
struct OpenErrorCase {
    const char* what;
    std::string (*prepare)(const testing::TempFolder&);  // the folder to write into
    CalendarStatus status;
    Entries entries;
    friend void PrintTo(const OpenErrorCase& c, std::ostream* os) { *os << c.what; }
};

class OpenError : public CalendarCaseTest<OpenErrorCase> {};

TEST_P(OpenError, GivesTheConsoleLineOnly) {
    const OpenErrorCase& c = GetParam();
    const CalendarResult result = Write(c.prepare(folder));
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(console.text(), "File open error Oran_Janvier2010.html\n");
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(Clock(state.observation), std::make_tuple(17, 1, 2010, 9, 30, 0));
    Entries entries = folder.Entries();
    for (std::string& e : entries) {
        if (std::filesystem::is_directory(folder / e)) e += "/";
    }
    EXPECT_EQ(entries, c.entries);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, OpenError,
    ::testing::Values(OpenErrorCase{"folder under a regular file",
                                    [](const testing::TempFolder& f) {
                                        testing::WriteFile(f / "plain", "not a folder");
                                        return f / "plain/sub";
                                    },
                                    CalendarStatus::OpenError,
                                    {"plain"}},
                      OpenErrorCase{"missing folder",
                                    [](const testing::TempFolder& f) { return f / "missing"; },
                                    CalendarStatus::OpenError,
                                    {}},
                      // The folder in the page's place is left alone and no temporary stays.
                      OpenErrorCase{"folder in the page's place",
                                    [](const testing::TempFolder& f) {
                                        std::filesystem::create_directory(f /
                                                                          "Oran_Janvier2010.html");
                                        return f.path();
                                    },
                                    CalendarStatus::OpenError,
                                    {"Oran_Janvier2010.html/"}},
                      OpenErrorCase{"path over the limit",
                                    [](const testing::TempFolder& f) {
                                        return f / std::string(kMaxCalendarPathBytes, 'd');
                                    },
                                    CalendarStatus::NameTooLong,
                                    {}}));

// No town to name the page after, or no such month: nothing is written.
TEST_F(CalendarTest, NothingIsWrittenWithoutATownOrAMonth) {
    const std::string noTown = "No town in the town table: no calendar written\n";
    const struct {
        int towns, selected, month;
        CalendarStatus status;
        std::string console;
    } cases[] = {
        {0, 0, 1, CalendarStatus::NoTown, noTown},
        {1, 1, 1, CalendarStatus::NoTown, noTown},
        {1, -1, 1, CalendarStatus::NoTown, noTown},
        {1, 0, 0, CalendarStatus::BadMonth, "Month 0 does not exist: no calendar written\n"},
        {1, 0, 13, CalendarStatus::BadMonth, "Month 13 does not exist: no calendar written\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.console);
        state = TownState("Oran", 1, 2010);
        console.clear();
        state.tables.Towns.resize(static_cast<size_t>(c.towns));
        state.tables.NumberOfTowns = c.towns;
        state.tables.TownSelected = c.selected;
        state.observation.month = c.month;
        EXPECT_EQ(Write().status, c.status);
        EXPECT_EQ(console.text(), c.console);
        EXPECT_TRUE(folder.Entries().empty());
        EXPECT_TRUE(opened.empty());
    }
}

TEST_F(CalendarTest, TheFileIsNamedAfterTheSelectedTown) {
    Town other = state.tables.Towns[0];
    other.Name = "Tlemcen";
    state.tables.Towns.push_back(other);
    state.tables.NumberOfTowns = 2;
    state.tables.TownSelected = 1;
    EXPECT_EQ(Write().fileName, "Tlemcen_Janvier2010.html");
    EXPECT_EQ(folder.Entries(), Entries{"Tlemcen_Janvier2010.html"});
}

struct NameCase {
    std::string town;
    std::string stem;  // the file name before "_Janvier2010.html"
    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << PrintableText(c.town); }
};

class TownName : public CalendarCaseTest<NameCase> {};

// Unsafe names keep the page inside the folder; long ones are cut to 79
// characters and 100 bytes, never the month and the year, and never inside a character.
TEST_P(TownName, PageStaysInsideTheFolderUnderANameThatFits) {
    const NameCase& c = GetParam();
    state = TownState(c.town, 1, 2010);
    const CalendarResult result = Write();
    ASSERT_EQ(result.status, CalendarStatus::Written) << console.text();
    EXPECT_EQ(result.fileName, c.stem + "_Janvier2010.html");
    EXPECT_LE(result.fileName.size(), 100u);
    EXPECT_EQ(folder.Entries(), Entries{result.fileName});
}

std::string Times(const std::string& text, int count) {
    std::string all;
    for (int i = 0; i < count; ++i) all += text;
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Names, TownName,
    ::testing::Values(NameCase{"../../etc/x", "_._.._etc_x"}, NameCase{"a\\b", "a_b"},
                      NameCase{".hidden", "_hidden"}, NameCase{"..", "_."},
                      NameCase{"Tizi\tOuzou\n", "Tizi_Ouzou_"}, NameCase{"del\x7f", "del_"},
                      NameCase{"c1\xC2\x85", "c1_"}, NameCase{"esc\x1b[2Jbel\x07", "esc_[2Jbel_"},
                      NameCase{"evil\xE2\x80\xAEtxt.exe", "evil_txt.exe"},
                      NameCase{"\xE2\x81\xA6iso\xE2\x81\xA9", "_iso_"},
                      NameCase{"S\xC3\xA9tif", "S\xC3\xA9tif"}, NameCase{"Bad\xE9", "Bad\xC3\xA9"},
                      NameCase{"Saint.Denis", "Saint.Denis"}, NameCase{"", ""},
                      NameCase{std::string(62, 'a'), std::string(62, 'a')},
                      NameCase{std::string(63, 'a'), std::string(62, 'a')},
                      NameCase{std::string(79, 'b'), std::string(62, 'b')},
                      // 62 characters of two bytes, then of four.
                      NameCase{Times("\xC3\xA9", 62), Times("\xC3\xA9", 41)},
                      NameCase{Times("\xF0\x9F\x98\x80", 62), Times("\xF0\x9F\x98\x80", 20)}));

class PlantedLink : public CalendarCaseTest<const char*> {};

// A link planted under the temporary name or the page's own name is replaced,
// never written through.
TEST_P(PlantedLink, IsNeverWrittenThrough) {
    testing::WriteFile(folder / "victim", "precious");
    std::filesystem::create_symlink(folder / "victim", folder / GetParam());
    const CalendarResult result = Write();
    ASSERT_EQ(result.status, CalendarStatus::Written) << console.text();
    EXPECT_EQ(ReadFile(folder / "victim"), "precious");
    EXPECT_FALSE(std::filesystem::is_symlink(result.path));
    EXPECT_EQ(ReadFile(result.path).rfind("<html>", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Names, PlantedLink,
                         ::testing::Values(".Oran_Janvier2010.html.part", "Oran_Janvier2010.html"));

TEST_F(CalendarTest, ATimeRoundedPastMidnightShowsTheNextMidnightInItsOwnRow) {
    state = TownState("Oran", 6, 2010);
    // A fixed Zuhr at 23:59:42 rounds past 23:59: every day's cell shows the
    // next midnight, never the traced clock text's message.
    state.tables.Conventions[0].ZuhrFixe = true;
    state.tables.Conventions[0].ZuhrHour = 23.995;
    const EngineState before = state;
    const std::string page = WrittenPage();
    const std::string overflow = std::string("&nbsp;") + kClockOverflowText + "</td>";
    std::string expected = ExpectedPage(before, 30);
    ASSERT_EQ(testing::Count(expected, overflow), 30u);
    for (std::size_t at; (at = expected.find(overflow)) != std::string::npos;) {
        expected.replace(at, overflow.size(), "&nbsp;00:00</td>");
    }
    EXPECT_EQ(WithoutStyle(page), expected);
    EXPECT_EQ(testing::Count(page, kClockOverflowText), 0u);
}

TEST_F(CalendarTest, EstimatedCellsCarryTheMarkAndThePageItsLegend) {
    const std::string legendStart =
        "</table><BR>\n\t\t<p class=legend>* estim\xE9"
        "e : ";
    const std::string legendEnd =
        " (latitude \xE9"
        "lev\xE9"
        "e)</p>\n\t</body>\n</html>\n";
    const struct {
        HighLatitudeRule rule;
        const char* row21;  // day 21's six cells and its Hijri day
        std::string foot;
    } cases[] = {
        {HighLatitudeRule::Seventh, "03:40* 04:42 13:04 18:42 21:24 22:25* 9 Rajab 1431",
         legendStart + "1/7 de la nuit" + legendEnd},
        {HighLatitudeRule::Middle, "01:02* 04:42 13:04 18:42 21:24 01:02* 9 Rajab 1431",
         legendStart + "milieu de la nuit" + legendEnd},
        {HighLatitudeRule::None, "--:-- 04:42 13:04 18:42 21:24 --:-- 9 Rajab 1431", kExpectedFoot},
    };
    // London in June, summer time as zone 1: the twilights are never reached.
    state = TownState("London", 6, 2010, 51.5074, -0.1278, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(HighLatitudeRuleName(c.rule));
        state.highLatitudeRule = c.rule;
        const std::string page = WrittenPage();
        std::string cells;
        const std::vector<std::string> lines = Lines(page);
        const auto row = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.find("<b>21</b>") != std::string::npos;
        });
        ASSERT_NE(row, lines.end());
        for (size_t at = row->find("&nbsp;"); at != std::string::npos;
             at = row->find("&nbsp;", at + 1)) {
            cells += (cells.empty() ? "" : " ") + row->substr(at + 6, row->find('<', at) - at - 6);
        }
        EXPECT_EQ(cells, c.row21);
        ASSERT_GE(page.size(), c.foot.size());
        EXPECT_EQ(page.substr(page.size() - c.foot.size()), c.foot);
        EXPECT_EQ(page.rfind(kExpectedFoot) != std::string::npos, c.rule == HighLatitudeRule::None);
    }
}

TEST(PageEncoding, Latin1WithReferencesBeyondIt) {
    // The last four are not UTF-8 and pass as they are: a stray Latin-1 byte, a
    // sequence cut short, an overlong '/', a surrogate.
    const std::pair<const char*, const char*> cases[] = {{"Oran", "Oran"},
                                                         {"F\xC3\xA9vrier", "F\xE9vrier"},
                                                         {"Ao\xC3\xBBt", "Ao\xFBt"},
                                                         {"pri\xC3\xA8res", "pri\xE8res"},
                                                         {"\xC3\xBF", "\xFF"},
                                                         {"A\xC4\x9Fr\xC4\xB1", "A&#287;r&#305;"},
                                                         {"\xE2\x82\xAC", "&#8364;"},
                                                         {"\xF0\x9F\x98\x80", "&#128512;"},
                                                         {"Bad\xE9!", "Bad\xE9!"},
                                                         {"cut\xC3", "cut\xC3"},
                                                         {"\xC0\xAF", "\xC0\xAF"},
                                                         {"\xED\xA0\x80", "\xED\xA0\x80"}};
    for (const auto& [utf8, page] : cases) {
        EXPECT_EQ(Utf8ToLatin1Html(utf8), page) << PrintableText(utf8);
    }
}

TEST(PageEncoding, MarkupEscapesAndCharacterCount) {
    EXPECT_EQ(EscapeHtmlText("a<b>&c"), "a&lt;b&gt;&amp;c");
    EXPECT_EQ(EscapeHtmlText("Décembre"), "Décembre");
    EXPECT_EQ(CharacterCount(""), 0u);
    EXPECT_EQ(CharacterCount("Décembre"), 8u);
    EXPECT_EQ(CharacterCount("\xF0\x9F\x98\x80x"), 2u);
    EXPECT_EQ(CharacterCount("\xE9\xE9"), 2u);
}

}  // namespace
}  // namespace orvano
