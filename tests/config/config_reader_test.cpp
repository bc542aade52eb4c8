// The application's reader: result codes and their messages, the transcription,
// the grammar's corners and the limits that keep bad input harmless.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "astro/trace.h"
#include "config/reader.h"
#include "config/writer.h"
#include "config_test_support.h"
#include "tests/support/hostile_files.h"

namespace orvano {
namespace {

using testing::Box;
using testing::FileRead;
using testing::HeaderLine;
using testing::MinutesLine;
using testing::NameLine;
using testing::ParamsLine;
using testing::Printf;
using testing::Read;
using testing::ReadFile;
using testing::TownLine;
using testing::WriteFile;
using Boxes = std::vector<Box>;
using ::testing::HasSubstr;
using ::testing::Not;

Boxes ReadError(const std::string& text) {
    return {{text, "Read error"}};
}
auto Flags(const Convention& c) {
    return std::tuple(c.AsrShafii, c.Isha_is_Maghrib_plus, c.ZuhrFixe);
}

const std::string kTwoTowns =
    "1 2 1 0\n"
    "2 Algeria Algiers 36.7538 3.0588 1 0 6\n"
    "2 France Paris 48.8566 2.3522 1 1 5\n";

// ---- result codes ---------------------------------------------------------

TEST(ConfigReader, Result0FillsPlaceFromSelectedTown) {
    Read r(kTwoTowns);
    EXPECT_EQ(r.result, kReadOk);
    EXPECT_TRUE(r.boxes.shown.empty());
    ASSERT_EQ(r.tables.Towns.size(), 2u);
    const CurrentPlace& p = r.place;
    EXPECT_EQ(std::tuple(p.Name, p.Country, p.latitude.value(), p.longitude.value(), p.TimeZone,
                         p.DST, p.Convention),
              std::tuple("Paris", "France", 48.8566, 2.3522, 1, 1, 5));
    EXPECT_EQ(r.console.text(), "");  // Verbose 0
}

TEST(ConfigReader, Result1MissingFileShowsItsPathAndLeavesStartValues) {
    FileRead r;
    EXPECT_EQ(r.RunFile(r.folder / "read_echo.cfg"), kReadOpenError);
    EXPECT_EQ(r.boxes.shown, (Boxes{{r.path, "File open error"}}));
    EXPECT_EQ(r.tables.NumberOfTowns, 0);
    EXPECT_TRUE(r.tables.Towns.empty());
    for (const Convention& c : r.tables.Conventions) {
        EXPECT_EQ(std::tie(c.Name, c.AsrShafii, c.FajrTwilightAngle), std::tuple("", false, 0.0));
    }
    EXPECT_FALSE(std::filesystem::exists(r.folder / "read_echo.cfg"));
}

// Nothing that is not a small regular file is waited on or read without end:
// the others are open errors naming the path (with the reason for the command
// line), a file over 64 MB a bad format; no transcription is made for them.
TEST(ConfigReader, HostileFilesAreRefusedAtOnce) {
    for (const testing::HostileCase& c : testing::kHostileFiles) {
        SCOPED_TRACE(c.name);
        FileRead r;
        ASSERT_TRUE(testing::PlantHostile(c.kind, r.path));
        r.RunFile(r.folder / "read_echo.cfg");
        EXPECT_EQ(r.tables.NumberOfTowns, 0);
        if (c.kind == testing::Hostile::Oversized) {
            EXPECT_EQ(r.result, kReadBadFormat);
            EXPECT_EQ(r.boxes.shown, ReadError("bad format of data.cfg"));
        } else {
            EXPECT_EQ(r.result, kReadOpenError);
            EXPECT_EQ(r.boxes.shown, (Boxes{{r.path, "File open error"}}));
            EXPECT_EQ(r.reason, "not a regular file");
            EXPECT_FALSE(std::filesystem::exists(r.folder / "read_echo.cfg"));
        }
    }
}

// A link planted where the transcription goes is replaced, never written through.
TEST(ConfigReader, EchoNeverWritesThroughAPlantedLink) {
    FileRead r;
    WriteFile(r.path, kTwoTowns);
    WriteFile(r.folder / "victim", "precious\n");
    std::filesystem::create_symlink(r.folder / "victim", r.folder / "read_echo.cfg");
    ASSERT_EQ(r.RunFile(r.folder / "read_echo.cfg"), kReadOk);
    EXPECT_EQ(ReadFile(r.folder / "victim"), "precious\n");
    EXPECT_FALSE(std::filesystem::is_symlink(r.folder / "read_echo.cfg"));
    EXPECT_EQ(ReadFile(r.folder / "read_echo.cfg").rfind(kEchoTitleLine, 0), 0u);
    EXPECT_EQ(r.folder.Entries(),
              (std::vector<std::string>{"data.cfg", "read_echo.cfg", "victim"}));
}

TEST(ConfigReader, Result2EchoCannotBeCreated) {
    FileRead r;
    WriteFile(r.path, kTwoTowns);
    const std::string echoPath = r.folder / "missing-folder/read_echo.cfg";
    EXPECT_EQ(r.RunFile(echoPath), kReadEchoOpenError);
    EXPECT_EQ(r.boxes.shown, (Boxes{{echoPath, "File open error"}}));
    EXPECT_EQ(r.tables.NumberOfTowns, 0);  // nothing was read
}

// Refused bytes: one box, no place filled and never a convention index
// outside the table; reading stopped at once, so nothing after the refused
// line was transcribed, and the towns read before it stay.
struct Refusal {
    std::string text;
    int result;
    size_t townsBefore;
    friend void PrintTo(const Refusal& c, std::ostream* os) { *os << PrintableText(c.text); }
};

class ReadRefused : public ::testing::TestWithParam<Refusal> {};

TEST_P(ReadRefused, WithOneBoxAndNoPlace) {
    const Refusal& c = GetParam();
    Read r;
    r.place.Convention = 4;
    r.Run(c.text);
    EXPECT_EQ(r.result, c.result);
    EXPECT_EQ(r.boxes.shown,
              ReadError(c.result == kReadBadFormat ? "bad format of data.cfg"
                                                   : "Invalid number of towns in data.cfg"));
    EXPECT_EQ(r.place.Name, "");
    EXPECT_EQ(r.place.Convention, 4);
    EXPECT_THAT(r.echo, Not(HasSubstr("never read")));
    ASSERT_EQ(r.tables.Towns.size(), c.townsBefore);
    if (c.townsBefore > 0) {
        EXPECT_EQ(r.tables.NumberOfTowns, static_cast<int>(c.townsBefore));
        EXPECT_EQ(r.tables.Towns.back().Name, c.townsBefore == 2 ? "Paris" : "");
    }
}

// Each line between `before` and `after`.
std::vector<Refusal> Refusals(int result, const std::string& before,
                              std::initializer_list<const char*> lines,
                              const std::string& after = "") {
    std::vector<Refusal> cases;
    const size_t towns = before == kTwoTowns ? 2 : before.empty() ? 0 : 1;
    for (const char* line : lines) cases.push_back({before + line + after, result, towns});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Result3UnknownKinds, ReadRefused,
                         ::testing::ValuesIn(Refusals(kReadBadFormat, kTwoTowns,
                                                      {"6 1 2 3\n", "7\n", "9 x\n", "0\n", "-8 x\n",
                                                       "10 1\n"},
                                                      "8 never read\n")));
INSTANTIATE_TEST_SUITE_P(Result3KindThatIsNoNumber, ReadRefused,
                         ::testing::ValuesIn(Refusals(kReadBadFormat, "",
                                                      {"x 1 2\n", "\"name\"\n", "+\n", "- 8\n",
                                                       "99999999999 1\n"})));
INSTANTIATE_TEST_SUITE_P(
    Result3ConventionIndexOutsideTable, ReadRefused,
    ::testing::ValuesIn(Refusals(kReadBadFormat, "",
                                 {"3 9 1 18 17 0.833 0 0 0 0\n", "3 -1 1 18 17 0.833 0 0 0 0\n",
                                  "4 9 1 2 3 4 5 6\n", "4 -1 1 2 3 4 5 6\n", "5 9 \"x\"\n",
                                  "5 -1 \"x\"\n", "5 2147483647 \"x\"\n"})));
INSTANTIATE_TEST_SUITE_P(
    Result3UnreadableOrMissingField, ReadRefused,
    ::testing::ValuesIn(Refusals(kReadBadFormat, "",
                                 {"1 2 x 0\n", "1 2 0\n", "2 Algeria Algiers north 3.0 1 0 0\n",
                                  "2 Algeria\n", "3 0 1 18 17 0.833 0 0 0\n",
                                  "3 0 1 18 17 0.833 0.5 0 0 0\n", "4 0 1 2 3 4 5\n",
                                  "4 0 1 2 3 4 5 nan\n", "4 0 1 2 3 4 5 inf\n",
                                  "4 0 1 2 3 4 5 1e999\n", "2 A B 1 2 3000000000 0 0\n", "5\n"})));
INSTANTIATE_TEST_SUITE_P(
    Result3ValuesOutsideWhatTheyCanMean, ReadRefused,
    ::testing::ValuesIn(Refusals(
        kReadBadFormat, "1 1 0 0\n",
        {"2 A a 90.5 0 0 0 0\n", "2 A a -91 0 0 0 0\n", "2 A a 0 180.01 0 0 0\n",
         "2 A a 0 -200 0 0 0\n", "2 A a 0 0 15 0 0\n", "2 A a 0 0 -13 0 0\n", "2 A a 0 0 0 0 9\n",
         "2 A a 0 0 0 0 -1\n", "3 0 1 91 17 0.833 0 0 0 0\n", "3 0 1 18 -91 0.833 0 0 0 0\n",
         "3 0 1 18 17 1e300 0 0 0 0\n", "3 0 1 18 17 0.833 1 1441 0 0\n",
         "3 0 1 18 17 0.833 1 -1441 0 0\n", "3 0 1 18 17 0.833 0 0 1 24.5\n",
         "3 0 1 18 17 0.833 0 0 1 -1\n", "4 0 0 0 0 0 0 1441\n", "4 0 -1e300 0 0 0 0 0\n"})));
INSTANTIATE_TEST_SUITE_P(Result6NoTownsInHeader, ReadRefused,
                         ::testing::ValuesIn(Refusals(kReadInvalidTownCount, "",
                                                      {"1 0 0 0\n", "1 -5 0 0\n"},
                                                      "8 never read\n")));

// The limits themselves are values like any other.
TEST(ConfigReader, ValuesAtTheirLimitsAreRead) {
    Read edge(
        "1 2 1 0\n2 A a 90 180 14 0 8\n2 B b -90 -180 -12 7 0\n"
        "3 0 0 90 -90 -90 1 -1440 1 24\n4 0 -1440 1440 0 0 0 0\n3 1 0 0 0 0 0 1440 1 0\n");
    EXPECT_EQ(edge.result, kReadOk);
    EXPECT_EQ(edge.place.Name, "b");
}

TEST(ConfigReader, Result4MoreTownLinesThanNumberOfTowns) {
    Read r(
        "1 2 0 0\n"
        "2 A a 1 1 0 0 0\n"
        "2 B b 2 2 0 0 0\n"
        "2 C c 3 3 0 0 0\n");
    EXPECT_EQ(r.result, kReadTownCountError);
    EXPECT_EQ(r.boxes.shown, ReadError("Number of towns does not match NTowns"));
    // The third line found no slot: the table keeps exactly NumberOfTowns towns.
    ASSERT_EQ(r.tables.Towns.size(), 2u);
    EXPECT_EQ(r.tables.Towns[1].Name, "b");
    EXPECT_EQ(r.place.Name, "");
    // The whole file was read and transcribed.
    EXPECT_THAT(r.echo, HasSubstr("2 C "));
}

// Too few town lines, or none after an earlier read; the count is checked
// before the selected town, so only its box is shown.
TEST(ConfigReader, Result4TownLinesShortOfTheCount) {
    const struct {
        std::string earlier, text;
        int towns;
    } cases[] = {{"", "1 3 0 0\n2 A a 1 1 0 0 0\n", 3},
                 {"", "1 2 7 0\n2 A a 1 1 0 0 0\n", 2},
                 {kTwoTowns, "", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Read r;
        if (!c.earlier.empty()) {
            ASSERT_EQ(r.Run(c.earlier), kReadOk);
        }
        r.Run(c.text);
        EXPECT_EQ(r.result, kReadTownCountError);
        EXPECT_EQ(r.boxes.shown, ReadError("Number of towns does not match NTowns"));
        EXPECT_EQ(r.console.text(), "");
        EXPECT_EQ(r.tables.NumberOfTowns, c.towns);
    }
}

// An empty file, with no town at all, is out of range too.
TEST(ConfigReader, Result5SelectedTownOutOfRangeIsAConsoleLineOnly) {
    const std::string towns = "2 A a 1 1 0 0 0\n2 B b 2 2 0 0 0\n";
    for (const std::string& text :
         {"1 2 2 0\n" + towns, "1 2 -1 0\n" + towns, "1 2 99 1\n" + towns, std::string()}) {
        SCOPED_TRACE(text);
        Read r(text);
        EXPECT_EQ(r.result, kReadTownOutOfRange);
        EXPECT_TRUE(r.boxes.shown.empty());
        EXPECT_EQ(r.console.text(), "Error : Selected town out of range\n");
        EXPECT_EQ(r.place.Name, "");
        if (text.empty()) {
            EXPECT_EQ(r.echo, kEchoTitleLine);
        }
    }
}

TEST(ConfigReader, Result6HugeNumberOfTownsIsRefusedWhole) {
    Read r(kTwoTowns);
    ASSERT_EQ(r.result, kReadOk);
    r.Run("1 100001 0 1\n");
    EXPECT_EQ(r.result, kReadInvalidTownCount);
    EXPECT_EQ(r.boxes.shown, ReadError("Invalid number of towns in data.cfg"));
    EXPECT_EQ(std::tuple(r.tables.NumberOfTowns, r.tables.Towns.size(), r.tables.TownSelected),
              std::tuple(2, 2u, 1));
    // The largest table allowed is still made.
    Read big("1 100000 0 0\n");
    EXPECT_EQ(big.result, kReadTownCountError);
    EXPECT_EQ(big.tables.Towns.size(), 100000u);
}

// ---- transcription ---------------------------------------------------------

TEST(ConfigReader, TranscriptionFormatsEveryKind) {
    Read r(
        "8 hello\n"
        "5 3 \"Gulf  Region\" trailing\n"
        "3 3 2 19.5 0 0.833 1 90 0 12.5\n"
        "4 3 1 -2.5 0 0 3 0.125\n"
        "1 1 0 0\n"
        "2 Algeria Algiers 36.7538 3.0588 1 0 6\n");
    ASSERT_EQ(r.result, kReadOk);
    EXPECT_EQ(r.EchoBody(), "8 hello\n" + NameLine(3, "Gulf  Region") +
                                ParamsLine(3, 2, 19.5, 0.0, 0.833, 1, 90, 0, 12.5) +
                                MinutesLine(3, {1.0, -2.5, 0.0, 0.0, 3.0, 0.125}) +
                                HeaderLine(1, 0, 0) +
                                TownLine("Algeria", "Algiers", 36.7538, 3.0588, 1, 0, 6));
}

TEST(ConfigReader, CommentLinesAnywhereAreCopiedUnchanged) {
    const std::string comments[] = {
        "8 ----  spaced   out  ", "8", "8x no space", "8\t tab first", "8 \"quoted\" 1 2 3",
        "08 leading zero"};
    std::string file;
    std::string expected;
    file += comments[0] + "\n1 1 0 0\n";
    expected += comments[0] + "\n1 1              0             0      \n";
    file += comments[1] + "\n" + comments[2] + "\n\n\n" + comments[3] + "\n";
    expected += comments[1] + "\n" + comments[2] + "\n" + comments[3] + "\n";
    file += "2 A a 1 1 0 0 0\n" + comments[4] + "\n";
    expected += TownLine("A", "a", 1.0, 1.0, 0, 0, 0) + comments[4] + "\n";
    file += comments[5];  // last line without a line end
    expected += "8 leading zero\n";
    Read r(file);
    ASSERT_EQ(r.result, kReadOk);
    EXPECT_EQ(r.EchoBody(), expected);
}

TEST(ConfigReader, RecordsReadFieldByFieldAcrossLineEnds) {
    Read r(
        "1\n1\n\n0 0 2 Algeria\n  Algiers 36.7538\n3.0588 1 0\n6\n"
        "3 0 1 18 17 0.833 0 0 0 0 5 0 \"Name\"\n");
    ASSERT_EQ(r.result, kReadOk);
    EXPECT_EQ(r.tables.Towns[0].Name, "Algiers");
    EXPECT_EQ(r.tables.Towns[0].Convention, 6);
    EXPECT_EQ(r.tables.Conventions[0].FajrTwilightAngle, 18.0);
    EXPECT_EQ(r.tables.Conventions[0].Name, "Name");
    EXPECT_EQ(r.EchoBody(),
              HeaderLine(1, 0, 0) + TownLine("Algeria", "Algiers", 36.7538, 3.0588, 1, 0, 6) +
                  ParamsLine(0, 1, 18.0, 17.0, 0.833, 0, 0, 0, 0.0) + "5 0         \"Name\"\n");
}

TEST(ConfigReader, TranscriptionFileIsWrittenBesideOnFailureToo) {
    FileRead r;
    WriteFile(r.path, "8 first\n1 1 0 0\n6\n");
    EXPECT_EQ(r.RunFile(ReadEchoBeside(r.path)), kReadBadFormat);
    EXPECT_EQ(ReadFile(r.folder / "read_echo.cfg"),
              std::string(kEchoTitleLine) + "8 first\n1 1              0             0      \n6 ");
}

// ---- flags, names, conventions --------------------------------------------

TEST(ConfigReader, FlagsAreTrueOnlyForOne) {
    Read r("3 0 1 0 0 0 1 5 1 12\n3 1 2 0 0 0 2 5 2 12\n3 2 -1 0 0 0 0 5 0 12\n");
    EXPECT_EQ(Flags(r.tables.Conventions[0]), std::tuple(true, true, true));
    EXPECT_EQ(Flags(r.tables.Conventions[1]), std::tuple(false, false, false));
    EXPECT_EQ(Flags(r.tables.Conventions[2]), std::tuple(false, false, false));
    // The transcription shows the integers that were read.
    EXPECT_THAT(r.echo, HasSubstr(ParamsLine(1, 2, 0.0, 0.0, 0.0, 2, 5, 2, 12.0)));
}

TEST(ConfigReader, NameLines) {
    struct Case {
        const char* line;
        const char* name;
    } cases[] = {
        {"5 0 \"Muslim World League\"", "Muslim World League"},
        {"5 0 \"\"", ""},
        {"5 0 no quotes at all", ""},
        {"5 0 \"only one quote", ""},
        {"5 0 before \"inside\" after \"more\"", "inside"},
        {"5 0\t\"tab\"", "tab"},
        {"5 0", ""},
        {"5 0 \"Français\"", "Français"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Read r;
        r.tables.Conventions[0].Name = "old";
        r.Run(std::string(c.line) + "\n");
        EXPECT_EQ(r.result, kReadTownOutOfRange);  // no town: only the range check fails
        EXPECT_EQ(r.tables.Conventions[0].Name, c.name);
    }
}

TEST(ConfigReader, ConventionsNotInTheFileKeepTheirValues) {
    Read r;
    r.tables.Conventions[7].Name = "kept";
    r.tables.Conventions[7].FajrTwilightAngle = 19.5;
    r.Run("5 1 \"new\"\n" + kTwoTowns);
    ASSERT_EQ(r.result, kReadOk);
    EXPECT_EQ(r.tables.Conventions[1].Name, "new");
    EXPECT_EQ(r.tables.Conventions[7].Name, "kept");
    EXPECT_EQ(r.tables.Conventions[7].FajrTwilightAngle, 19.5);
}

TEST(ConfigReader, PlaceIsFilledOnlyAfterAllChecks) {
    Read r;
    r.place.Name = "before";
    r.Run("1 1 0 0\n2 A a 1 1 0 0 0\n2 B b 1 1 0 0 0\n5 6 \"x\"\n");
    EXPECT_EQ(r.result, kReadTownCountError);
    EXPECT_EQ(r.place.Name, "before");
    // The place's convention follows each convention line as it is read.
    EXPECT_EQ(r.place.Convention, 6);
    // After a success the selected town's convention wins.
    Read ok(kTwoTowns + "4 8 0 0 0 0 0 0\n");
    ASSERT_EQ(ok.result, kReadOk);
    EXPECT_EQ(ok.place.Convention, 5);
}

TEST(ConfigReader, VerboseLinesAfterSuccess) {
    Read r("1 1 0 1\n2 Algeria Algiers 36.7538 3.0588 1 0 6\n");
    ASSERT_EQ(r.result, kReadOk);
    EXPECT_EQ(r.console.text(),
              "Lieu actuel : \n"
              "Lieu : Algeria, Algiers\n"
              "latitude= 36°45'14\"   longitude=  3°03'32\"\n"
              "Convention 6\n");
}

TEST(ConfigReader, VerboseFromTheFileDecides) {
    Read r;
    r.tables.Verbose = 1;  // as the start-up sets it before reading
    r.Run(kTwoTowns);
    EXPECT_EQ(r.result, kReadOk);
    EXPECT_EQ(r.tables.Verbose, 0);
    EXPECT_EQ(r.console.text(), "");
}

// ---- limits -----------------------------------------------------------------

TEST(ConfigReader, TextsKeepAtMost79Characters) {
    std::string longWord;
    for (int i = 0; i < 100; ++i) longWord += "\xC3\xA9";  // é, two bytes each
    std::string expected;
    for (int i = 0; i < 79; ++i) expected += "\xC3\xA9";
    Read r("1 1 0 0\n2 " + longWord + " " + longWord + " 1 2 3 4 5\n5 0 \"" + longWord + "\"\n");
    ASSERT_EQ(r.result, kReadOk);
    // The rest of the long word did not spill into the numbers.
    const Town& t = r.tables.Towns[0];
    EXPECT_EQ(std::tie(t.Country, t.Name, t.latitude, t.Convention),
              std::tuple(expected, expected, 1.0, 5));
    EXPECT_EQ(r.tables.Conventions[0].Name, expected);
    EXPECT_EQ(r.place.Name, expected);
}

TEST(ConfigReader, RestOfLineKeepsAtMost199Characters) {
    const std::string longComment = "8 " + std::string(300, 'c');
    const std::string longName = "5 1 \"" + std::string(250, 'n') + "\"";
    Read r(longComment + "\n" + longName + "\n" + kTwoTowns);
    ASSERT_EQ(r.result, kReadOk);  // the rest of a long line never becomes a record
    // The rest after the kind is " ccc...": 199 characters kept.
    EXPECT_EQ(r.EchoBody().substr(0, 203), "8 " + std::string(198, 'c') + "\n5 ");
    // The closing quote lies beyond what was kept: no name.
    EXPECT_EQ(r.tables.Conventions[1].Name, "");
}

TEST(ConfigReader, TownLineBeforeTheHeaderIsStoredNowhere) {
    Read r("2 X x 1 1 0 0 0\n1 1 0 0\n");
    EXPECT_EQ(r.result, kReadTownCountError);  // one line for one slot, but no slot taken
    ASSERT_EQ(r.tables.Towns.size(), 1u);
    EXPECT_EQ(r.tables.Towns[0].Name, "");
    Read fromEarlierRead(kTwoTowns);
    fromEarlierRead.Run("2 X x 1 1 0 0 0\n2 Y y 1 1 0 0 0\n");
    EXPECT_EQ(fromEarlierRead.result, kReadTownCountError);
    EXPECT_EQ(fromEarlierRead.tables.Towns[0].Name, "Algiers");  // old table untouched
}

TEST(ConfigReader, SecondHeaderResizesWithoutDanglingSlots) {
    Read shrink("1 3 0 0\n2 A a 1 1 0 0 0\n2 B b 1 1 0 0 0\n2 C c 1 1 0 0 0\n1 1 0 0\n");
    EXPECT_EQ(shrink.result, kReadTownCountError);
    ASSERT_EQ(shrink.tables.Towns.size(), 1u);
    EXPECT_EQ(shrink.tables.Towns[0].Name, "a");
    EXPECT_EQ(shrink.tables.NumberOfTowns, 1);

    Read grow("1 1 0 0\n2 A a 1 1 0 0 0\n1 2 1 0\n2 B b 1 1 0 0 0\n");
    EXPECT_EQ(grow.result, kReadOk);
    ASSERT_EQ(grow.tables.Towns.size(), 2u);
    EXPECT_EQ(grow.tables.Towns[0].Name, "a");
    EXPECT_EQ(grow.place.Name, "b");
}

TEST(ConfigReader, NumbersAsFormattedInputTakesThem) {
    Read r("+1 +1 0 0\n2 A a +36.5 -3.25e0 -1 0 08\n3 0 1 .5 17. 0.833 0 0 0 1e1\n");
    ASSERT_EQ(r.result, kReadOk);
    const Town& t = r.tables.Towns[0];
    EXPECT_EQ(std::tie(t.latitude, t.longitude, t.TimeZone, t.Convention),
              std::tuple(36.5, -3.25, -1, 8));
    const Convention& c = r.tables.Conventions[0];
    EXPECT_EQ(std::tie(c.FajrTwilightAngle, c.IshaTwilightAngle, c.ZuhrHour),
              std::tuple(0.5, 17.0, 10.0));
}

TEST(ConfigReader, NumberStopsWhereItCannotGoOn) {
    // "12.5" as an integer is 12, and ".5" is then the next field.
    Read r("1 1 0 0\n2 A a 1 2 12.5 0 0\n");
    EXPECT_EQ(r.result, kReadBadFormat);
    Read glued("1 1 0 0\n2 A a 1 2 3 0 0\n3 0 1 18 17 0.833 0 0 0 12.5x\n");
    EXPECT_EQ(glued.result, kReadBadFormat);  // "x" is read as the next kind
}

// ---- encodings --------------------------------------------------------------

TEST(ConfigReader, Windows1252FileBecomesUtf8InMemory) {
    Read r(
        "8 caf\xE9\r\n1 1 0 0\r\n2 Alg\xE9rie B\xE9ja\xEF"
        "a 36.75 5.06 1 0 0\r\n"
        "5 0 \"\x80 \x9C \xA0\"\r\n");
    ASSERT_EQ(r.result, kReadOk);
    EXPECT_EQ(r.tables.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(r.tables.Towns[0].Country, "Algérie");
    EXPECT_EQ(r.tables.Towns[0].Name, "Béjaïa");
    EXPECT_EQ(r.tables.Conventions[0].Name, "\xE2\x82\xAC \xC5\x93 \xC2\xA0");
    // Padding counts characters, and the line end of the comment is the platform's.
    EXPECT_EQ(r.EchoBody().substr(0, 10), "8 caf\xC3\xA9\n1 ");
    EXPECT_THAT(r.echo, HasSubstr("2 Algérie" + std::string(10, ' ') + "Béjaïa" +
                                  std::string(11, ' ') + "36.750000"));
}

TEST(ConfigReader, Utf8FileStaysUtf8AndItsMarkIsDropped) {
    Read r(
        "\xEF\xBB\xBF"
        "1 1 0 0\n2 Algérie Alger 36.75 5.06 1 0 0\n");
    ASSERT_EQ(r.result, kReadOk);
    EXPECT_EQ(r.tables.encoding, TextEncoding::Utf8);
    EXPECT_EQ(r.tables.Towns[0].Country, "Algérie");
}

TEST(ConfigReader, TranscriptionFileInTheEncodingRead) {
    FileRead r;
    WriteFile(r.path,
              "8 caf\xE9\n1 1 0 0\n2 X B\xE9ja\xEF"
              "a 36.75 5.06 1 0 0\n");
    ASSERT_EQ(r.RunFile(r.folder / "read_echo.cfg"), kReadOk);
    const std::string echo = ReadFile(r.folder / "read_echo.cfg");
    EXPECT_THAT(echo, HasSubstr("8 caf\xE9\n"));
    EXPECT_THAT(echo, HasSubstr("2 X" + std::string(16, ' ') +
                                "B\xE9ja\xEF"
                                "a" +
                                std::string(11, ' ') + "36.750000"));
    EXPECT_EQ(r.place.Name, "Béjaïa");
}

// ---- round trip -------------------------------------------------------------

TEST(ConfigReader, DefaultFileReadsAndTranscribesItselfLineForLine) {
    const std::string path = std::string(ORVANO_SOURCE_DIR) + "/resources/data.cfg";
    const std::string bytes = ReadFile(path);
    Read r(bytes);
    ASSERT_EQ(r.result, kReadOk);
    EXPECT_EQ(r.EchoBody(), bytes);
    EXPECT_EQ(r.tables.encoding, TextEncoding::Utf8);
}

// ---- zone lines ---------------------------------------------------------------

size_t Occurrences(const std::string& text, const std::string& word) {
    size_t n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
}

TEST(ConfigReader, ZoneLineNamesTheZoneOfTheTownJustBeforeIt) {
    const std::string head =
        "1 2 1 0\n"
        "2 India Delhi 28.6139 77.209 5 0 4\n";
    const std::string paris = "2 France Paris 48.8566 2.3522 1 1 5\n";
    struct Case {
        std::string text;
        std::string delhi, paris;
    } cases[] = {
        {head + "8 zone Asia/Kolkata\n" + paris + "8 zone Europe/Paris\n", "Asia/Kolkata",
         "Europe/Paris"},
        {head + "8\tzone   Asia/Kolkata \r\n" + paris, "Asia/Kolkata", ""},
        // Unknown to the database: kept as read, the engine falls back to the integers.
        {head + "8 zone Asia/Atlantis\n" + paris, "Asia/Atlantis", ""},
        // Malformed lines are comments: no name, a bad character, too long, extra words.
        {head + "8 zone\n" + paris, "", ""},
        {head + "8 zone Asia/Kolkata.bak\n" + paris, "", ""},
        {head + "8 zone " + std::string(65, 'A') + "\n" + paris, "", ""},
        {head + "8 zone Asia/Kolkata Asia/Dhaka\n" + paris, "", ""},
        {head + "8 zoned Asia/Kolkata\n" + paris, "", ""},
        // Only right after the town's line.
        {head + "8 a comment\n8 zone Asia/Kolkata\n" + paris, "", ""},
        {"8 zone Asia/Kolkata\n" + head + paris, "", ""},
        {head + "8 zone Asia/Kolkata\n8 zone Asia/Dhaka\n" + paris, "Asia/Kolkata", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Read r(c.text);
        ASSERT_EQ(r.result, kReadOk);
        EXPECT_EQ(r.tables.Towns[0].Zone, c.delhi);
        EXPECT_EQ(r.tables.Towns[1].Zone, c.paris);
        EXPECT_EQ(r.place.Zone, c.paris);          // the selected town's
        EXPECT_EQ(r.tables.Towns[0].TimeZone, 5);  // the integers stay as read
        // Every zone line, good or bad, is copied into the transcription as read.
        EXPECT_EQ(Occurrences(r.EchoBody(), "zone"), Occurrences(c.text, "zone"));
    }
}

// A method line names the town's method; zone and method lines follow the town
// in either order, each once; anything else ends them.
TEST(ConfigReader, MethodLineNamesTheMethodOfTheTownBeforeItInEitherOrderWithTheZone) {
    const std::string head = "1 2 1 0\n2 Malaysia Kuala_Lumpur 3.139 101.6869 8 0 7\n";
    const std::string paris = "2 France Paris 48.8566 2.3522 1 1 5\n";
    struct Case {
        std::string after, zone, method;
    } cases[] = {
        {"8 method jakim\n", "", "jakim"},
        {"8 zone Asia/Kuala_Lumpur\n8 method jakim\n", "Asia/Kuala_Lumpur", "jakim"},
        {"8 method jakim\n8 zone Asia/Kuala_Lumpur\n", "Asia/Kuala_Lumpur", "jakim"},
        {"8  method\tmy_own-2 \r\n", "", "my_own-2"},
        {"8 method jakim\n8 method muis\n8 zone Asia/Kuala_Lumpur\n", "", "jakim"},
        {"8 method jakim\n8 a comment\n8 zone Asia/Kuala_Lumpur\n", "", "jakim"},
        {"8 method JAKIM\n", "", ""},
        {"8 method 7days\n", "", ""},
        {"8 method jakim muis\n", "", ""},
        {"8 method " + std::string(33, 'a') + "\n", "", ""},
        {"8 methods jakim\n", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        Read r(head + c.after + paris);
        ASSERT_EQ(r.result, kReadOk);
        EXPECT_EQ(r.tables.Towns[0].Zone, c.zone);
        EXPECT_EQ(r.tables.Towns[0].Method, c.method);
        EXPECT_EQ(r.tables.Towns[0].Convention, 7);  // stays for older readers
        EXPECT_EQ(r.tables.Towns[1].Method, "");
        // Every method line, good or bad, is copied into the transcription.
        EXPECT_EQ(Occurrences(r.EchoBody(), "method"), Occurrences(c.after, "method"));
    }
    Read selected("1 1 0 0\n" + paris + "8 method uoif\n");
    EXPECT_EQ(selected.place.Method, "uoif");
}

}  // namespace
}  // namespace orvano
