// The writer: its exact layout, the round trip through the reader, the
// replacement that never loses the old file, the encodings, and the bundled
// default tables.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <set>
#include <string>

#include "astro/zone.h"
#include "config/grammar.h"
#include "config/reader.h"
#include "config/text_encoding.h"
#include "config/writer.h"
#include "config_test_support.h"

namespace orvano {
namespace {

using testing::Box;
using testing::Printf;
using testing::ReadFile;
using testing::RecordingBoxes;
using testing::TempFolder;
using testing::WriteFile;

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
        s += Printf("5 %-9d \"%s\"\n", i, c.Name.c_str());
        s += "8 Convention AsrSahfi/Hanafi FajrTwilightAngle IshaTwilightAngle Sunrise/SetAngle "
             "Isha_is_Maghrib_plus xx mn ZuhrFixe ZuhrHour(h)\n";
        s += Printf("3 %-9d  %-14d  %-16g  %-16g  %-15g  %-19d  %-4d  %-7d  %-15.7f\n", i,
                    c.AsrShafii ? 1 : 0, c.FajrTwilightAngle, c.IshaTwilightAngle,
                    c.SunriseSetAngle, c.Isha_is_Maghrib_plus ? 1 : 0, c.IshaPlusMinutes,
                    c.ZuhrFixe ? 1 : 0, c.ZuhrHour);
        s += "8 - Time (mn) to add to get Vevor\n";
        s += "8 Convention Fajr     Chourouk Zuhr     Asr      Maghrib  Isha\n";
        const auto& m = c.AddedMinutes;
        s += Printf("4 %-9d  %-7g  %-7g  %-7g  %-7g  %-7g  %-7g\n", i, m[0], m[1], m[2], m[3], m[4],
                    m[5]);
        s += kSeparator;
    }
    s += "8 - sources :\n";
    for (const char* url : kSourceUrls) s += std::string("8 - ") + url + "\n";
    s += kSeparator;
    s += "8 NumberOfTowns  TownSelected  Verbose\n";
    s += Printf("1 %-13d  %-12d  %-7d\n", t.NumberOfTowns, t.TownSelected, t.Verbose);
    s += kSeparator;
    s += "8 - Town location and TimeZone\n";
    s += "8 Country          Name             latitude    longitude   TimeZone DST Convention\n";
    for (const Town& town : t.Towns) {
        s += Printf("2 %-15s  %-15s  %-10lf  %-10lf  %-7d  %-2d  %-2d\n", town.Country.c_str(),
                    town.Name.c_str(), town.latitude, town.longitude, town.TimeZone, town.DST,
                    town.Convention);
    }
    s += kSeparator;
    return s;
}

void ExpectSameTables(const ConfigTables& a, const ConfigTables& b) {
    for (size_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        const Convention& x = a.Conventions[i];
        const Convention& y = b.Conventions[i];
        EXPECT_EQ(x.Name, y.Name);
        EXPECT_EQ(x.AddedMinutes, y.AddedMinutes);
        EXPECT_EQ(x.AsrShafii, y.AsrShafii);
        EXPECT_EQ(x.Isha_is_Maghrib_plus, y.Isha_is_Maghrib_plus);
        EXPECT_EQ(x.ZuhrFixe, y.ZuhrFixe);
        EXPECT_EQ(x.FajrTwilightAngle, y.FajrTwilightAngle);
        EXPECT_EQ(x.IshaTwilightAngle, y.IshaTwilightAngle);
        EXPECT_EQ(x.SunriseSetAngle, y.SunriseSetAngle);
        EXPECT_EQ(x.IshaPlusMinutes, y.IshaPlusMinutes);
        EXPECT_EQ(x.ZuhrHour, y.ZuhrHour);
    }
    EXPECT_EQ(a.NumberOfTowns, b.NumberOfTowns);
    EXPECT_EQ(a.TownSelected, b.TownSelected);
    EXPECT_EQ(a.Verbose, b.Verbose);
    ASSERT_EQ(a.Towns.size(), b.Towns.size());
    for (size_t i = 0; i < a.Towns.size(); ++i) {
        SCOPED_TRACE(a.Towns[i].Name);
        EXPECT_EQ(a.Towns[i].Country, b.Towns[i].Country);
        EXPECT_EQ(a.Towns[i].Name, b.Towns[i].Name);
        EXPECT_EQ(a.Towns[i].latitude, b.Towns[i].latitude);
        EXPECT_EQ(a.Towns[i].longitude, b.Towns[i].longitude);
        EXPECT_EQ(a.Towns[i].TimeZone, b.Towns[i].TimeZone);
        EXPECT_EQ(a.Towns[i].DST, b.Towns[i].DST);
        EXPECT_EQ(a.Towns[i].Convention, b.Towns[i].Convention);
    }
}

