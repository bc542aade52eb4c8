// The plug-in through its entry points, with recording doubles of the host.
#include "today/plugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "astro/angle_text.h"
#include "config/methods.h"
#include "engine/iqama.h"
#include "engine/schedule.h"
#include "platform/notification_store.h"
#include "platform/recording_surface.h"
#include "platform/today_host.h"
#include "tests/support/recording_platform.h"
#include "today_test_util.h"

namespace orvano {

// The doubles' windows: what the item asked for, nothing drawn.
class TodayWindow {
  public:
    TodayWindowProc proc = nullptr;
    TodayWindow* parent = nullptr;
    Rect client;
    bool shown = false;
};

namespace {

using Shown = testing::RecordingMessageSink::Shown;

class FakeTodayWindows final : public TodayWindowSystem {
  public:
    std::map<std::pair<std::string, const void*>, TodayWindowProc> classes;
    std::vector<std::unique_ptr<TodayWindow>> windows;
    TodayWindow host;
    bool failRegister = false;
    std::vector<std::string> created;  // "class|title"
    std::vector<std::pair<std::optional<Rect>, bool>> invalidated;
    std::vector<std::uintptr_t> colourRequests;
    std::vector<TodayWatermark> watermarks;
    Colour textColour{10, 20, 30};

    bool IsClassRegistered(const std::string& name, const void* instance) override {
        return classes.count({name, instance}) != 0;
    }
    bool RegisterWindowClass(const std::string& name, TodayWindowProc proc,
                             const void* instance) override {
        if (failRegister) return false;
        classes[{name, instance}] = proc;
        return true;
    }
    void UnregisterWindowClass(const std::string& name, const void* instance) override {
        classes.erase({name, instance});
    }
    TodayWindow* CreateChildWindow(const std::string& name, const std::string& title,
                                   TodayWindow* parent, const void* instance) override {
        auto it = classes.find({name, instance});
        if (it == classes.end()) return nullptr;
        created.push_back(name + "|" + title);
        windows.push_back(std::make_unique<TodayWindow>());
        TodayWindow* w = windows.back().get();
        w->proc = it->second;
        w->parent = parent;
        w->proc(w, kMsgCreate, 0, 0);
        return w;
    }
    void ShowWindow(TodayWindow* w) override { w->shown = true; }
    TodayWindow* ParentOf(TodayWindow* w) override { return w->parent; }
    std::intptr_t SendMessageTo(TodayWindow* w, std::uint32_t m, std::uintptr_t wp,
                                std::intptr_t lp) override {
        if (w == &host) {
            if (m == kMsgGetColour) {
                colourRequests.push_back(wp);
                return static_cast<std::intptr_t>(PackColour(textColour));
            }
            if (m == kMsgDrawWatermark) {
                watermarks.push_back(*reinterpret_cast<const TodayWatermark*>(lp));
                return 1;
            }
            return 0;
        }
        return w->proc(w, m, wp, lp);
    }
    Rect ClientRect(TodayWindow* w) override { return w->client; }
    void Invalidate(TodayWindow*, const Rect* area, bool erase) override {
        invalidated.emplace_back(area ? std::optional<Rect>(*area) : std::nullopt, erase);
    }
    void SetAreaTip(TodayWindow*, const Rect& area, const std::string& text) override {
        tips.emplace_back(area, text);
    }
    std::vector<std::pair<Rect, std::string>> tips;
};

// The strip's drawing as text lines: each text with its colour and box, each
// icon with the size it was loaded at.
std::vector<std::string> Lines(const RecordingSurface& surface) {
    std::vector<std::string> lines;
    for (const DrawOp& op : surface.ops()) {
        if (op.kind == DrawOp::Kind::Icon) {
            lines.push_back("icon " + std::to_string(op.resourceId) + " " +
                            std::to_string(op.loadWidth) + "x" + std::to_string(op.loadHeight) +
                            " at " + std::to_string(op.x) + "," + std::to_string(op.y));
        } else if (op.kind == DrawOp::Kind::TextInRect) {
            lines.push_back(std::string(op.align == TextAlign::Centre ? "centre " : "left ") +
                            std::to_string(op.rect.left) + "," + std::to_string(op.rect.top) + "," +
                            std::to_string(op.rect.right) + "," + std::to_string(op.rect.bottom) +
                            " " + op.text + " in " + std::to_string(op.colour.red) + "," +
                            std::to_string(op.colour.green) + "," + std::to_string(op.colour.blue));
        } else {
            lines.push_back("unexpected operation");
        }
    }
    return lines;
}

class FakeDialog final : public TodayDialog {
  public:
    std::map<int, bool> checks;
    int fullScreenFlags = -1;
    int ended = -1;
    void SetUpFullScreen(int flags) override { fullScreenFlags = flags; }
    void SetCheck(int id, bool c) override { checks[id] = c; }
    bool IsChecked(int id) const override {
        auto it = checks.find(id);
        return it != checks.end() && it->second;
    }
    void EndDialog(int r) override { ended = r; }
};

const char* kParis =
    "3 0 1 18 17 0.833 0 0 0 12\n"
    "4 0 0 0 0 0 0 0\n"
    "1 1 0 0\n"
    "2 France Paris 48.8566 2.3522 1 1 0\n";

TodayPlugin* current = nullptr;
std::intptr_t Proc(TodayWindow* w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
    return PluginWindowProc(*current, w, m, wp, lp);
}

struct PluginFixture : ::testing::Test {
    TempDir dir;
    FakeTodayWindows windows;
    testing::RecordingMessageSink boxes;
    testing::MemorySettingsStore settings;
    testing::FakeClock clock;
    testing::FakeScreen screen;
    testing::RecordingSounds sounds;
    testing::RecordingShell shell;
    std::unique_ptr<NotificationStore> store;
    TodayPlugin plugin;
    std::unique_ptr<DiagnosticLog> log;
    int instance = 0;

