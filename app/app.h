// The application's state and start-up: one window, its 22 child controls,
// the five pages they belong to, and the records the engine computes with.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/paint.h"
#include "astro/trace.h"
#include "engine/state.h"
#include "places/gazetteer.h"
#include "platform/language.h"
#include "platform/platform.h"
#include "platform/user_files.h"

namespace orvano {

// Command identifiers of the child controls.
enum ControlId : int {
    kIdLanguageList = 1005,
    kIdTownList = 1006,
    kIdSave = 1007,
    kIdDatePicker = 1008,
    kIdTimePicker = 1009,
    kIdNow = 1010,
    kIdModify = 1016,
    kIdAdd = 1017,
    kIdConfigField = 1018,  // the four edit fields
    kIdZoneChooser = 1020,
    kIdMethod = 1021,  // opens the method dialog
    kIdFind = 1022,    // opens the gazetteer's search
    kIdDelete = 1023,
    kIdNightToggle = 1024,
    kIdAdhan = 1025,  // opens the adhan and reminders dialog
    kIdCheckVersion = 32778,
    kIdHelp = 32779,
    kIdExit = 40000,  // no control sends it
    kIdPrevious = 40001,
    kIdNext = 40002,
    kIdSunPosition = 40022,
    kIdCalendar = 40023,
    kIdExplore = 40024,
};

// The controls of the Configuration page's dialogs.
enum DialogControlId : int {
    kIdDialogOk = 1,
    kIdDialogCancel = 2,
    kIdDialogSearch = 2001,
    kIdDialogResults = 2002,
    kIdDialogRuleList = 2003,
    kIdDialogLabel = 2004,  // the prompt and the rule's label
    kIdDialogField = 2010,  // the adhan dialog's fields: this plus their DialogSlot
};

inline constexpr int kPageHome = 0;
inline constexpr int kPageQibla = 1;
inline constexpr int kPageCompute = 2;
inline constexpr int kPageConfiguration = 3;
inline constexpr int kPageAbout = 4;
inline constexpr int kPageCount = 5;

inline constexpr int kClockTimerId = 1;

// The child controls, each nullptr when it could not be made.
struct MainControls {
    Control* previous = nullptr;
    Control* next = nullptr;
    Control* datePicker = nullptr;
    Control* timePicker = nullptr;
    Control* now = nullptr;
    Control* sunPosition = nullptr;
    Control* explore = nullptr;
    Control* calendar = nullptr;
    Control* languageList = nullptr;
    Control* townList = nullptr;
    Control* modify = nullptr;
    Control* add = nullptr;
    Control* save = nullptr;
    Control* countryField = nullptr;
    Control* townField = nullptr;
    Control* latitudeField = nullptr;
    Control* longitudeField = nullptr;
    Control* timeZoneList = nullptr;
    Control* dstList = nullptr;
    Control* conventionList = nullptr;
    Control* help = nullptr;
    Control* checkVersion = nullptr;
    // Made after the others, in the layout's slots from ZoneChooser on: the
    // town's named zone, and the buttons of the method dialog, the search and
    // deleting a town.
    Control* zoneChooser = nullptr;
    Control* methodButton = nullptr;
    Control* findButton = nullptr;
    Control* deleteButton = nullptr;
    // Home page: shows or hides the night times ([Night] Show).
    Control* nightToggle = nullptr;
    Control* adhanButton = nullptr;
};

struct CachedDpi {
    int value = 0;
    bool known = false;
};

// The shell's activation record: kept for the activate message; the desktop
// stand-in of the shell needs nothing from it.
struct ActivateInfo {
    std::uint32_t size = 0;
    std::uint32_t reserved1 = 0;
    std::uint32_t reserved2 = 0;
};

struct AppState;

struct AppState {
    std::uint32_t Lang = 0;  // as stored: 1 English, 2 French; 0 until read or for others
    std::string language;    // the language in use, a code ("fr", "tr", ...)
    DigitStyle digits = DigitStyle::Latin;  // [Language] Digits
    int currentPage = 0;                    // the page whose controls are shown
    int requestedPage = 0;                  // the page the arrows select and painting draws
    std::uint8_t exploring = 0;
    Rect clockBand;  // the Home page's running clock strip, client coordinates
    ActivateInfo activateInfo;
    MainControls controls;
    // The town list's lines in order, each the index of its town in the
    // tables: sorted by country, then name.
    std::vector<int> townLines;
    CachedDpi dpiX;
    CachedDpi dpiY;
    // What Save or Modify just did, painted on the Configuration page until
    // the clock has ticked statusSeconds times; "" when there is nothing to say.
    std::string statusText;
    int statusSeconds = 0;
    // The zone chooser's lines after the first ("none"): database names, and
    // last an unknown name read from the file.
    std::vector<std::string> zoneLines;
    // Whether the user chose in the zone chooser since it was filled.
    bool zoneChosen = false;
    // What PrepareShownPage made for the Qibla page.
    QiblaView qibla;
    // [Night] Show: the night times on the Home page.
    bool nightShow = false;
    // What Recompute made for the Home page, and the Hijri date it showed last
    // (the date turns at Maghrib, between two repaints of the clock alone).
    HomeView home;
    std::optional<HijriDate> shownHijri;
};

// How long the Configuration page's confirmation stays, in clock ticks (seconds).
inline constexpr int kStatusSeconds = 4;

// The trace report goes to the process's console.
class ConsoleTraceSink final : public TraceSink {
  public:
    explicit ConsoleTraceSink(Console& console) : console_(console) {}
    void Write(std::string_view text) override { console_.Print(text); }

