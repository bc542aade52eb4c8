// The plug-in's reader of data.cfg: only the selected town, boxes, the log.
#include "config/reader.h"

#include <gtest/gtest.h>

#include <array>

#include "astro/trace.h"
#include "tests/support/hostile_files.h"
#include "tests/support/recording_platform.h"
#include "today/plugin_reader.h"
#include "today_test_util.h"

namespace orvano {
namespace {

using Shown = testing::RecordingMessageSink::Shown;

const char* kTwoTowns =
    "8 comment line\n"
    "5 0         \"Ligue islamique mondiale\"\n"
    "3 0          1               18                17                0.833            0     "
    "               0     0        12.0000000\n"
    "4 0          1        -2       5        0        3        0\n"
    "5 2 \"Umm al-Qura\"\n"
    "1 2              1             0\n"
    "2 France           Paris            48.856600   2.352200    1        1   0\n"
    "2 Maroc            F\xe8s              34.033300   -5.000000   0        0   2\n";

struct ReaderFixture : ::testing::Test {
    TempDir dir;
    EngineState state;
    testing::RecordingMessageSink boxes;
    int logRequests = 0;
    std::unique_ptr<DiagnosticLog> log;

    std::string config() const { return dir.path() + "/data.cfg"; }
    DiagnosticLog& Log() {
        ++logRequests;
        if (!log) {
            LogEnvironment env = FixedEnvironment(dir.path());
            env.lastError = [] { return errno; };
            log = std::make_unique<DiagnosticLog>(env);
        }
        log->EnsureOpen();
        return *log;
    }
    int Read() {
        return ReadPluginConfig(config(), state, boxes,
                                [this]() -> DiagnosticLog& { return Log(); });
    }
    // The log as written once the plug-in is unloaded.
    std::string LogText() {
        log.reset();
        return ReadFile(dir.path() + "/host_log.txt");
    }
    // What the read of kTwoTowns left, kept whole by any read that failed since.
    void ExpectTheGoodReadKept() const {
        EXPECT_EQ(state.place.Name, "F\xc3\xa8s");
        EXPECT_EQ(state.place.Country, "Maroc");
        EXPECT_EQ(state.place.latitude, Degrees{34.0333});
        EXPECT_EQ(state.place.Convention, 2);
        EXPECT_EQ(state.tables.NumberOfTowns, 2);
        EXPECT_EQ(state.tables.TownSelected, 1);
        EXPECT_EQ(state.tables.Conventions[0].FajrTwilightAngle, 18.0);
    }
};

TEST_F(ReaderFixture, KeepsOnlyTheSelectedTown) {
    WriteFile(config(), kTwoTowns);
    ASSERT_EQ(Read(), kReadOk);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(logRequests, 0);  // no log file in a normal run
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/host_log.txt"));
    EXPECT_TRUE(state.tables.Towns.empty());
    ExpectTheGoodReadKept();  // the name Windows-1252 on disk, UTF-8 in memory
    EXPECT_EQ(state.place.longitude, Degrees{-5.0});
    EXPECT_EQ((std::array{state.place.TimeZone, state.place.DST}), (std::array{0, 0}));
    const Convention& c = state.tables.Conventions[0];
    EXPECT_EQ((std::array{c.Name, state.tables.Conventions[2].Name}),
              (std::array<std::string, 2>{"Ligue islamique mondiale", "Umm al-Qura"}));
    EXPECT_TRUE(c.AsrShafii);
    EXPECT_EQ((std::array{c.SunriseSetAngle, c.ZuhrHour, c.AddedMinutes[2], c.AddedMinutes[1]}),
              (std::array{0.833, 12.0, 5.0, -2.0}));
}

TEST_F(ReaderFixture, ZoneLineOfTheSelectedTownOnly) {
    const std::string head = "1 2 1 0\n2 France Paris 48.8566 2.3522 1 1 5\n";
    const std::string fes = "2 Maroc Fes 34.0333 -5.0 0 0 2\n";
    struct Case {
        std::string text, zone;
    } cases[] = {
        {head + "8 zone Europe/Paris\n" + fes + "8 zone Africa/Casablanca\n", "Africa/Casablanca"},
        {head + "8 zone Europe/Paris\n" + fes, ""},
        {head + fes + "8 zone Asia/Atlantis\n", "Asia/Atlantis"},
        {head + fes + "8 zone Africa/Casablanca!\n", ""},
        {head + fes + "8 comment\n8 zone Africa/Casablanca\n", ""},
        {head + fes + "8 method morocco\n8 zone Africa/Casablanca\n", "Africa/Casablanca"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile(config(), c.text);
        state.place.Zone = "stale";
        ASSERT_EQ(Read(), kReadOk);
        EXPECT_EQ(state.place.Name, "Fes");
        EXPECT_EQ(state.place.Zone, c.zone);
        const bool methodLine = c.text.find("8 method morocco") != std::string::npos;
        EXPECT_EQ(state.place.Method, methodLine ? "morocco" : "");
    }
}

TEST_F(ReaderFixture, MissingFileLogsAndShowsTheOpenErrorBox) {
    EXPECT_EQ(Read(), kReadOpenError);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], (Shown{config(), "File open error"}));
    EXPECT_EQ(logRequests, 2);
    const std::string& p = kLogPrefix;
    EXPECT_NE(LogText().find(p + "Cannot open data.cfg file\r\n" + p +
                             "GetLastError returned : 0x00000002: No such file or directory)\r\n" +
                             p + "Log finished\r\n"),
              std::string::npos);
}

// Nothing that is not a small regular file blocks or grows the strip: an open
// error naming the path, logged with the error of that open, or a bad format
// for a file over 64 MB. The earlier good read stays whole.
TEST_F(ReaderFixture, HostileFilesAreRefusedAtOnce) {
    WriteFile(config(), kTwoTowns);
    ASSERT_EQ(Read(), kReadOk);
    const std::string& p = kLogPrefix;
    for (const testing::HostileCase& c : testing::kHostileFiles) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(testing::PlantHostile(c.kind, config()));
        boxes.shown.clear();
        log.reset();
        if (c.kind == testing::Hostile::Oversized) {
            EXPECT_EQ(Read(), kReadBadFormat);
            EXPECT_EQ(boxes.shown, (std::vector<Shown>{{"bad format of data.cfg", "Read error"}}));
        } else {
            EXPECT_EQ(Read(), kReadOpenError);
            EXPECT_EQ(boxes.shown, (std::vector<Shown>{{config(), "File open error"}}));
            const char* error = c.kind == testing::Hostile::Folder
                                    ? "0x00000015: Is a directory)"
                                    : "0x00000016: Invalid argument)";
            EXPECT_NE(LogText().find(p + "Cannot open data.cfg file\r\n" + p +
                                     "GetLastError returned : " + error),
                      std::string::npos);
        }
        ExpectTheGoodReadKept();
    }
}