    void SetUp() override {
        current = &plugin;
        clock.now = LocalTime{2026, 12, 1, 7, 4, 0, 0, 0};
        store = std::make_unique<NotificationStore>(dir.path() + "/n", dir.path() + "/e",
                                                    [this] { return clock.now; });
        settings.CreateKey(kTodaySettingsKey);
        plugin.windowProc = Proc;
        plugin.getLog = [this]() -> DiagnosticLog& {
            if (!log) {
                log = std::make_unique<DiagnosticLog>(
                    FixedEnvironment(dir.path(), ENOENT, "/x/orvano-today"));
            }
            log->EnsureOpen();
            return *log;
        };
    }
    TodayHostServices Services() {
        TodayHostServices s;
        s.windows = &windows;
        s.messages = &boxes;
        s.settings = &settings;
        s.clock = &clock;
        s.screen = &screen;
        s.sounds = &sounds;
        s.notifications = store.get();
        s.shell = &shell;
        return s;
    }
    bool Load() {
        plugin.configPath = dir.path() + "/data.cfg";
        return PluginLoad(plugin, &instance, dir.path() + "/lib/orvano/libTodayOrvano.so",
                          Services());
    }
    bool LoadParis() {
        WriteFile(dir.path() + "/data.cfg", kParis);
        return Load();
    }
    TodayWindow* LoadAndCreate(int width = 240) {
        EXPECT_TRUE(LoadParis());
        TodayItemDescriptor descriptor;
        TodayWindow* item = PluginCreateItem(plugin, &descriptor, &windows.host);
        if (item != nullptr) item->client = {0, 0, width, 0};
        return item;
    }
    // A message whose first parameter points at `what`.
    std::intptr_t Send(TodayWindow* item, std::uint32_t message, void* what) {
        return windows.SendMessageTo(item, message, reinterpret_cast<std::uintptr_t>(what), 0);
    }
    std::vector<std::string> Painted(TodayWindow* item) {
        RecordingSurface surface;
        Send(item, kMsgPaint, &surface);
        return Lines(surface);
    }
};

TEST_F(PluginFixture, LoadRefusedWithoutDataCfg) {
    EXPECT_FALSE(Load());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], (Shown{dir.path() + "/data.cfg", "File open error"}));
    log.reset();
    const std::string text = ReadFile(dir.path() + "/orvano-today_log.txt");
    EXPECT_NE(text.find("Cannot open data.cfg file\r\n"), std::string::npos);
    EXPECT_NE(text.find("GetLastError returned : 0x00000002: No such file or directory)\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("Log finished\r\n"), std::string::npos);
}

TEST_F(PluginFixture, LoadReadsSwitchesAndScreen) {
    settings.keys[kTodaySettingsKey]["AlarmFajr"] = {1};
    settings.keys[kTodaySettingsKey]["AlarmAsr"] = {1, 0, 0, 0};  // another size: not read
    settings.keys[kTodaySettingsKey]["AlarmIsha"] = {1};
    ASSERT_TRUE(LoadParis());
    EXPECT_EQ(plugin.item.AlarmSwitches, (std::array<std::uint8_t, 6>{1, 0, 0, 0, 0, 1}));
    EXPECT_FALSE(plugin.item.HighResolution);
    EXPECT_EQ(plugin.iconWidth, 16);
    EXPECT_EQ(plugin.iconHeight, 16);
    EXPECT_EQ(plugin.Instance, &instance);
    EXPECT_TRUE(plugin.item.ShowLabels);
    EXPECT_TRUE(plugin.item.HeightChanged);
    EXPECT_EQ(plugin.item.LastCheckedMinute, -1);
}

TEST_F(PluginFixture, HighResolutionScreen) {
    screen.dpiX = screen.dpiY = 192;
    TodayWindow* item = LoadAndCreate(480);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(plugin.item.HighResolution);
    TodayItemDescriptor descriptor;
    EXPECT_EQ(Send(item, kMsgQueryRefresh, &descriptor), 1);
    EXPECT_EQ(descriptor.height, 64);
    RecordingSurface surface(192);
    Send(item, kMsgPaint, &surface);
    EXPECT_EQ(Lines(surface)[0].rfind("icon 104 0x0 at ", 0), 0u);  // the default icon size
    EXPECT_EQ(surface.ops()[1].font, (FontSpec{"", -21, 700}));
}

TEST_F(PluginFixture, CreationRegistersTheClassOnce) {
    TodayWindow* item = LoadAndCreate();
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->shown);
    EXPECT_EQ(windows.created, (std::vector<std::string>{"OrvanoClass|Orvano"}));
    EXPECT_TRUE(plugin.item.LayoutPending);
    TodayItemDescriptor hidden;
    hidden.enabled = 0;
    TodayWindow* second = PluginCreateItem(plugin, &hidden, &windows.host);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->shown);
    EXPECT_EQ(windows.classes.size(), 1u);
    PluginUnload(plugin);
    EXPECT_TRUE(windows.classes.empty());
    EXPECT_EQ(plugin.Instance, nullptr);
}

