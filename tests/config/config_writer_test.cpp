// The writer: its exact layout, the round trip through the reader, the
// replacement that never loses the old file, the encodings, and the bundled
// default tables.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <set>
#include <string>
#include <tuple>

#include "astro/zone.h"
#include "config/grammar.h"
#include "config/reader.h"
#include "config/text_encoding.h"
#include "config/writer.h"
#include "config_test_support.h"

namespace orvano {
namespace {

using testing::Box;
using testing::FileRead;
using testing::HeaderLine;
using testing::MinutesLine;
using testing::NameLine;
using testing::ParamsLine;
using testing::Read;
using testing::ReadFile;
using testing::RecordingBoxes;
using testing::TempFolder;
using testing::TownLine;
using testing::WriteFile;

using ::testing::HasSubstr;

// The box of a file that could not be written, naming the path or the fault.
std::vector<Box> WriteError(const std::string& text) {
    return {{text, "File open error for writing data.cfg"}};
}

const std::string kSeparator =
    "8 ------------------------------------------------------------------\n";

Town MakeTown(const char* country, const char* name, double lat, double lon, int tz, int dst,
              int convention) {
    Town t;
    t.Country = country;
    t.Name = name;
    t.latitude = lat;
    t.longitude = lon;
    t.TimeZone = tz;
    t.DST = dst;
    t.Convention = convention;
    return t;
}

ConfigTables SampleTables() {
    ConfigTables t;
    Convention& a = t.Conventions[0];
    a.Name = "Muslim World League";
    a.AsrShafii = true;
    a.FajrTwilightAngle = 18;
    a.IshaTwilightAngle = 17;
    a.SunriseSetAngle = 0.833;
    Convention& b = t.Conventions[7];
    b.Name = "Gulf Region";
    b.AsrShafii = false;
    b.FajrTwilightAngle = 19.5;
    b.SunriseSetAngle = 0.833;
    b.Isha_is_Maghrib_plus = true;
    b.IshaPlusMinutes = 90;
    b.ZuhrFixe = true;
    b.ZuhrHour = 13.25;
    b.AddedMinutes = {-2, 0, 3.5, 0, 1, -0.25};
    t.Towns = {MakeTown("Algeria", "Algiers", 36.7538, 3.0588, 1, 0, 6),
               MakeTown("New_Zealand", "Auckland", -36.8485, 174.7633, 12, 0, 0),
               MakeTown("USA", "Los_Angeles", 34.0522, -118.2437, -8, 1, 7)};
    t.NumberOfTowns = 3;
    t.TownSelected = 2;
    t.Verbose = 0;
    return t;
}

// The layout built from the written formats, independently of the writer.
std::string ExpectedText(const ConfigTables& t) {
    std::string s = kSeparator +
                    "8 --------- Config file for Vevor and Sun position program ---------\n" +
                    kSeparator;
    for (int i = 0; i < 9; ++i) {
        const Convention& c = t.Conventions[static_cast<std::size_t>(i)];
        s += "8 Convention Name\n";
        s += NameLine(i, c.Name);
        s += "8 Convention AsrSahfi/Hanafi FajrTwilightAngle IshaTwilightAngle Sunrise/SetAngle "
             "Isha_is_Maghrib_plus xx mn ZuhrFixe ZuhrHour(h)\n";
        s += ParamsLine(i, c.AsrShafii ? 1 : 0, c.FajrTwilightAngle, c.IshaTwilightAngle,
                        c.SunriseSetAngle, c.Isha_is_Maghrib_plus ? 1 : 0, c.IshaPlusMinutes,
                        c.ZuhrFixe ? 1 : 0, c.ZuhrHour);
        s += "8 - Time (mn) to add to get Vevor\n";
        s += "8 Convention Fajr     Chourouk Zuhr     Asr      Maghrib  Isha\n";
        s += MinutesLine(i, c.AddedMinutes);
        s += kSeparator;
    }
    s += "8 - sources :\n";
    for (const char* url : kSourceUrls) s += std::string("8 - ") + url + "\n";
    s += kSeparator;
    s += "8 NumberOfTowns  TownSelected  Verbose\n";
    s += HeaderLine(t.NumberOfTowns, t.TownSelected, t.Verbose);
    s += kSeparator;
    s += "8 - Town location and TimeZone\n";
    s += "8 Country          Name             latitude    longitude   TimeZone DST Convention\n";
    for (const Town& town : t.Towns) {
        s += TownLine(town.Country, town.Name, town.latitude, town.longitude, town.TimeZone,
                      town.DST, town.Convention);
    }
    s += kSeparator;
    return s;
}

// Every field the file holds, for comparing tables whole.
auto Fields(const Convention& c) {
    return std::tie(c.Name, c.AddedMinutes, c.AsrShafii, c.Isha_is_Maghrib_plus, c.ZuhrFixe,
                    c.FajrTwilightAngle, c.IshaTwilightAngle, c.SunriseSetAngle, c.IshaPlusMinutes,
                    c.ZuhrHour);
}
auto Fields(const Town& t) {
    return std::tie(t.Country, t.Name, t.latitude, t.longitude, t.TimeZone, t.DST, t.Convention,
                    t.Zone, t.Method);
}

void ExpectSameTables(const ConfigTables& a, const ConfigTables& b) {
    for (size_t i = 0; i < kConventionCount; ++i) {
        EXPECT_EQ(Fields(a.Conventions[i]), Fields(b.Conventions[i])) << "convention " << i;
    }
    EXPECT_EQ(std::tie(a.NumberOfTowns, a.TownSelected, a.Verbose),
              std::tie(b.NumberOfTowns, b.TownSelected, b.Verbose));
    ASSERT_EQ(a.Towns.size(), b.Towns.size());
    for (size_t i = 0; i < a.Towns.size(); ++i) EXPECT_EQ(Fields(a.Towns[i]), Fields(b.Towns[i]));
}

// Every writer test starts from the sample tables, with a fresh folder for the file.
class ConfigWriter : public ::testing::Test {
  protected:
    std::string Text() { return DataCfgText(t, boxes); }

