// Writers of the user's files under other writers, planted targets and links,
// kills, foreign names and a full disk.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "cli_hostile.h"

namespace orvano {
namespace {

namespace fs = std::filesystem;
using testing::kAsNobody;
using testing::MakeOld;
using testing::ReadFile;
using testing::RunCli;
using testing::TempFolder;
using testing::WriteFile;

const std::string kExample = std::string(ORVANO_SOURCE_DIR) + "/docs/fit-example.csv";

std::string BundledTables() {
    return ReadFile(std::string(ORVANO_SOURCE_DIR) + "/resources/data.cfg");
}

// Two fits applied at the same instant into two slots: both names must be in
// the file afterwards, whoever wrote last.
TEST(CliWriters, ConcurrentFitsLoseNoUpdate) {
    TempFolder folder;
    const std::string config = folder / "data.cfg";
    WriteFile(config, BundledTables());
    for (int pair = 0; pair < 20; ++pair) {
        const std::string first = "First " + std::to_string(pair);
        const std::string second = "Second " + std::to_string(pair);
        testing::CliResult a;
        testing::CliResult b;
        auto fit = [&](testing::CliResult& r, const char* slot, const std::string& name) {
            r = RunCli({"fit", "--config", config, "--town", "Paris", "--timetable", kExample,
                        "--apply", slot, "--force", "--name", name});
        };
        std::thread other([&] { fit(b, "6", second); });
        fit(a, "5", first);
        other.join();
        ASSERT_EQ(a.status, 0) << a.err;
        ASSERT_EQ(b.status, 0) << b.err;
        const std::string written = ReadFile(config);
        EXPECT_NE(written.find('"' + first + '"'), std::string::npos) << "pair " << pair;
        EXPECT_NE(written.find('"' + second + '"'), std::string::npos) << "pair " << pair;
    }
    EXPECT_EQ(RunCli({"read", "--config", config}).status, 0);
}

// Another program holding the lock past the wait: nothing written, and said so.
TEST(CliWriters, HeldLockRefusesTheWriteAfterWaiting) {
    TempFolder folder;
    const std::string config = folder / "data.cfg";
    WriteFile(config, BundledTables());
    const int fd = ::open((config + ".lock").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    const std::string busy = "data.cfg is in use: Another program is changing data.cfg (" + config +
                             "); nothing was written. Try again when it is done.\n";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"resave", "--config", config}, busy},
        {{"fit", "--config", config, "--town", "Paris", "--timetable", kExample, "--apply", "5",
          "--force"},
         busy + "orvano-cli fit: the fit was not applied\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front());
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(ReadFile(config), BundledTables());
    }
    ::close(fd);
}

// export --out replaces a regular file and nothing else.
TEST(CliWriters, ExportRefusesTargetsThatAreNotRegularFiles) {
    const bool root = geteuid() == 0;
    const struct {
        const char* name;
        std::function<bool(const std::string&)> plant;  // false: cannot be made here
        std::string err;                                // after "option '--out': '<path>' "
    } cases[] = {
        {"FIFO", [](const std::string& p) { return ::mkfifo(p.c_str(), 0600) == 0; },
         "is a FIFO, not a regular file; nothing was written"},
        {"folder", [](const std::string& p) { return ::mkdir(p.c_str(), 0700) == 0; },
         "is a folder, not a regular file; nothing was written"},
        {"device (as root)",
         [root](const std::string& p) {
             return root && ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
         },
         "is a device, not a regular file; nothing was written"},
        {"socket",
         [](const std::string& p) {
             const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             p.copy(address.sun_path, sizeof address.sun_path - 1);
             const bool bound =
                 ::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
             ::close(s);
             return bound;
         },
         "is a socket, not a regular file; nothing was written"},
        {"link to a regular file",
         [](const std::string& p) { return ::symlink("kept.csv", p.c_str()) == 0; },
         "is a symbolic link to 'kept.csv'; give the file itself"},
        {"link to a device",
         [](const std::string& p) { return ::symlink("/dev/full", p.c_str()) == 0; },
         "is a symbolic link to '/dev/full'; give the file itself"},
        {"regular file",
         [](const std::string& p) { return ::close(::creat(p.c_str(), 0644)) == 0; }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string out = folder / "times.csv";
        WriteFile(folder / "kept.csv", "kept\n");
        if (!c.plant(out)) {
            std::printf("%s: cannot be made here, skipped\n", c.name);
            continue;
        }
        const auto r =
            RunCli({"export", "--lat", "0", "--lon", "0", "--tz", "0", "--method", "mwl",
                    "--format", "csv", "--from", "2010-01-01", "--to", "2010-01-02", "--out", out});
        EXPECT_EQ(ReadFile(folder / "kept.csv"), "kept\n");
        if (c.err.empty()) {
            EXPECT_EQ(r.status, 0) << r.err;
            const std::string csv = ReadFile(out);
            EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
            continue;
        }
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "orvano-cli export: option '--out': '" + out + "' " + c.err + "\n");
        const auto kind = fs::symlink_status(out).type();
        EXPECT_TRUE(kind != fs::file_type::regular && kind != fs::file_type::not_found);
    }
}

// data.cfg kept through a link elsewhere, with its own permissions.
TEST(CliWriters, KeptFilesAreWrittenThroughLinksWithTheirMode) {
    const bool root = geteuid() == 0;
    if (root) fs::permissions(testing::CliHome().path(), fs::perms::all);
    const struct {
        const char* name;
        mode_t mode;
        bool lockedFolder;  // the link's target folder is not writable for the user
        int status;
        bool changed;
    } cases[] = {
        {"private file", 0600, false, 0, true},
        {"group-readable file", 0640, false, 0, true},
        {"target folder not writable (uid 65534)", 0644, true, 1, false},
    };
    for (const auto& c : cases) {
        if (c.lockedFolder && !root) continue;
        SCOPED_TRACE(c.name);
        TempFolder home;
        TempFolder dotfiles;
        const std::string link = home / "data.cfg";
        const std::string kept = dotfiles / "orvano.cfg";
        WriteFile(kept, testing::kAlgiersCfg + "8 comment that resave drops\n");
        ASSERT_EQ(::chmod(kept.c_str(), c.mode), 0);
        ASSERT_EQ(::symlink(kept.c_str(), link.c_str()), 0);
        if (root) {
            ASSERT_EQ(::chown(home.path().c_str(), 65534, 65534), 0);
            ASSERT_EQ(::chown(kept.c_str(), 65534, 65534), 0);
            if (!c.lockedFolder) {
                ASSERT_EQ(::chown(dotfiles.path().c_str(), 65534, 65534), 0);
            }
            fs::permissions(dotfiles.path(), fs::perms::owner_all | fs::perms::group_read |
                                                 fs::perms::group_exec | fs::perms::others_read |
                                                 fs::perms::others_exec);
        }
        const auto r =
            RunCli({"resave", "--config", link}, root ? kAsNobody : std::vector<std::string>{});
        EXPECT_EQ(r.status, c.status) << r.err;
        if (!c.changed) {
            EXPECT_EQ(r.err, "File open error for writing data.cfg: " + link + "\n");
        }
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(ReadFile(kept).find("comment that resave drops") == std::string::npos, c.changed);
        EXPECT_EQ(fs::status(kept).permissions() & fs::perms::all, static_cast<fs::perms>(c.mode));
    }
}

// Files that killed runs left behind are removed once ten minutes old, and
// only then.
TEST(CliWriters, LeftoversOfKilledRunsAreRemoved) {
    const std::string configFolder = testing::CliHome().path() + "/config/orvano";
    TempFolder exports;
    const std::vector<std::string> exportRun = {"export",   "--lat", "0",     "--lon",          "0",
                                                "--format", "csv",   "--out", exports / "t.csv"};
    const struct {
        const char* name;
        std::string folder;
        std::vector<std::string> run;
        bool removed;
    } cases[] = {
        {".data.cfg.Ab3xQ9", configFolder, {"towns"}, true},
        {".data.cfg.0123456789abcdef", configFolder, {"towns"}, true},
        {".data.cfg.backup", configFolder, {"towns"}, false},  // a word: the user's, perhaps
        {".orvano-export-Zq81Kd", exports.path(), exportRun, true},
    };
    ASSERT_EQ(RunCli({"towns"}).status, 0);  // the first start makes the folder
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string old = c.folder + "/" + c.name;
        const std::string young = old.substr(0, old.size() - 1) + "0";
        WriteFile(old, "partial");
        WriteFile(young, "partial");
        MakeOld(old);
        const auto r = RunCli(c.run);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(fs::exists(old), !c.removed);
        EXPECT_TRUE(fs::exists(young));  // another run's live file, perhaps
        fs::remove(young);
        fs::remove(old);
    }
}

