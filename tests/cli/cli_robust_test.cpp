// orvano-cli under hostile files, kills, permissions, names and dates.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "astro/trace.h"
#include "cli_hostile.h"
#include "tests/support/hostile_files.h"

namespace orvano {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RunCli;
using testing::TempFolder;
using testing::WriteFile;

// A FIFO would block the tool forever without the non-blocking open; the
// time limit turns that into a failure instead of a hung suite.
const std::vector<std::string> kTimeLimit = {"timeout", "20"};

TEST(CliRobust, HostileConfigurationsFailAtOnce) {
    for (const testing::HostileCase& c : testing::kHostileFiles) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder / "data.cfg";
        ASSERT_TRUE(testing::PlantHostile(c.kind, path));
        const std::string line = c.kind == testing::Hostile::Oversized
                                     ? "Read error: bad format of data.cfg\n"
                                     : "File open error: " + path + " (not a regular file)\n";
        const auto times = RunCli({"times", "--config", path}, kTimeLimit);
        EXPECT_EQ(times.status, 1);
        EXPECT_EQ(times.err, "orvano-cli times: " + line);
        const auto read = RunCli({"read", "--config", path}, kTimeLimit);
        EXPECT_EQ(read.status, 1);
        EXPECT_EQ(read.err, line);
        EXPECT_EQ(read.out, "");
    }
}

// Dates that do not exist, short years, and numbers or dates in any but their
// plain decimal forms (a sign, a space or a base prefix that the C library's
// conversions would let in) are refused with the option's own message.
TEST(CliRobust, OptionValuesTakeOnlyTheirPlainForms) {
    const std::string towns = std::string(ORVANO_TEST_DATA) + "/cli_towns.cfg";
    const std::string lat = "36.75";
    const struct {
        std::vector<std::string> args;
        std::string err;  // empty: accepted
    } cases[] = {
        {{"times", "--date", "2023-02-29", "--lat", lat},
         "option '--date' has an impossible date '2023-02-29'"},
        {{"times", "--date", "2024-02-29", "--lat", lat}, ""},
        {{"sun", "--at", "2024-02-30 12:00:00", "--lat", lat},
         "option '--at' has an impossible date '2024-02-30 12:00:00'"},
        {{"sun", "--at", "2023-02-29 12:00:00", "--lat", lat},
         "option '--at' has an impossible date '2023-02-29 12:00:00'"},
        {{"sun", "--at", "2024-02-29 12:00:00", "--lat", lat}, ""},
        {{"times", "--date", "24-01-01", "--lat", lat},
         "option '--date' needs a four-digit year, not '24-01-01'"},
        {{"month", "--month", "024-01", "--lat", lat},
         "option '--month' needs a four-digit year, not '024-01'"},
        {{"times", "--date", "2024-+2-28", "--lat", lat},
         "option '--date' needs YYYY-MM-DD, not '2024-+2-28'"},
        {{"times", "--date", " 2024-02-28", "--lat", lat},
         "option '--date' needs YYYY-MM-DD, not ' 2024-02-28'"},
        {{"month", "--month", "2024- 2", "--lat", lat},
         "option '--month' needs YYYY-MM, not '2024- 2'"},
        {{"sun", "--at", "2024-02-28 +9:00:00", "--lat", lat},
         "option '--at' needs \"YYYY-MM-DD HH:MM:SS\", not '2024-02-28 +9:00:00'"},
        {{"times", "--date", "2024-2-8", "--lat", lat}, ""},
        {{"times", "--lat", "0x10"}, "option '--lat' needs a number, not '0x10'"},
        {{"times", "--lat", "+36.75"}, "option '--lat' needs a number, not '+36.75'"},
        {{"times", "--lat", " 36.75"}, "option '--lat' needs a number, not ' 36.75'"},
        {{"times", "--lat", "3e1"}, "option '--lat' needs a number, not '3e1'"},
        {{"times", "--lat", "-36.75"}, ""},
        {{"times", "--lat", ".5"}, ""},
        {{"times", "--lat", lat, "--dst", "+1"},
         "option '--dst' needs a whole number from 0 to 2, not '+1'"},
        {{"times", "--lat", lat, "--dst", "01"}, ""},
        {{"times", "--lat", lat, "--tz", "+1"},
         "option '--tz' must be hours or a zone name such as Asia/Kolkata"},
        {{"bench", "--towns", "0x10"},
         "option '--towns' needs a whole number from 1 to 1000000, not '0x10'"},
        // Read as octal 192 by strtoll(s, 0), as 300 here.
        {{"bench", "--threads", "0300"},
         "option '--threads' needs a whole number from 1 to 256, not '0300'"},
        {{"bench", "--towns", "1", "--days", "010", "--threads", "010"}, ""},
        {{"times", "--lat", lat, "--dst", "1e0"},
         "option '--dst' needs a whole number from 0 to 2, not '1e0'"},
        {{"times", "--lat", "90.5"}, "option '--lat' must lie in -90..90"},
        {{"times", "--lat", lat, "--high-latitude", "Middle"},
         "option '--high-latitude' must be seventh, middle, angle or none, not 'Middle'"},
        {{"times", "--config", towns, "--town", " 1"},
         "option '--town': no town is named ' 1'; 'orvano-cli towns' lists them"},
        {{"times", "--config", towns, "--town", "+1"},
         "option '--town': no town is named '+1'; 'orvano-cli towns' lists them"},
        {{"times", "--config", towns, "--town", "1"}, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        const auto given = [&](const char* name) {
            return std::find(args.begin(), args.end(), name) != args.end();
        };
        // With the method given, nothing is said of the nearest place.
        if (given("--lat")) args.insert(args.end(), {"--lon", "3.06"});
        if (given("--lat") && !given("--tz")) args.insert(args.end(), {"--tz", "1"});
        if (given("--lat") && args[0] != "sun") args.insert(args.end(), {"--method", "mwl"});
        SCOPED_TRACE(args[1] + " '" + args[2] + "'");
        testing::ExpectRefusal(args, c.err);
    }
}

// Options that go together, or not at all, are refused with the tool's own
// words; --help wins over any value.
TEST(CliRobust, OptionRulesAreRefusedInTheToolsWords) {
    const std::string towns = std::string(ORVANO_TEST_DATA) + "/cli_towns.cfg";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"times", "--lat", "36.75"}, "--lat and --lon go together"},
        {{"times", "--dst", "1"}, "--lat and --lon go together"},
        {{"times", "--lat", "1", "--lon", "2", "--config", towns},
         "--lat/--lon give a place of their own; drop --config and --town"},
        {{"month", "--config", towns, "--json", "--csv"},
         "--json and --csv cannot be given together"},
        {{"sun", "--config", towns, "--json", "--trace"},
         "--json and --trace cannot be given together"},
        {{"towns", "--config", towns, "--limit", "5"}, "option '--limit' goes with --search"},
        {{"add", "--config", towns, "--pick", "2"}, "option '--pick' goes with --search"},
        {{"add", "--config", towns, "--search", "Paris", "--tz", "1"},
         "--search and --lat/--lon/--tz give the place two ways; keep one"},
        {{"times", "--date", "x", "--help"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        const auto r = testing::ExpectRefusal(c.args, c.err);
        if (c.err.empty()) {
            EXPECT_EQ(r.out, RunCli({c.args[0], "--help"}).out);
        }
    }
}