    ConfigTables t = SampleTables();
    RecordingBoxes boxes;
    TempFolder folder;
    const std::string path = folder / "data.cfg";
};

TEST_F(ConfigWriter, ExactLayout) {
    EXPECT_EQ(Text(), ExpectedText(t));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(ConfigWriterSources, AreSixReferenceUrls) {
    std::set<std::string> distinct;
    for (const char* url : kSourceUrls) {
        EXPECT_EQ(std::string(url).rfind("https://", 0), 0u) << url;
        distinct.insert(url);
    }
    EXPECT_EQ(distinct.size(), 6u);
}

// The same tables and, line for line after its own first line, the transcription.
TEST_F(ConfigWriter, RoundTripGivesTheSameTablesAndTranscription) {
    t.Towns[0].Zone = "Africa/Algiers";
    t.Towns[1].Zone = "Asia/Atlantis";  // unknown names are written back as read
    const std::string text = Text();
    EXPECT_THAT(text, HasSubstr("2 " + TownFields(t.Towns[0]) + "8 zone Africa/Algiers\n"));
    EXPECT_THAT(text, HasSubstr("2 " + TownFields(t.Towns[1]) + "8 zone Asia/Atlantis\n"));
    Read back(text);
    ASSERT_EQ(back.result, kReadOk);
    ExpectSameTables(t, back.tables);
    EXPECT_EQ(back.echo, kEchoTitleLine + text);
    EXPECT_EQ(DataCfgText(back.tables, boxes), text);
    // A town without a zone gets no line, and a malformed name is never written.
    back.tables.Towns[0].Zone.clear();
    back.tables.Towns[1].Zone = "Asia/Atlantis\n2 x y 0 0 0 0 0";
    EXPECT_EQ(DataCfgText(back.tables, boxes), DataCfgText(SampleTables(), boxes));
}

TEST_F(ConfigWriter, MethodLineFollowsTheZoneLineAndReadsBack) {
    t.Towns[0].Zone = "Africa/Algiers";
    t.Towns[0].Method = "algeria";
    t.Towns[1].Method = "mwl";
    const std::string text = Text();
    EXPECT_THAT(text, HasSubstr("2 " + TownFields(t.Towns[0]) +
                                "8 zone Africa/Algiers\n8 method algeria\n"));
    EXPECT_THAT(text, HasSubstr("2 " + TownFields(t.Towns[1]) + "8 method mwl\n"));
    Read back(text);
    ASSERT_EQ(back.result, kReadOk);
    ExpectSameTables(t, back.tables);
    EXPECT_EQ(DataCfgText(back.tables, boxes), text);
    // A malformed id is never written: the file stays as one without methods.
    back.tables.Towns[0].Method = "Bad Id";
    back.tables.Towns[1].Method.clear();
    back.tables.Towns[0].Zone.clear();
    EXPECT_EQ(DataCfgText(back.tables, boxes), DataCfgText(SampleTables(), boxes));
}

TEST_F(ConfigWriter, FlagWrittenAsTwoIsReadFalseAndWrittenBackAsZero) {
    Read r("3 4 2 18 17 0.833 2 90 2 12\n1 1 0 0\n2 A a 1 2 0 0 4\n");
    ASSERT_EQ(r.result, kReadOk);
    const Convention& c = r.tables.Conventions[4];
    EXPECT_EQ(std::tie(c.AsrShafii, c.Isha_is_Maghrib_plus, c.ZuhrFixe),
              std::tuple(false, false, false));
    EXPECT_THAT(DataCfgText(r.tables, boxes),
                HasSubstr(ParamsLine(4, 0, 18.0, 17.0, 0.833, 0, 90, 0, 12.0)));
}

TEST_F(ConfigWriter, EmptyConventionNameRoundTrip) {
    t.Conventions[0].Name = "";
    const std::string text = Text();
    EXPECT_THAT(text, HasSubstr("\n5 0         \"\"\n"));
    Read back;
    back.tables.Conventions[0].Name = "not yet read";
    ASSERT_EQ(back.Run(text), kReadOk);
    EXPECT_EQ(back.tables.Conventions[0].Name, "");
}

TEST_F(ConfigWriter, NoTownsShowsTheBoxButWritesEverything) {
    t.Towns.clear();
    t.NumberOfTowns = 0;
    t.TownSelected = 0;
    const std::string text = Text();
    EXPECT_EQ(boxes.shown,
              (std::vector<Box>{{"Invalid number of towns in data.cfg", "Read error"}}));
    EXPECT_EQ(text, ExpectedText(t));
    EXPECT_THAT(text, HasSubstr("\n1 0              0             0      \n"));
}

TEST_F(ConfigWriter, TownTextsStayOneWordSoTheFileReadsBack) {
    t.Towns[0].Country = "Saudi Arabia";
    t.Towns[0].Name = "";
    t.Conventions[1].Name = "say \"hi\"";
    Read back(Text());
    ASSERT_EQ(back.result, kReadOk);
    EXPECT_EQ(back.tables.Towns[0].Country, "Saudi_Arabia");
    EXPECT_EQ(back.tables.Towns[0].Name, "_");
    EXPECT_EQ(back.tables.Towns[0].latitude, 36.7538);
    EXPECT_EQ(back.tables.Conventions[1].Name, "say 'hi'");
}

// ---- the file -----------------------------------------------------------------

TEST_F(ConfigWriter, ReplacesTheFileAndLeavesNothingElse) {
    WriteFile(path, "old content\n");
    const auto readWrite = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(path, readWrite);
    EXPECT_TRUE(WriteDataCfg(path, t, boxes));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(ReadFile(path), ExpectedText(t));
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all, readWrite);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"data.cfg"});
}

