// Where everything sits on the window's five pages: the child controls and the
// painted items, computed once from the client rectangle and the screen's
// resolution. The controls, the painting and the tests all read this one table.
//
// The pages' contents are laid out in a 268-unit-high area (96-DPI units); the
// client is 300 units high so that the arrow buttons, with the page title
// between them, sit below the contents instead of on them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/geometry.h"
#include "platform/screen.h"

namespace orvano {

inline constexpr int kLayoutClientWidth = 240;    // 96-DPI units
inline constexpr int kLayoutClientHeight = 300;   // the window's client
inline constexpr int kLayoutContentHeight = 268;  // what page contents are computed from

// Every place a control has on the pages, in creation order: the window's
// first 22 controls, then the Configuration page's later ones.
enum class Slot : int {
    Previous,
    Next,
    DatePicker,
    TimePicker,
    Now,
    SunPosition,
    Explore,
    Calendar,
    LanguageList,
    TownList,
    Modify,
    Add,
    Save,
    CountryField,
    TownField,
    LatitudeField,
    LongitudeField,
    TimeZoneList,
    DstList,
    ConventionList,
    Help,
    CheckVersion,
    ZoneChooser,   // Configuration page: the town's named time zone
    MethodButton,  // opens the method dialog: catalogue methods, high-latitude rule
    FindButton,    // opens the gazetteer's search
    Delete,        // deletes the selected town
    NightToggle,   // Home page: shows or hides the night times
    AdhanButton,   // About page, where Next stands on the others: the adhan dialog
};
inline constexpr int kSlotCount = 28;
// The window's first controls, made from one table (ControlSpecs).
inline constexpr int kMadeSlotCount = 22;

// Pages as bits of a mask.
inline constexpr std::uint32_t PageBit(int page) {
    return std::uint32_t{1} << page;
}

struct ControlPlace {
    Box box;
    std::uint32_t pages = 0;  // PageBit of every page that shows it
};

struct Anchor {
    int x = 0;
    int y = 0;
    friend bool operator==(const Anchor&, const Anchor&) = default;
};

inline constexpr int kLayoutRows = 6;  // the six times

struct PageLayout {
    // The client and the scale.
    int W = 0;       // client width
    int H = 0;       // contents' height: ScaleY(268)
    int B = 0;       // contents' bottom: client top + H
    int bottom = 0;  // the client's real bottom
    int left = 0;
    int right = 0;
    int cx = 0;  // (right - left) / 2
    int dpiX = 96;
    int dpiY = 96;
    int X(int v) const { return ScaleForDpi(v, dpiX); }
    int Y(int v) const { return ScaleForDpi(v, dpiY); }

    std::array<ControlPlace, kSlotCount> controls{};
    const ControlPlace& at(Slot slot) const { return controls[static_cast<size_t>(slot)]; }

    // Every page: its title, centred between the arrow buttons.
    Anchor title;
    // Margin kept free at the window's sides when a long text is shortened.
    int textMargin = 0;
    // Mirrored for a language written right to left: the x of every text
    // said "left" below is then its right edge.
    bool rightToLeft = false;

    // Home.
    Anchor homeTown;       // centred
    Anchor homeDate;       // centred
    Anchor homeExploring;  // centred "(!)"
    Anchor homeClock;      // centred
    int homeTimeX = 0;     // centred
    std::array<int, kLayoutRows> homeTimeY{};
    int homeNameX = 0;  // left
    std::array<int, kLayoutRows> homeNameY{};
    int homeImageX = 0;
    std::array<int, kLayoutRows> homeImageY{};
    // The iqama, when set, small beside its time (left).
    int homeIqamaX = 0;
    std::array<int, kLayoutRows> homeIqamaY{};
    Anchor homeHijri;   // centred, on its own row under the six times
    Anchor homeMoon;    // the program's icon, top-left
    Anchor homeLegend;  // left of the icon: the estimated times' legend, short
    // The night times, when shown, in the icon's place: three columns, each a
    // name over a time (centred), and the legend under them.
    std::array<int, 3> homeNightX{};
    int homeNightNameY = 0;
    int homeNightTimeY = 0;
    Anchor homeNightLegend;

