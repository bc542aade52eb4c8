#include "app/layout.h"

#include <utility>

namespace orvano {

namespace {

// trunc(v): a double to an integer, toward zero.
int Trunc(double v) {
    return static_cast<int>(v);
}

// The Compute page's columns as fractions of the centre abscissa.
constexpr std::array<double, kLayoutRows> kColumnFactors = {
    0.19999999999999998, 0.5333333333333333, 0.8666666666666667, 1.2,
    1.5333333333333332,  1.8666666666666665};

constexpr std::uint32_t kEveryPageButHome = PageBit(1) | PageBit(2) | PageBit(3) | PageBit(4);
constexpr std::uint32_t kEveryPageButAbout = PageBit(0) | PageBit(1) | PageBit(2) | PageBit(3);
constexpr std::uint32_t kCompute = PageBit(2);
constexpr std::uint32_t kConfiguration = PageBit(3);
constexpr std::uint32_t kAbout = PageBit(4);

// x' = left + right - x for a point; a box keeps its width and moves so
// that its right edge stands where its left edge stood.
struct Mirror {
    int left;
    int right;
    int operator()(int x) const { return left + right - x; }
    void operator()(Anchor& a) const { a.x = (*this)(a.x); }
    void operator()(Box& b) const {
        if (b.width > 0) b.x = (*this)(b.x + b.width);
    }
};

void MirrorPage(PageLayout& l) {
    const Mirror m{l.left, l.right};
    for (ControlPlace& place : l.controls) m(place.box);
    m(l.title);
    m(l.homeTown);
    m(l.homeDate);
    m(l.homeExploring);
    m(l.homeClock);
    l.homeTimeX = m(l.homeTimeX);
    l.homeNameX = m(l.homeNameX);
    l.homeIqamaX = m(l.homeIqamaX);
    m(l.homeHijri);
    // Naskh's descenders reach lower than Arial's: the Hijri date and the
    // night times' names rise a little to clear what stands below them.
    l.homeHijri.y -= l.Y(2);
    l.homeNightNameY -= l.Y(2);
    m(l.homeLegend);
    for (int& x : l.homeNightX) x = m(x);
    m(l.homeNightLegend);
    l.quiblaHeadX = m(l.quiblaHeadX);
    l.quiblaLineX = m(l.quiblaLineX);
    l.quiblaSunX = m(l.quiblaSunX);
    m(l.computeHeading);
    m(l.computeTown);
    for (int& x : l.computeColumnX) x = m(x);
    m(l.computeLegend);
    for (Anchor& a : l.configLabels) m(a);
    // Naskh's letters hang lower in their line than Arial's: the labels over
    // the four fields rise so that their descenders clear the fields.
    for (size_t i = 0; i < 4; ++i) l.configLabels[i].y -= l.Y(4);
    m(l.configStatus);
    m(l.aboutName);
    m(l.aboutRights);
    m(l.aboutPublisher);
    m(l.aboutAuthor);
    m(l.aboutVersion);
    std::swap(l.aboutRightIcon, l.aboutLeftIcon);
    for (Anchor& a : l.aboutCredits) m(a);
    l.rightToLeft = true;
}

}  // namespace

const char* SlotName(Slot slot) {
    static constexpr const char* kNames[kSlotCount] = {"previous",
                                                       "next",
                                                       "datePicker",
                                                       "timePicker",
                                                       "now",
                                                       "sunPosition",
                                                       "explore",
                                                       "calendar",
                                                       "languageList",
                                                       "townList",
                                                       "modify",
                                                       "add",
                                                       "save",
                                                       "countryField",
                                                       "townField",
                                                       "latitudeField",
                                                       "longitudeField",
                                                       "timeZoneList",
                                                       "dstList",
                                                       "conventionList",
                                                       "help",
                                                       "checkVersion",
                                                       "zoneChooser",
                                                       "methodButton",
                                                       "findButton",
                                                       "delete",
                                                       "nightToggle",
                                                       "adhanButton"};
    const auto index = static_cast<size_t>(slot);
    return index < kSlotCount ? kNames[index] : "";
}

PageLayout MakeLayout(const Rect& client, int dpiX, int dpiY, bool rightToLeft) {
    PageLayout l;
    l.dpiX = dpiX;
    l.dpiY = dpiY;
    l.left = client.left;
    l.right = client.right;
    l.W = client.right - client.left;
    l.cx = (client.right - client.left) / 2;
    l.bottom = client.bottom;
    l.H = l.Y(kLayoutContentHeight);
    l.B = client.top + l.H;
    const double w = l.W;
    auto X = [&l](int v) { return l.X(v); };
    auto Y = [&l](int v) { return l.Y(v); };
    const int leftX = Trunc(w * 0.25 - X(50));
    const int rightX = Trunc(w * 0.75 - X(50));

    auto place = [&l](Slot slot, int x, int y, int width, int height, std::uint32_t pages) {
        l.controls[static_cast<size_t>(slot)] = ControlPlace{Box{x, y, width, height}, pages};
    };
    // The arrows sit on the client's real bottom, below every page's contents.
    const int arrowY = l.bottom - Y(40);
    place(Slot::Previous, l.left + X(5), arrowY, X(64), Y(32), kEveryPageButHome);
    place(Slot::Next, l.right - X(69), arrowY, X(64), Y(32), kEveryPageButAbout);
    place(Slot::DatePicker, l.cx - X(110), Y(30), X(220), Y(25), kCompute);
    place(Slot::TimePicker, leftX, Y(60), X(100), Y(25), kCompute);
    place(Slot::Now, Trunc(w * 0.75 - X(45)), Y(60), X(90), Y(25), kCompute);
    place(Slot::SunPosition, l.cx - X(60), Y(115), X(120), Y(25), kCompute);
    place(Slot::Explore, Trunc(w * 0.25 - X(35)), Y(155), X(70), Y(25), kCompute);
    place(Slot::Calendar, Trunc(w * 0.75 - X(35)), Y(155), X(70), Y(25), kCompute);
    place(Slot::LanguageList, leftX, Y(10), X(70), Y(50), kConfiguration);
    place(Slot::TownList, Trunc(w * 0.75 - X(90)), Y(10), X(140), Y(150), kConfiguration);
    // The four buttons leave a row above them for the zone and the search.
    const auto button = [&](int i) { return l.left + X(4) + i * X(58); };
    place(Slot::Modify, button(0), Y(212), X(54), Y(25), kConfiguration);
    place(Slot::Add, button(1), Y(212), X(54), Y(25), kConfiguration);
    place(Slot::Delete, button(2), Y(212), X(54), Y(25), kConfiguration);
    place(Slot::Save, button(3), Y(212), X(54), Y(25), kConfiguration);
    place(Slot::CountryField, leftX, Y(55), X(100), Y(20), kConfiguration);
    place(Slot::TownField, rightX, Y(55), X(100), Y(20), kConfiguration);
    place(Slot::LatitudeField, leftX, Y(95), X(100), Y(20), kConfiguration);
    place(Slot::LongitudeField, rightX, Y(95), X(100), Y(20), kConfiguration);
    place(Slot::TimeZoneList, Trunc(X(12) + w * 0.25), Y(120), X(38), Y(150), kConfiguration);
    place(Slot::DstList, Trunc(X(12) + w * 0.75), Y(120), X(38), Y(80), kConfiguration);
    // Beside its label rather than on it, and the catalogue's methods beside it.
    place(Slot::ConventionList, Trunc(w * 0.25 + X(35)), Y(150), X(70), Y(150), kConfiguration);
    place(Slot::MethodButton, Trunc(w * 0.75 - X(12)), Y(150), X(64), Y(25), kConfiguration);
    place(Slot::Help, l.cx - X(30), Y(150), X(60), Y(25), kAbout);
    place(Slot::CheckVersion, l.cx - X(75), Y(180), X(150), Y(25), kAbout);
    place(Slot::ZoneChooser, leftX, Y(180), X(135), Y(150), kConfiguration);
    place(Slot::FindButton, Trunc(w * 0.75 - X(30)), Y(180), X(80), Y(25), kConfiguration);
    // Where Previous stands on the other pages.
    place(Slot::NightToggle, l.left + X(5), arrowY, X(64), Y(32), PageBit(0));
    // Where Next stands on the other pages.
    place(Slot::AdhanButton, l.right - X(69), arrowY, X(64), Y(32), kAbout);

    // The title sits between the arrows, level with them.
    l.title = Anchor{l.cx, l.bottom - Y(32)};
    l.textMargin = X(2);

    l.homeTown = Anchor{l.cx, Y(70) - 3 * Y(20)};
    l.homeDate = Anchor{l.cx, Y(70) - 2 * Y(20)};
    l.homeClock = Anchor{l.cx, Y(70) - Y(24)};
    // On the clock's row, right of it: a long date line would run into it on its own row.
    l.homeExploring = Anchor{Trunc(w * 0.9), l.homeClock.y};
    l.homeTimeX = l.cx;
    l.homeNameX = Trunc(w * 0.1);
    l.homeImageX = Trunc(w * 0.75);
    for (int i = 0; i < kLayoutRows; ++i) {
        const auto row = static_cast<size_t>(i);
        l.homeTimeY[row] = Y(66) + i * Y(24);
        l.homeNameY[row] = Y(70) + i * Y(24);
        l.homeImageY[row] = Y(70) + i * Y(24);
        l.homeIqamaY[row] = Y(72) + i * Y(24);
    }
    l.homeIqamaX = Trunc(w * 0.62);
    // Below the six rows: the Hijri date on a row of its own, then the icon,
    // which the night times replace when they are shown.
    l.homeHijri = Anchor{l.cx, Y(208)};
    l.homeMoon = Anchor{Trunc(w * 0.5 - X(16)), l.B - Y(42)};
    l.homeLegend = Anchor{X(5), l.homeMoon.y + Y(10)};
    l.homeNightX = {Trunc(w * 0.2), l.cx, Trunc(w * 0.8)};
    l.homeNightNameY = Y(225);
    l.homeNightTimeY = Y(238);
    l.homeNightLegend = Anchor{X(5), Y(251)};

    // The compass stands clear above the text block.
    l.compassCx = l.cx;
    l.compassCy = l.H * 0.1 + 75.0 - Y(20);
    l.quiblaBase = l.H * 0.11 + 150.0;
    l.quiblaStep = Y(20);
    l.quiblaHeadX = X(5);
    l.quiblaLineX = X(10);
    l.quiblaSunX = X(30);

    l.computeHeading = Anchor{l.cx, Y(10)};
    l.computeTown = Anchor{l.cx, Y(90)};
    for (size_t i = 0; i < kColumnFactors.size(); ++i) {
        l.computeColumnX[i] = Trunc(l.cx * kColumnFactors[i]);
    }
    l.computeNameY = Y(200);
    l.computeTimeY = Y(220);
    l.computeLegend = Anchor{l.cx, Y(240)};

    l.configLabels = {Anchor{leftX, Y(40)},  Anchor{rightX, Y(40)}, Anchor{leftX, Y(80)},
                      Anchor{rightX, Y(80)}, Anchor{leftX, Y(120)}, Anchor{rightX, Y(120)},
                      Anchor{leftX, Y(150)}};

    l.configStatus = Anchor{l.cx, Y(241)};

    l.aboutName = Anchor{l.cx, Y(30)};
    l.aboutRights = Anchor{l.cx, Y(60)};
    l.aboutPublisher = Anchor{l.cx, Y(80)};
    l.aboutAuthor = Anchor{l.cx, Y(100)};
    l.aboutVersion = Anchor{l.cx, Y(120)};
    l.aboutRightIcon = Anchor{Trunc(1.7 * l.cx - X(16)), Y(20)};
    l.aboutLeftIcon = Anchor{Trunc(0.3 * l.cx - X(16)), Y(20)};
    for (size_t i = 0; i < l.aboutCredits.size(); ++i) {
        l.aboutCredits[i] = Anchor{l.cx, Y(210) + static_cast<int>(i) * Y(14)};
    }
    if (rightToLeft) MirrorPage(l);
    return l;
}

const char* DialogSlotName(DialogSlot slot) {
    static constexpr const char* kNames[kDialogSlotCount] = {
        "prompt",          "searchField",     "results",
        "ruleLabel",       "ruleList",        "ok",
        "cancel",          "adhanFileLabel",  "adhanFile",
        "fajrFileLabel",   "fajrFile",        "reminderFileLabel",
        "reminderFile",    "volumeLabel",     "volume",
        "reminderHeading", "iqamaHeading",    "fajrLabel",
        "zuhrLabel",       "asrLabel",        "maghribLabel",
        "ishaLabel",       "reminderFajr",    "reminderZuhr",
        "reminderAsr",     "reminderMaghrib", "reminderIsha",
        "iqamaFajr",       "iqamaZuhr",       "iqamaAsr",
        "iqamaMaghrib",    "iqamaIsha",       "jumuahLabel",
        "jumuahSwitch",    "jumuahTimeLabel", "jumuahTime",
        "jumuahIqama"};
    const auto index = static_cast<size_t>(slot);
    return index < kDialogSlotCount ? kNames[index] : "";
}

DialogLayout MakeDialogLayout(int dpiX, int dpiY, bool withRule, bool rightToLeft) {
    auto X = [dpiX](int v) { return ScaleForDpi(v, dpiX); };
    auto Y = [dpiY](int v) { return ScaleForDpi(v, dpiY); };
    DialogLayout d;
    d.width = X(300);
    // The rule's row sits between the results and the buttons.
    const int buttonsY = withRule ? 252 : 220;
    d.height = Y(buttonsY + 35);
    auto place = [&d](DialogSlot slot, Box box) { d.boxes[static_cast<size_t>(slot)] = box; };
    place(DialogSlot::Prompt, Box{X(10), Y(8), X(280), Y(18)});
    place(DialogSlot::SearchField, Box{X(10), Y(28), X(280), Y(24)});
    place(DialogSlot::Results, Box{X(10), Y(58), X(280), Y(152)});
    if (withRule) {
        place(DialogSlot::RuleLabel, Box{X(10), Y(221), X(130), Y(18)});
        place(DialogSlot::RuleList, Box{X(145), Y(218), X(145), Y(80)});
    }
    place(DialogSlot::Ok, Box{X(130), Y(buttonsY), X(75), Y(25)});
    place(DialogSlot::Cancel, Box{X(215), Y(buttonsY), X(75), Y(25)});
    if (rightToLeft) {
        const Mirror m{0, d.width};
        for (Box& box : d.boxes) m(box);
    }
    return d;
}

DialogLayout MakeAdhanDialogLayout(int dpiX, int dpiY, bool rightToLeft) {
    auto X = [dpiX](int v) { return ScaleForDpi(v, dpiX); };
    auto Y = [dpiY](int v) { return ScaleForDpi(v, dpiY); };
    DialogLayout d;
    d.width = X(480);
    // Three columns: the names, the reminders (and Jumu'ah's switch and
    // time), the iqamas; a field's label sits 3 units lower than its field.
    constexpr int kNameX = 10;
    constexpr int kNameWidth = 125;
    constexpr int kMiddleX = 140;
    constexpr int kMiddleWidth = 100;
    constexpr int kRightX = 250;
    // Wide enough for the iqama heading, which says what the fields take.
    constexpr int kRightWidth = 220;
    constexpr int kRowStep = 28;
    auto place = [&d](DialogSlot slot, Box box) { d.boxes[static_cast<size_t>(slot)] = box; };
    auto row = [&](DialogSlot label, DialogSlot field, int y, int fieldX, int fieldWidth) {
        place(label, Box{X(kNameX), Y(y + 3), X(kNameWidth), Y(18)});
        place(field, Box{X(fieldX), Y(y), X(fieldWidth), Y(24)});
    };
    constexpr int kFileWidth = kRightX + kRightWidth - kMiddleX;
    row(DialogSlot::AdhanFileLabel, DialogSlot::AdhanFile, 8, kMiddleX, kFileWidth);
    row(DialogSlot::FajrFileLabel, DialogSlot::FajrFile, 8 + kRowStep, kMiddleX, kFileWidth);
    row(DialogSlot::ReminderFileLabel, DialogSlot::ReminderFile, 8 + 2 * kRowStep, kMiddleX,
        kFileWidth);
    row(DialogSlot::VolumeLabel, DialogSlot::Volume, 8 + 3 * kRowStep, kMiddleX, 60);
    constexpr int kHeadingY = 8 + 4 * kRowStep + 6;
    place(DialogSlot::ReminderHeading, Box{X(kMiddleX), Y(kHeadingY), X(kMiddleWidth), Y(18)});
    place(DialogSlot::IqamaHeading, Box{X(kRightX), Y(kHeadingY), X(kRightWidth), Y(18)});
    int y = kHeadingY + 22;
    for (int i = 0; i < kDialogPrayers; ++i, y += kRowStep) {
        row(PrayerRowSlot(DialogSlot::PrayerLabel, i), PrayerRowSlot(DialogSlot::Reminder, i), y,
            kMiddleX, kMiddleWidth);
        place(PrayerRowSlot(DialogSlot::Iqama, i), Box{X(kRightX), Y(y), X(kRightWidth), Y(24)});
    }
    y += 6;
    row(DialogSlot::JumuahLabel, DialogSlot::JumuahSwitch, y, kMiddleX, kMiddleWidth);
    // A drop-down list stands taller than a field in some fonts.
    y += kRowStep + 6;
    row(DialogSlot::JumuahTimeLabel, DialogSlot::JumuahTime, y, kMiddleX, kMiddleWidth);
    place(DialogSlot::JumuahIqama, Box{X(kRightX), Y(y), X(kRightWidth), Y(24)});
    const int buttonsY = y + 38;
    d.height = Y(buttonsY + 35);
    place(DialogSlot::Ok, Box{X(305), Y(buttonsY), X(75), Y(25)});
    place(DialogSlot::Cancel, Box{X(395), Y(buttonsY), X(75), Y(25)});
    if (rightToLeft) {
        const Mirror m{0, d.width};
        for (Box& box : d.boxes) m(box);
    }
    return d;
}

}  // namespace orvano
