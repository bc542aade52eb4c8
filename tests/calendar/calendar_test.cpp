#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "astro/julian_time.h"
#include "calendar/html_text.h"
#include "calendar/month_calendar.h"
#include "tests/calendar/calendar_test_support.h"

namespace orvano {
namespace {

using testing::CivilWeekday;
using testing::DayRowColours;
using testing::ExpectedHead;
using testing::ExpectedPage;
using testing::kExpectedFoot;
using testing::Lines;
using testing::ReadFile;
using testing::TempFolder;
using testing::TownState;

// Remembers every page it was asked to open, and what the file held then.
struct RecordingOpener {
    std::vector<std::string> paths;
    std::vector<std::string> contents;
    PageOpener opener() {
        return [this](const std::string& path) {
            paths.push_back(path);
            contents.push_back(ReadFile(path));
        };
    }
};

TEST(MonthCalendar, OranJanuary2010IsTheExpectedPageByteForByte) {
    TempFolder folder;
    EngineState state = TownState("Oran", 1, 2010);
    const EngineState before = state;
    StringTraceSink console;
    RecordingOpener open;

    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, open.opener());

    ASSERT_EQ(result.status, CalendarStatus::Written);
    EXPECT_EQ(result.fileName, "Oran_Janvier2010.html");
    EXPECT_EQ(result.path, folder.path() + "/Oran_Janvier2010.html");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Oran_Janvier2010.html"});
    const std::string page = ReadFile(result.path);
    EXPECT_EQ(page, ExpectedPage(before, 31));
    const auto lines = Lines(page);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], "<html><!-- Generateur de calendrier de pri\xE8res - Janvier 2010 -->\n");
    EXPECT_EQ(lines[10].rfind("\t\t<td width=10 align=\"right\"><b> 1</b></td> \t\t<td "
                              "width=60><b>Vendredi</b></td> ",
                              0),
              0u)
        << lines[10];
    EXPECT_EQ(console.text(), "");
    EXPECT_EQ(open.paths, std::vector<std::string>{result.path});
}

TEST(MonthCalendar, HeadIsSingleByteLatin1) {
    TempFolder folder;
    EngineState state = TownState("Oran", 8, 2014);
    StringTraceSink console;
    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, {});
    ASSERT_EQ(result.status, CalendarStatus::Written);
    EXPECT_EQ(result.fileName, "Oran_Août2014.html");
    const std::string page = ReadFile(result.path);
    const std::string head = ExpectedHead(8, 2014);
    EXPECT_EQ(page.substr(0, head.size()), head);
    EXPECT_NE(page.find("Calendrier de pri\xE8res - Ao\xFBt 2014 </title>"), std::string::npos);
    // No UTF-8 sequence anywhere: the lead bytes of "è" and "û" would be 0xC3.
    EXPECT_EQ(page.find('\xC3'), std::string::npos);
}

struct FridayCase {
    int month;
    int year;
    int days;
};

class FridayRows : public ::testing::TestWithParam<FridayCase> {};

TEST_P(FridayRows, MonthStartingOnFridayColoursEverySeventhRow) {
    const FridayCase c = GetParam();
    ASSERT_EQ(CivilWeekday(1, c.month, c.year), 4);
    TempFolder folder;
    EngineState state = TownState("Oran", c.month, c.year);
    StringTraceSink console;
    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, {});
    ASSERT_EQ(result.status, CalendarStatus::Written);
    const auto colours = DayRowColours(ReadFile(result.path));
    ASSERT_EQ(colours.size(), static_cast<size_t>(c.days));
    for (int d = 1; d <= c.days; ++d) {
        const char* expected = (d % 7 == 1) ? "#FFD5D5" : (d % 2 == 0 ? "#F5F5F5" : "#F0F0E0");
        EXPECT_EQ(colours[static_cast<std::size_t>(d - 1)], expected) << "day " << d;
    }
}