  private:
    Console& console_;
};

// Everything the application owns for the life of its process.
// The title the desktop shows; the title string stays the single-instance key.
inline constexpr const char* kWindowCaption = "Orvano";

// The home page the build is configured with (the metainfo's url), or "".
extern const char* const kHomePageUrl;

struct App {
    explicit App(const Platform& services) : platform(services), traceSink(services.console) {
        engine.traceSink = &traceSink;
    }
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Platform platform;
    AppState ui;
    EngineState engine;
    // Reminders, iqama and Jumu'ah as the user set them (ReadPrayerSettings).
    PrayerExtras extras;
    ConsoleTraceSink traceSink;
    UserFiles files;  // data.cfg, read_echo.cfg, calendars, help
    // data.cfg as the window last read or wrote it: Save asks before it writes
    // over a change that another program made since.
    std::uint64_t dataCfgDigest = 0;
    std::unique_ptr<WindowHandler> handler;  // the window procedure
    Window* window = nullptr;                // the main window once created
    // Where the About page's button looks for updates; empty: no button.
    std::string updateUrl = kHomePageUrl;
    // --verbose: the start-up prompts go to standard output.
    bool verbose = false;
    // --lang: the language of this run, over the saved one, which stays.
    std::optional<std::string> askedLanguage;
    // On a real display, the first start asks whether to turn the alarms on.
    bool offerAlarms = false;
    // A command run once the window shows, or in the copy already running
    // (--adhan-settings: kIdAdhan); 0 for none.
    int startCommand = 0;
    // The gazetteer, read when a search first needs it; why it could not be.
    std::optional<Gazetteer> gazetteer;
    std::string gazetteerError;
};

// The process entry: 0 when start-up fails, else the quit code.
int RunApplication(App& app, int showCommand);
// Start-up, in order; false for a second copy or a window that cannot be made.
bool StartApplication(App& app, int showCommand);
// Reads data.cfg and takes the local date and time into the observation.
void LoadInitialState(App& app);
// The desktop's local time as the town's: a town whose zone the zone database
// knows lives by that zone's clock; any other by the desktop's.
LocalTime TownTime(const LocalTime& desktop, const CurrentPlace& place);
// The clock read once, as the selected town's time.
LocalTime TownNow(const App& app);
// settings.ini's [Window] LastTown: the town chosen last, "Country/Name".
inline constexpr const char* kWindowSettingsKey = "Window";
inline constexpr const char* kLastTownValue = "LastTown";
// Remembers the selected town as the one chosen last (data.cfg is not written).
void RememberLastTown(App& app);
// Selects the town chosen last when the tables still hold it.
void RestoreLastTown(App& app);

// The town's moment `now` shown by the date and time pickers.
void SetPickers(App& app, const LocalTime& now);
// The selected town's moment `now` into the observation and the pickers, and
// the day's schedule for it.
void TakeTownNow(App& app, const LocalTime& now);
// Runs the application's reader of data.cfg (in the program's folder) on the
// tables and the current place; its result is not looked at.
void ReadApplicationConfig(App& app);
// Reads data.cfg again into fresh tables and place; when the read fails (the
// reader shows why) the window keeps what it had. True when read.
bool ReloadApplicationConfig(App& app);

// The day's schedule for the town and the observation's date.
void Recompute(App& app);

// Reminders, iqama and Jumu'ah from the settings, into the engine's records.
void ReadPrayerSettings(App& app);
// PreparePage for the page shown, with the pickers' date and time: called
// whenever the whole window is to be painted again.
void PrepareShownPage(App& app);
// The one-second timer: redraws the Home page's clock strip; when the town's
// date has moved on and the user is not exploring another moment, the window
// takes the new day (observation, pickers, schedule) and is drawn again.
void ClockTick(App& app, Window& window, int timerId);

// The cached logical resolution (-1 when the screen could not be asked).
int DpiX(App& app);
int DpiY(App& app);
// A 96-DPI length in pixels at the cached resolution (ScaleForDpi).
int ScaleX(App& app, int v);
int ScaleY(App& app, int v);

// The data.cfg the window reads and saves.
std::string ConfigPath(const App& app);

}  // namespace orvano
