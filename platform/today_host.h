// The Today screen host as a plug-in sees it: the item window and its
// messages, the options dialog, and the services the host process lends the
// plug-in. Shared by host/ and today/.
#pragma once

#include <cstdint>
#include <string>

#include "fileio/message_sink.h"
#include "platform/clock.h"
#include "platform/geometry.h"
#include "platform/notifications.h"
#include "platform/prayer_calls.h"
#include "platform/screen.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/surface.h"

namespace orvano {

// Messages to the item window.
inline constexpr std::uint32_t kMsgCreate = 1;
inline constexpr std::uint32_t kMsgPaint = 15;            // wParam: Surface*
inline constexpr std::uint32_t kMsgEraseBackground = 20;  // wParam: Surface*
inline constexpr std::uint32_t kMsgLeftButtonUp = 514;    // lParam: x low 16 bits, y high 16
inline constexpr std::uint32_t kMsgClearCache = 1266;
inline constexpr std::uint32_t kMsgQueryRefresh = 1267;  // wParam: TodayItemDescriptor*
// The desktop host's own question, for its tray: which prayer comes next.
inline constexpr std::uint32_t kMsgQueryNextPrayer = 1300;  // wParam: TodayNextPrayer*
// The desktop host's question for its tooltip and menu: the Hijri date now,
// its month named in the language the item speaks.
inline constexpr std::uint32_t kMsgQueryHijri = 1301;  // wParam: TodayHijri*
// Messages to the options dialog.
inline constexpr std::uint32_t kMsgInitDialog = 272;
inline constexpr std::uint32_t kMsgCommand = 273;  // wParam: command id in the low 16 bits
// Requests from the item to its parent, the host.
inline constexpr std::uint32_t kMsgGetColour = 1124;      // wParam: selector; result: 0x00BBGGRR
inline constexpr std::uint32_t kMsgDrawWatermark = 1125;  // lParam: const TodayWatermark*
inline constexpr std::uintptr_t kColourTodayText = 0x10000004;
// The strip's background where it is lightest (a host that does not know the
// selector answers 0, black).
inline constexpr std::uintptr_t kColourTodayBackground = 0x10000005;

// The first entry the host asks for: `bool AttachHost(TodayHostServices*)`
// lends the plug-in the host's services and runs its load handler; the other
// entries are given only once it has accepted the load.
inline constexpr int kExportAttachHost = 1;
inline constexpr int kExportCreateItem = 240;
inline constexpr int kExportOptionsDialog = 241;
inline constexpr int kDialogDone = 1;

class TodayWindow;  // opaque: the host's window object

// The host's record of one item.
struct TodayItemDescriptor {
    int enabled = 1;
    int height = 0;  // pixels; the item writes the height it wants
};

// The item's answer to kMsgQueryNextPrayer; prayer -1 when it has no schedule.
struct TodayNextPrayer {
    int prayer = -1;       // PrayerIndex
    int minuteOfDay = -1;  // its shown time, minutes after its day's midnight
    int minutesLeft = -1;  // from the current minute
    bool jumuah = false;   // Zuhr, announced as the Friday prayer
    int iqamaMinute = -1;  // its iqama's minute of the day when the user set one
};

// What comes next while the fast is kept: its end at Maghrib, or its start.
enum class TodayFast : int { None = 0, Iftar = 1, Imsak = 2 };

// The item's answer to kMsgQueryHijri.
struct TodayHijri {
    std::string date;  // "5 Ramadan 1445"; empty when there is none
    // In Ramadan, the next of iftar and imsak; None outside it.
    TodayFast fast = TodayFast::None;
    int minuteOfDay = -1;  // its shown time, minutes after its day's midnight
    int minutesLeft = -1;  // from the current minute
};

struct TodayWatermark {
    Surface* surface = nullptr;
    Rect rect;
    TodayWindow* window = nullptr;
};

using TodayWindowProc = std::intptr_t (*)(TodayWindow* window, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t lParam);

inline std::intptr_t PackPoint(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(x & 0xFFFF));
}
inline int PointX(std::intptr_t lParam) {
    return static_cast<std::int16_t>(lParam & 0xFFFF);
}
inline int PointY(std::intptr_t lParam) {
    return static_cast<std::int16_t>((lParam >> 16) & 0xFFFF);
}
inline std::uint32_t PackColour(Colour c) {
    return static_cast<std::uint32_t>(c.red) | (static_cast<std::uint32_t>(c.green) << 8) |
           (static_cast<std::uint32_t>(c.blue) << 16);
}
inline Colour UnpackColour(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
            static_cast<std::uint8_t>((v >> 16) & 0xFF)};
}

// Window classes and windows, as the host's window system keeps them.
class TodayWindowSystem {
  public:
    virtual ~TodayWindowSystem() = default;
    virtual bool IsClassRegistered(const std::string& className, const void* instance) = 0;
    virtual bool RegisterWindowClass(const std::string& className, TodayWindowProc proc,
                                     const void* instance) = 0;
    virtual void UnregisterWindowClass(const std::string& className, const void* instance) = 0;
    // A visible child of `parent` with zero size; the host places it. Sends
    // the create message before returning. nullptr on failure.
    virtual TodayWindow* CreateChildWindow(const std::string& className, const std::string& title,
                                           TodayWindow* parent, const void* instance) = 0;
    virtual void ShowWindow(TodayWindow* window) = 0;
    virtual TodayWindow* ParentOf(TodayWindow* window) = 0;
    virtual std::intptr_t SendMessageTo(TodayWindow* window, std::uint32_t message,
                                        std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual Rect ClientRect(TodayWindow* window) = 0;
    // The whole client area when `area` is null.
    virtual void Invalidate(TodayWindow* window, const Rect* area, bool erase) = 0;
    // The tooltip shown over `area` of the window (elsewhere the host's own);
    // an empty text shows none there.
    virtual void SetAreaTip(TodayWindow* window, const Rect& area, const std::string& text) = 0;
};

// The options dialog as its procedure sees it.
class TodayDialog {
  public:
    virtual ~TodayDialog() = default;
    virtual void SetUpFullScreen(int flags) = 0;
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;
    virtual void EndDialog(int result) = 0;
};

using TodayDialogProc = std::intptr_t (*)(TodayDialog* dialog, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t lParam);
using TodayCreateItem = TodayWindow* (*)(TodayItemDescriptor* descriptor, TodayWindow* parent);

// What the host process lends its plug-ins.
struct TodayHostServices {
    TodayWindowSystem* windows = nullptr;
    MessageSink* messages = nullptr;
    SettingsStore* settings = nullptr;
    Clock* clock = nullptr;
    Screen* screen = nullptr;
    Sounds* sounds = nullptr;
    Notifications* notifications = nullptr;
    Shell* shell = nullptr;
    PrayerCalls* calls = nullptr;  // optional: a host without it plays the named sounds
};

// The plug-in's one export: `void* OrvanoTodayExport(int number)` gives the
// entry for an export number (1, 240, 241) and nothing for any other.
inline constexpr const char* kPluginExportSymbol = "OrvanoTodayExport";
using TodayExportTable = void* (*)(int number);
using TodayAttachHost = bool (*)(TodayHostServices* services);

}  // namespace orvano