INSTANTIATE_TEST_SUITE_P(MonthsFromAFriday, FridayRows,
                         ::testing::Values(FridayCase{1, 2010, 31}, FridayCase{10, 2010, 31},
                                           FridayCase{8, 2014, 31}, FridayCase{2, 2013, 28},
                                           FridayCase{12, 2017, 31}));

struct DayCountCase {
    int month;
    int year;
    int days;
};

class DayCount : public ::testing::TestWithParam<DayCountCase> {};

TEST_P(DayCount, OneRowPerDayOfTheGregorianMonth) {
    const DayCountCase c = GetParam();
    TempFolder folder;
    EngineState state = TownState("Oran", c.month, c.year);
    StringTraceSink console;
    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, {});
    ASSERT_EQ(result.status, CalendarStatus::Written);
    const std::string page = ReadFile(result.path);
    EXPECT_EQ(DayRowColours(page).size(), static_cast<size_t>(c.days));
    // Header, row openings, cell lines: 9 head lines (H6 holds two), two per day, the foot's two.
    EXPECT_EQ(Lines(page).size(), static_cast<size_t>(9 + 2 * c.days + 2));
    EXPECT_NE(page.find("<b>" + std::to_string(c.days) + "</b>"), std::string::npos);
    EXPECT_EQ(page.find("<b>" + std::to_string(c.days + 1) + "</b>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Months, DayCount,
                         ::testing::Values(DayCountCase{2, 2012, 29}, DayCountCase{2, 2100, 28},
                                           DayCountCase{2, 2010, 28}, DayCountCase{2, 2000, 29},
                                           DayCountCase{2, 1900, 28}, DayCountCase{4, 2010, 30},
                                           DayCountCase{6, 2010, 30}, DayCountCase{12, 2010, 31},
                                           DayCountCase{7, 2010, 31}));

TEST(MonthCalendar, DayNumbersBelowTenHaveALeadingSpace) {
    TempFolder folder;
    EngineState state = TownState("Oran", 4, 2010);
    StringTraceSink console;
    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, {});
    ASSERT_EQ(result.status, CalendarStatus::Written);
    const auto lines = Lines(ReadFile(result.path));
    const std::string cellStart = "\t\t<td width=10 align=\"right\"><b>";
    for (int d = 1; d <= 30; ++d) {
        const std::string& line = lines[static_cast<std::size_t>(9 + 2 * (d - 1) + 1)];
        const std::string number = (d < 10 ? " " : "") + std::to_string(d);
        EXPECT_EQ(line.rfind(cellStart + number + "</b></td> ", 0), 0u) << line;
    }
}

TEST(MonthCalendar, WritingTwiceReplacesTheFileWithTheSameBytes) {
    TempFolder folder;
    const std::string path = folder.path() + "/Oran_Mars2010.html";
    {
        std::ofstream stale(path, std::ios::binary);
        stale << std::string(100000, 'x');
    }
    EngineState state = TownState("Oran", 3, 2010);
    StringTraceSink console;
    const CalendarResult first = WriteMonthCalendar(state, folder.path(), console, {});
    ASSERT_EQ(first.status, CalendarStatus::Written);
    EXPECT_EQ(first.path, path);
    const std::string firstPage = ReadFile(path);
    EXPECT_EQ(firstPage.find('x' + std::string(10, 'x')), std::string::npos);
    const CalendarResult second = WriteMonthCalendar(state, folder.path() + "/", console, {});
    ASSERT_EQ(second.status, CalendarStatus::Written);
    EXPECT_EQ(second.path, path);
    EXPECT_EQ(ReadFile(path), firstPage);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Oran_Mars2010.html"});
}

class VerboseSwitch : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(VerboseSwitch, MonthIsComputedSilentlyAndTheSwitchComesBackAsZeroOrOne) {
    const auto [before, after] = GetParam();
    TempFolder folder;
    EngineState state = TownState("Oran", 1, 2010);
    StringTraceSink trace;
    state.traceSink = &trace;
    state.tables.Verbose = before;

