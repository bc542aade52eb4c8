// orvano-cli under hostile files, kills, permissions, names and dates.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "astro/trace.h"
#include "run_cli.h"
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

TEST(CliRobust, ImpossibleDatesAndShortYearsAreRefused) {
    const std::vector<std::string> place = {"--lat", "36.75", "--lon", "3.06", "--tz", "1"};
    const struct {
        std::vector<std::string> args;
        std::string err;  // empty: accepted
    } cases[] = {
        {{"times", "--date", "2023-02-29"},
         "orvano-cli times: option '--date' has an impossible date '2023-02-29'\n"},
        {{"times", "--date", "2024-02-29"}, ""},
        {{"sun", "--at", "2024-02-30 12:00:00"},
         "orvano-cli sun: option '--at' has an impossible date '2024-02-30 12:00:00'\n"},
        {{"sun", "--at", "2023-02-29 12:00:00"},
         "orvano-cli sun: option '--at' has an impossible date '2023-02-29 12:00:00'\n"},
        {{"sun", "--at", "2024-02-29 12:00:00"}, ""},
        {{"times", "--date", "24-01-01"},
         "orvano-cli times: option '--date' needs a four-digit year, not '24-01-01'\n"},
        {{"month", "--month", "024-01"},
         "orvano-cli month: option '--month' needs a four-digit year, not '024-01'\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), place.begin(), place.end());
        // With the method given, nothing is said of the nearest place.
        if (args[0] != "sun") args.insert(args.end(), {"--method", "mwl"});
        SCOPED_TRACE(args[2]);
        const auto r = RunCli(args);
        EXPECT_EQ(r.status, c.err.empty() ? 0 : 2);
        EXPECT_EQ(r.err, c.err);
    }
}

// Numbers and dates take their plain decimal forms only: a sign, a space or a
// base prefix that the C library's conversions would let in is refused with
// the option's own message.
TEST(CliRobust, NumbersAndDatesTakeOnlyPlainDecimalForms) {
    const std::string towns = std::string(ORVANO_TEST_DATA) + "/cli_towns.cfg";
    const struct {
        std::vector<std::string> args;
        std::string err;  // empty: accepted
    } cases[] = {
        {{"times", "--date", "2024-+2-28", "--lat", "36.75"},
         "orvano-cli times: option '--date' needs YYYY-MM-DD, not '2024-+2-28'\n"},
        {{"times", "--date", " 2024-02-28", "--lat", "36.75"},
         "orvano-cli times: option '--date' needs YYYY-MM-DD, not ' 2024-02-28'\n"},
        {{"month", "--month", "2024- 2", "--lat", "36.75"},
         "orvano-cli month: option '--month' needs YYYY-MM, not '2024- 2'\n"},
        {{"sun", "--at", "2024-02-28 +9:00:00", "--lat", "36.75"},
         "orvano-cli sun: option '--at' needs \"YYYY-MM-DD HH:MM:SS\", not '2024-02-28 "
         "+9:00:00'\n"},
        {{"times", "--date", "2024-2-8", "--lat", "36.75"}, ""},
        {{"times", "--lat", "0x10"},
         "orvano-cli times: option '--lat' needs a number, not '0x10'\n"},
        {{"times", "--lat", "+36.75"},
         "orvano-cli times: option '--lat' needs a number, not '+36.75'\n"},
        {{"times", "--lat", " 36.75"},
         "orvano-cli times: option '--lat' needs a number, not ' 36.75'\n"},
        {{"times", "--lat", "3e1"}, "orvano-cli times: option '--lat' needs a number, not '3e1'\n"},
        {{"times", "--lat", "-36.75"}, ""},
        {{"times", "--lat", ".5"}, ""},
        {{"times", "--lat", "36.75", "--dst", "+1"},
         "orvano-cli times: option '--dst' needs a whole number from 0 to 2, not '+1'\n"},
        {{"times", "--lat", "36.75", "--dst", "01"}, ""},
        {{"times", "--lat", "36.75", "--tz", "+1"},
         "orvano-cli times: option '--tz' must be hours or a zone name such as Asia/Kolkata\n"},
        {{"bench", "--towns", "0x10"},
         "orvano-cli bench: option '--towns' needs a whole number from 1 to 1000000, not "
         "'0x10'\n"},
        // Read as octal 192 by strtoll(s, 0), as 300 here.
        {{"bench", "--threads", "0300"},
         "orvano-cli bench: option '--threads' needs a whole number from 1 to 256, not '0300'\n"},
        {{"bench", "--towns", "1", "--days", "010", "--threads", "010"}, ""},
        {{"times", "--lat", "36.75", "--dst", "1e0"},
         "orvano-cli times: option '--dst' needs a whole number from 0 to 2, not '1e0'\n"},
        {{"times", "--lat", "90.5"}, "orvano-cli times: option '--lat' must lie in -90..90\n"},
        {{"times", "--lat", "36.75", "--high-latitude", "Middle"},
         "orvano-cli times: option '--high-latitude' must be seventh, middle, angle or none, not "
         "'Middle'\n"},
        {{"times", "--config", towns, "--town", " 1"},
         "orvano-cli times: option '--town': no town is named ' 1'; 'orvano-cli towns' lists "
         "them\n"},
        {{"times", "--config", towns, "--town", "+1"},
         "orvano-cli times: option '--town': no town is named '+1'; 'orvano-cli towns' lists "
         "them\n"},
        {{"times", "--config", towns, "--town", "1"}, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        const auto given = [&](const char* name) {
            return std::find(args.begin(), args.end(), name) != args.end();
        };
        if (given("--lat")) args.insert(args.end(), {"--lon", "3.06"});
        if (given("--lat") && !given("--tz")) args.insert(args.end(), {"--tz", "1"});
        if (given("--lat") && args[0] != "sun") args.insert(args.end(), {"--method", "mwl"});
        SCOPED_TRACE(args[1] + " '" + args[2] + "'");
        const auto r = RunCli(args);
        EXPECT_EQ(r.status, c.err.empty() ? 0 : 2);
        EXPECT_EQ(r.err, c.err);
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
        {{"times", "--lat", "36.75"}, "orvano-cli times: --lat and --lon go together\n"},
        {{"times", "--dst", "1"}, "orvano-cli times: --lat and --lon go together\n"},
        {{"times", "--lat", "1", "--lon", "2", "--config", towns},
         "orvano-cli times: --lat/--lon give a place of their own; drop --config and --town\n"},
        {{"month", "--config", towns, "--json", "--csv"},
         "orvano-cli month: --json and --csv cannot be given together\n"},
        {{"sun", "--config", towns, "--json", "--trace"},
         "orvano-cli sun: --json and --trace cannot be given together\n"},
        {{"towns", "--config", towns, "--limit", "5"},
         "orvano-cli towns: option '--limit' goes with --search\n"},
        {{"add", "--config", towns, "--pick", "2"},
         "orvano-cli add: option '--pick' goes with --search\n"},
        {{"add", "--config", towns, "--search", "Paris", "--tz", "1"},
         "orvano-cli add: --search and --lat/--lon/--tz give the place two ways; keep one\n"},
        {{"times", "--date", "x", "--help"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.status, c.err.empty() ? 0 : 2);
        EXPECT_EQ(r.err, c.err);
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

// What the tool leaves around it when a read fails, a file cannot be written,
// the umask is strict or loose, or HOME is unset.
TEST(CliRobust, FilesAroundTheToolFollowTheUsersRules) {
    const std::string home = testing::CliHome().path();
    const std::string stateEcho = home + "/state/orvano/read_echo.cfg";
    const std::string userCfg = home + "/config/orvano/data.cfg";
    const std::string good = "1 1 0 0\n2 Algeria Algiers 36.7538 3.0588 1 0 6\n";
    const std::vector<std::string> umask077 = {"sh", "-c", "umask 077 && exec \"$@\"", "sh"};
    const std::vector<std::string> umask002 = {"sh", "-c", "umask 002 && exec \"$@\"", "sh"};
    const std::vector<std::string> asNobody = {"setpriv", "--reuid=65534", "--regid=65534",
                                               "--clear-groups"};
    const passwd* nobody = ::getpwnam("nobody");
    const std::string nobodyHome = nobody != nullptr ? nobody->pw_dir : "?";
    struct Case {
        const char* what;
        std::string config;  // data.cfg given with --config; none when empty
        std::vector<std::string> args, prefix, environment;
        int status;
        std::function<void(const TempFolder&, const testing::CliResult&)> check;
    };
    const Case cases[] = {
        {"a failed read writes no transcription, beside the file or in the state folder",
         "1 1 0 0\n6\n",
         {"read"},
         {},
         {},
         1,
         [&](const TempFolder& f, const testing::CliResult&) {
             EXPECT_EQ(ReadFile(f / "read_echo.cfg"), "unrelated");
             EXPECT_EQ(ReadFile(stateEcho), "previous");
         }},
        {"a good read transcribes into the state folder only",
         good,
         {"read"},
         {},
         {},
         0,
         [&](const TempFolder& f, const testing::CliResult&) {
             EXPECT_EQ(ReadFile(f / "read_echo.cfg"), "unrelated");
             EXPECT_EQ(ReadFile(stateEcho).rfind("8 -", 0), 0u);
         }},
        {"a transcription that cannot be written fails the read",
         good,
         {"read"},
         {},
         {},
         1,
         [&](const TempFolder&, const testing::CliResult& r) {
             EXPECT_EQ(r.err, "File open error: " + stateEcho + "\n");
         }},
        {"the first copy under umask 077",
         "",
         {"towns"},
         umask077,
         {},
         0,
         [&](const TempFolder&, const testing::CliResult&) {
             EXPECT_EQ(fs::status(userCfg).permissions() & fs::perms::all,
                       fs::perms::owner_read | fs::perms::owner_write);
         }},
        {"the first copy under umask 002",
         "",
         {"towns"},
         umask002,
         {},
         0,
         [&](const TempFolder&, const testing::CliResult&) {
             EXPECT_EQ(fs::status(userCfg).permissions() & fs::perms::all,
                       fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                           fs::perms::group_write | fs::perms::others_read);
         }},
        {"HOME unset: the home of the password database, never /tmp",
         "",
         {"towns"},
         asNobody,
         {"-i", "PATH=/usr/bin:/bin"},
         0,
         [&](const TempFolder&, const testing::CliResult& r) {
             EXPECT_EQ(
                 r.err.rfind(
                     "orvano-cli: Cannot create " + nobodyHome + "/.config/orvano/data.cfg: ", 0),
                 0u)
                 << r.err;
             EXPECT_FALSE(fs::exists("/tmp/.config/orvano"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.prefix == asNobody && ::geteuid() != 0) continue;
        TempFolder folder;
        WriteFile(folder / "read_echo.cfg", "unrelated");
        fs::remove_all(stateEcho);
        fs::create_directories(home + "/state/orvano");
        if (c.status == 1 && c.config == good) {
            fs::create_directories(stateEcho);  // a folder where the file should go
        } else {
            WriteFile(stateEcho, "previous");
        }
        fs::remove(userCfg);
        std::vector<std::string> args = c.args;
        if (!c.config.empty()) {
            WriteFile(folder / "data.cfg", c.config);
            args.insert(args.end(), {"--config", folder / "data.cfg"});
        }
        const auto r = RunCli(args, c.prefix, c.environment);
        EXPECT_EQ(r.status, c.status) << r.err;
        c.check(folder, r);
    }
    fs::remove_all(stateEcho);
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

    for (const std::string& name : strays) {
        fs::last_write_time(folder / name,
                            fs::file_time_type::clock::now() - std::chrono::minutes(11));
    }
    ASSERT_EQ(RunCli({"resave", "--config", path}).status, 0);
    EXPECT_EQ(StrayFiles(folder), std::vector<std::string>{});
    EXPECT_EQ(ReadFile(path), whole);
}

// The permission is the user's: a file that this user may not write is kept.
TEST(CliRobust, ReadOnlyDataCfgIsKept) {
    const bool root = geteuid() == 0;
    if (!root) std::printf("not root: running as this user, without the other owner's case\n");
    constexpr uid_t kNobody = 65534;
    const std::vector<std::string> asNobody = {"setpriv", "--reuid=65534", "--regid=65534",
                                               "--clear-groups"};
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
        const std::string content = "1 1 0 0\n2 Algeria Algiers 36.7538 3.0588 1 0 6\n";
        WriteFile(path, content);
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        if (root) {
            ASSERT_EQ(::chown(folder.path().c_str(), kNobody, kNobody), 0);
            if (c.ownedByUser) {
                ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
            }
        }
        const auto r =
            RunCli({"resave", "--config", path}, root ? asNobody : std::vector<std::string>{});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "File open error for writing data.cfg: " + path + "\n");
        EXPECT_EQ(ReadFile(path), content);
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, static_cast<fs::perms>(c.mode));
        EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"data.cfg", "data.cfg.lock"}));
    }
}

}  // namespace
}  // namespace orvano