// The log names the error of the failed open, not one met on the way to the log.
TEST_F(ReaderFixture, LogKeepsTheOpenError) {
    WriteFile(dir.path() + "/plain", "x");
    EXPECT_EQ(ReadPluginConfig(dir.path() + "/plain/data.cfg", state, boxes,
                               [this]() -> DiagnosticLog& {
                                   errno = ENOENT;  // what finding the log's folder may leave
                                   return Log();
                               }),
              kReadOpenError);
    EXPECT_NE(LogText().find("GetLastError returned : 0x00000014: Not a directory)"),
              std::string::npos);
}

// Every failure has its code and its box, and a reload that fails takes
// nothing from the file: the place and conventions of the last good read stay
// together. A convention index outside the nine would write past the table:
// the read stops there with the format error, as the application's reader does.
TEST_F(ReaderFixture, FailuresAndTheirBoxes) {
    const std::string kParis = "1 1 0 0\n2 France Paris 48.8566 2.3522 1 1 3\n";
    const std::string kParisAndLyon =
        "1 2 2 0\n2 France Paris 48.8566 2.3522 1 1 0\n2 France Lyon 45.76 4.83 1 1 0\n";
    const struct {
        std::string text;
        int result;
        const char* message;
    } cases[] = {
        {"1 0 0 0\n", kReadInvalidTownCount, "Invalid number of towns in data.cfg"},
        {"1 1 0 0\n7 whatever\n", kReadBadFormat, "bad format of data.cfg"},
        {"1 1 0 0\nFrance Paris\n", kReadBadFormat, "bad format of data.cfg"},
        {"1 1 0 0\n2 France Paris north 2.35 1 1 0\n", kReadBadFormat, "bad format of data.cfg"},
        {"3 0 1 12 12 0.833 0 0 0 12.0\n1 1 0 0\n2 Egypt Cairo 30.04 31.24 2 0 0\n7 broken\n",
         kReadBadFormat, "bad format of data.cfg"},
        {"1 2 0 0\n2 A B 1 2 3 4 5\n2 A C 1 2 3 4 5\n2 A D 1 2 3 4 5\n", kReadTownCountError,
         "Number of towns does not match NTowns"},
        {"", kReadTownCountError, "Number of towns does not match NTowns"},
        {kParisAndLyon, kReadTownOutOfRange, "Selected town out of range"},
        {"5 12 \"far away\"\n" + kParis, kReadBadFormat, "bad format of data.cfg"},
        {"3 9 1 18 17 0.833 0 0 0 12\n" + kParis, kReadBadFormat, "bad format of data.cfg"},
        {"4 -1 1 1 1 1 1 1\n" + kParis, kReadBadFormat, "bad format of data.cfg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile(config(), kTwoTowns);
        ASSERT_EQ(Read(), kReadOk);
        const auto conventions = state.tables.Conventions;
        boxes.shown.clear();
        WriteFile(config(), c.text);
        EXPECT_EQ(Read(), c.result);
        EXPECT_EQ(boxes.shown, (std::vector<Shown>{{c.message, "Read error"}}));
        ExpectTheGoodReadKept();
        for (size_t i = 0; i < conventions.size(); ++i) {
            EXPECT_EQ(state.tables.Conventions[i].Name, conventions[i].Name);
            EXPECT_EQ(state.tables.Conventions[i].FajrTwilightAngle,
                      conventions[i].FajrTwilightAngle);
            EXPECT_EQ(state.tables.Conventions[i].AddedMinutes, conventions[i].AddedMinutes);
        }
    }
}

TEST_F(ReaderFixture, NameLimitsAndEmptyName) {
    WriteFile(config(), "5 1 \"\"\n5 2 \"" + std::string(120, 'n') + "\"\n1 1 0 0\n2 " +
                            std::string(90, 'c') + " X 1 2 0 0 0\n");
    ASSERT_EQ(Read(), kReadOk);
    EXPECT_EQ(state.tables.Conventions[1].Name, "");
    EXPECT_EQ(state.tables.Conventions[2].Name, std::string(79, 'n'));
    EXPECT_EQ(state.place.Country, std::string(79, 'c'));
}

// The strip and the application read every file alike: the same result, the
// same box, the same place. The differences are the strip's own: a convention
// line after the selected town's line gives the place its convention, and an
// out-of-range town is a box instead of a console line.
TEST_F(ReaderFixture, ReadsEveryFileAsTheApplicationDoes) {
    const std::string paris = "2 France Paris 48.8566 2.3522 1 1 5\n";
    const std::string fes = "2 Maroc Fes 34.0333 -5.0 0 0 2\n";
    const std::string convention7 = "4 7 0 0 0 0 0 0\n";
    const struct {
        const char* name;
        std::string text;
        int result;
        const char* place;  // the town read, on success
        int convention;     // the application's Convention of the place
        int stripConvention;
    } cases[] = {
        {"header after the towns", paris + fes + "1 2 1 0\n", kReadTownCountError, "", 0, 0},
        {"town before the header", fes + "1 2 1 0\n" + paris + fes, kReadTownCountError, "", 0, 0},
        {"convention after the selected town", "1 2 1 0\n" + paris + fes + convention7, kReadOk,
         "Fes", 2, 7},
        {"convention after the only town", "1 1 0 0\n" + paris + convention7, kReadOk, "Paris", 5,
         7},
        {"convention between the towns", "1 2 1 0\n" + paris + convention7 + fes, kReadOk, "Fes", 2,
         2},
        {"convention after the other town", "1 2 0 0\n" + paris + fes + convention7, kReadOk,
         "Paris", 5, 7},
        {"second header selects another town", "1 2 0 0\n" + paris + fes + "1 2 1 0\n", kReadOk,
         "Fes", 2, 2},
        {"second header after a convention line",
         "1 2 0 0\n" + paris + convention7 + fes + "1 2 1 0\n", kReadOk, "Fes", 2, 2},
        {"bad line after the towns", "1 2 1 0\n" + paris + fes + "7 x\n", kReadBadFormat, "", 0, 0},
        {"selected town out of range", "1 2 2 0\n" + paris + fes, kReadTownOutOfRange, "", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigTables tables;
        CurrentPlace place;
        testing::RecordingMessageSink appBoxes;
        StringTraceSink console;
        EXPECT_EQ(ReadDataCfgBytes(c.text, tables, place, nullptr, appBoxes, &console), c.result);

        state = EngineState{};
        boxes.shown.clear();
        WriteFile(config(), c.text);
        EXPECT_EQ(Read(), c.result);
        if (c.result == kReadTownOutOfRange) {
            EXPECT_TRUE(appBoxes.shown.empty());
            EXPECT_EQ(console.text(), kConsoleTownOutOfRange);
            EXPECT_EQ(boxes.shown, (std::vector<Shown>{{kTextTownOutOfRange, kCaptionReadError}}));
        } else {
            EXPECT_EQ(boxes.shown, appBoxes.shown);
        }
        if (c.result != kReadOk) continue;
        EXPECT_EQ(place.Name, c.place);
        EXPECT_EQ(state.place.Name, c.place);
        EXPECT_EQ(state.place.latitude, place.latitude);
        EXPECT_EQ(state.tables.TownSelected, tables.TownSelected);
        EXPECT_EQ(place.Convention, c.convention);
        EXPECT_EQ(state.place.Convention, c.stripConvention);
    }
}

}  // namespace
}  // namespace orvano