    // The same sink does receive the day's report when the switch is on, so
    // an empty sink below means the month really was computed in silence.
    EngineState probe = state;
    probe.tables.Verbose = 1;
    ComputeDaySchedule(probe);
    ASSERT_FALSE(trace.text().empty());
    trace.clear();

    StringTraceSink console;
    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, {});
    ASSERT_EQ(result.status, CalendarStatus::Written);
    EXPECT_EQ(trace.text(), "");
    EXPECT_EQ(console.text(), "");
    EXPECT_EQ(state.tables.Verbose, after);
}

INSTANTIATE_TEST_SUITE_P(Values, VerboseSwitch,
                         ::testing::Values(std::pair{1, 1}, std::pair{7, 1}, std::pair{-3, 1},
                                           std::pair{0, 0}));

TEST(MonthCalendar, DateScheduleAndZoneAreAsBefore) {
    TempFolder folder;
    EngineState state = TownState("Oran", 5, 2010);
    state.place.DST = 1;
    ComputeDaySchedule(state);
    const Observation observation = state.observation;
    const DaySchedule schedule = state.schedule;
    const double zone = state.timeZoneInEffect;
    StringTraceSink console;
    ASSERT_EQ(WriteMonthCalendar(state, folder.path(), console, {}).status,
              CalendarStatus::Written);
    EXPECT_EQ(state.observation.day, observation.day);
    EXPECT_EQ(state.observation.month, observation.month);
    EXPECT_EQ(state.observation.year, observation.year);
    EXPECT_EQ(state.observation.hour, observation.hour);
    EXPECT_EQ(state.schedule.exact, schedule.exact);
    EXPECT_EQ(state.schedule.adjusted, schedule.adjusted);
    EXPECT_EQ(state.timeZoneInEffect, zone);
}

TEST(MonthCalendar, OpenerSeesTheFinishedPage) {
    TempFolder folder;
    EngineState state = TownState("Oran", 1, 2010);
    StringTraceSink console;
    RecordingOpener open;
    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, open.opener());
    ASSERT_EQ(open.contents.size(), 1u);
    EXPECT_EQ(open.contents[0], ReadFile(result.path));
    const std::string foot = testing::kExpectedFoot;
    ASSERT_GT(open.contents[0].size(), foot.size());
    EXPECT_EQ(open.contents[0].substr(open.contents[0].size() - foot.size()), foot);
}

// Runs the calendar into a folder that cannot take it and checks that only
// the console line came out.
void ExpectOpenErrorOnly(const std::string& folder, const std::string& town,
                         const std::string& fileName, CalendarStatus status) {
    EngineState state = TownState(town, 1, 2010);
    StringTraceSink console;
    RecordingOpener open;
    const CalendarResult result = WriteMonthCalendar(state, folder, console, open.opener());
    EXPECT_EQ(result.status, status);
    EXPECT_EQ(console.text(), "File open error " + fileName + "\n");
    EXPECT_TRUE(open.paths.empty());
    EXPECT_EQ(state.observation.day, 17);
    EXPECT_EQ(state.observation.month, 1);
    EXPECT_EQ(state.observation.year, 2010);
}

TEST(MonthCalendar, FolderUnderARegularFileGivesTheConsoleLineOnly) {
    TempFolder folder;
    const std::string file = folder.path() + "/plain";
    std::ofstream(file) << "not a folder";
    ExpectOpenErrorOnly(file + "/sub", "Oran", "Oran_Janvier2010.html", CalendarStatus::OpenError);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"plain"});
}

TEST(MonthCalendar, MissingFolderGivesTheConsoleLineOnly) {
    TempFolder folder;
    ExpectOpenErrorOnly(folder.path() + "/missing", "Oran", "Oran_Janvier2010.html",
                        CalendarStatus::OpenError);
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(MonthCalendar, AFolderInThePagesPlaceIsLeftAloneAndNoTemporaryStays) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() + "/Oran_Janvier2010.html");
    ExpectOpenErrorOnly(folder.path(), "Oran", "Oran_Janvier2010.html", CalendarStatus::OpenError);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Oran_Janvier2010.html"});
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() + "/Oran_Janvier2010.html"));
}

