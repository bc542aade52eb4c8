#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/commands_alarms.h"
#include "app/controls.h"
#include "app/window_proc.h"
#include "platform/recording_surface.h"
#include "tests/app/app_fixture.h"

namespace orvano::testing {
namespace {

using StartupTest = AppFixture;

std::vector<std::uint8_t> Number(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

TEST_F(StartupTest, StartsTheWindowInOrder) {
    InstallBundledConfig();
    ASSERT_TRUE(StartApplication(*app, 1));

    // The running-copy check uses the string table's class name and title.
    EXPECT_EQ(fake.windows.forwardRequests,
              (std::vector<std::pair<std::string, std::string>>{{"ORVANO", "orvano"}}));
    ASSERT_TRUE(fake.windows.created.has_value());
    const MainWindowSpec& made = *fake.windows.created;
    // The title is the single-instance key and keeps its value.
    EXPECT_EQ((std::array{made.className, made.title, made.caption}),
              (std::array<std::string, 3>{"ORVANO", "orvano", "Orvano"}));
    EXPECT_EQ((std::array{made.iconResource, made.clientWidth, made.clientHeight}),
              (std::array{111, 240, 300}));

    EXPECT_EQ(app->ui.clockBand, (Rect{0, 46, 240, 66}));
    const auto& info = app->ui.activateInfo;
    EXPECT_EQ((std::array{info.size, info.reserved1, info.reserved2}), (std::array{12u, 0u, 0u}));

    EXPECT_EQ(app->ui.Lang, 2u);
    EXPECT_EQ((std::array{app->ui.currentPage, app->ui.requestedPage}), (std::array{0, 0}));
    EXPECT_EQ(window().controls.size(), 28u);
    EXPECT_EQ(window().VisibleIndices(), (std::vector<size_t>{1, 26}));

    // The tables were read, then the trace switch cleared for the rest of the run.
    EXPECT_GT(app->engine.tables.NumberOfTowns, 0);
    EXPECT_EQ(app->engine.tables.Verbose, 0);
    EXPECT_TRUE(fake.messages.shown.empty());

    const Observation& o = app->engine.observation;
    EXPECT_EQ((std::array{o.day, o.month, o.year, o.hour, o.minute, o.second}),
              (std::array{15, 3, 2024, 13, 45, 30}));
    // The day's schedule was computed: Zuhr of a real town is around midday.
    EXPECT_GT(app->engine.schedule.adjusted[Zuhr], 10.0);
    EXPECT_LT(app->engine.schedule.adjusted[Zuhr], 15.0);

    EXPECT_EQ(window().timers, (std::vector<std::pair<int, int>>{{1, 1000}}));
    EXPECT_EQ(window().showCount, 1);
}

// The prompts are printed only when asked for with --verbose.
TEST_F(StartupTest, ConsoleLinesAreExactAndTheClockIsReadOnce) {
    InstallBundledConfig();
    fake.clock.now = LocalTime{2025, 12, 3, 31, 23, 59, 59, 999};
    for (const bool verbose : {false, true}) {
        fake.console.printed.clear();
        fake.clock.readings = 0;
        app->verbose = verbose;
        app->engine.tables.Verbose = 0;
        LoadInitialState(*app);
        // The bundled file's header has Verbose 0, so only the prompts are printed.
        EXPECT_EQ(fake.console.printed, verbose ? "Entrez la date d'observation (d/m/a)\n"
                                                  "Date saisie : 31/12/2025)\n"
                                                  "Entrez l'heure d'observation (h/m/s)\n"
                                                  "Date saisie : 23/59/59\n"
                                                : "");
        // One reading: the date and the time cannot come from either side of midnight.
        EXPECT_EQ((std::array{fake.clock.readings, app->engine.observation.day,
                              app->engine.observation.second}),
                  (std::array{1, 31, 59}));
    }
}

// Algiers names its zone: the window's date and clock are Algiers' own, even on a
// desktop that keeps UTC.
TEST_F(StartupTest, ATownWithAZoneLivesByItsOwnClock) {
    InstallBundledConfig();
    SetDesktopZone("UTC");
    fake.clock.now = LocalTime{2025, 12, 3, 31, 23, 30, 0, 0};
    LoadInitialState(*app);
    const Observation& o = app->engine.observation;
    EXPECT_EQ((std::array{o.day, o.month, o.year, o.hour, o.minute}),
              (std::array{1, 1, 2026, 0, 30}));
    app->engine.place.Zone.clear();
    EXPECT_EQ(TownNow(*app), fake.clock.now);
}

// On a desktop that keeps UTC, towns at +7 and +5:45 pass their own midnight:
// the date, the pickers the Compute page reads and the day's times all follow
// the town's clock, the desktop's date staying the 7th throughout.
TEST_F(StartupTest, TheWindowFollowsTheTownsClockAcrossItsMidnight) {
    struct Case {
        const char* town;
        LocalTime before, after;  // desktop (UTC) times either side of the town's midnight
        int hourAfter, minuteAfter;
    };
    const Case cases[] = {
        {"Jakarta", {2026, 12, 1, 7, 16, 59, 30, 0}, {2026, 12, 1, 7, 17, 0, 5, 0}, 0, 0},
        {"Kathmandu", {2026, 12, 1, 7, 18, 14, 30, 0}, {2026, 12, 1, 7, 18, 15, 10, 0}, 0, 0},
    };
    InstallBundledConfig();
    SetDesktopZone("UTC");
    fake.clock.now = cases[0].before;
    ASSERT_TRUE(StartApplication(*app, 1));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.town);
        fake.clock.now = c.before;
        app->ui.requestedPage = kPageHome;
        ShowPage(*app, window());
        const auto& towns = app->engine.tables.Towns;
        const auto town = std::find_if(towns.begin(), towns.end(),
                                       [&](const Town& t) { return t.Name == c.town; });
        ASSERT_NE(town, towns.end());
        FillTownList(*app);
        app->ui.controls.townList->SelectLine(
            LineOfTown(*app, static_cast<int>(town - towns.begin())));
        window().SendCommand(kIdTownList);

        // The first tick takes the town's own date: still the 7th there.
        window().SendTimer(kClockTimerId);
        const Observation& o = app->engine.observation;
        EXPECT_EQ((std::array{o.day, o.hour, o.minute}), (std::array{7, 23, 59}));
        const DaySchedule seventh = app->engine.schedule;

        fake.clock.now = c.after;
        window().invalidations.clear();
        window().SendTimer(kClockTimerId);
        EXPECT_EQ((std::array{o.day, o.month, o.year, o.hour, o.minute}),
                  (std::array{8, 12, 2026, c.hourAfter, c.minuteAfter}));
        ASSERT_EQ(window().invalidations.size(), 1u);
        EXPECT_FALSE(window().invalidations[0].area.has_value());  // the whole window
        EXPECT_NE(app->engine.schedule.adjusted, seventh.adjusted);
        for (const Control* picker : {app->ui.controls.datePicker, app->ui.controls.timePicker}) {
            const LocalTime shown = picker->GetDateTime();
            EXPECT_EQ((std::array{shown.day, shown.hour, shown.minute}),
                      (std::array{8, c.hourAfter, c.minuteAfter}));
        }
        // The Compute page reads the pickers: the Sun is the town's, at its 00:00.
        app->ui.requestedPage = kPageCompute;
        ShowPage(*app, window());
        RecordingSurface surface;
        PaintPage(*app, window(), surface);
        EXPECT_EQ((std::array{o.day, o.hour}), (std::array{8, 0}));
    }
}

// The town chosen last comes back at the next start when it still exists;
// choosing one remembers it without writing data.cfg.
TEST_F(StartupTest, TheTownChosenLastIsSelectedAtStart) {
    InstallBundledConfig();
    const std::string bundled = ReadConfigBytes();
    struct Case {
        std::optional<std::string> stored;
        std::string town;
    };
    const Case cases[] = {{std::nullopt, "Algiers"},
                          {"Pakistan/Karachi", "Karachi"},
                          {"Nowhere/Atlantis", "Algiers"}};
    for (const Case& c : cases) {
        fake.settings.keys.erase(kWindowSettingsKey);
        if (c.stored) {
            fake.settings.CreateKey(kWindowSettingsKey);
            fake.settings.keys[kWindowSettingsKey][kLastTownValue] =
                std::vector<std::uint8_t>(c.stored->begin(), c.stored->end());
        }
        LoadInitialState(*app);
        EXPECT_EQ(app->engine.place.Name, c.town) << c.town;
    }
    ASSERT_TRUE(StartApplication(*app, 1));
    const auto& towns = app->engine.tables.Towns;
    const auto lahore =
        std::find_if(towns.begin(), towns.end(), [](const Town& t) { return t.Name == "Lahore"; });
    ASSERT_NE(lahore, towns.end());
    FillTownList(*app);
    app->ui.controls.townList->SelectLine(
        LineOfTown(*app, static_cast<int>(lahore - towns.begin())));
    window().SendCommand(kIdTownList);
    const auto& stored = fake.settings.keys[kWindowSettingsKey][kLastTownValue];
    EXPECT_EQ(std::string(stored.begin(), stored.end()), "Pakistan/Lahore");
    EXPECT_EQ(ReadConfigBytes(), bundled);
}

TEST_F(StartupTest, FirstRunWritesFrenchWhenTheKeyExists) {
    ASSERT_TRUE(StartApplication(*app, 1));
    EXPECT_EQ(app->ui.Lang, 2u);
    EXPECT_EQ(fake.settings.Value(kAppSettingsKey, "Lang"), Number(2));
    // Every key opened is closed again.
    EXPECT_GT(fake.settings.OpenCount(), 0);
    EXPECT_EQ(fake.settings.CloseCount(), fake.settings.OpenCount());
    EXPECT_EQ(window().ById(kIdNow)->spec.text, "Maintenant");
}

TEST_F(StartupTest, MissingKeyRunsInFrenchAndWritesNothing) {
    fake.settings.keys.clear();
    ASSERT_TRUE(StartApplication(*app, 1));
    EXPECT_EQ(app->ui.Lang, 2u);
    EXPECT_TRUE(fake.settings.keys.empty());
    // The rule, the Hijri and night settings, the reminders, iqama and
    // Jumu'ah (each group once), the language (Lang, then Code) read and the
    // default's keys looked for, the digits, then the town chosen last.
    EXPECT_EQ(fake.settings.log,
              (std::vector<std::string>{
                  "open-missing Software\\Apps\\Orvano", "open-missing Hijri", "open-missing Night",
                  "open-missing Reminders", "open-missing Iqama", "open-missing Jumuah",
                  "open-missing Software\\Apps\\Orvano", "open-missing Language",
                  "open-missing Software\\Apps\\Orvano", "open-missing Language",
                  "open-missing Language", "open-missing Window"}));
    EXPECT_EQ(window().ById(kIdCalendar)->spec.text, "Calendrier");
}

// The desktop's variables for one test, put back after it.
class DesktopLocale {
  public:
    explicit DesktopLocale(const char* lang) {
        for (const char* name : {"LANG", "LC_ALL", "LC_MESSAGES"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(
                name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
        ::setenv("LANG", lang, 1);
    }
    ~DesktopLocale() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name, value->c_str(), 1);
            } else {
                ::unsetenv(name);
            }
        }
    }
    DesktopLocale(const DesktopLocale&) = delete;
    DesktopLocale& operator=(const DesktopLocale&) = delete;