int ReadBack(const std::string& text, ConfigTables& tables, std::string* echo = nullptr) {
    CurrentPlace place;
    RecordingBoxes boxes;
    return ReadDataCfgBytes(text, tables, place, echo, boxes, nullptr);
}

TEST(ConfigWriter, ExactLayout) {
    const ConfigTables t = SampleTables();
    RecordingBoxes boxes;
    EXPECT_EQ(DataCfgText(t, boxes), ExpectedText(t));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(ConfigWriter, SourcesAreSixReferenceUrls) {
    std::set<std::string> distinct;
    for (const char* url : kSourceUrls) {
        EXPECT_EQ(std::string(url).rfind("https://", 0), 0u) << url;
        distinct.insert(url);
    }
    EXPECT_EQ(distinct.size(), 6u);
}

TEST(ConfigWriter, RoundTripGivesTheSameTablesAndTranscription) {
    const ConfigTables t = SampleTables();
    RecordingBoxes boxes;
    const std::string text = DataCfgText(t, boxes);
    ConfigTables back;
    std::string echo;
    ASSERT_EQ(ReadBack(text, back, &echo), kReadOk);
    ExpectSameTables(t, back);
    // Line for line after the transcription's own first line.
    EXPECT_EQ(echo, kEchoTitleLine + text);
    EXPECT_EQ(DataCfgText(back, boxes), text);
}

TEST(ConfigWriter, FlagWrittenAsTwoIsReadFalseAndWrittenBackAsZero) {
    ConfigTables t;
    ASSERT_EQ(ReadBack("3 4 2 18 17 0.833 2 90 2 12\n1 1 0 0\n2 A a 1 2 0 0 4\n", t), kReadOk);
    EXPECT_FALSE(t.Conventions[4].AsrShafii);
    EXPECT_FALSE(t.Conventions[4].Isha_is_Maghrib_plus);
    EXPECT_FALSE(t.Conventions[4].ZuhrFixe);
    RecordingBoxes boxes;
    const std::string text = DataCfgText(t, boxes);
    EXPECT_NE(text.find(Printf("3 %-9d  %-14d  %-16g  %-16g  %-15g  %-19d  %-4d  %-7d  %-15.7f\n",
                               4, 0, 18.0, 17.0, 0.833, 0, 90, 0, 12.0)),
              std::string::npos);
}

TEST(ConfigWriter, EmptyConventionNameRoundTrip) {
    ConfigTables t = SampleTables();
    t.Conventions[0].Name = "";
    RecordingBoxes boxes;
    const std::string text = DataCfgText(t, boxes);
    EXPECT_NE(text.find("\n5 0         \"\"\n"), std::string::npos);
    ConfigTables back;
    back.Conventions[0].Name = "not yet read";
    ASSERT_EQ(ReadBack(text, back), kReadOk);
    EXPECT_EQ(back.Conventions[0].Name, "");
}

TEST(ConfigWriter, NoTownsShowsTheBoxButWritesEverything) {
    ConfigTables t = SampleTables();
    t.Towns.clear();
    t.NumberOfTowns = 0;
    t.TownSelected = 0;
    RecordingBoxes boxes;
    const std::string text = DataCfgText(t, boxes);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], (Box{"Invalid number of towns in data.cfg", "Read error"}));
    EXPECT_EQ(text, ExpectedText(t));
    EXPECT_NE(text.find("\n1 0              0             0      \n"), std::string::npos);
}