    // Quibla: the compass centre and the text block.
    double compassCx = 0;
    double compassCy = 0;
    double quiblaBase = 0;  // y of the "from North" line before truncation
    int quiblaStep = 0;
    int quiblaHeadX = 0;  // "Quibla:" and "Sun from North:"
    int quiblaLineX = 0;  // the two bearings
    int quiblaSunX = 0;   // the Sun's time and bearing

    // Compute.
    Anchor computeHeading;  // centred
    Anchor computeTown;     // centred
    std::array<int, kLayoutRows> computeColumnX{};
    int computeNameY = 0;
    int computeTimeY = 0;
    Anchor computeLegend;  // centred under the times: the estimated times' legend

    // Configuration labels, left aligned, in painting order: country, town,
    // latitude, longitude, time zone, DST, convention.
    std::array<Anchor, 7> configLabels{};
    // Centred under the buttons: what Save or Modify just did.
    Anchor configStatus;

    // About, all centred but the icons.
    Anchor aboutName;
    Anchor aboutRights;
    Anchor aboutPublisher;
    Anchor aboutAuthor;
    Anchor aboutVersion;
    Anchor aboutRightIcon;
    Anchor aboutLeftIcon;
    // Centred under the buttons: where the gazetteer's places come from.
    std::array<Anchor, 3> aboutCredits{};
};

// The slot's name as the tools and tests print it ("previous", "zoneChooser"...).
const char* SlotName(Slot slot);

// The window's dialogs: a search field over a list of results, and for the
// method the high-latitude rule under them; the adhan and reminders, a grid
// of fields with a row per prayer.
inline constexpr int kDialogPrayers = 5;  // Fajr, Zuhr, Asr, Maghrib, Isha
enum class DialogSlot : int {
    Prompt,
    SearchField,
    Results,
    RuleLabel,
    RuleList,
    Ok,
    Cancel,
    AdhanFileLabel,
    AdhanFile,
    FajrFileLabel,
    FajrFile,
    ReminderFileLabel,
    ReminderFile,
    VolumeLabel,
    Volume,
    ReminderHeading,
    IqamaHeading,
    PrayerLabel,                              // one per prayer, Fajr first
    Reminder = PrayerLabel + kDialogPrayers,  // one per prayer
    Iqama = Reminder + kDialogPrayers,        // one per prayer
    JumuahLabel = Iqama + kDialogPrayers,
    JumuahSwitch,
    JumuahTimeLabel,
    JumuahTime,
    JumuahIqama,
};
inline constexpr int kDialogSlotCount = static_cast<int>(DialogSlot::JumuahIqama) + 1;

// The slot `prayer` rows below `first` (PrayerLabel, Reminder or Iqama).
inline constexpr DialogSlot PrayerRowSlot(DialogSlot first, int prayer) {
    return static_cast<DialogSlot>(static_cast<int>(first) + prayer);
}

struct DialogLayout {
    int width = 0;  // the dialog's client
    int height = 0;
    // A slot the dialog does not use has an empty box.
    std::array<Box, kDialogSlotCount> boxes{};
    const Box& at(DialogSlot slot) const { return boxes[static_cast<size_t>(slot)]; }
    bool uses(DialogSlot slot) const { return at(slot).width > 0; }
};

// "prompt", "searchField", "results", "ruleLabel", "ruleList", "ok", "cancel",
// then the adhan dialog's ("adhanFile", "reminderFajr", "iqamaIsha"...).
const char* DialogSlotName(DialogSlot slot);
// The dialog at a resolution, with or without the rule's row.
DialogLayout MakeDialogLayout(int dpiX, int dpiY, bool withRule, bool rightToLeft = false);
// The adhan and reminders dialog at a resolution.
DialogLayout MakeAdhanDialogLayout(int dpiX, int dpiY, bool rightToLeft = false);

// The layout of a client rectangle at a resolution; mirrored across the
// client's middle for a language written right to left. The compass stays
// where it is and is drawn as it is: it shows directions on the ground.
PageLayout MakeLayout(const Rect& client, int dpiX, int dpiY, bool rightToLeft = false);

}  // namespace orvano