TEST_F(ConfigWriter, ALinkedFileIsReplacedAndTheLinkStays) {
    std::filesystem::create_directory(folder / "real");
    WriteFile(folder / "real/mine.cfg", "old\n");
    std::filesystem::create_symlink("real/mine.cfg", path);
    ASSERT_TRUE(WriteDataCfg(path, t, boxes));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadFile(folder / "real/mine.cfg"), ExpectedText(t));
}

TEST_F(ConfigWriter, CreatesANewFileInUtf8) {
    t.Towns[0].Name = "Béjaïa";
    ASSERT_TRUE(WriteDataCfg(path, t, boxes));
    EXPECT_THAT(ReadFile(path), HasSubstr("Béjaïa"));
}

// What cannot be replaced shows the box naming the path and is left as it
// was, with no temporary file left behind.
TEST_F(ConfigWriter, MissingFolderShowsTheBoxAndWritesNothing) {
    const std::string missing = folder / "no-such-folder/data.cfg";
    EXPECT_FALSE(WriteDataCfg(missing, t, boxes));
    EXPECT_EQ(boxes.shown, WriteError(missing));
    EXPECT_FALSE(std::filesystem::exists(folder / "no-such-folder"));
}

// A folder in the file's place: the rename fails after the new content was complete.
TEST_F(ConfigWriter, FailedReplacementKeepsWhatWasThereAndCleansUp) {
    std::filesystem::create_directory(path);
    WriteFile(folder / "data.cfg/inside", "kept\n");
    EXPECT_FALSE(WriteDataCfg(path, t, boxes));
    EXPECT_EQ(boxes.shown, WriteError(path));
    EXPECT_EQ(ReadFile(folder / "data.cfg/inside"), "kept\n");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"data.cfg"});
}