// A name that is not UTF-8 would turn the whole file into Windows-1252.
TEST(CliWriters, NamesThatAreNotUtf8AreRefused) {
    TempFolder folder;
    const std::string config = folder / "data.cfg";
    WriteFile(config, BundledTables());
    const std::pair<std::string, bool> cases[] = {{"bad\xffname", false},
                                                  {"cut \xC3", false},
                                                  {"overlong \xC0\xAF", false},
                                                  {"Türkiye", true}};
    for (const auto& [name, valid] : cases) {
        SCOPED_TRACE(name);
        const std::string before = ReadFile(config);
        testing::ExpectRefusal({"fit", "--config", config, "--town", "Paris", "--timetable",
                                kExample, "--apply", "5", "--force", "--name", name},
                               valid ? "" : "option '--name' is not valid UTF-8 text");
        if (!valid) {
            EXPECT_EQ(ReadFile(config), before);
        }
    }
    const auto towns = RunCli({"towns", "--config", config});
    EXPECT_NE(towns.out.find("Türkiye"), std::string::npos);
}

// A full disk says so, and leaves data.cfg whole. Needs a small file system
// of its own, which only a user who may mount one can make.
TEST(CliWriters, FullDiskIsReportedAsSuch) {
    TempFolder folder;
    const std::string mount = folder / "small";
    fs::create_directory(mount);
    const std::string config = mount + "/data.cfg";
    const std::string script =
        "mount -t tmpfs -o size=64k tmpfs " + testing::ShellQuote(mount) + " || exit 77; cp " +
        testing::ShellQuote(std::string(ORVANO_SOURCE_DIR) + "/resources/data.cfg") + " " +
        testing::ShellQuote(config) + " && (cat /dev/zero > " +
        testing::ShellQuote(mount + "/filler") + " 2>/dev/null; true) && exec \"$0\" \"$@\"";
    const auto r = RunCli({"resave", "--config", config}, {"unshare", "-m", "sh", "-c", script});
    if (r.status == 77 || r.err.find("unshare") != std::string::npos) {
        GTEST_SKIP() << "cannot mount a small file system here: " << r.err;
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Disk full: data.cfg was not written: " + config + "\n");
}

}  // namespace
}  // namespace orvano
