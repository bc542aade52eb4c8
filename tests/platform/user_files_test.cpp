// The user's own files: XDG folders, the first-start copy of data.cfg, and
// never a replaced file.
#include "platform/user_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace orvano {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

struct UserFilesTest : ::testing::Test {
    testing::TempFolder dir;
    std::string installed;
    void SetUp() override {
        setenv("HOME", dir.path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        fs::create_directories(dir / "usr/share/orvano");
        installed = dir / "usr/share/orvano/data.cfg";
        WriteFile(installed, "1 0 0 0\n");
    }
    std::string User() const { return dir / "config/orvano/data.cfg"; }
};

TEST_F(UserFilesTest, FoldersFollowTheBaseDirectoryRules) {
    EXPECT_EQ(UserConfigFolder(), dir / "config/orvano");
    EXPECT_EQ(UserStateFolder(), dir / "state/orvano");
    EXPECT_TRUE(fs::is_directory(dir / "state/orvano"));
    setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(UserConfigFolder(), dir / ".config/orvano");
    EXPECT_EQ(UserDataFolder(), dir / ".local/share/orvano");
    EXPECT_EQ(InstalledFolderOfProgram("/usr/bin/orvano"), "/usr/share/orvano");
    EXPECT_EQ(InstalledFolderOfPlugin("/usr/lib/orvano/libTodayOrvano.so"), "/usr/share/orvano");
    EXPECT_EQ(InstalledProgramOfPlugin("/opt/x/lib/orvano/libTodayOrvano.so", "orvano"),
              "/opt/x/bin/orvano");
}

TEST_F(UserFilesTest, FirstStartCopiesTheInstalledFileOnce) {
    const UserDataCfg first = PrepareUserDataCfg(installed);
    EXPECT_EQ(first.path, User());
    EXPECT_FALSE(first.readOnly);
    EXPECT_EQ(first.problem, "");
    EXPECT_EQ(ReadFile(User()), "1 0 0 0\n");
    // No temporaries; the lock that every writer of data.cfg takes stays.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir / "config/orvano")) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"data.cfg", "data.cfg.lock"}));

    WriteFile(User(), "mine");
    WriteFile(installed, "1 1 0 0\n2 A a 1 2 3 0 0\n");
    EXPECT_EQ(PrepareUserDataCfg(installed).path, User());
    EXPECT_EQ(ReadFile(User()), "mine");
}

TEST_F(UserFilesTest, WhatIsThereIsNeverReplaced) {
    fs::create_directories(dir / "config/orvano");
    fs::create_symlink(dir / "nowhere.cfg", User());  // a dangling link is still the user's
    const UserDataCfg linked = PrepareUserDataCfg(installed);
    EXPECT_EQ(linked.path, User());
    EXPECT_TRUE(fs::is_symlink(User()));
    EXPECT_FALSE(fs::exists(dir / "nowhere.cfg"));

    fs::remove(User());
    WriteFile(User(), "unreadable");
    fs::permissions(User(), fs::perms::none);
    EXPECT_EQ(PrepareUserDataCfg(installed).path, User());
    fs::permissions(User(), fs::perms::owner_read);
    EXPECT_EQ(ReadFile(User()), "unreadable");
}

TEST_F(UserFilesTest, FolderThatCannotBeMadeRunsOnTheInstalledFileReadOnly) {
    WriteFile(dir / "file", "");
    setenv("XDG_CONFIG_HOME", (dir / "file").c_str(), 1);
    const UserDataCfg result = PrepareUserDataCfg(installed);
    EXPECT_EQ(result.path, installed);
    EXPECT_TRUE(result.readOnly);
    EXPECT_EQ(result.problem, "Cannot create " + dir / "file/orvano/data.cfg" +
                                  ": Not a directory; using " + installed + " read-only");
}

TEST_F(UserFilesTest, NothingInstalledLeavesTheMissingFileToTheReader) {
    const UserDataCfg result = PrepareUserDataCfg(dir / "missing/data.cfg");
    EXPECT_EQ(result.path, User());
    EXPECT_FALSE(result.readOnly);
    EXPECT_EQ(result.problem, "");
    EXPECT_FALSE(fs::exists(User()));
}

TEST_F(UserFilesTest, ConfigOverrideCopiesNothing) {
    const UserFiles files = PrepareUserFiles(dir / "usr/share/orvano", "/elsewhere/my.cfg");
    EXPECT_EQ(files.dataCfg, "/elsewhere/my.cfg");
    EXPECT_FALSE(fs::exists(User()));
    EXPECT_EQ(files.readEcho, dir / "state/orvano/read_echo.cfg");
    EXPECT_EQ(files.calendarFolder, dir / "data/orvano/calendars");
    EXPECT_TRUE(fs::is_directory(files.calendarFolder));
    EXPECT_EQ(files.installedFolder, dir / "usr/share/orvano");
}

}  // namespace
}  // namespace orvano
