#include "today/plugin.h"

#include <cmath>
#include <string>
#include <vector>

#include "astro/angle_text.h"
#include "engine/schedule.h"
#include "language/digits.h"
#include "language/languages.h"
#include "language/messages.h"
#include "platform/app_id.h"
#include "platform/language.h"
#include "platform/setting_text.h"
#include "platform/text_fit.h"
#include "platform/user_files.h"
#include "today/plugin_reader.h"
#include "today/town_time.h"

namespace orvano {

namespace {

// The town's local time: the desktop's, or the same instant in the town's zone.
LocalTime Now(const TodayPlugin& plugin) {
    return TownNow(plugin.services.clock->Now(), plugin.item.engine.place);
}

int ReadConfig(TodayPlugin& plugin) {
    return ReadPluginConfig(plugin.configPath, plugin.item.engine, *plugin.services.messages,
                            plugin.getLog);
}

void InvalidateItem(TodayPlugin& plugin, const Rect* area) {
    if (plugin.ItemWindow != nullptr) {
        plugin.services.windows->Invalidate(plugin.ItemWindow, area, true);
    }
}

// The window's settings, read again at every paint: a rule, a Hijri
// adjustment, Imsak's minutes or its alarm switch, a reminder, an iqama,
// Jumu'ah or the language changed there recompute the day and set its alarms
// again.
void ReadWindowSettings(TodayPlugin& plugin) {
    EngineState& engine = plugin.item.engine;
    SettingsStore& settings = *plugin.services.settings;
    const std::optional<HighLatitudeRule> rule =
        ParseHighLatitudeRule(ReadHighLatitudeRuleText(settings));
    const HijriNightSettings night = ReadHijriNightSettings(settings);
    const PrayerExtras extras = ReadPrayerExtras(SettingTextReader(settings));
    const std::string language = LanguageOfSettings(settings).code;
    if (rule == engine.highLatitudeRule && night.hijriAdjust == engine.hijriAdjust &&
        night.imsakMinutes == engine.imsakMinutes && night.imsakAlarm == plugin.item.ImsakAlarm &&
        extras == plugin.item.extras && language == plugin.item.language)
        return;
    engine.highLatitudeRule = rule;
    engine.hijriAdjust = night.hijriAdjust;
    engine.imsakMinutes = night.imsakMinutes;
    plugin.item.extras = extras;
    plugin.item.ImsakAlarm = night.imsakAlarm;
    // A language chosen in the window since is the strip's from now on.
    if (language != plugin.item.language) UseLanguage(language);
    plugin.item.language = language;
    plugin.item.scheduleDate = {};
}

// The notification service reports to no one; without this line a store that
// cannot be written would leave the user without alarms and without a trace.
void RefreshDay(TodayPlugin& plugin) {
    const int failed = DailyRefresh(plugin.item, Now(plugin), *plugin.services.notifications);
    if (failed > 0 && plugin.getLog) {
        plugin.getLog().Write("Cannot set %d prayer alarm(s)", failed);
    }
}

void ClearCache(TodayPlugin& plugin) {
    // On a failed read the reader has shown its box; the schedule, the alarms
    // and the remembered date stay as they were.
    if (ReadConfig(plugin) != kReadOk) return;
    TodayItemState& item = plugin.item;
    ReadWindowSettings(plugin);
    item.scheduleDate = {};
    item.Blinking = false;
    item.BlinkColourIndex = 0;
    RefreshDay(plugin);
    InvalidateItem(plugin, nullptr);
}

void StoreDisplayMode(TodayPlugin& plugin) {
    if (auto key = plugin.services.settings->OpenKey(kTodaySettingsKey)) {
        key->WriteByte(kShowLabelsValueName, plugin.item.ShowLabels ? 1 : 0);
    }
}

}  // namespace

void ReadAlarmSwitches(SettingsStore& settings, std::array<std::uint8_t, kPrayerCount>& switches) {
    auto key = settings.OpenKey(kTodaySettingsKey);
    if (!key) return;
    for (std::size_t i = 0; i < kShownPrayers.size(); ++i) {
        const auto value = key->ReadByte(kAlarmValueNames[i]);
        if (value) switches[static_cast<std::size_t>(kShownPrayers[i])] = *value;
    }
}

bool PluginLoad(TodayPlugin& plugin, const void* instance, const std::string& libraryPath,
                const TodayHostServices& services) {
    plugin.services = services;
    plugin.libraryPath = libraryPath;
    // The strip speaks the window's language.
    const std::string language = LanguageOfSettings(*services.settings).code;
    UseLanguage(language);
    TodayItemState& item = plugin.item;
    item.RightToLeft = IsRightToLeft(language);
    item.Digits = ReadDigitStyle(*services.settings);
    item.engine.tables.NumberOfTowns = 0;
    item.engine.traceSink = nullptr;
    if (ReadConfig(plugin) != kReadOk) return false;
    ResetItemState(item);
    ReadAlarmSwitches(*services.settings, item.AlarmSwitches);
    if (auto key = services.settings->OpenKey(kTodaySettingsKey)) {
        if (const auto rows = key->ReadByte(kShowLabelsValueName)) item.ShowLabels = *rows != 0;
    }
    ReadWindowSettings(plugin);
    plugin.Instance = instance;
    item.DpiY = services.screen->LogicalDpiY();
    item.DpiX = services.screen->LogicalDpiX();
    item.HighResolution = item.DpiY == 192;
    if (item.HighResolution) {
        plugin.iconWidth = plugin.iconHeight = 0;
    } else {
        plugin.iconWidth = ((item.DpiX + 3) * 16) / 96;
        plugin.iconHeight = ((item.DpiY + 3) * 16) / 96;
    }
    plugin.iconLoaded = true;
    return true;
}

void PluginUnload(TodayPlugin& plugin) {
    plugin.iconLoaded = false;
    if (plugin.services.windows != nullptr) {
        plugin.services.windows->UnregisterWindowClass(kItemClassName, plugin.Instance);
    }
    plugin.Instance = nullptr;
}

TodayWindow* PluginCreateItem(TodayPlugin& plugin, TodayItemDescriptor* descriptor,
                              TodayWindow* parent) {
    TodayWindowSystem& windows = *plugin.services.windows;
    if (!windows.IsClassRegistered(kItemClassName, plugin.Instance) &&
        !windows.RegisterWindowClass(kItemClassName, plugin.windowProc, plugin.Instance)) {
        return nullptr;
    }
    plugin.ItemWindow =
        windows.CreateChildWindow(kItemClassName, "Orvano", parent, plugin.Instance);
    if (plugin.ItemWindow != nullptr && descriptor != nullptr && descriptor->enabled != 0) {
        windows.ShowWindow(plugin.ItemWindow);
    }
    return plugin.ItemWindow;
}

namespace {

// The host's messages carry their pointers in the integer parameter.
template <typename T>
T* MessagePointer(std::uintptr_t parameter) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the message protocol passes pointers as integers.
    return reinterpret_cast<T*>(parameter);
}

// Where the town's line starts: at the left, or at the right when mirrored.
TextAlign StartOf(const TodayItemState& item) {
    return item.RightToLeft ? TextAlign::Right : TextAlign::Left;
}

void DrawItemIcon(const TodayPlugin& plugin, Surface& surface) {
    if (!plugin.iconLoaded) return;
    const IconId icon = surface.LoadIcon(kItemIconResource, plugin.iconWidth, plugin.iconHeight);
    if (!icon) return;
    surface.DrawIcon(icon, plugin.item.layout.iconHitRect.left, 0);
    surface.ReleaseIcon(icon);
}

// One column per shown prayer, the highlighted ones in the blink colour.
// Returns whether any time shown is an estimate.
bool DrawPrayerColumns(const TodayItemState& item, Surface& surface, const Colour& text,
                       const Colour& background) {
    // A blink colour that would melt into the strip is lightened until it shows.
    const Colour blink = LegibleOn(BlinkColour(item.BlinkColourIndex), background);
    bool estimated = false;
    for (std::size_t column = 0; column < kShownPrayers.size(); ++column) {
        const auto prayer = static_cast<std::size_t>(kShownPrayers[column]);
        surface.SetTextColour(item.Highlighted[prayer] ? blink : text);
        const ShownColumn shown = ShownColumnOf(item, kShownPrayers[column]);
        if (item.ShowLabels) {
            surface.DrawTextInRect(item.layout.labelRects[column],
                                   Tr("prayer", shown.label.c_str()), TextAlign::Centre);
        }
        estimated = estimated || shown.estimated;
        surface.DrawTextInRect(item.layout.valueRects[column],
                               ShownDigits(shown.value, LanguageInUse(), item.Digits),
                               TextAlign::Centre);
    }
    return estimated;
}

// Returns the town's whole text when it had to be shortened, else "".
std::string DrawTownColumn(const TodayItemState& item, Surface& surface, const Colour& text,
                           bool estimated) {
    surface.SetTextColour(text);
    if (item.ShowLabels)
        surface.DrawTextInRect(item.layout.labelRects[kTownColumn], Tr("Town"), StartOf(item));
    // The legend of an estimated time follows the town's name.
    std::string town = item.engine.place.Name;
    if (estimated) {
        town += "  ";
        town += EstimateLegendText(HighLatitudeRuleOf(item.engine));
    }
    // A name too long for its place ends with "…" rather than being cut mid-letter.
    const Rect& place = item.layout.valueRects[kTownColumn];
    const int room = place.width();
    const std::string shown = ElideToFit(town, [&surface, room](const std::string& candidate) {
        const std::optional<int> width = surface.TextWidth(candidate);
        return !width || *width <= room;
    });
    surface.DrawTextInRect(place, shown, StartOf(item));
    return shown == town ? std::string() : town;
}

}  // namespace