  private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

// With no saved choice the window speaks the desktop's language when it has
// a catalogue for it, and keeps that choice; under the C locale it is French.
TEST_F(StartupTest, ANewUserGetsTheDesktopsLanguage) {
    const struct {
        const char* lang;
        const char* language;
        const char* now;
        const char* home;
    } cases[] = {
        {"tr_TR.UTF-8", "tr", "Şimdi", "Ana sayfa"},
        {"bn_BD.UTF-8", "bn", "এখন", "হোম"},
        {"C", "fr", "Maintenant", "Accueil"},
        {"de_DE.UTF-8", "fr", "Maintenant", "Accueil"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        const DesktopLocale desktop(c.lang);
        FakePlatform local;
        local.shell.modulePath = (folder() / "orvano").string();
        local.settings.CreateKey(kAppSettingsKey);
        App localApp(local.platform());
        localApp.files = UserFilesIn(folder().string());
        ASSERT_TRUE(StartApplication(localApp, 1));
        EXPECT_EQ(localApp.ui.language, c.language);
        EXPECT_EQ(local.windows.window->ById(kIdNow)->spec.text, c.now);
        RecordingSurface surface;
        PaintPage(localApp, *local.windows.window, surface);
        EXPECT_EQ(surface.ops().front().text, c.home);
        // Lang keeps English and French; Code names the others.
        const auto& code = local.settings.keys[kLanguageSettingsKey][kLanguageCodeValue];
        EXPECT_EQ(std::string(code.begin(), code.end()),
                  std::string(c.language) == "fr" ? "" : c.language);
        EXPECT_EQ(local.settings.Value(kAppSettingsKey, "Lang"),
                  std::string(c.language) == "fr" ? std::optional(Number(2)) : std::nullopt);
    }
}

TEST_F(StartupTest, StoredLanguageIsKept) {
    struct Case {
        std::vector<std::uint8_t> stored;
        std::uint32_t lang;
        const char* nowLabel;
    };
    const Case cases[] = {
        {Number(1), 1, "Now"},
        {Number(2), 2, "Maintenant"},
        {Number(3), 3, "Now"},  // only 2 selects French
        // A value that is not 4 bytes cannot be read: French is written over it.
        {{1, 0, 0, 0, 0}, 2, "Maintenant"},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        local.shell.modulePath = (folder() / "orvano").string();
        local.settings.CreateKey(kAppSettingsKey);
        local.settings.keys[kAppSettingsKey]["Lang"] = c.stored;
        App localApp(local.platform());
        localApp.files = UserFilesIn(folder().string());
        ASSERT_TRUE(StartApplication(localApp, 1));
        EXPECT_EQ(localApp.ui.Lang, c.lang);
        EXPECT_EQ(local.windows.window->ById(kIdNow)->spec.text, c.nowLabel);
        const bool rewritten = c.stored.size() != 4;
        EXPECT_EQ(local.settings.Value(kAppSettingsKey, "Lang"), rewritten ? Number(2) : c.stored);
    }
}

TEST_F(StartupTest, SecondCopyBringsTheFirstForwardAndExitsWithZero) {
    fake.windows.runningCopy = true;
    app->startCommand = kIdAdhan;  // --adhan-settings: the running copy opens the dialog
    EXPECT_EQ(RunApplication(*app, 1), 0);
    EXPECT_EQ(fake.windows.forwardRequests.size(), 1u);
    EXPECT_EQ(fake.windows.forwardCommands, std::vector<int>{kIdAdhan});
    EXPECT_FALSE(fake.windows.created.has_value());
    // Nothing else happened: no loop, no language read, no file read, nothing printed.
    EXPECT_EQ((std::array{fake.windows.loopRuns, fake.clock.readings}), (std::array{0, 0}));
    EXPECT_TRUE(fake.settings.log.empty());
    EXPECT_TRUE(fake.console.printed.empty());
}

TEST_F(StartupTest, WindowThatCannotBeMadeEndsWithZero) {
    fake.windows.failCreate = true;
    EXPECT_EQ(RunApplication(*app, 1), 0);
    EXPECT_EQ(fake.windows.loopRuns, 0);
    EXPECT_TRUE(fake.settings.log.empty());
}

TEST_F(StartupTest, ClosingTheWindowEndsTheLoopWithZero) {
    ASSERT_TRUE(StartApplication(*app, 1));
    window().Close();
    EXPECT_EQ(fake.windows.quitCode, 0);
    EXPECT_EQ(fake.windows.RunMessageLoop(), 0);
}

TEST_F(StartupTest, MissingConfigIsReportedAndStartupGoesOn) {
    ASSERT_TRUE(StartApplication(*app, 1));
    EXPECT_FALSE(fake.messages.shown.empty());
    EXPECT_EQ(app->engine.tables.NumberOfTowns, 0);
    EXPECT_EQ(app->engine.tables.Verbose, 0);
    EXPECT_EQ(window().showCount, 1);
}

TEST_F(StartupTest, ClockBandAt192Dpi) {
    fake.screen.dpiX = fake.screen.dpiY = 192;
    ASSERT_TRUE(StartApplication(*app, 1));
    EXPECT_EQ((std::array{fake.windows.created->clientWidth, fake.windows.created->clientHeight}),
              (std::array{480, 600}));
    EXPECT_EQ(app->ui.clockBand, (Rect{0, 92, 480, 132}));
}

TEST_F(StartupTest, ClockTickRedrawsOnlyTheClockStripOfTheHomePage) {
    ASSERT_TRUE(StartApplication(*app, 1));
    window().invalidations.clear();

    window().SendTimer(kClockTimerId);
    ASSERT_EQ(window().invalidations.size(), 1u);
    const auto& tick = window().invalidations[0];
    EXPECT_EQ(tick.area, (std::optional<Rect>{Rect{0, 46, 240, 66}}));
    EXPECT_EQ((std::array{tick.flags.erase, tick.flags.paintNow, tick.flags.children}),
              (std::array{true, true, false}));
    // The tick recomputes nothing.
    const DaySchedule before = app->engine.schedule;
    const Observation obs = app->engine.observation;
    window().SendTimer(kClockTimerId);
    EXPECT_EQ(app->engine.schedule.adjusted, before.adjusted);
    EXPECT_EQ(app->engine.observation.minute, obs.minute);

    window().invalidations.clear();
    window().SendTimer(2);  // not the clock's timer
    EXPECT_TRUE(window().invalidations.empty());

    for (int page = 1; page < kPageCount; ++page) {
        app->ui.requestedPage = page;
        ShowPage(*app, window());
        window().invalidations.clear();
        window().SendTimer(kClockTimerId);
        EXPECT_TRUE(window().invalidations.empty()) << "page " << page;
    }
}

TEST_F(StartupTest, ScaledLengthsRoundAndTruncate) {
    struct Case {
        int dpi;
        int v;
        int expected;
    };
    const Case cases[] = {
        {96, 240, 240}, {192, 240, 480}, {192, 5, 10}, {120, 5, 6},   {120, 7, 9},
        {144, 69, 104}, {72, 1, 1},      {72, 33, 25}, {-1, 240, -2}, {-1, 5, 0},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        local.screen.dpiX = local.screen.dpiY = c.dpi;
        App localApp(local.platform());
        EXPECT_EQ((std::array{ScaleX(localApp, c.v), ScaleY(localApp, c.v)}),
                  (std::array{c.expected, c.expected}))
            << c.dpi << " " << c.v;
    }
}

TEST_F(StartupTest, ResolutionIsAskedOnceAndKept) {
    fake.screen.dpiX = 120;
    fake.screen.dpiY = 144;
    EXPECT_EQ((std::array{DpiX(*app), DpiY(*app)}), (std::array{120, 144}));
    fake.screen.dpiX = fake.screen.dpiY = 96;
    EXPECT_EQ((std::array{DpiX(*app), ScaleY(*app, 10)}), (std::array{120, 15}));
    EXPECT_EQ((std::array{fake.screen.asksX, fake.screen.asksY}), (std::array{1, 1}));
}

TEST_F(StartupTest, UnknownResolutionIsCachedAsMinusOne) {
    fake.screen.dpiY = -1;
    EXPECT_EQ(DpiY(*app), -1);
    EXPECT_TRUE(app->ui.dpiY.known);
    EXPECT_EQ(DpiY(*app), -1);
    EXPECT_EQ(fake.screen.asksY, 1);
}

// The first start's question: asked while no switch is stored, never again
// once either answer is.
TEST(AlarmOffer, AskedOnceUntilASwitchIsStoredAndTheAnswerGoesToAllFive) {
    const struct {
        const char* name;
        bool makeKey;
        std::optional<std::uint8_t> storedAsr;
        std::vector<bool> answers;
        bool asked;
        std::optional<std::uint8_t> fajr;  // what the Fajr switch holds afterwards
    } cases[] = {
        {"yes: all on", true, std::nullopt, {true}, true, 1},
        {"no: all off, and stored", true, std::nullopt, {false}, true, 0},
        {"a switch chosen before", true, 0, {true}, false, std::nullopt},
        {"no key: nowhere to store", false, std::nullopt, {true}, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettingsStore settings;
        RecordingMessageSink messages;
        messages.answers = c.answers;
        if (c.makeKey) settings.CreateKey(kTodaySettingsKey);
        if (c.storedAsr) settings.keys[kTodaySettingsKey]["AlarmAsr"] = {*c.storedAsr};
        EXPECT_EQ(OfferAlarmsOnce(settings, messages), c.asked);
        EXPECT_EQ(settings.Value(kTodaySettingsKey, "AlarmFajr"),
                  c.fajr ? std::optional(std::vector<std::uint8_t>{*c.fajr}) : std::nullopt);
        if (c.asked) {
            for (const char* name : kAlarmValueNames) {
                EXPECT_EQ(settings.Value(kTodaySettingsKey, name),
                          settings.Value(kTodaySettingsKey, "AlarmFajr"));
            }
            EXPECT_EQ(messages.asked.at(0).caption, "Orvano");
        }
        EXPECT_FALSE(OfferAlarmsOnce(settings, messages)) << "asked a second time";
        EXPECT_EQ(messages.asked.size(), c.asked ? 1u : 0u);
    }
}

}  // namespace
}  // namespace orvano::testing