// No data.cfg can drive the terminal: text shows control characters as \xNN,
// JSON as \u00NN.
TEST(CliRobust, ControlCharactersInNamesAreEscaped) {
    TempFolder folder;
    const std::string path = folder / "data.cfg";
    WriteFile(path,
              "1 1 0 0\n2 Alg\x1b[2J Or\x07\xC2\x9B"
              "an 36.75 3.06 1 0 0\n");
    const auto text = RunCli({"times", "--config", path, "--date", "2010-01-15"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "Or\\x07\\x9ban, Alg\\x1b[2J");
    const auto json = RunCli({"times", "--config", path, "--date", "2010-01-15", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"town\":\"Or\\u0007\xC2\x9B"
                            "an\""),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"country\":\"Alg\\u001b[2J\""), std::string::npos) << json.out;
}

// What a terminal would act on: any byte below 0x20 but a line end (LF, or
// the CRLF of CSV and iCalendar) and a tab.
std::string ControlBytes(const std::string& text) {
    std::string found;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool lineEnd = c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
        if (c < 0x20 && c != '\t' && !lineEnd) found += Format("\\x%02x@%zu ", c, i);
    }
    return found;
}

// Every command, with towns, a convention and timetable cells whose names carry
// escape sequences: each prints the name, escaped.
TEST(CliRobust, NoCommandPassesControlCharactersToTheTerminal) {
    TempFolder folder;
    const std::string cfg = folder / "data.cfg";
    WriteFile(cfg,
              "1 3 0 1\n"
              "2 Or\x07"
              "an Alg\x1b[2Jiers 36.75 3.06 1 0 0\n"
              "8 zone Asia/Atlantis\n"
              "2 Or\x07"
              "an Alg\x1b]0;x\x07"
              "ba 36.5 3.2 1 0 0\n"
              "2 Or\x07"
              "an Bo\x1b[31mne 36.9 7.76 1 0 0\n"
              "3 0 1 18 17 0.833 0 0 0 0\n4 0 0 0 0 0 0 0\n5 0 \"Lea\x1b[2Jgue\"\n");
    const auto month =
        RunCli({"month", "--config", cfg, "--town", "0", "--month", "2024-03", "--csv"});
    ASSERT_EQ(month.status, 0) << month.err;
    // The month's own times as the mosque's timetable: the convention fits as it is.
    std::string timetable;
    std::istringstream rows(month.out);
    for (std::string row; std::getline(rows, row);) {
        size_t cut = 0;
        for (int commas = 0; commas < 7 && cut != std::string::npos; ++commas)
            cut = row.find(',', cut + 1);
        timetable += row.substr(0, cut) + "\n";
    }
    const std::string table = folder / "table.csv";
    WriteFile(table, timetable);
    const std::string badTable = folder / "bad.csv";
    WriteFile(badTable, "date,fajr\n2024-03-01\x1b[31m,05:00\n");
    const std::vector<std::string> file = {"--config", cfg};
    const struct {
        const char* what;
        std::vector<std::string> args;
    } cases[] = {
        {"times, unknown zone", {"times", "--town", "0"}},
        {"month", {"month", "--town", "0", "--month", "2024-03"}},
        {"next", {"next", "--town", "0", "--at", "2024-03-10 12:00:00"}},
        {"export", {"export", "--town", "0", "--format", "ics", "--from", "2024-03-01"}},
        {"towns", {"towns"}},
        {"trace", {"trace", "--town", "0", "--date", "2024-03-10"}},
        {"sun --trace", {"sun", "--town", "0", "--at", "2024-03-10 12:00:00", "--trace"}},
        {"qibla", {"qibla", "--town", "2"}},
        {"calendar", {"calendar", "--town", "0", "--out", folder.path(), "--no-open"}},
        {"read", {"read"}},
        {"--town could be", {"times", "--town", "alg"}},
        {"--town did you mean", {"times", "--town", "31m"}},
        {"fit, same rules", {"fit", "--timetable", table, "--town", "0"}},
        {"fit, timetable cells", {"fit", "--timetable", badTable, "--town", "0"}},
        {"fit, towns sharing the slot",
         {"fit", "--timetable", table, "--town", "0", "--apply", "0"}},
        {"fit, written as",
         {"fit", "--timetable", table, "--town", "0", "--apply", "0", "--force", "--name",
          "Mos\x1b[2Jque"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, file.begin(), file.end());
        const auto r = RunCli(args);
        EXPECT_EQ(ControlBytes(r.out) + ControlBytes(r.err), "");
        EXPECT_NE((r.out + r.err).find("\\x1b"), std::string::npos) << r.out << r.err;
    }
}

// A read transcribes what it read into the state folder, never beside the
// file, and only when it succeeds; a transcription that cannot be written
// fails the read.
TEST(CliRobust, ReadTranscribesIntoTheStateFolderOnly) {
    const std::string stateEcho = testing::CliHome().path() + "/state/orvano/read_echo.cfg";
    const struct {
        const char* what;
        std::string config;
        int status;
        const char* echo;  // the transcription afterwards; nullptr: a folder stands in its place
        bool whole;        // `echo` is the whole transcription, not its start
    } cases[] = {
        {"failed read", "1 1 0 0\n6\n", 1, "previous", true},
        {"good read", testing::kAlgiersCfg, 0, "8 -", false},
        {"transcription cannot be written", testing::kAlgiersCfg, 1, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        WriteFile(folder / "read_echo.cfg", "unrelated");
        WriteFile(folder / "data.cfg", c.config);
        fs::remove_all(stateEcho);
        fs::create_directories(c.echo != nullptr ? fs::path(stateEcho).parent_path()
                                                 : fs::path(stateEcho));
        if (c.echo != nullptr) WriteFile(stateEcho, "previous");
        const auto r = RunCli({"read", "--config", folder / "data.cfg"});
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(ReadFile(folder / "read_echo.cfg"), "unrelated");
        if (c.echo == nullptr) {
            EXPECT_EQ(r.err, "File open error: " + stateEcho + "\n");
        } else {
            const std::string echo = ReadFile(stateEcho);
            EXPECT_EQ(c.whole ? echo : echo.substr(0, std::strlen(c.echo)), c.echo);
        }
    }
    fs::remove_all(stateEcho);
}

TEST(CliRobust, FirstCopyOfDataCfgFollowsTheUmask) {
    const std::string userCfg = testing::CliHome().path() + "/config/orvano/data.cfg";
    for (const auto& [umask, mode] : {std::pair{"077", 0600}, std::pair{"002", 0664}}) {
        SCOPED_TRACE(umask);
        fs::remove(userCfg);
        const auto r = RunCli(
            {"towns"}, {"sh", "-c", std::string("umask ") + umask + " && exec \"$@\"", "sh"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(fs::status(userCfg).permissions() & fs::perms::all, static_cast<fs::perms>(mode));
    }
}

TEST(CliRobust, WithoutHomeTheHomeOfThePasswordDatabaseIsUsedNeverTmp) {
    if (::geteuid() != 0) GTEST_SKIP() << "running as another user needs root";
    const passwd* nobody = ::getpwnam("nobody");
    const std::string nobodyHome = nobody != nullptr ? nobody->pw_dir : "?";
    const auto r = RunCli({"towns"}, testing::kAsNobody, {"-i", "PATH=/usr/bin:/bin"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        r.err.rfind("orvano-cli: Cannot create " + nobodyHome + "/.config/orvano/data.cfg: ", 0),
        0u)
        << r.err;
    EXPECT_FALSE(fs::exists("/tmp/.config/orvano"));
}

std::vector<std::string> StrayFiles(const TempFolder& folder) {
    std::vector<std::string> strays;
    for (const std::string& name : folder.Entries()) {
        if (name != "data.cfg" && name != "data.cfg.lock") strays.push_back(name);
    }
    return strays;
}

// Saves killed at random instants never cut data.cfg short, and leave at most
// a rare file from the instant between naming and renaming, which a later save
// removes once it is ten minutes old.
TEST(CliRobust, KilledSavesLeaveTheFileWholeAndNoStrayFile) {
    TempFolder folder;
    const std::string path = folder / "data.cfg";
    std::string big = "1 20000 0 0\n";
    for (int i = 0; i < 20000; ++i) {
        big += "2 Country" + std::to_string(i) + " Town" + std::to_string(i) + " 10.5 20.5 1 0 0\n";
    }
    WriteFile(path, big);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(RunCli({"resave", "--config", path}).status, 0);
    const auto saveTime = std::chrono::steady_clock::now() - start;
    const std::string whole = ReadFile(path);

    const std::string home = testing::CliHome().path();
    std::mt19937 random(15);
    std::uniform_int_distribution<long long> delay(
        0, std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count());
    int killed = 0;
    for (int kill = 0; kill < 30; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setenv("HOME", home.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
            setenv("XDG_STATE_HOME", (home + "/state").c_str(), 1);
            setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
            const std::string cli = testing::CliPath();
            execl(cli.c_str(), cli.c_str(), "resave", "--config", path.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status)) ++killed;
        ASSERT_EQ(ReadFile(path), whole) << "after kill " << kill;
    }
    EXPECT_GE(killed, 10);  // most saves really were cut short
    const auto strays = StrayFiles(folder);
    EXPECT_LE(strays.size(), 2u);

    for (const std::string& name : strays) testing::MakeOld(folder / name);
    ASSERT_EQ(RunCli({"resave", "--config", path}).status, 0);
    EXPECT_EQ(StrayFiles(folder), std::vector<std::string>{});
    EXPECT_EQ(ReadFile(path), whole);
}

// The permission is the user's: a file that this user may not write is kept.
TEST(CliRobust, ReadOnlyDataCfgIsKept) {
    const bool root = geteuid() == 0;
    if (!root) std::printf("not root: running as this user, without the other owner's case\n");
    constexpr uid_t kNobody = 65534;
    if (root) fs::permissions(testing::CliHome().path(), fs::perms::all);
    const struct {
        const char* name;
        mode_t mode;
        bool ownedByUser;
    } cases[] = {{"read-only, the user's own", 0444, true},
                 {"writable by its owner only, not the user's", 0644, false}};
    for (const auto& c : cases) {
        if (!c.ownedByUser && !root) continue;
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder / "data.cfg";
        WriteFile(path, testing::kAlgiersCfg);
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        if (root) {
            ASSERT_EQ(::chown(folder.path().c_str(), kNobody, kNobody), 0);
            if (c.ownedByUser) {
                ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
            }
        }
        const auto r = RunCli({"resave", "--config", path},
                              root ? testing::kAsNobody : std::vector<std::string>{});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "File open error for writing data.cfg: " + path + "\n");
        EXPECT_EQ(ReadFile(path), testing::kAlgiersCfg);
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, static_cast<fs::perms>(c.mode));
        EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"data.cfg", "data.cfg.lock"}));
    }
}

}  // namespace
}  // namespace orvano
