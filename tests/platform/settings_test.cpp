#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/file_settings.h"
#include "platform/shell.h"
#include "tests/support/hostile_files.h"
#include "tests/support/temp_folder.h"

namespace orvano {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
  protected:
    std::string Content() const { return testing::ReadFile(file_); }
    void Write(const std::string& text) {
        fs::create_directories(fs::path(file_).parent_path());
        testing::WriteFile(file_, text);
    }

    testing::TempFolder folder_;
    std::string file_ = folder_ / "orvano/settings.ini";
};

TEST_F(SettingsFileTest, MissingFileHasNoKeys) {
    FileSettingsStore store(file_);
    EXPECT_EQ(store.OpenKey(kAppSettingsKey), nullptr);
    EXPECT_FALSE(fs::exists(file_));
}

// A settings file that is a FIFO, a device, a folder or huge is neither waited
// on nor read without end, and never replaced by a save.
TEST_F(SettingsFileTest, HostileFilesGiveNoKeysAndAreLeftAlone) {
    for (const testing::HostileCase& c : testing::kHostileFiles) {
        SCOPED_TRACE(c.name);
        fs::create_directories(fs::path(file_).parent_path());
        ASSERT_TRUE(testing::PlantHostile(c.kind, file_));
        const auto before = fs::symlink_status(file_).type();
        FileSettingsStore store(file_);
        EXPECT_EQ(store.OpenKey(kAppSettingsKey), nullptr);
        EXPECT_FALSE(store.CreateKey(kAppSettingsKey));
        EXPECT_EQ(fs::symlink_status(file_).type(), before);
    }
}

TEST_F(SettingsFileTest, NumberRoundTripsAsFourLittleEndianBytes) {
    FileSettingsStore store(file_);
    ASSERT_TRUE(store.CreateKey(kAppSettingsKey));
    auto key = store.OpenKey(kAppSettingsKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadNumber("Lang"), std::nullopt);
    EXPECT_TRUE(key->WriteNumber("Lang", 0x01020304));
    EXPECT_EQ(key->ReadNumber("Lang"), std::optional<std::uint32_t>(0x01020304));
    EXPECT_EQ(Content(), "[Software\\Apps\\Orvano]\nLang=hex:04,03,02,01\n");

    // Another store on the same file (another process) sees the value.
    FileSettingsStore other(file_);
    EXPECT_EQ(other.OpenKey(kAppSettingsKey)->ReadNumber("Lang"),
              std::optional<std::uint32_t>(0x01020304));
}

TEST_F(SettingsFileTest, ValueOfAnotherSizeCannotBeRead) {
    Write(
        "[Software\\Microsoft\\Today\\Items\\Orvano]\n"
        "AlarmFajr=hex:01\n"
        "AlarmZuhr=hex:01,00,00,00\n"
        "AlarmAsr=hex:\n"
        "Big=hex:02,00,00,00,00\n");
    FileSettingsStore store(file_);
    auto key = store.OpenKey(kTodaySettingsKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadByte("AlarmFajr"), std::optional<std::uint8_t>(1));
    EXPECT_EQ(key->ReadNumber("AlarmFajr"), std::nullopt);
    EXPECT_EQ(key->ReadByte("AlarmZuhr"), std::nullopt);
    EXPECT_EQ(key->ReadNumber("AlarmZuhr"), std::optional<std::uint32_t>(1));
    EXPECT_EQ(key->ReadRaw("AlarmAsr"), std::optional(std::vector<std::uint8_t>{}));
    EXPECT_EQ(key->ReadByte("AlarmAsr"), std::nullopt);
    EXPECT_EQ(key->ReadNumber("Big"), std::nullopt);
    EXPECT_EQ(key->ReadByte("AlarmIsha"), std::nullopt);
}

TEST_F(SettingsFileTest, MalformedValuesReadAsMissing) {
    Write(
        "[Software\\Apps\\Orvano]\n"
        "A=02,00,00,00\n"
        "B=hex:0g\n"
        "C=hex:123\n"
        "D=hex:01,,02\n");
    FileSettingsStore store(file_);
    auto key = store.OpenKey(kAppSettingsKey);
    ASSERT_NE(key, nullptr);
    for (const char* name : {"A", "B", "C", "D"}) EXPECT_EQ(key->ReadRaw(name), std::nullopt);
}