// A read-only file is the user's decision, respected even by root.
TEST_F(ConfigWriter, ReadOnlyFileIsKept) {
    WriteFile(path, "old content\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    EXPECT_FALSE(WriteDataCfg(path, t, boxes));
    EXPECT_EQ(boxes.shown, WriteError(path));
    EXPECT_EQ(ReadFile(path), "old content\n");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"data.cfg"});
}

// What the reader would refuse is never written: the old file stays and the
// box names the town or convention and the field. Values are judged as written.
struct WriteCase {
    void (*change)(ConfigTables&);
    const char* message;  // empty: written
    friend void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.message; }
};

class WriterRefuses : public ConfigWriter, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriterRefuses, TablesTheReaderWouldRefuse) {
    WriteFile(path, "old content\n");
    GetParam().change(t);
    const bool written = WriteDataCfg(path, t, boxes);
    EXPECT_EQ(written, std::string(GetParam().message).empty());
    if (written) {
        EXPECT_EQ(Read(ReadFile(path)).result, kReadOk);
        return;
    }
    EXPECT_EQ(boxes.shown, WriteError(GetParam().message));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"data.cfg"});
    EXPECT_EQ(ReadFile(path), "old content\n");
}

INSTANTIATE_TEST_SUITE_P(
    Values, WriterRefuses,
    ::testing::Values(
        WriteCase{[](ConfigTables& x) { x.Towns[0].latitude = 200; },
                  "Town Algiers, latitude: 200.000000 is outside -90 to 90"},
        WriteCase{[](ConfigTables& x) { x.Towns[1].longitude = -180.0000006; },
                  "Town Auckland, longitude: -180.000001 is outside -180 to 180"},
        WriteCase{[](ConfigTables& x) { x.Towns[1].longitude = -180.0000004; }, ""},
        WriteCase{[](ConfigTables& x) { x.Towns[2].TimeZone = 15; },
                  "Town Los_Angeles, TimeZone: 15 is outside -12 to 14"},
        WriteCase{[](ConfigTables& x) { x.Towns[2].Convention = 9; },
                  "Town Los_Angeles, Convention: 9 is outside 0 to 8"},
        WriteCase{
            [](ConfigTables& x) { x.Conventions[0].FajrTwilightAngle = std::nan(""); },
            "Convention 0 (Muslim World League), FajrTwilightAngle: nan is outside -90 to 90"},
        WriteCase{[](ConfigTables& x) { x.Conventions[7].ZuhrHour = 24.5; },
                  "Convention 7 (Gulf Region), ZuhrHour: 24.5000000 is outside 0 to 24"},
        WriteCase{[](ConfigTables& x) { x.Conventions[3].AddedMinutes[5] = 1e9; },
                  "Convention 3, Isha minutes: 1e+09 is outside -1440 to 1440"},
        WriteCase{[](ConfigTables& x) { x.TownSelected = 3; }, "TownSelected: 3 is outside 0 to 2"},
        WriteCase{[](ConfigTables& x) { x.NumberOfTowns = 4; },
                  "NumberOfTowns: 4 towns, 3 in the table"},
        // A stray byte would make the reader take every name as Windows-1252.
        WriteCase{[](ConfigTables& x) { x.Towns[1].Name = "bad\xffname"; },
                  "A town's name, country or zone is not valid UTF-8"},
        WriteCase{[](ConfigTables& x) { x.Towns[2].Zone = "Europe/\xC3"; },
                  "A town's name, country or zone is not valid UTF-8"},
        WriteCase{[](ConfigTables& x) { x.Conventions[4].Name = "\xC0\xAF"; },
                  "Convention 4, name: not valid UTF-8"}));

