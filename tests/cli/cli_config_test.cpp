// orvano-cli read and resave, and the place taken from a data.cfg file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::ReadFile;
using testing::RunCli;

const std::string kDefault = std::string(ORVANO_SOURCE_DIR) + "/resources/data.cfg";
// The bundled file as it was before towns named their zones: 54 towns, no zone lines.
const std::string kNoZones = std::string(ORVANO_TEST_DATA) + "/data_54_towns_no_zones.cfg";
const std::string kEchoTitle = "8 -----------------  File reading transcription  ---------------\n";

// Where every read's transcription goes, whatever file it read.
std::string StateEcho() {
    return testing::CliHome() / "state/orvano/read_echo.cfg";
}

class CliConfig : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return folder_ / name; }
    std::string Put(const std::string& name, const std::string& bytes) const {
        testing::WriteFile(Path(name), bytes);
        return Path(name);
    }

    testing::TempFolder folder_;
};

TEST_F(CliConfig, ReadOfTheDefaultFileSucceedsAndTranscribesInTheStateFolder) {
    for (const std::string& file : {kDefault, kNoZones}) {
        const std::string path = Put("data.cfg", ReadFile(file));
        const auto r = RunCli({"read", "--config", path});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "");  // the file's Verbose is 0
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(ReadFile(StateEcho()), kEchoTitle + ReadFile(file));
        EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"data.cfg"});
    }
}

TEST_F(CliConfig, ReadPrintsThePlaceWhenTheFileAsksForIt) {
    const std::string path = Put("my.cfg", "1 1 0 1\n2 Algeria Algiers 36.7538 3.0588 1 0 6\n");
    const auto r = RunCli({"read", "--config", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "Lieu actuel : \nLieu : Algeria, Algiers\n"
              "latitude= 36\xC2\xB0"
              "45'14\"   longitude=  3\xC2\xB0"
              "03'32\"\nConvention 6\n");
    EXPECT_TRUE(std::filesystem::exists(StateEcho()));
}

TEST_F(CliConfig, ReadReportsEachErrorOnStandardError) {
    struct Case {
        std::string content;
        std::string err;
        std::string out;
    } cases[] = {
        {"1 1 0 0\n6\n", "Read error: bad format of data.cfg\n", ""},
        {"1 2 0 0\n2 A a 1 1 0 0 0\n", "Read error: Number of towns does not match NTowns\n", ""},
        {"1 0 0 0\n", "Read error: Invalid number of towns in data.cfg\n", ""},
        {"1 1 1 0\n2 A a 1 1 0 0 0\n", "Error : Selected town out of range\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        const auto r = RunCli({"read", "--config", Put("data.cfg", c.content)});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, c.out);
    }
}

TEST_F(CliConfig, ReadOfAMissingFile) {
    const auto r = RunCli({"read", "--config", Path("none.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "File open error: " + Path("none.cfg") + " (No such file or directory)\n");
}

TEST_F(CliConfig, ResaveReproducesTheDefaultByteForByte) {
    for (const std::string& file : {kDefault, kNoZones}) {
        const std::string path = Put("data.cfg", ReadFile(file));
        const auto r = RunCli({"resave", "--config", path});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(ReadFile(path), ReadFile(file));
        EXPECT_FALSE(std::filesystem::exists(Path("read_echo.cfg")));
    }
}

TEST_F(CliConfig, ResaveNormalisesAFileItCanRead) {
    const std::string path =
        Put("data.cfg", "3 2 2 18 17 0.833 0 0 0 0\n1 1 0 0\n2 A a 1 2 3 0 2\n");
    ASSERT_EQ(RunCli({"resave", "--config", path}).status, 0);
    const std::string once = ReadFile(path);
    EXPECT_NE(once.find("\n3 2          0 "), std::string::npos);  // the flag 2 is now 0
    ASSERT_EQ(RunCli({"resave", "--config", path}).status, 0);
    EXPECT_EQ(ReadFile(path), once);
}

TEST_F(CliConfig, ResaveWritesNothingWhenTheReadFails) {
    const std::string bad = "1 2 0 0\n2 A a 1 1 0 0 0\n";
    const std::string path = Put("data.cfg", bad);
    const auto r = RunCli({"resave", "--config", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Read error: Number of towns does not match NTowns\n");
    EXPECT_EQ(ReadFile(path), bad);
}

TEST_F(CliConfig, PlaceFromTheFileAndTown) {
    const std::string path = Put("data.cfg", ReadFile(kDefault));
    const auto selected = RunCli({"qibla", "--config", path});
    EXPECT_EQ(selected.status, 0);
    EXPECT_EQ(selected.out.rfind("Algiers, Algeria: ", 0), 0u) << selected.out;
    const auto paris = RunCli({"qibla", "--config", path, "--town", "12"});
    EXPECT_EQ(paris.status, 0);
    EXPECT_EQ(paris.out.rfind("Paris, France: ", 0), 0u) << paris.out;
}

// --config makes nothing; the first run without it copies the installed file,
// and later runs read the user's copy, never replacing it, even when it is bad.
TEST_F(CliConfig, UsersOwnDataCfgMadeAtFirstStartAndKept) {
    const std::string user = testing::CliHome().path() + "/config/orvano/data.cfg";
    const auto given = RunCli({"qibla", "--config", Put("data.cfg", ReadFile(kDefault))});
    EXPECT_EQ(given.status, 0) << given.err;
    EXPECT_FALSE(std::filesystem::exists(user));

    const auto first = RunCli({"qibla"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out.rfind("Algiers, Algeria: ", 0), 0u) << first.out;
    ASSERT_FALSE(ReadFile(testing::InstalledDataCfg()).empty());
    EXPECT_EQ(ReadFile(user), ReadFile(testing::InstalledDataCfg()));

    testing::WriteFile(user, ReadFile(std::string(ORVANO_TEST_DATA) + "/today_paris.cfg"));
    const auto mine = RunCli({"qibla"});
    EXPECT_EQ(mine.status, 0) << mine.err;
    EXPECT_EQ(mine.out.rfind("Paris, France: ", 0), 0u) << mine.out;

    testing::WriteFile(user, "1 1 0 0\n6\n");
    const auto bad = RunCli({"qibla"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "orvano-cli qibla: Read error: bad format of data.cfg\n");
    EXPECT_EQ(ReadFile(user), "1 1 0 0\n6\n");
}

TEST_F(CliConfig, BadTownIsBadUsage) {
    const std::string path = Put("data.cfg", ReadFile(kNoZones));
    for (const char* town : {"-1", "54", "x"}) {
        const auto r = RunCli({"qibla", "--config", path, "--town", town});
        EXPECT_EQ(r.status, 2) << town;
        EXPECT_NE(r.err.find("--town"), std::string::npos) << r.err;
    }
}

TEST_F(CliConfig, UnreadableFileIsAConfigurationError) {
    const auto missing = RunCli({"qibla", "--config", Path("none.cfg")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "orvano-cli qibla: File open error: " + Path("none.cfg") +
                               " (No such file or directory)\n");
    const auto range = RunCli({"qibla", "--config", Put("data.cfg", "1 1 3 1\n2 A a 1 1 0 0 0\n")});
    EXPECT_EQ(range.status, 1);
    EXPECT_EQ(range.err, "orvano-cli qibla: Error : Selected town out of range\n");
    EXPECT_EQ(range.out, "");
}

}  // namespace
}  // namespace orvano