TEST_F(SettingsFileTest, KeysAndNamesIgnoreCaseAndStayApart) {
    Write(
        "; written by hand\n"
        "[software\\apps\\orvano]\n"
        "lang=hex:01,00,00,00\n"
        "\n"
        "[Software\\Microsoft\\Today\\Items\\Orvano]\n"
        "AlarmIsha=hex:01\n");
    FileSettingsStore store(file_);
    auto app = store.OpenKey(kAppSettingsKey);
    auto today = store.OpenKey(kTodaySettingsKey);
    ASSERT_NE(app, nullptr);
    ASSERT_NE(today, nullptr);
    EXPECT_EQ(app->ReadNumber("Lang"), std::optional<std::uint32_t>(1));
    EXPECT_EQ(today->ReadNumber("Lang"), std::nullopt);
    EXPECT_TRUE(app->WriteNumber("LANG", 2));
    EXPECT_TRUE(today->WriteByte("AlarmFajr", 1));
    EXPECT_EQ(Content(),
              "; written by hand\n"
              "[software\\apps\\orvano]\n"
              "LANG=hex:02,00,00,00\n"
              "\n"
              "[Software\\Microsoft\\Today\\Items\\Orvano]\n"
              "AlarmIsha=hex:01\n"
              "AlarmFajr=hex:01\n");
    EXPECT_EQ(store.OpenKey("Software\\Apps"), nullptr);
}

TEST_F(SettingsFileTest, KeyRemovedAfterOpeningIsNotMadeAgain) {
    FileSettingsStore store(file_);
    ASSERT_TRUE(store.CreateKey(kAppSettingsKey));
    auto key = store.OpenKey(kAppSettingsKey);
    ASSERT_NE(key, nullptr);
    Write("");
    EXPECT_FALSE(key->WriteNumber("Lang", 2));
    EXPECT_EQ(Content(), "");
    EXPECT_EQ(key->ReadNumber("Lang"), std::nullopt);
}

TEST_F(SettingsFileTest, BadNamesAreRefused) {
    FileSettingsStore store(file_);
    ASSERT_TRUE(store.CreateKey(kAppSettingsKey));
    auto key = store.OpenKey(kAppSettingsKey);
    for (const char* name : {"", "a=b", "line\nbreak", "[x]", " padded"}) {
        EXPECT_FALSE(key->WriteByte(name, 1)) << name;
    }
    EXPECT_FALSE(store.CreateKey("bad]key"));
    EXPECT_FALSE(store.CreateKey(""));
    EXPECT_EQ(Content(), "[Software\\Apps\\Orvano]\n");
}

TEST_F(SettingsFileTest, CreatingAnExistingKeyKeepsItsValues) {
    FileSettingsStore store(file_);
    ASSERT_TRUE(store.CreateKey(kAppSettingsKey));
    ASSERT_TRUE(store.OpenKey(kAppSettingsKey)->WriteNumber("Lang", 1));
    ASSERT_TRUE(store.CreateKey("software\\apps\\ORVANO"));
    EXPECT_EQ(store.OpenKey(kAppSettingsKey)->ReadNumber("Lang"), std::optional<std::uint32_t>(1));
}