TEST_F(PluginFixture, CreationFailsWhenTheClassCannotBeRegistered) {
    ASSERT_TRUE(LoadParis());
    windows.failRegister = true;
    TodayItemDescriptor descriptor;
    EXPECT_EQ(PluginCreateItem(plugin, &descriptor, &windows.host), nullptr);
}

TEST_F(PluginFixture, PaintDrawsFiveTimesAndTheTown) {
    TodayWindow* item = LoadAndCreate();
    RecordingSurface surface;
    EXPECT_EQ(Send(item, kMsgPaint, &surface), 0);
    const auto& a = plugin.item.engine.schedule.adjusted;
    const std::vector<std::string> expected = {
        "icon 104 16x16 at 220,0",
        "centre 1,2,39,17 Fajr in 10,20,30",
        "centre 1,17,39,32 " + HoursToClockText(a[Fajr]) + " in 10,20,30",
        "centre 39,2,77,17 Zuhr in 10,20,30",
        "centre 39,17,77,32 " + HoursToClockText(a[Zuhr]) + " in 10,20,30",
        "centre 77,2,115,17 Asr in 10,20,30",
        "centre 77,17,115,32 " + HoursToClockText(a[Asr]) + " in 10,20,30",
        "centre 110,2,158,17 Maghrib in 10,20,30",
        "centre 115,17,153,32 " + HoursToClockText(a[Maghrib]) + " in 10,20,30",
        "centre 153,2,191,17 Isha in 10,20,30",
        "centre 153,17,191,32 " + HoursToClockText(a[Isha]) + " in 10,20,30",
        "left 191,2,229,17 Ville in 10,20,30",
        "left 191,17,240,32 Paris in 10,20,30",
    };
    EXPECT_EQ(Lines(surface), expected);
    EXPECT_TRUE(surface.transparentBackground());
    for (const DrawOp& op : surface.ops()) {
        if (op.kind == DrawOp::Kind::TextInRect) {
            EXPECT_EQ(op.font, (FontSpec{"", -11, 700}));
        }
    }
    // Every font and icon made for the paint is released, none while in use.
    EXPECT_EQ(surface.LiveObjects(), 0);
    EXPECT_EQ(surface.ObjectsMade(), 2);
    EXPECT_TRUE(surface.faults().empty());
    EXPECT_EQ(windows.colourRequests, (std::vector<std::uintptr_t>{0x10000004, 0x10000005}));
    EXPECT_EQ(plugin.item.scheduleDate.day, 7);  // the daily refresh ran first
}