TEST(MonthCalendar, EmptyTownTableWritesNothing) {
    TempFolder folder;
    EngineState state = TownState("Oran", 1, 2010);
    state.tables.Towns.clear();
    state.tables.NumberOfTowns = 0;
    StringTraceSink console;
    RecordingOpener open;
    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, open.opener());
    EXPECT_EQ(result.status, CalendarStatus::NoTown);
    EXPECT_EQ(console.text(), "No town in the town table: no calendar written\n");
    EXPECT_TRUE(folder.Entries().empty());
    EXPECT_TRUE(open.paths.empty());
}

TEST(MonthCalendar, SelectedTownOutOfTheTableWritesNothing) {
    for (int selected : {1, -1}) {
        TempFolder folder;
        EngineState state = TownState("Oran", 1, 2010);
        state.tables.TownSelected = selected;
        StringTraceSink console;
        EXPECT_EQ(WriteMonthCalendar(state, folder.path(), console, {}).status,
                  CalendarStatus::NoTown);
        EXPECT_TRUE(folder.Entries().empty());
    }
}

TEST(MonthCalendar, MonthOutOfRangeWritesNothing) {
    for (int month : {0, 13}) {
        TempFolder folder;
        EngineState state = TownState("Oran", month, 2010);
        StringTraceSink console;
        EXPECT_EQ(WriteMonthCalendar(state, folder.path(), console, {}).status,
                  CalendarStatus::BadMonth);
        EXPECT_EQ(console.text(),
                  "Month " + std::to_string(month) + " does not exist: no calendar written\n");
        EXPECT_TRUE(folder.Entries().empty());
    }
}

TEST(MonthCalendar, TheFileIsNamedAfterTheSelectedTown) {
    TempFolder folder;
    EngineState state = TownState("Oran", 1, 2010);
    Town other = state.tables.Towns[0];
    other.Name = "Tlemcen";
    state.tables.Towns.push_back(other);
    state.tables.NumberOfTowns = 2;
    state.tables.TownSelected = 1;
    StringTraceSink console;
    EXPECT_EQ(WriteMonthCalendar(state, folder.path(), console, {}).fileName,
              "Tlemcen_Janvier2010.html");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Tlemcen_Janvier2010.html"});
}

struct NameCase {
    const char* town;
    const char* fileName;
};

class UnsafeTownName : public ::testing::TestWithParam<NameCase> {};

TEST_P(UnsafeTownName, PageStaysInsideTheFolder) {
    const NameCase c = GetParam();
    TempFolder folder;
    EngineState state = TownState(c.town, 1, 2010);
    StringTraceSink console;
    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, {});
    ASSERT_EQ(result.status, CalendarStatus::Written) << console.text();
    EXPECT_EQ(result.fileName, c.fileName);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{c.fileName});
}

INSTANTIATE_TEST_SUITE_P(
    Names, UnsafeTownName,
    ::testing::Values(NameCase{"../../etc/x", "_._.._etc_x_Janvier2010.html"},
                      NameCase{"a\\b", "a_b_Janvier2010.html"},
                      NameCase{".hidden", "_hidden_Janvier2010.html"},
                      NameCase{"..", "_._Janvier2010.html"},
                      NameCase{"Tizi\tOuzou\n", "Tizi_Ouzou__Janvier2010.html"},
                      NameCase{"del\x7f", "del__Janvier2010.html"},
                      NameCase{"c1\xC2\x85", "c1__Janvier2010.html"},
                      NameCase{"esc\x1b[2Jbel\x07", "esc_[2Jbel__Janvier2010.html"},
                      NameCase{"evil\xE2\x80\xAEtxt.exe", "evil_txt.exe_Janvier2010.html"},
                      NameCase{"\xE2\x81\xA6iso\xE2\x81\xA9", "_iso__Janvier2010.html"},
                      NameCase{"S\xC3\xA9tif", "S\xC3\xA9tif_Janvier2010.html"},
                      NameCase{"Bad\xE9", "Bad\xC3\xA9_Janvier2010.html"},
                      NameCase{"Saint.Denis", "Saint.Denis_Janvier2010.html"},
                      NameCase{"", "_Janvier2010.html"}));