void PaintItem(TodayPlugin& plugin, Surface& surface) {
    TodayItemState& item = plugin.item;
    TodayWindowSystem& windows = *plugin.services.windows;
    ReadWindowSettings(plugin);
    RefreshDay(plugin);

    surface.SetTransparentBackground();
    const Rect client = windows.ClientRect(plugin.ItemWindow);
    if (item.LayoutPending) {
        item.LayoutPending = false;
        ComputeItemLayout(item.DpiX, item.DpiY, client.right, item.ShowLabels, item.layout,
                          item.RightToLeft);
    }
    DrawItemIcon(plugin, surface);
    // 8 points, bold, in the system font: the height is the font formula's
    // truncation of dpi * 8 / 72 + 0.5, not a rounding to nearest.
    FontSpec spec;
    spec.face = kSystemFontFace;
    spec.height = -static_cast<int>(std::trunc(surface.LogicalDpiY() / 9.0 + 0.5));
    spec.weight = 700;
    const FontId font = surface.CreateFont(spec);
    const FontId previous = surface.SelectFont(font);

    TodayWindow* parent = windows.ParentOf(plugin.ItemWindow);
    const Colour text = UnpackColour(static_cast<std::uint32_t>(
        windows.SendMessageTo(parent, kMsgGetColour, kColourTodayText, 0)));
    const Colour background = UnpackColour(static_cast<std::uint32_t>(
        windows.SendMessageTo(parent, kMsgGetColour, kColourTodayBackground, 0)));
    const bool estimated = DrawPrayerColumns(item, surface, text, background);
    // A shortened name is whole in the tooltip over it.
    windows.SetAreaTip(plugin.ItemWindow, item.layout.valueRects[kTownColumn],
                       DrawTownColumn(item, surface, text, estimated));
    surface.SelectFont(previous);
    if (font) surface.ReleaseFont(font);
}

