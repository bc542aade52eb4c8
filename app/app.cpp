#include "app/app.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "app/commands_alarms.h"
#include "app/controls.h"
#include "app/layout.h"
#include "app/window_proc.h"
#include "astro/zone.h"
#include "config/grammar.h"
#include "config/text_encoding.h"
#include "engine/schedule.h"
#include "language/messages.h"
#include "platform/setting_text.h"
#include "resources/resource_ids.h"

namespace orvano {

namespace {

// The string table's buffers hold 100 characters with the terminator.
constexpr size_t kStringBufferChars = 99;

std::string LoadString(const App& app, int id) {
    return std::string(
        CutToBytes(app.platform.strings.Load(id).value_or(std::string()), kStringBufferChars));
}

int CachedDpiValue(CachedDpi& cache, int asked) {
    if (!cache.known) {
        cache.value = asked;
        cache.known = true;
    }
    return cache.value;
}

}  // namespace

int DpiX(App& app) {
    if (app.ui.dpiX.known) return app.ui.dpiX.value;
    return CachedDpiValue(app.ui.dpiX, app.platform.screen.LogicalDpiX());
}

int DpiY(App& app) {
    if (app.ui.dpiY.known) return app.ui.dpiY.value;
    return CachedDpiValue(app.ui.dpiY, app.platform.screen.LogicalDpiY());
}

int ScaleX(App& app, int v) {
    return ScaleForDpi(v, DpiX(app));
}

int ScaleY(App& app, int v) {
    return ScaleForDpi(v, DpiY(app));
}

std::string ConfigPath(const App& app) {
    return app.files.dataCfg;
}

bool StartApplication(App& app, int showCommand) {
    (void)showCommand;  // a desktop window is shown normally
    const std::string title = LoadString(app, resources::kStringTitle);
    const std::string className = LoadString(app, resources::kStringClassName);

    if (app.platform.windows.BringRunningCopyForward(className, title, app.startCommand)) {
        return false;
    }

    MainWindowSpec spec;
    spec.className = className;
    spec.title = title;
    spec.caption = kWindowCaption;
    spec.iconResource = resources::kIconProgram;
    // A fixed-size window: the pages' contents, and the arrow row below them.
    spec.clientWidth = ScaleX(app, kLayoutClientWidth);
    spec.clientHeight = ScaleY(app, kLayoutClientHeight);
    app.handler = std::make_unique<MainWindowProc>(app);
    app.window = app.platform.windows.CreateMainWindow(spec, *app.handler);
    if (app.window == nullptr) return false;
    Window& window = *app.window;

    if (auto key = app.platform.settings.OpenKey(kAppSettingsKey)) {
        // A missing or unknown word leaves each method its own rule.
        if (auto rule = key->ReadText(kHighLatitudeRuleValue)) {
            app.engine.highLatitudeRule = ParseHighLatitudeRule(*rule);
        }
    }
    const HijriNightSettings hijriNight = ReadHijriNightSettings(app.platform.settings);
    app.engine.hijriAdjust = hijriNight.hijriAdjust;
    app.engine.imsakMinutes = hijriNight.imsakMinutes;
    app.ui.nightShow = hijriNight.nightShow;
    ReadPrayerSettings(app);
    // Only the installer makes the application's key: when it is missing the
    // French default is not written.
    const SavedLanguage saved = ReadSavedLanguage(app.platform.settings);
    const LanguageChoice language = app.askedLanguage
                                        ? LanguageChoice{*app.askedLanguage, LanguageSource::Saved}
                                        : ChooseLanguage(saved, DesktopEnvironment);
    if (language.source != LanguageSource::Saved) {
        SaveLanguage(app.platform.settings, language.code);
    }
    app.ui.language = language.code;
    const std::uint32_t number = LangNumberOf(language.code);
    app.ui.Lang = (app.askedLanguage || saved.lang.value_or(0) == 0) && number != 0
                      ? number
                      : saved.lang.value_or(0);
    UseLanguage(app.ui.language);
    app.ui.digits = ReadDigitStyle(app.platform.settings);
    window.SetRightToLeft(IsRightToLeft(app.ui.language));

    app.ui.currentPage = kPageHome;
    app.ui.requestedPage = kPageHome;
    CreateControls(app, window);
    ShowPage(app, window);

    LoadInitialState(app);
    app.engine.tables.Verbose = 0;
    Recompute(app);

    window.StartTimer(kClockTimerId, 1000);
    window.ShowAndPaint();
    return true;
}

int RunApplication(App& app, int showCommand) {
    if (!StartApplication(app, showCommand)) return 0;
    if (app.offerAlarms) OfferAlarmsOnce(app.platform.settings, app.platform.messages);
    // After the question: the command does not run under an open message box.
    if (app.startCommand != 0) app.window->PostCommand(app.startCommand);
    return app.platform.windows.RunMessageLoop();
}

const char* const kHomePageUrl = ORVANO_HOMEPAGE_URL;

LocalTime TownTime(const LocalTime& desktop, const CurrentPlace& place) {
    const ZoneRef zone = PlaceZone(place);
    if (zone == nullptr) return desktop;
    const Observation o = DesktopTimeInZone(
        {desktop.day, desktop.month, desktop.year, desktop.hour, desktop.minute, desktop.second},
        zone);
    using namespace std::chrono;
    const weekday day{sys_days{year{o.year} / o.month / o.day}};
    return LocalTime{o.year,
                     o.month,
                     static_cast<int>(day.c_encoding()),
                     o.day,
                     o.hour,
                     o.minute,
                     o.second,
                     desktop.milliseconds};
}

LocalTime TownNow(const App& app) {
    return TownTime(app.platform.clock.Now(), app.engine.place);
}

namespace {

std::string TownKey(const Town& town) {
    return town.Country + "/" + town.Name;
}

}  // namespace

void ReadPrayerSettings(App& app) {
    SettingsStore& settings = app.platform.settings;
    app.extras = ReadPrayerExtras(SettingTextReader(settings));
}

void RememberLastTown(App& app) {
    const ConfigTables& tables = app.engine.tables;
    const int towns = std::min(static_cast<int>(tables.Towns.size()), tables.NumberOfTowns);
    if (tables.TownSelected < 0 || tables.TownSelected >= towns) return;
    SettingsStore& settings = app.platform.settings;
    // A choice that cannot be remembered is still the choice: nothing to report.
    if (!settings.CreateKey(kWindowSettingsKey)) return;
    if (auto key = settings.OpenKey(kWindowSettingsKey)) {
        key->WriteText(kLastTownValue,
                       TownKey(tables.Towns[static_cast<std::size_t>(tables.TownSelected)]));
    }
}

void RestoreLastTown(App& app) {
    auto key = app.platform.settings.OpenKey(kWindowSettingsKey);
    if (!key) return;
    const std::optional<std::string> last = key->ReadText(kLastTownValue);
    if (!last) return;
    ConfigTables& tables = app.engine.tables;
    const int towns = std::min(static_cast<int>(tables.Towns.size()), tables.NumberOfTowns);
    for (int i = 0; i < towns; ++i) {
        const Town& town = tables.Towns[static_cast<std::size_t>(i)];
        if (TownKey(town) != *last) continue;
        tables.TownSelected = i;
        FillCurrentPlace(town, app.engine.place);
        return;
    }
}

void SetPickers(App& app, const LocalTime& now) {
    if (app.ui.controls.datePicker != nullptr) app.ui.controls.datePicker->SetDateTime(now);
    if (app.ui.controls.timePicker != nullptr) app.ui.controls.timePicker->SetDateTime(now);
}

void TakeTownNow(App& app, const LocalTime& now) {
    app.engine.observation =
        Observation{now.day, now.month, now.year, now.hour, now.minute, now.second};
    SetPickers(app, now);
    Recompute(app);
}

void LoadInitialState(App& app) {
    app.engine.tables.Verbose = 1;  // the file's header value replaces it
    ReadApplicationConfig(app);     // failures are reported by the reader itself
    RestoreLastTown(app);

    // One reading for both halves: two readings could fall either side of
    // midnight and pair one day's date with the next day's time.
    const LocalTime now = TownNow(app);
    Console& console = app.platform.console;
    Observation& obs = app.engine.observation;

    obs = Observation{now.day, now.month, now.year, now.hour, now.minute, now.second};
    if (app.verbose) {
        console.Print("Entrez la date d'observation (d/m/a)\n");
        console.Print(Format("Date saisie : %d/%d/%d)\n", obs.day, obs.month, obs.year));
        console.Print("Entrez l'heure d'observation (h/m/s)\n");
        console.Print(Format("Date saisie : %d/%d/%d\n", obs.hour, obs.minute, obs.second));
    }
    // The pickers start at the town's moment too, never at the desktop's: the
    // Compute page takes its date and time from them.
    SetPickers(app, now);
}

void Recompute(App& app) {
    ComputeDaySchedule(app.engine);
    app.ui.home = PrepareHome(app.engine, app.ui.nightShow, app.extras);
    const LocalTime now = TownNow(app);
    app.ui.shownHijri = app.ui.home.hijri.At(now.hour * 60 + now.minute);
}

void PrepareShownPage(App& app) {
    const MainControls& c = app.ui.controls;
    std::optional<LocalTime> date;
    std::optional<LocalTime> time;
    if (c.datePicker != nullptr) date = c.datePicker->GetDateTime();
    if (c.timePicker != nullptr) time = c.timePicker->GetDateTime();
    app.ui.qibla = PreparePage(
        app.ui.requestedPage, date, time, [&app] { Recompute(app); }, app.engine);
}

void ClockTick(App& app, Window& window, int timerId) {
    if (timerId != kClockTimerId) return;
    bool hijriTurned = false;
    if (app.ui.exploring == 0) {
        const LocalTime now = TownNow(app);
        const std::optional<HijriDate>& hijri = app.ui.home.hijri.At(now.hour * 60 + now.minute);
        hijriTurned = hijri != app.ui.shownHijri;
        app.ui.shownHijri = hijri;
        Observation& obs = app.engine.observation;
        if (now.day != obs.day || now.month != obs.month || now.year != obs.year) {
            TakeTownNow(app, now);
            PrepareShownPage(app);
            InvalidateFlags all;
            all.erase = true;
            window.Invalidate(std::nullopt, all);
            return;
        }
    }
    if (app.ui.statusSeconds > 0 && --app.ui.statusSeconds == 0) {
        app.ui.statusText.clear();
        window.Invalidate(std::nullopt, InvalidateFlags{});
    }
    if (app.ui.requestedPage != kPageHome) return;
    InvalidateFlags flags;
    flags.erase = true;
    flags.paintNow = true;
    flags.children = false;
    // At Maghrib the Hijri line turns too: the whole page is drawn again.
    window.Invalidate(hijriTurned ? std::nullopt : std::optional<Rect>(app.ui.clockBand), flags);
}

}  // namespace orvano