// Long names are cut to 79 characters and 100 bytes, never the month and the
// year, and never inside a character.
TEST(MonthCalendar, LongTownNamesAreCutToFit) {
    std::string accented, wide;
    for (int i = 0; i < 62; ++i) accented += "\xC3\xA9";      // 62 characters, 124 bytes
    for (int i = 0; i < 62; ++i) wide += "\xF0\x9F\x98\x80";  // 62 characters, 248 bytes
    const struct {
        std::string town;
        std::string fileName;
    } cases[] = {
        {std::string(62, 'a'), std::string(62, 'a') + "_Janvier2010.html"},
        {std::string(63, 'a'), std::string(62, 'a') + "_Janvier2010.html"},
        {std::string(79, 'b'), std::string(62, 'b') + "_Janvier2010.html"},
        {accented, accented.substr(0, 82) + "_Janvier2010.html"},
        {wide, wide.substr(0, 80) + "_Janvier2010.html"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        EngineState state = TownState(c.town, 1, 2010);
        StringTraceSink console;
        const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, {});
        EXPECT_EQ(result.status, CalendarStatus::Written) << console.text();
        EXPECT_EQ(result.fileName, c.fileName);
        EXPECT_LE(result.fileName.size(), 100u);
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{c.fileName});
    }
}

// A link planted under the temporary name or the page's own name is replaced,
// never written through.
TEST(MonthCalendar, PlantedLinksAreNeverWrittenThrough) {
    for (const char* planted : {".Oran_Janvier2010.html.part", "Oran_Janvier2010.html"}) {
        SCOPED_TRACE(planted);
        TempFolder folder;
        const std::string victim = folder.path() + "/victim";
        std::ofstream(victim) << "precious";
        std::filesystem::create_symlink(victim, folder.path() + "/" + planted);
        EngineState state = TownState("Oran", 1, 2010);
        StringTraceSink console;
        const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, {});
        ASSERT_EQ(result.status, CalendarStatus::Written) << console.text();
        EXPECT_EQ(ReadFile(victim), "precious");
        EXPECT_FALSE(std::filesystem::is_symlink(result.path));
        EXPECT_EQ(ReadFile(result.path).rfind("<html>", 0), 0u);
    }
}