namespace {

// The host asks the item to draw the strip's watermark behind it.
std::intptr_t EraseBackground(TodayPlugin& plugin, TodayWindow* window, Surface* surface) {
    TodayWindowSystem& windows = *plugin.services.windows;
    TodayWatermark watermark;
    watermark.surface = surface;
    watermark.rect = windows.ClientRect(window);
    watermark.window = plugin.ItemWindow;
    windows.SendMessageTo(windows.ParentOf(window), kMsgDrawWatermark, 0,
                          reinterpret_cast<std::intptr_t>(&watermark));
    return 1;
}

// A tap that switches the labels on or off is remembered for the next start.
std::intptr_t TapItem(TodayPlugin& plugin, std::intptr_t point) {
    TodayItemState& item = plugin.item;
    const bool showLabels = item.ShowLabels;
    Tap(item, PointX(point), PointY(point), *plugin.services.messages);
    if (item.ShowLabels != showLabels) StoreDisplayMode(plugin);
    return 0;
}

// The host's periodic query: 1 when it must re-size and repaint the item.
std::intptr_t AnswerRefreshQuery(TodayPlugin& plugin, TodayWindow* window,
                                 TodayItemDescriptor* descriptor) {
    if (descriptor == nullptr) return 0;
    // Read at every query, so that an adhan chosen in the window plays at the next prayer.
    plugin.item.adhan = ReadAdhanSettings(*plugin.services.settings);
    const Rect client = plugin.services.windows->ClientRect(window);
    const bool relayout = QueryRefresh(
        plugin.item, Now(plugin), client.right, descriptor->height, *plugin.services.sounds,
        [&](const Rect* area) { InvalidateItem(plugin, area); }, plugin.services.calls);
    return relayout ? 1 : 0;
}

// 1 with the answer filled in when there is a next prayer.
std::intptr_t AnswerNextPrayerQuery(TodayPlugin& plugin, TodayNextPrayer* answer) {
    if (answer == nullptr) return 0;
    const NextPrayer next = NextPrayerAfter(plugin.item, Now(plugin));
    *answer = {next.prayer, next.minuteOfDay, next.minutesLeft, next.jumuah, next.iqamaMinuteOfDay};
    return next.prayer >= 0 ? 1 : 0;
}

std::intptr_t AnswerHijriQuery(TodayPlugin& plugin, TodayHijri* answer) {
    if (answer == nullptr) return 0;
    const HijriNow now = HijriNowOf(plugin.item, Now(plugin));
    answer->date = now.date ? HijriDateText(*now.date) : std::string();
    answer->fast = now.fast;
    answer->minuteOfDay = now.minuteOfDay;
    answer->minutesLeft = now.minutesLeft;
    return now.date ? 1 : 0;
}

}  // namespace