// A name too long for its column ends with "…", and is whole in the tooltip
// over the column; a name that fits has no tooltip of its own.
TEST_F(PluginFixture, LongTownNameIsShortenedWithTheWholeNameAsTooltip) {
    const struct {
        const char* name;
        const char* drawn;
        const char* tip;
    } cases[] = {
        {"Paris", "Paris", ""},
        {"Bandar_Seri_Begawan", "Bandar_…", "Bandar_Seri_Begawan"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string config = kParis;
        config.replace(config.find("Paris"), 5, c.name);
        WriteFile(dir.path() + "/data.cfg", config);
        ASSERT_TRUE(Load());
        TodayItemDescriptor descriptor;
        TodayWindow* item = PluginCreateItem(plugin, &descriptor, &windows.host);
        ASSERT_NE(item, nullptr);
        item->client = {0, 0, 240, 0};
        // Six pixels a character: the town's column (191 to 240) holds eight.
        RecordingSurface surface(96, {0, 0, 240, 300}, [](const FontSpec&, const std::string& t) {
            const int chars = static_cast<int>(
                std::count_if(t.begin(), t.end(), [](char ch) { return (ch & 0xC0) != 0x80; }));
            return TextExtent{chars * 6, 0, 12, chars * 6};
        });
        windows.tips.clear();
        Send(item, kMsgPaint, &surface);
        const std::vector<std::string> lines = Lines(surface);
        EXPECT_EQ(lines.back(), std::string("left 191,17,240,32 ") + c.drawn + " in 10,20,30");
        ASSERT_EQ(windows.tips.size(), 1U);
        EXPECT_EQ(windows.tips[0].first, (Rect{191, 17, 240, 32}));
        EXPECT_EQ(windows.tips[0].second, c.tip);
        PluginUnload(plugin);
    }
}

// The window's rule, read at each paint: far south in December Fajr and Isha
// are estimated, or have no time under "none".
TEST_F(PluginFixture, PaintFollowsTheHighLatitudeSetting) {
    TodayWindow* item = LoadAndCreate();
    plugin.item.engine.place.latitude = Degrees{-55.0};
    settings.CreateKey(kAppSettingsKey);
    const struct {
        std::string word;
        std::string fajr, isha, town;
    } cases[] = {
        {"none", "--:--", "--:--", "Paris"},
        {"middle", "*", "*", "Paris  * estimée : milieu de la nuit"},
    };
    for (const auto& c : cases) {
        settings.keys[kAppSettingsKey][kHighLatitudeRuleValue] =
            std::vector<std::uint8_t>(c.word.begin(), c.word.end());
        const std::vector<std::string> lines = Painted(item);
        const auto at = [&](const std::string& head) {
            for (const std::string& line : lines) {
                if (line.rfind(head, 0) == 0) return line.substr(head.size());
            }
            return std::string("(none)");
        };
        const std::string fajr = at("centre 1,17,39,32 ");
        const std::string isha = at("centre 153,17,191,32 ");
        EXPECT_NE(fajr.find(c.fajr), std::string::npos) << c.word << " " << fajr;
        EXPECT_NE(isha.find(c.isha), std::string::npos) << c.word << " " << isha;
        EXPECT_EQ(at("left 191,17,240,32 "), c.town + " in 10,20,30") << c.word;
    }
}

// A town whose method line names JAKIM shows JAKIM's times, as the engine
// computes them under that method, and not those of its convention slot.
TEST_F(PluginFixture, PaintShowsTheTimesOfTheTownsMethod) {
    WriteFile(dir.path() + "/data.cfg",
              "3 0 1 18 17 0.833 0 0 0 12\n4 0 0 0 0 0 0 0\n1 1 0 0\n"
              "2 Malaysia Kuala_Lumpur 3.139 101.6869 8 0 0\n8 method jakim\n");
    plugin.item.engine.methods = ReadMethodConventions({ORVANO_SOURCE_DIR "/resources/methods"});
    ASSERT_TRUE(Load());
    TodayItemDescriptor descriptor;
    TodayWindow* item = PluginCreateItem(plugin, &descriptor, &windows.host);
    ASSERT_NE(item, nullptr);
    item->client = {0, 0, 240, 0};
    const std::vector<std::string> lines = Painted(item);

    EngineState expected;
    expected.methods = plugin.item.engine.methods;
    expected.tables = plugin.item.engine.tables;
    expected.place.latitude = Degrees{3.139};
    expected.place.longitude = Degrees{101.6869};
    expected.place.TimeZone = 8;
    const ScheduleDate& date = plugin.item.scheduleDate;
    expected.observation = Observation{date.day, date.month, date.year, 12, 0, 0};
    ComputeDaySchedule(expected);
    const DaySchedule slot = expected.schedule;
    expected.place.Method = "jakim";
    ComputeDaySchedule(expected);
    const auto text = [](const DaySchedule& d, PrayerIndex p) {
        return ShownClockText(d.status[p], d.shown[p]);
    };
    ASSERT_NE(text(slot, Isha), text(expected.schedule, Isha));
    const auto painted = [&](const std::string& shown) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(" " + shown + " in ") != std::string::npos;
        });
    };
    for (PrayerIndex p : {Fajr, Zuhr, Asr, Maghrib, Isha}) {
        EXPECT_TRUE(painted(text(expected.schedule, p))) << p << " " << text(expected.schedule, p);
    }
    EXPECT_FALSE(painted(text(slot, Isha)));
}