TEST(MonthCalendar, PathOverTheLimitIsRefused) {
    TempFolder folder;
    const std::string deep = folder.path() + "/" + std::string(kMaxCalendarPathBytes, 'd');
    ExpectOpenErrorOnly(deep, "Oran", "Oran_Janvier2010.html", CalendarStatus::NameTooLong);
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(MonthCalendar, CellsShowTheClockTextsIncludingTheOverflowMessage) {
    TempFolder folder;
    EngineState state = TownState("Oran", 6, 2010);
    // A fixed Zuhr at 23:59:42 rounds past 23:59: every day's cell shows the message.
    state.tables.Conventions[0].ZuhrFixe = true;
    state.tables.Conventions[0].ZuhrHour = 23.995;
    const EngineState before = state;
    StringTraceSink console;
    const CalendarResult result = WriteMonthCalendar(state, folder.path(), console, {});
    ASSERT_EQ(result.status, CalendarStatus::Written);
    const std::string page = ReadFile(result.path);
    EXPECT_EQ(page, ExpectedPage(before, 30));
    const std::string overflow = std::string("&nbsp;") + kClockOverflowText + "</td>";
    size_t count = 0;
    for (size_t at = page.find(overflow); at != std::string::npos;
         at = page.find(overflow, at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 30u);
}

TEST(MonthCalendarCases, EstimatedCellsCarryTheMarkAndThePageItsLegend) {
    struct Case {
        HighLatitudeRule rule;
        const char* row21;  // day 21's six cells
        const char* foot;
    };
    const Case cases[] = {
        {HighLatitudeRule::Seventh, "03:41* 04:43 13:04 18:41 21:23 22:24*",
         "</table><BR>\n\t\t<p class=legend>* estim\xE9"
         "e : 1/7 de la nuit (latitude "
         "\xE9"
         "lev\xE9"
         "e)</p>\n\t</body>\n</html>\n"},
        {HighLatitudeRule::Middle, "01:02* 04:43 13:04 18:41 21:23 01:02*",
         "</table><BR>\n\t\t<p class=legend>* estim\xE9"
         "e : milieu de la nuit (latitude "
         "\xE9"
         "lev\xE9"
         "e)</p>\n\t</body>\n</html>\n"},
        {HighLatitudeRule::None, "--:-- 04:43 13:04 18:41 21:23 --:--", kExpectedFoot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(HighLatitudeRuleName(c.rule));
        TempFolder folder;
        // London in June, summer time as zone 1: the twilights are never reached.
        EngineState state = TownState("London", 6, 2010, 51.5074, -0.1278, 1);
        state.highLatitudeRule = c.rule;
        StringTraceSink console;
        const std::string page =
            ReadFile(WriteMonthCalendar(state, folder.path(), console, {}).path);
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
        ASSERT_GE(page.size(), std::string(c.foot).size());
        EXPECT_EQ(page.substr(page.size() - std::string(c.foot).size()), c.foot);
        EXPECT_EQ(page.rfind(kExpectedFoot) != std::string::npos, c.rule == HighLatitudeRule::None);
    }
}

struct EncodingCase {
    const char* utf8;
    const char* page;
};

class PageEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(PageEncoding, Latin1WithReferencesBeyondIt) {
    EXPECT_EQ(Utf8ToLatin1Html(GetParam().utf8), GetParam().page);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PageEncoding,
    ::testing::Values(
        EncodingCase{"Oran", "Oran"}, EncodingCase{"F\xC3\xA9vrier", "F\xE9vrier"},
        EncodingCase{"Ao\xC3\xBBt", "Ao\xFBt"}, EncodingCase{"pri\xC3\xA8res", "pri\xE8res"},
        EncodingCase{"\xC3\xBF", "\xFF"}, EncodingCase{"A\xC4\x9Fr\xC4\xB1", "A&#287;r&#305;"},
        EncodingCase{"\xE2\x82\xAC", "&#8364;"}, EncodingCase{"\xF0\x9F\x98\x80", "&#128512;"},
        EncodingCase{"Bad\xE9!", "Bad\xE9!"},         // stray Latin-1 byte kept
        EncodingCase{"cut\xC3", "cut\xC3"},           // sequence cut short
        EncodingCase{"\xC0\xAF", "\xC0\xAF"},         // overlong '/'
        EncodingCase{"\xED\xA0\x80", "\xED\xA0\x80"}  // surrogate
        ));

TEST(PageEncoding, MarkupCharactersOfATextAreEscaped) {
    EXPECT_EQ(EscapeHtmlText("a<b>&c"), "a&lt;b&gt;&amp;c");
    EXPECT_EQ(EscapeHtmlText("D\xC3\xA9"
                             "cembre"),
              "D\xC3\xA9"
              "cembre");
}

TEST(PageEncoding, CharacterCount) {
    EXPECT_EQ(CharacterCount(""), 0u);
    EXPECT_EQ(CharacterCount("D\xC3\xA9"
                             "cembre"),
              8u);
    EXPECT_EQ(CharacterCount("\xF0\x9F\x98\x80x"), 2u);
    EXPECT_EQ(CharacterCount("\xE9\xE9"), 2u);
}

}  // namespace
}  // namespace orvano