// Temporary files of killed saves go once they are ten minutes old; younger
// ones may be another save's live file, and files of other names are not ours.
TEST_F(ConfigWriter, StaleTemporaryFilesAreRemovedAtTheNextSave) {
    const auto age = [&](const std::string& name, int minutes) {
        WriteFile(folder / name, "partial");
        std::filesystem::last_write_time(
            folder / name,
            std::filesystem::file_time_type::clock::now() - std::chrono::minutes(minutes));
    };
    age("data.cfg.0123456789abcdef", 11);
    age("data.cfg.fedcba9876543210", 9);
    age("data.cfg.0123456789abcdeg", 60);
    age("data.cfg.bak", 60);
    ASSERT_TRUE(WriteDataCfg(path, t, boxes));
    EXPECT_EQ(folder.Entries(),
              (std::vector<std::string>{"data.cfg", "data.cfg.0123456789abcdeg", "data.cfg.bak",
                                        "data.cfg.fedcba9876543210"}));
}

TEST(ConfigWriterEncoding, WritesBackInTheEncodingRead) {
    FileRead first;
    WriteFile(first.path,
              "1 1 0 0\n2 Alg\xE9rie B\xE9ja\xEF"
              "a 36.75 5.06 1 0 0\n");
    ASSERT_EQ(first.RunFile(""), kReadOk);
    ASSERT_TRUE(WriteDataCfg(first.path, first.tables, first.boxes));
    const std::string written = ReadFile(first.path);
    EXPECT_THAT(written, HasSubstr("2 Alg\xE9rie" + std::string(10, ' ') +
                                   "B\xE9ja\xEF"
                                   "a "));
    EXPECT_FALSE(IsValidUtf8(written));
    // Read again: the same tables, still single-byte.
    Read again(written);
    ASSERT_EQ(again.result, kReadOk);
    EXPECT_EQ(again.tables.encoding, TextEncoding::Windows1252);
    ExpectSameTables(first.tables, again.tables);
}

