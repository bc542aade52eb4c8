// `orvano --render` and `orvano --dump-ops`: arguments, configuration and output.
#include "app/render.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "astro/constants.h"
#include "config/methods.h"
#include "engine/schedule.h"
#include "tests/app_pages/recorded_ops.h"
#include "tests/support/temp_folder.h"

namespace orvano {
namespace {

namespace fs = std::filesystem;
using testing::RecordingSurface;

const std::string kFourTowns = std::string(ORVANO_TEST_DATA) + "/app_pages_four_towns.cfg";

struct RenderRun {
    std::vector<std::string> errors;
    std::vector<std::string> pngCalls;
    RecordingSurface painted{96, Rect{}};
    int pngWidth = 0, pngHeight = 0, pngDpi = 0;
    bool pngResult = true;

    RenderEnvironment Environment() {
        RenderEnvironment environment;
        environment.dataCfg = "/nonexistent-orvano-folder/data.cfg";
        environment.now = LocalTime{2010, 6, 1, 21, 16, 0, 0, 0};
        environment.error = [this](const std::string& line) { errors.push_back(line); };
        environment.png = [this](const std::string& file, int w, int h, int dpi,
                                 const std::function<void(Surface&)>& paint) {
            pngCalls.push_back(file);
            pngWidth = w;
            pngHeight = h;
            pngDpi = dpi;
            painted = RecordingSurface(dpi, Rect{0, 0, w, h});
            paint(painted);
            return pngResult;
        };
        return environment;
    }
    int operator()(const std::vector<std::string>& args) { return RunRender(args, Environment()); }
};

TEST(RenderArguments, RecognisedAnywhereInTheCommandLine) {
    EXPECT_TRUE(IsRenderRequest({"--render", "0", "--png", "a.png"}));
    EXPECT_TRUE(IsRenderRequest({"--lang", "1", "--dump-ops", "2", "--json", "a.json"}));
    EXPECT_FALSE(IsRenderRequest({}));
    EXPECT_FALSE(IsRenderRequest({"--lang", "1"}));
}

TEST(RenderArguments, AllOptions) {
    std::string error;
    const auto request =
        ParseRenderRequest({"--dump-ops", "3", "--json", "out.json", "--config", "x.cfg", "--town",
                            "2", "--lang", "1", "--exploring", "--night", "--size", "480x536",
                            "--dpi", "192", "--at", "2010-06-21 16:00:00"},
                           error);
    ASSERT_TRUE(request) << error;
    EXPECT_EQ(request->output, RenderRequest::Output::Json);
    EXPECT_EQ(request->page, 3);
    EXPECT_EQ(request->file, "out.json");
    EXPECT_EQ(request->config, "x.cfg");
    EXPECT_EQ(request->town, 2);
    EXPECT_EQ(request->language, "en");
    EXPECT_TRUE(request->exploring);
    EXPECT_TRUE(request->night);
    EXPECT_EQ((std::array{request->width, request->height, request->dpi}),
              (std::array{480, 536, 192}));
    ASSERT_TRUE(request->at);
    const LocalTime& at = *request->at;
    EXPECT_EQ((std::array{at.year, at.month, at.day, at.hour}), (std::array{2010, 6, 21, 16}));
}

TEST(RenderArguments, DefaultsAreTheWindowsSize) {
    std::string error;
    const auto request = ParseRenderRequest({"--render", "0", "--png", "a.png"}, error);
    ASSERT_TRUE(request) << error;
    EXPECT_EQ((std::array{request->width, request->height}), (std::array{240, 300}));
    const auto at192 =
        ParseRenderRequest({"--render", "0", "--png", "a.png", "--dpi", "192"}, error);
    ASSERT_TRUE(at192) << error;
    EXPECT_EQ((std::array{at192->width, at192->height}), (std::array{480, 600}));
    const auto sized = ParseRenderRequest(
        {"--render", "0", "--png", "a.png", "--size", "240x268", "--dpi", "192"}, error);
    ASSERT_TRUE(sized) << error;
    EXPECT_EQ(sized->height, 268);
    EXPECT_EQ(request->dpi, 96);
    EXPECT_FALSE(request->at);
    EXPECT_FALSE(request->exploring);
    EXPECT_FALSE(request->night);
}

TEST(RenderArguments, BadUsageNamesTheArgument) {
    const struct {
        std::vector<std::string> args;
        const char* named;
    } cases[] = {
        {{"--render", "5", "--png", "a.png"}, "--render 5"},
        {{"--render", "x", "--png", "a.png"}, "--render x"},
        {{"--render", "0"}, "--png"},
        {{"--render", "0", "--json", "a.json"}, "--json"},
        {{"--render", "0", "--png", "a.png", "--size", "240"}, "--size 240"},
        {{"--render", "0", "--png", "a.png", "--size", "0x10"}, "--size 0x10"},
        {{"--render", "0", "--png", "a.png", "--dpi", "-3"}, "--dpi -3"},
        {{"--render", "0", "--png", "a.png", "--lang", "3"}, "--lang 3"},
        {{"--render", "0", "--png", "a.png", "--lang", "xx"}, "--lang xx"},
        {{"--render", "0", "--png", "a.png", "--town", "-1"}, "--town -1"},
        {{"--render", "0", "--png", "a.png", "--at", "2010-02-30 10:00:00"}, "--at"},
        {{"--render", "0", "--png", "a.png", "--at", "2010-02-03 24:00:00"}, "--at"},
        {{"--render", "0", "--png", "a.png", "--at", "2010-02-03 10:00:00x"}, "--at"},
        {{"--render", "0", "--png", "a.png", "--at", "2010-02-03 +9:00:00"}, "--at"},
        {{"--render", "0", "--png", "a.png", "--at", "2010- 2-03 10:00:00"}, "--at"},
        {{"--render", "0", "--png", "a.png", "--size", "+240x268"}, "--size +240x268"},
        {{"--render", "0", "--png", "a.png", "--frobnicate", "1"}, "--frobnicate"},
        {{"--render", "0", "--png"}, "--png"},
    };
    for (const auto& c : cases) {
        RenderRun run;
        EXPECT_EQ(run(c.args), 2) << c.named;
        ASSERT_EQ(run.errors.size(), 1u) << c.named;
        EXPECT_NE(run.errors[0].find(c.named), std::string::npos) << run.errors[0];
        EXPECT_TRUE(run.pngCalls.empty());
    }
}

TEST(Render, DumpOpsWritesTheRecordedPage) {
    const testing::TempFolder folder;
    const std::string out = folder / "home.json";
    RenderRun run;
    ASSERT_EQ(run({"--dump-ops", "0", "--json", out, "--config", kFourTowns, "--lang", "1", "--at",
                   "2010-06-21 16:00:00", "--exploring"}),
              0);
    const std::string json = testing::ReadFile(out);
    EXPECT_EQ(json.rfind("[\n{\"op\":\"text\",\"x\":120,\"y\":268,\"align\":\"center\","
                         "\"text\":\"Home\",\"font\":{\"face\":\"ARIAL\",\"height\":-13,"
                         "\"weight\":700},\"color\":[0,153,255],\"box\":[",
                         0),
              0u)
        << json;
    // The header selects Rabat; the date is the one given, the clock too.
    EXPECT_NE(json.find("\"text\":\"Rabat, Morocco\""), std::string::npos);
    EXPECT_NE(json.find("\"text\":\"Monday  21  June  2010\""), std::string::npos);
    EXPECT_NE(json.find("\"text\":\"16:00:00\""), std::string::npos);
    EXPECT_NE(json.find("\"text\":\"(!)\""), std::string::npos);
    // The Hijri date on its own row under the six times (9 Rajab 1431, a day
    // of Umm al-Qura's table), the moon below it, then the page's two
    // controls, the Next arrow and the night times' button.
    EXPECT_NE(json.find("{\"op\":\"text\",\"x\":120,\"y\":208,\"align\":\"center\","
                        "\"text\":\"9 Rajab 1431\","),
              std::string::npos);
    EXPECT_NE(
        json.find(
            "{\"op\":\"icon\",\"id\":111,\"x\":104,\"y\":226,\"box\":[104,226,32,32]},\n"
            "{\"op\":\"control\",\"id\":40002,\"name\":\"next\",\"box\":[171,260,64,32]},\n"
            "{\"op\":\"control\",\"id\":1024,\"name\":\"nightToggle\",\"box\":[5,260,64,32]}\n]\n"),
        std::string::npos)
        << json;
    EXPECT_TRUE(run.errors.empty());

    // With --night the night times stand in the moon's place.
    ASSERT_EQ(run({"--dump-ops", "0", "--json", out, "--config", kFourTowns, "--lang", "1", "--at",
                   "2010-06-21 16:00:00", "--night"}),
              0);
    const std::string night = testing::ReadFile(out);
    EXPECT_EQ(night.find("\"op\":\"icon\""), std::string::npos);
    for (const char* name : {"Imsak", "Midnight", "Last third"}) {
        EXPECT_NE(night.find(std::string("\"text\":\"") + name + "\""), std::string::npos) << name;
    }
}

TEST(Render, TownOptionChoosesTheRow) {
    const testing::TempFolder folder;
    const std::string out = folder / "qibla.json";
    RenderRun run;
    ASSERT_EQ(run({"--dump-ops", "1", "--json", out, "--config", kFourTowns, "--town", "0", "--at",
                   "2010-06-21 16:00:00"}),
              0);
    const std::string json = testing::ReadFile(out);
    fs::remove(out);
    EXPECT_NE(json.find("\"text\":\"à partir du Nord : 105°"), std::string::npos) << json;
    RenderRun beyond;
    EXPECT_EQ(beyond({"--dump-ops", "1", "--json", out, "--config", kFourTowns, "--town", "4"}), 2);
    EXPECT_FALSE(fs::exists(out));
}

TEST(Render, PngGoesThroughThePainterAtTheRequestedSize) {
    RenderRun run;
    ASSERT_EQ(run({"--render", "4", "--png", "about.png", "--config", kFourTowns, "--size",
                   "480x536", "--dpi", "192"}),
              0);
    ASSERT_EQ(run.pngCalls.size(), 1u);
    EXPECT_EQ(run.pngCalls[0], "about.png");
    EXPECT_EQ((std::array{run.pngWidth, run.pngHeight, run.pngDpi}), (std::array{480, 536, 192}));
    ASSERT_FALSE(run.painted.ops().empty());
    EXPECT_EQ(run.painted.ops()[0].text, "A propos");
    // The title sits on the client's real bottom: 536 - ScaleY(32).
    EXPECT_EQ(run.painted.ops()[0].y, 472);
    EXPECT_EQ(run.painted.LiveObjects(), 0);

    RenderRun failing;
    failing.pngResult = false;
    EXPECT_EQ(failing({"--render", "4", "--png", "about.png", "--config", kFourTowns}), 1);
    ASSERT_EQ(failing.errors.size(), 1u);
    EXPECT_NE(failing.errors[0].find("about.png"), std::string::npos);
}

// The line says why, not only which file.
TEST(Render, UnreadableConfigurationFailsWithTheReason) {
    const testing::TempFolder folder;
    const std::string bad = folder / "bad.cfg";
    testing::WriteFile(bad, "1 1 0 0\n9\n");
    const struct {
        std::string config, line;
    } cases[] = {
        {"/nonexistent/data.cfg",
         "orvano: cannot read /nonexistent/data.cfg: No such file or directory"},
        {"/dev/zero", "orvano: cannot read /dev/zero: not a regular file"},
        {bad, "orvano: cannot read " + bad + ": Read error: bad format of data.cfg"},
    };
    for (const auto& c : cases) {
        RenderRun run;
        EXPECT_EQ(run({"--render", "0", "--png", "a.png", "--config", c.config}), 1);
        EXPECT_EQ(run.errors, std::vector<std::string>{c.line});
        EXPECT_TRUE(run.pngCalls.empty());
    }
}

TEST(Render, UnwritableJsonFails) {
    RenderRun run;
    EXPECT_EQ(run({"--dump-ops", "0", "--json", "/nonexistent-dir/x.json", "--config", kFourTowns}),
              1);
    ASSERT_EQ(run.errors.size(), 1u);
    EXPECT_NE(run.errors[0].find("/nonexistent-dir/x.json"), std::string::npos);
}

// A town whose method line names JAKIM shows JAKIM's times on the Home page.
TEST(Render, HomeShowsTheTimesOfTheTownsMethod) {
    const testing::TempFolder folder;
    const std::string config = folder / "kl.cfg";
    const std::string town = "1 1 0 0\n2 Malaysia Kuala_Lumpur 3.139 101.6869 8 0 7\n";
    MethodCatalogue catalogue;
    const std::string methods = std::string(ORVANO_SOURCE_DIR) + "/resources/methods";
    ReadMethodFolders({methods}, catalogue);
    EngineState jakim;
    jakim.methods = MethodConventions(catalogue);
    jakim.place.Method = "jakim";
    jakim.place.latitude = Degrees{3.139};
    jakim.place.longitude = Degrees{101.6869};
    jakim.place.TimeZone = 8;
    jakim.observation = Observation{15, 4, 2026, 12, 0, 0};
    ComputeDaySchedule(jakim);
    for (const bool withMethod : {true, false}) {
        testing::WriteFile(config, town + (withMethod ? "8 method jakim\n" : ""));
        RenderRun run;
        RenderEnvironment environment = run.Environment();
        environment.methodFolders = {methods};
        ASSERT_EQ(RunRender({"--render", "0", "--png", "home.png", "--config", config, "--at",
                             "2026-04-15 10:00:00"},
                            environment),
                  0);
        int found = 0;
        for (size_t p = 0; p < kPrayerCount; ++p) {
            const std::string clock =
                ShownClockText(jakim.schedule.status[p], jakim.schedule.shown[p]);
            for (const DrawOp& op : run.painted.ops()) {
                if (op.text.rfind(clock, 0) == 0) {
                    ++found;
                    break;
                }
            }
        }
        // Without the line the town's slot (all zero in this file) gives other times.
        if (withMethod) {
            EXPECT_EQ(found, kPrayerCount);
        } else {
            EXPECT_LT(found, kPrayerCount);
        }
    }
}

}  // namespace
}  // namespace orvano