TEST_F(SettingsFileTest, DefaultPathFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved != nullptr ? saved : "";
    setenv("XDG_CONFIG_HOME", "/some/where", 1);
    EXPECT_EQ(DefaultSettingsPath(), "/some/where/orvano/settings.ini");
    setenv("XDG_CONFIG_HOME", "relative",
           1);  // not absolute: ignored, as the XDG base directory rules say
    setenv("HOME", "/home/user", 1);
    EXPECT_EQ(DefaultSettingsPath(), "/home/user/.config/orvano/settings.ini");
    if (saved != nullptr) {
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

// First start: both keys, once, without touching what is there.
TEST_F(SettingsFileTest, ProgramsCreateBothKeysOnce) {
    Write("[Software\\Apps\\Orvano]\nLang=hex:01,00,00,00\n");
    FileSettingsStore starting(file_);
    CreateProgramKeys(starting);
    CreateProgramKeys(starting);
    EXPECT_EQ(Content(),
              "[Software\\Apps\\Orvano]\nLang=hex:01,00,00,00\n"
              "[Software\\Microsoft\\Today\\Items\\Orvano]\n");
    FileSettingsStore store(file_);
    EXPECT_NE(store.OpenKey(kTodaySettingsKey), nullptr);
    EXPECT_EQ(store.OpenKey(kAppSettingsKey)->ReadNumber("Lang"), std::optional<std::uint32_t>(1));

    fs::remove(file_);
    CreateProgramKeys(starting);
    EXPECT_EQ(Content(), "[Software\\Apps\\Orvano]\n[Software\\Microsoft\\Today\\Items\\Orvano]\n");
}

// settings.ini is the user's: kept through a link, with its mode, and not
// replaced when made read-only.
TEST_F(SettingsFileTest, WritesKeepLinksModesAndReadOnlyFiles) {
    const struct {
        const char* name;
        bool linked;
        fs::perms mode;
        bool written;
    } cases[] = {
        {"linked into another folder", true, fs::perms(0644), true},
        {"private", false, fs::perms(0600), true},
        {"read-only", false, fs::perms(0444), false},
        {"linked and read-only", true, fs::perms(0400), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempFolder dotfiles;
        fs::remove(file_);
        const std::string real = c.linked ? dotfiles / "orvano.ini" : file_;
        const std::string before = "[Software\\Apps\\Orvano]\nLang=hex:01,00,00,00\n";
        Write("");
        testing::WriteFile(real, before);
        if (c.linked) {
            fs::remove(file_);
            fs::create_symlink(real, file_);
        }
        fs::permissions(real, c.mode);
        FileSettingsStore store(file_);
        EXPECT_EQ(store.OpenKey(kAppSettingsKey)->WriteNumber("Lang", 2), c.written);
        EXPECT_EQ(fs::is_symlink(file_), c.linked);
        EXPECT_EQ(testing::ReadFile(real) == before, !c.written);
        EXPECT_EQ(fs::status(real).permissions(), c.mode);
    }
}

// A batch of texts is stored whole, its missing keys made, in one
// replacement of the file; a bad name or key anywhere in it, or a file that
// cannot be replaced, leaves the file as it was.
TEST_F(SettingsFileTest, ABatchOfTextsIsStoredWholeOrNotAtAll) {
    const std::string before = "[Adhan]\nFile=hex:2f,61\n\n[Iqama]\nAsr=hex:35\n";
    const struct {
        const char* name;
        std::vector<TextSetting> texts;
        fs::perms mode;
        const char* after;  // nullptr: refused, the file left as it was
    } cases[] = {
        {"stored",
         {{"Adhan", "File", "/b"}, {"Reminders", "Asr", "15"}, {"Adhan", "Volume", "60"}},
         fs::perms(0644),
         "[Adhan]\nFile=hex:2f,62\nVolume=hex:36,30\n\n[Iqama]\nAsr=hex:35\n"
         "[Reminders]\nAsr=hex:31,35\n"},
        {"a bad name last",
         {{"Adhan", "File", "/b"}, {"Iqama", "A=b", "1"}},
         fs::perms(0644),
         nullptr},
        {"a bad key last",
         {{"Adhan", "File", "/b"}, {"[Iqama", "Asr", "1"}},
         fs::perms(0644),
         nullptr},
        {"read-only file", {{"Adhan", "File", "/b"}}, fs::perms(0444), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(file_);
        Write(before);
        fs::permissions(file_, c.mode);
        FileSettingsStore store(file_);
        EXPECT_EQ(store.WriteTexts(c.texts), c.after != nullptr);
        EXPECT_EQ(Content(), c.after != nullptr ? c.after : before);
    }
}

// A settings file grown past 1 MB is not read: the values read before stay,
// writes are refused, and one line on standard error says why.
TEST_F(SettingsFileTest, OversizedFileKeepsTheValuesReadBefore) {
    Write("[Software\\Apps\\Orvano]\nLang=hex:01,00,00,00\n");
    FileSettingsStore store(file_);
    auto key = store.OpenKey(kAppSettingsKey);
    ASSERT_EQ(key->ReadNumber("Lang"), std::optional<std::uint32_t>(1));
    const std::string huge =
        "[Software\\Apps\\Orvano]\nLang=hex:02,00,00,00\n;" + std::string(1 << 20, 'x') + "\n";
    Write(huge);
    ::testing::internal::CaptureStderr();
    for (int paint = 0; paint < 3; ++paint) {
        EXPECT_EQ(key->ReadNumber("Lang"), std::optional<std::uint32_t>(1));
    }
    EXPECT_FALSE(key->WriteNumber("Lang", 3));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "orvano: " + file_ +
                  " is larger than 1 MB and was not read; the settings read before stay\n");
    EXPECT_EQ(Content(), huge);
    EXPECT_EQ(FileSettingsStore(file_).OpenKey(kAppSettingsKey), nullptr);  // never read whole
}

// Two programs writing at once: every value survives (each write reads the
// file afresh under the settings lock).
TEST_F(SettingsFileTest, ConcurrentWritersLoseNoValue) {
    FileSettingsStore(file_).CreateKey(kAppSettingsKey);
    auto writeMany = [this](const char* prefix) {
        FileSettingsStore own(file_);
        auto key = own.OpenKey(kAppSettingsKey);
        for (int i = 0; i < 40; ++i) {
            EXPECT_TRUE(key->WriteByte(prefix + std::to_string(i), 1));
        }
    };
    std::thread other(writeMany, "B");
    writeMany("A");
    other.join();
    auto key = FileSettingsStore(file_).OpenKey(kAppSettingsKey);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(key->ReadByte("A" + std::to_string(i)), std::optional<std::uint8_t>(1)) << i;
        EXPECT_EQ(key->ReadByte("B" + std::to_string(i)), std::optional<std::uint8_t>(1)) << i;
    }
}

TEST(FolderOfTest, CutsAtTheLastSeparator) {
    EXPECT_EQ(FolderOf("/home/u/.local/lib/orvano/orvano"), "/home/u/.local/lib/orvano");
    EXPECT_EQ(FolderOf("/orvano"), "");
    EXPECT_EQ(FolderOf("orvano"), "");
    EXPECT_EQ(FolderOf(""), "");
}

}  // namespace
}  // namespace orvano