TEST(ConfigWriter, TownTextsStayOneWordSoTheFileReadsBack) {
    ConfigTables t = SampleTables();
    t.Towns[0].Country = "Saudi Arabia";
    t.Towns[0].Name = "";
    t.Conventions[1].Name = "say \"hi\"";
    RecordingBoxes boxes;
    ConfigTables back;
    ASSERT_EQ(ReadBack(DataCfgText(t, boxes), back), kReadOk);
    EXPECT_EQ(back.Towns[0].Country, "Saudi_Arabia");
    EXPECT_EQ(back.Towns[0].Name, "_");
    EXPECT_EQ(back.Towns[0].latitude, 36.7538);
    EXPECT_EQ(back.Conventions[1].Name, "say 'hi'");
}

// ---- the file -----------------------------------------------------------------

TEST(ConfigWriter, ReplacesTheFileAndLeavesNothingElse) {
    TempFolder folder;
    const std::string path = folder / "data.cfg";
    WriteFile(path, "old content\n");
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    RecordingBoxes boxes;
    const ConfigTables t = SampleTables();
    EXPECT_TRUE(WriteDataCfg(path, t, boxes));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(ReadFile(path), ExpectedText(t));
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(ConfigWriter, ALinkedFileIsReplacedAndTheLinkStays) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "real");
    WriteFile(folder / "real/mine.cfg", "old\n");
    std::filesystem::create_symlink("real/mine.cfg", folder / "data.cfg");
    RecordingBoxes boxes;
    const ConfigTables t = SampleTables();
    ASSERT_TRUE(WriteDataCfg(folder / "data.cfg", t, boxes));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "data.cfg"));
    EXPECT_EQ(ReadFile(folder / "real/mine.cfg"), ExpectedText(t));
}

TEST(ConfigWriter, CreatesANewFileInUtf8) {
    TempFolder folder;
    ConfigTables t = SampleTables();
    t.Towns[0].Name =
        "B\xC3\xA9ja\xC3\xAF"
        "a";
    RecordingBoxes boxes;
    ASSERT_TRUE(WriteDataCfg(folder / "data.cfg", t, boxes));
    EXPECT_NE(ReadFile(folder / "data.cfg")
                  .find("B\xC3\xA9ja\xC3\xAF"
                        "a"),
              std::string::npos);
}

TEST(ConfigWriter, MissingFolderShowsTheBoxAndWritesNothing) {
    TempFolder folder;
    const std::string path = folder / "no-such-folder/data.cfg";
    RecordingBoxes boxes;
    EXPECT_FALSE(WriteDataCfg(path, SampleTables(), boxes));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], (Box{path, "File open error for writing data.cfg"}));
    EXPECT_FALSE(std::filesystem::exists(folder / "no-such-folder"));
}

TEST(ConfigWriter, FailedReplacementKeepsWhatWasThereAndCleansUp) {
    TempFolder folder;
    // Something that cannot be replaced by a file: the rename fails after the
    // new content was complete.
    const std::string path = folder / "data.cfg";
    std::filesystem::create_directory(path);
    WriteFile(folder / "data.cfg/inside", "kept\n");
    RecordingBoxes boxes;
    EXPECT_FALSE(WriteDataCfg(path, SampleTables(), boxes));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], (Box{path, "File open error for writing data.cfg"}));
    EXPECT_EQ(ReadFile(folder / "data.cfg/inside"), "kept\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);  // no temporary file left behind
}