// Text Windows-1252 cannot carry ("İ"), or whose single bytes would read
// back as UTF-8 ("Ã¼" is C3 BC, "ü" in UTF-8), makes the file UTF-8.
TEST_F(ConfigWriter, TextWindows1252CannotCarryIsWrittenAsUtf8) {
    for (const char* name : {"İstanbul", "TÃ¼rkiye"}) {
        SCOPED_TRACE(name);
        t.encoding = TextEncoding::Windows1252;
        t.Towns[1].Name = name;
        ASSERT_TRUE(WriteDataCfg(path, t, boxes));
        Read back(ReadFile(path));
        ASSERT_EQ(back.result, kReadOk);
        EXPECT_EQ(back.tables.Towns[1].Name, name);
        EXPECT_EQ(back.tables.encoding, TextEncoding::Utf8);
    }
}

// ---- the bundled default ----------------------------------------------------

// The bundled file, read once for each test.
class DefaultDataCfg : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(read.result, kReadOk); }

    const std::string bytes = ReadFile(std::string(ORVANO_SOURCE_DIR) + "/resources/data.cfg");
    Read read{bytes};
    const ConfigTables& t = read.tables;
};

TEST_F(DefaultDataCfg, IsTheWritersOwnOutput) {
    RecordingBoxes boxes;
    EXPECT_EQ(DataCfgText(t, boxes), bytes);
    EXPECT_TRUE(IsValidUtf8(bytes));
}

TEST_F(DefaultDataCfg, ConventionsAreTheAuthoritiesPublishedMethods) {
    struct Expect {
        const char* nameStart;
        bool shafii;
        double fajr;
        double isha;
        int ishaMinutes;  // Isha a fixed delay after Maghrib when not 0
        std::array<double, kPrayerCount> added;
    } expected[] = {
        {"Muslim World League", true, 18, 17, 0, {}},
        {"Islamic Society of North America", true, 15, 15, 0, {}},
        {"Egyptian", true, 19.5, 17.5, 0, {}},
        {"Umm al-Qura", true, 18.5, 0, 90, {}},
        {"University of Islamic Sciences, Karachi", true, 18, 18, 0, {}},
        {"Union des Organisations Islamiques de France", true, 12, 12, 0, {}},
        {"Presidency of Religious Affairs (Diyanet)", true, 18, 17, 0, {0, -7, 5, 4, 7, 0}},
        {"Southeast Asia (JAKIM, MUIS, Kemenag)", true, 20, 18, 0, {2, -2, 2, 2, 2, 2}},
        {"University of Islamic Sciences, Karachi, Hanafi", false, 18, 18, 0, {}},
    };
    for (size_t i = 0; i < 9; ++i) {
        const Convention& c = t.Conventions[i];
        const Expect& e = expected[i];
        EXPECT_THAT(c.Name, ::testing::StartsWith(e.nameStart));
        EXPECT_EQ(
            std::tie(c.AsrShafii, c.FajrTwilightAngle, c.IshaTwilightAngle, c.Isha_is_Maghrib_plus,
                     c.IshaPlusMinutes, c.AddedMinutes, c.SunriseSetAngle, c.ZuhrFixe),
            std::tuple(e.shafii, e.fajr, e.isha, e.ishaMinutes != 0, e.ishaMinutes, e.added, 0.833,
                       false))
            << c.Name;
    }
}

// Every town names a zone the database knows, and its integers are the ones
// that zone gives, so that readers without zones still get a close answer.
TEST_F(DefaultDataCfg, EveryTownCarriesItsZone) {
    EXPECT_GE(t.NumberOfTowns, 100);
    std::set<std::string> zones;
    for (const Town& town : t.Towns) {
        SCOPED_TRACE(town.Name);
        const ZoneRef zone = FindZone(town.Zone);
        ASSERT_NE(zone, nullptr) << town.Zone;
        const ZoneIntegers integers = ZoneIntegersOf(zone, 2026);
        EXPECT_EQ(town.TimeZone, integers.TimeZone);
        EXPECT_EQ(town.DST, integers.DST);
        zones.insert(town.Zone);
    }
    for (const char* kind :
         {"Asia/Kolkata",      "Asia/Tehran",         "Asia/Kabul",         "Asia/Kathmandu",
          "Asia/Colombo",      "Asia/Yangon",         "Australia/Adelaide", "America/St_Johns",
          "Australia/Sydney",  "Australia/Melbourne", "Pacific/Auckland",   "America/Santiago",
          "America/Asuncion",  "America/New_York",    "America/Toronto",    "Africa/Cairo",
          "Africa/Casablanca", "America/Mexico_City", "Asia/Amman",         "Asia/Damascus"}) {
        EXPECT_EQ(zones.count(kind), 1u) << kind;
    }
}