std::intptr_t PluginWindowProc(TodayPlugin& plugin, TodayWindow* window, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case kMsgCreate:
            plugin.item.LayoutPending = true;
            return 0;
        case kMsgPaint:
            if (wParam != 0) PaintItem(plugin, *MessagePointer<Surface>(wParam));
            return 0;
        case kMsgEraseBackground:
            return EraseBackground(plugin, window, MessagePointer<Surface>(wParam));
        case kMsgLeftButtonUp:
            return TapItem(plugin, lParam);
        case kMsgClearCache:
            ClearCache(plugin);
            return 0;
        case kMsgQueryRefresh:
            return AnswerRefreshQuery(plugin, window, MessagePointer<TodayItemDescriptor>(wParam));
        case kMsgQueryNextPrayer:
            return AnswerNextPrayerQuery(plugin, MessagePointer<TodayNextPrayer>(wParam));
        case kMsgQueryHijri:
            return AnswerHijriQuery(plugin, MessagePointer<TodayHijri>(wParam));
        default:
            return 0;
    }
}

std::intptr_t PluginOptionsDialogProc(TodayPlugin& plugin, TodayDialog* dialog,
                                      std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t /*lParam*/) {
    auto& switches = plugin.item.AlarmSwitches;
    if (message == kMsgInitDialog) {
        dialog->SetUpFullScreen(5);  // done button, full-screen size
        for (std::size_t i = 0; i < kShownPrayers.size(); ++i) {
            dialog->SetCheck(kCheckAlarmFajr + static_cast<int>(i),
                             switches[static_cast<std::size_t>(kShownPrayers[i])] == 1);
        }
        return 1;
    }
    if (message != kMsgCommand) return 0;
    const int id = static_cast<int>(wParam & 0xFFFF);
    if (id == kDialogDone) {
        for (std::size_t i = 0; i < kShownPrayers.size(); ++i) {
            switches[static_cast<std::size_t>(kShownPrayers[i])] =
                dialog->IsChecked(kCheckAlarmFajr + static_cast<int>(i)) ? 1 : 0;
        }
        // The host makes the key at start-up; without it nothing is stored.
        if (auto key = plugin.services.settings->OpenKey(kTodaySettingsKey)) {
            for (std::size_t i = 0; i < kShownPrayers.size(); ++i) {
                key->WriteByte(kAlarmValueNames[i],
                               switches[static_cast<std::size_t>(kShownPrayers[i])]);
            }
        }
        dialog->EndDialog(1);
        return 1;
    }
    if (id == kButtonOrvano || id == kButtonAdhan) {
        std::vector<std::string> arguments;
        if (id == kButtonAdhan) arguments.emplace_back(kAdhanSettingsOption);
        plugin.services.shell->StartProgram(InstalledProgramOfPlugin(plugin.libraryPath, "orvano"),
                                            arguments);
        return 1;
    }
    return 0;
}

}  // namespace orvano
