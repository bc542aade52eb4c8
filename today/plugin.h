// The Today plug-in: load and unload, the item window and its messages, the
// paint, and the options dialog procedure. The library's entry points hand
// everything to one TodayPlugin; tests make their own with doubles.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/today_host.h"
#include "today/diagnostic_log.h"
#include "today/item_logic.h"

namespace orvano {

inline constexpr const char* kItemClassName = "OrvanoClass";
inline constexpr int kItemIconResource = 104;
inline constexpr int kCheckAlarmFajr = 1002;  // then Zuhr, Asr, Maghrib, Isha up to 1006
inline constexpr int kButtonOrvano = 1001;
inline constexpr int kButtonAdhan = 1007;  // the window, at its adhan and reminders dialog
// The display the user left the item in (1 two rows with labels, 0 one row),
// beside the alarm switches; missing means two rows.
inline constexpr const char* kShowLabelsValueName = "ShowLabels";

struct TodayPlugin {
    const void* Instance = nullptr;
    std::string libraryPath;
    std::string configPath;  // the data.cfg the item reads
    TodayHostServices services;
    std::function<DiagnosticLog&()> getLog;
    TodayWindow* ItemWindow = nullptr;
    TodayWindowProc windowProc = nullptr;  // what the class is registered with
    // The item icon's size, fixed at load; 0 x 0 is the platform's default size.
    int iconWidth = 0;
    int iconHeight = 0;
    bool iconLoaded = false;
    TodayItemState item;
};

// Process attach. False refuses the load (the reader has already said why).
bool PluginLoad(TodayPlugin& plugin, const void* instance, const std::string& libraryPath,
                const TodayHostServices& services);
// Process detach.
void PluginUnload(TodayPlugin& plugin);

// Reads the five switches; a missing value, or one not stored as one byte,
// leaves its switch as it was.
void ReadAlarmSwitches(SettingsStore& settings, std::array<std::uint8_t, kPrayerCount>& switches);

TodayWindow* PluginCreateItem(TodayPlugin& plugin, TodayItemDescriptor* descriptor,
                              TodayWindow* parent);
std::intptr_t PluginWindowProc(TodayPlugin& plugin, TodayWindow* window, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam);
std::intptr_t PluginOptionsDialogProc(TodayPlugin& plugin, TodayDialog* dialog,
                                      std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam);
void PaintItem(TodayPlugin& plugin, Surface& surface);

}  // namespace orvano