TEST_F(PluginFixture, BlinkingPrayerIsDrawnInTheBlinkColour) {
    TodayWindow* item = LoadAndCreate();
    Painted(item);
    const double asr = plugin.item.engine.schedule.adjusted[Asr];
    const int minute = ShownMinuteOf(asr).minuteOfDay;
    clock.now.hour = minute / 60;
    clock.now.minute = minute % 60;
    TodayItemDescriptor descriptor;
    descriptor.height = 32;
    plugin.item.HeightChanged = false;
    EXPECT_EQ(Send(item, kMsgQueryRefresh, &descriptor), 0);
    const std::vector<std::string> lines = Painted(item);
    EXPECT_EQ(lines[5], "centre 77,2,115,17 Asr in 255,0,0");
    EXPECT_EQ(lines[3], "centre 39,2,77,17 Zuhr in 10,20,30");
    EXPECT_TRUE(sounds.played.empty());
}

// Every message's answer: 1 only for a drawn watermark, a needed re-layout and a
// known next prayer; a missing pointer or an unknown message is answered 0.
TEST_F(PluginFixture, AnswersToEachMessage) {
    TodayWindow* item = LoadAndCreate();
    RecordingSurface surface;
    TodayItemDescriptor descriptor;
    TodayNextPrayer next{};
    const struct {
        const char* what;
        std::uint32_t message;
        void* with;
        std::intptr_t answer;
    } cases[] = {
        {"next prayer before the first paint", kMsgQueryNextPrayer, &next, 0},
        {"paint without a surface", kMsgPaint, nullptr, 0},
        {"paint", kMsgPaint, &surface, 0},
        {"next prayer", kMsgQueryNextPrayer, &next, 1},
        {"next prayer without an answer", kMsgQueryNextPrayer, nullptr, 0},
        {"first refresh query", kMsgQueryRefresh, &descriptor, 1},
        {"refresh query again", kMsgQueryRefresh, &descriptor, 0},
        {"refresh query without a descriptor", kMsgQueryRefresh, nullptr, 0},
        {"watermark", kMsgEraseBackground, &surface, 1},
        {"clear cache", kMsgClearCache, nullptr, 0},
        {"unknown message", 0x7777, &surface, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Send(item, c.message, c.with), c.answer) << c.what;
    const int fajr = ShownMinuteOf(plugin.item.engine.schedule.adjusted[Fajr]).minuteOfDay;
    EXPECT_EQ((std::array{next.prayer, next.minuteOfDay, next.minutesLeft}),
              (std::array{static_cast<int>(Fajr), fajr, fajr - 4 * 60}));
}

TEST_F(PluginFixture, EraseBackgroundAsksTheHostForItsWatermark) {
    TodayWindow* item = LoadAndCreate();
    item->client = {0, 0, 240, 32};
    RecordingSurface surface;
    EXPECT_EQ(Send(item, kMsgEraseBackground, &surface), 1);
    ASSERT_EQ(windows.watermarks.size(), 1u);
    EXPECT_EQ(windows.watermarks[0].surface, &surface);
    EXPECT_EQ(windows.watermarks[0].rect, (Rect{0, 0, 240, 32}));
    EXPECT_EQ(windows.watermarks[0].window, item);
}

TEST_F(PluginFixture, TapsArriveAsSigned16BitPoints) {
    TodayWindow* item = LoadAndCreate();
    TodayItemDescriptor descriptor;
    Send(item, kMsgQueryRefresh, &descriptor);
    EXPECT_EQ(PointX(PackPoint(-3, 7)), -3);
    windows.SendMessageTo(item, kMsgLeftButtonUp, 0, PackPoint(230, 5));
    EXPECT_EQ(boxes.shown, (std::vector<Shown>{{"Press on the Left", "Orvano"}}));
    EXPECT_TRUE(plugin.item.ShowLabels);
    windows.SendMessageTo(item, kMsgLeftButtonUp, 0, PackPoint(-3, 5));
    EXPECT_FALSE(plugin.item.ShowLabels);
    EXPECT_EQ(Send(item, kMsgQueryRefresh, &descriptor), 1);
    EXPECT_EQ(descriptor.height, 16);
}

TEST_F(PluginFixture, ClearCacheRereadsAndResetsTheAlarms) {
    settings.keys[kTodaySettingsKey]["AlarmZuhr"] = {1};
    TodayWindow* item = LoadAndCreate();
    Painted(item);
    ASSERT_EQ(store->Entries().size(), 1u);
    const auto firstHandle = store->Entries()[0].handle;

    WriteFile(dir.path() + "/data.cfg", "1 1 0 0\n2 Maroc Rabat 34.02 -6.83 0 0 0\n");
    windows.invalidated.clear();
    EXPECT_EQ(windows.SendMessageTo(item, kMsgClearCache, 0, 0), 0);
    EXPECT_EQ(plugin.item.engine.place.Name, "Rabat");
    const auto entries = store->Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(entries[0].handle, firstHandle);
    ASSERT_EQ(windows.invalidated.size(), 1u);
    EXPECT_FALSE(windows.invalidated[0].first.has_value());
    EXPECT_TRUE(windows.invalidated[0].second);

    // A broken file: the box, and nothing else changes.
    WriteFile(dir.path() + "/data.cfg", "9\n");
    const auto date = plugin.item.scheduleDate;
    EXPECT_EQ(windows.SendMessageTo(item, kMsgClearCache, 0, 0), 0);
    EXPECT_EQ(boxes.shown.back(), (Shown{"bad format of data.cfg", "Read error"}));
    EXPECT_EQ(plugin.item.scheduleDate.day, date.day);
    EXPECT_EQ(store->Entries()[0].handle, entries[0].handle);
}

// Alarms that cannot be stored leave one line in the log per refresh, not silence.
TEST_F(PluginFixture, AlarmsThatCannotBeSetAreLoggedOncePerRefresh) {
    const auto storeAt = [this](const std::string& path) {
        store = std::make_unique<NotificationStore>(path, dir.path() + "/e",
                                                    [this] { return clock.now; });
        plugin.services.notifications = store.get();
    };
    const auto logLines = [this] {
        log.reset();
        return CountOf(ReadFile(dir.path() + "/orvano-today_log.txt"),
                       "Cannot set 2 prayer alarm(s)\r\n");
    };
    settings.keys[kTodaySettingsKey]["AlarmFajr"] = {1};
    settings.keys[kTodaySettingsKey]["AlarmIsha"] = {1};
    std::filesystem::create_directory(dir.path() + "/store-folder");
    storeAt(dir.path() + "/store-folder");
    TodayWindow* item = LoadAndCreate();
    storeAt(dir.path() + "/store-folder");
    for (int paint = 0; paint < 3; ++paint) Painted(item);
    EXPECT_EQ(logLines(), 1);

    WriteFile(dir.path() + "/data-file", "");
    storeAt(dir.path() + "/data-file/n");
    windows.SendMessageTo(item, kMsgClearCache, 0, 0);
    Painted(item);
    EXPECT_EQ(logLines(), 1);  // the log was restarted: the new refresh's line only
}

TEST_F(PluginFixture, OptionsDialogShowsAndStoresTheSwitches) {
    settings.keys[kTodaySettingsKey]["AlarmMaghrib"] = {1};
    ASSERT_TRUE(LoadParis());
    FakeDialog dialog;
    EXPECT_EQ(PluginOptionsDialogProc(plugin, &dialog, kMsgInitDialog, 0, 0), 1);
    EXPECT_EQ(dialog.fullScreenFlags, 5);
    EXPECT_EQ(dialog.checks,
              (std::map<int, bool>{
                  {1002, false}, {1003, false}, {1004, false}, {1005, true}, {1006, false}}));
    dialog.checks = {{1004, true}};  // only "Alarme Asr"
    EXPECT_EQ(PluginOptionsDialogProc(plugin, &dialog, kMsgCommand, kDialogDone, 0), 1);
    EXPECT_EQ(dialog.ended, 1);
    for (const char* name : {"AlarmFajr", "AlarmZuhr", "AlarmAsr", "AlarmMaghrib", "AlarmIsha"}) {
        EXPECT_EQ(settings.keys[kTodaySettingsKey].at(name),
                  (std::vector<std::uint8_t>{std::string(name) == "AlarmAsr"}))
            << name;
    }
    EXPECT_EQ(plugin.item.AlarmSwitches, (std::array<std::uint8_t, 6>{0, 0, 0, 1, 0, 0}));
}

TEST_F(PluginFixture, OptionsDialogWithoutTheKeyStoresNothing) {
    ASSERT_TRUE(LoadParis());
    settings.keys.clear();
    FakeDialog dialog;
    PluginOptionsDialogProc(plugin, &dialog, kMsgInitDialog, 0, 0);
    for (int id = 1002; id <= 1006; ++id) EXPECT_FALSE(dialog.checks.at(id));
    dialog.checks[1002] = true;
    EXPECT_EQ(PluginOptionsDialogProc(plugin, &dialog, kMsgCommand, kDialogDone, 0), 1);
    EXPECT_TRUE(settings.keys.empty());
    EXPECT_EQ(dialog.ended, 1);
}

// What the window's adhan dialog writes reaches the running strip at its next
// paint, without a restart.
TEST_F(PluginFixture, AReminderWrittenByTheWindowIsSetAtTheNextPaint) {
    TodayWindow* item = LoadAndCreate();
    Painted(item);
    const auto named = [this] {
        std::vector<std::string> events;
        for (const auto& entry : store->Entries()) events.push_back(entry.trigger.application);
        return events;
    };
    EXPECT_TRUE(named().empty());
    ASSERT_TRUE(settings.WriteTexts({{kRemindersGroup, "Zuhr", "15"}}));
    Painted(item);
    EXPECT_EQ(named(), std::vector<std::string>{NamedEventPath(ReminderEventName(Zuhr))});
}

TEST_F(PluginFixture, OrvanoButtonsStartTheInstalledProgram) {
    ASSERT_TRUE(LoadParis());
    FakeDialog dialog;
    const struct {
        int button;
        std::vector<std::string> arguments;
    } cases[] = {{kButtonOrvano, {}}, {kButtonOrvano, {}}, {kButtonAdhan, {"--adhan-settings"}}};
    for (const auto& c : cases) {
        shell.started.clear();
        EXPECT_EQ(PluginOptionsDialogProc(plugin, &dialog, kMsgCommand,
                                          static_cast<std::uintptr_t>(c.button), 0),
                  1);
        ASSERT_EQ(shell.started.size(), 1u) << c.button;
        EXPECT_EQ(shell.started[0].first, dir.path() + "/bin/orvano");
        EXPECT_EQ(shell.started[0].second, c.arguments) << c.button;
    }
    EXPECT_EQ(dialog.ended, -1);  // the dialog stays open
    EXPECT_EQ(PluginOptionsDialogProc(plugin, &dialog, kMsgCommand, 2, 0), 0);
    EXPECT_EQ(PluginOptionsDialogProc(plugin, &dialog, 999, 0, 0), 0);
}

}  // namespace
}  // namespace orvano