TEST_F(DefaultDataCfg, TownsCoverTheWorld) {
    EXPECT_GE(t.NumberOfTowns, 40);
    EXPECT_EQ(t.Verbose, 0);
    EXPECT_EQ(t.Towns[static_cast<std::size_t>(t.TownSelected)].Name, "Algiers");
    bool north = false, south = false, east = false, west = false;
    std::set<std::string> names;
    for (const Town& town : t.Towns) {
        SCOPED_TRACE(town.Name);
        EXPECT_TRUE(town.latitude > -60 && town.latitude < 70);
        EXPECT_TRUE(town.longitude >= -180 && town.longitude <= 180);
        EXPECT_TRUE(town.TimeZone >= -12 && town.TimeZone <= 14);
        EXPECT_TRUE(town.DST >= 0 && town.DST <= 2);
        EXPECT_TRUE(town.Convention >= 0 && town.Convention <= 8);
        // The zone roughly follows the longitude (political zones stray a few hours).
        EXPECT_LE(std::abs(town.longitude / 15 - town.TimeZone), 3.5);
        north |= town.latitude > 0;
        south |= town.latitude < 0;
        east |= town.longitude > 0;
        west |= town.longitude < 0;
        EXPECT_TRUE(names.insert(town.Country + "/" + town.Name).second);
    }
    EXPECT_TRUE(north && south && east && west);
}

// Spot checks against the coordinates, zones and rules these towns really have.
TEST_F(DefaultDataCfg, KnownTowns) {
    auto find = [&](const std::string& name) -> const Town* {
        for (const Town& town : t.Towns) {
            if (town.Name == name) return &town;
        }
        return nullptr;
    };
    struct Known {
        const char* name;
        double lat, lon;
        int tz, dst, convention;
    } known[] = {
        {"Algiers", 36.75, 3.06, 1, 0, 0},     {"Makkah", 21.42, 39.83, 3, 0, 3},
        {"Cairo", 30.04, 31.24, 2, 1, 2},      {"Paris", 48.86, 2.35, 1, 1, 5},
        {"London", 51.51, -0.13, 0, 1, 0},     {"New_York", 40.71, -74.01, -5, 1, 1},
        {"Karachi", 24.86, 67.00, 5, 0, 8},    {"Jakarta", -6.21, 106.85, 7, 0, 7},
        {"Sydney", -33.87, 151.21, 10, 1, 0},  {"Sao_Paulo", -23.55, -46.63, -3, 0, 0},
        {"Dubai", 25.20, 55.27, 4, 0, 3},      {"Cape_Town", -33.92, 18.42, 2, 0, 0},
        {"Delhi", 28.65, 77.23, 5, 0, 8},      {"Istanbul", 41.01, 28.98, 3, 0, 6},
        {"St_Johns", 47.56, -52.71, -3, 1, 1},
    };
    for (const Known& k : known) {
        SCOPED_TRACE(k.name);
        const Town* town = find(k.name);
        ASSERT_NE(town, nullptr);
        EXPECT_NEAR(town->latitude, k.lat, 0.01);
        EXPECT_NEAR(town->longitude, k.lon, 0.01);
        EXPECT_EQ(std::tie(town->TimeZone, town->DST, town->Convention),
                  std::tie(k.tz, k.dst, k.convention));
    }
}

}  // namespace
}  // namespace orvano