// What the reader would refuse is never written: the old file stays and the
// box names the town or convention and the field. Values are judged as written.
TEST(ConfigWriter, RefusesTablesTheReaderWouldRefuse) {
    const struct {
        void (*change)(ConfigTables&);
        const char* message;  // empty: written
    } cases[] = {
        {[](ConfigTables& t) { t.Towns[0].latitude = 200; },
         "Town Algiers, latitude: 200.000000 is outside -90 to 90"},
        {[](ConfigTables& t) { t.Towns[1].longitude = -180.0000006; },
         "Town Auckland, longitude: -180.000001 is outside -180 to 180"},
        {[](ConfigTables& t) { t.Towns[1].longitude = -180.0000004; }, ""},
        {[](ConfigTables& t) { t.Towns[2].TimeZone = 15; },
         "Town Los_Angeles, TimeZone: 15 is outside -12 to 14"},
        {[](ConfigTables& t) { t.Towns[2].Convention = 9; },
         "Town Los_Angeles, Convention: 9 is outside 0 to 8"},
        {[](ConfigTables& t) { t.Conventions[0].FajrTwilightAngle = std::nan(""); },
         "Convention 0 (Muslim World League), FajrTwilightAngle: nan is outside -90 to 90"},
        {[](ConfigTables& t) { t.Conventions[7].ZuhrHour = 24.5; },
         "Convention 7 (Gulf Region), ZuhrHour: 24.5000000 is outside 0 to 24"},
        {[](ConfigTables& t) { t.Conventions[3].AddedMinutes[5] = 1e9; },
         "Convention 3, Isha minutes: 1e+09 is outside -1440 to 1440"},
        {[](ConfigTables& t) { t.TownSelected = 3; }, "TownSelected: 3 is outside 0 to 2"},
        {[](ConfigTables& t) { t.NumberOfTowns = 4; }, "NumberOfTowns: 4 towns, 3 in the table"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TempFolder folder;
        const std::string path = folder / "data.cfg";
        WriteFile(path, "old content\n");
        ConfigTables t = SampleTables();
        c.change(t);
        RecordingBoxes boxes;
        const bool written = WriteDataCfg(path, t, boxes);
        EXPECT_EQ(written, std::string(c.message).empty());
        if (written) {
            ConfigTables back;
            EXPECT_EQ(ReadBack(ReadFile(path), back), kReadOk);
            continue;
        }
        EXPECT_EQ(boxes.shown,
                  (std::vector<Box>{{c.message, "File open error for writing data.cfg"}}));
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"data.cfg"});
        EXPECT_EQ(ReadFile(path), "old content\n");
    }
}

// A read-only file is the user's decision, respected even by root.
TEST(ConfigWriter, ReadOnlyFileIsKept) {
    TempFolder folder;
    const std::string path = folder / "data.cfg";
    WriteFile(path, "old content\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    RecordingBoxes boxes;
    EXPECT_FALSE(WriteDataCfg(path, SampleTables(), boxes));
    EXPECT_EQ(boxes.shown, (std::vector<Box>{{path, "File open error for writing data.cfg"}}));
    EXPECT_EQ(ReadFile(path), "old content\n");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"data.cfg"});
}

// Temporary files of killed saves go once they are ten minutes old; younger
// ones may be another save's live file, and files of other names are not ours.
TEST(ConfigWriter, StaleTemporaryFilesAreRemovedAtTheNextSave) {
    TempFolder folder;
    const std::string path = folder / "data.cfg";
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
    RecordingBoxes boxes;
    ASSERT_TRUE(WriteDataCfg(path, SampleTables(), boxes));
    EXPECT_EQ(folder.Entries(),
              (std::vector<std::string>{"data.cfg", "data.cfg.0123456789abcdeg", "data.cfg.bak",
                                        "data.cfg.fedcba9876543210"}));
}

TEST(ConfigWriter, WritesBackInTheEncodingRead) {
    TempFolder folder;
    const std::string path = folder / "data.cfg";
    const std::string windows1252 =
        "1 1 0 0\n2 Alg\xE9rie B\xE9ja\xEF"
        "a 36.75 5.06 1 0 0\n";
    WriteFile(path, windows1252);
    ConfigTables t;
    CurrentPlace place;
    RecordingBoxes boxes;
    ASSERT_EQ(ReadDataCfg(path, "", t, place, boxes, nullptr), kReadOk);
    ASSERT_TRUE(WriteDataCfg(path, t, boxes));
    const std::string written = ReadFile(path);
    EXPECT_NE(written.find("2 Alg\xE9rie" + std::string(10, ' ') +
                           "B\xE9ja\xEF"
                           "a "),
              std::string::npos);
    EXPECT_FALSE(IsValidUtf8(written));
    // Read again: the same tables, still single-byte.
    ConfigTables again;
    ASSERT_EQ(ReadDataCfg(path, "", again, place, boxes, nullptr), kReadOk);
    EXPECT_EQ(again.encoding, TextEncoding::Windows1252);
    ExpectSameTables(t, again);
}

TEST(ConfigWriter, TextWindows1252CannotCarryIsWrittenAsUtf8) {
    TempFolder folder;
    ConfigTables t = SampleTables();
    t.encoding = TextEncoding::Windows1252;
    t.Towns[1].Name = "\xC4\xB0stanbul";  // capital I with dot above
    RecordingBoxes boxes;
    ASSERT_TRUE(WriteDataCfg(folder / "data.cfg", t, boxes));
    ConfigTables back;
    ASSERT_EQ(ReadBack(ReadFile(folder / "data.cfg"), back), kReadOk);
    EXPECT_EQ(back.Towns[1].Name, "\xC4\xB0stanbul");
    EXPECT_EQ(back.encoding, TextEncoding::Utf8);
}

// ---- the bundled default ----------------------------------------------------

const std::string kDefaultPath = std::string(ORVANO_SOURCE_DIR) + "/resources/data.cfg";

TEST(DefaultDataCfg, IsTheWritersOwnOutput) {
    const std::string bytes = ReadFile(kDefaultPath);
    ConfigTables t;
    ASSERT_EQ(ReadBack(bytes, t), kReadOk);
    RecordingBoxes boxes;
    EXPECT_EQ(DataCfgText(t, boxes), bytes);
    EXPECT_TRUE(IsValidUtf8(bytes));
}

TEST(DefaultDataCfg, ConventionsAreTheAuthoritiesPublishedMethods) {
    ConfigTables t;
    ASSERT_EQ(ReadBack(ReadFile(kDefaultPath), t), kReadOk);
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
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Name.rfind(expected[i].nameStart, 0), 0u);
        EXPECT_EQ(c.AsrShafii, expected[i].shafii);
        EXPECT_EQ(c.FajrTwilightAngle, expected[i].fajr);
        EXPECT_EQ(c.IshaTwilightAngle, expected[i].isha);
        EXPECT_EQ(c.Isha_is_Maghrib_plus, expected[i].ishaMinutes != 0);
        EXPECT_EQ(c.IshaPlusMinutes, expected[i].ishaMinutes);
        EXPECT_EQ(c.AddedMinutes, expected[i].added);
        EXPECT_EQ(c.SunriseSetAngle, 0.833);
        EXPECT_FALSE(c.ZuhrFixe);
    }
}

// Every town names a zone the database knows, and its integers are the ones
// that zone gives, so that readers without zones still get a close answer.
TEST(DefaultDataCfg, EveryTownCarriesItsZone) {
    ConfigTables t;
    ASSERT_EQ(ReadBack(ReadFile(kDefaultPath), t), kReadOk);
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

TEST(DefaultDataCfg, TownsCoverTheWorld) {
    ConfigTables t;
    ASSERT_EQ(ReadBack(ReadFile(kDefaultPath), t), kReadOk);
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
TEST(DefaultDataCfg, KnownTowns) {
    ConfigTables t;
    ASSERT_EQ(ReadBack(ReadFile(kDefaultPath), t), kReadOk);
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
        EXPECT_EQ(town->TimeZone, k.tz);
        EXPECT_EQ(town->DST, k.dst);
        EXPECT_EQ(town->Convention, k.convention);
    }
}

}  // namespace
}  // namespace orvano

namespace orvano {
namespace {

TEST(ConfigWriter, ZoneLinesRoundTrip) {
    ConfigTables t = SampleTables();
    t.Towns[0].Zone = "Africa/Algiers";
    t.Towns[1].Zone = "Asia/Atlantis";  // unknown names are written back as read
    RecordingBoxes boxes;
    const std::string text = DataCfgText(t, boxes);
    EXPECT_NE(text.find("2 " + TownFields(t.Towns[0]) + "8 zone Africa/Algiers\n"),
              std::string::npos);
    EXPECT_NE(text.find("2 " + TownFields(t.Towns[1]) + "8 zone Asia/Atlantis\n"),
              std::string::npos);
    ConfigTables back;
    std::string echo;
    ASSERT_EQ(ReadBack(text, back, &echo), kReadOk);
    ASSERT_EQ(back.Towns.size(), t.Towns.size());
    for (size_t i = 0; i < t.Towns.size(); ++i) EXPECT_EQ(back.Towns[i].Zone, t.Towns[i].Zone);
    EXPECT_EQ(echo, kEchoTitleLine + text);
    EXPECT_EQ(DataCfgText(back, boxes), text);
    // A town without a zone gets no line, and a malformed name is never written.
    back.Towns[0].Zone.clear();
    back.Towns[1].Zone = "Asia/Atlantis\n2 x y 0 0 0 0 0";
    EXPECT_EQ(DataCfgText(back, boxes), DataCfgText(SampleTables(), boxes));
}

}  // namespace
}  // namespace orvano
