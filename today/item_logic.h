// The Today item's state and the parts of its behaviour that need no window:
// the prayer-minute check, the blink cycle, taps, and the daily alarms.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/hijri.h"
#include "engine/iqama.h"
#include "engine/state.h"
#include "fileio/message_sink.h"
#include "language/digits.h"
#include "platform/geometry.h"
#include "platform/notifications.h"
#include "platform/prayer_calls.h"
#include "platform/settings.h"
#include "platform/sound.h"
#include "platform/today_host.h"
#include "today/layout.h"

namespace orvano {

struct ScheduleDate {
    int day = 0;
    int month = 0;
    int year = 0;
};

// A prayer's shown minute on the town's calendar, in minutes since
// 1970-01-01 00:00 there: where it blinks and rings, whichever day's
// schedule it belongs to.
struct PrayerRing {
    int prayer = -1;
    long long minute = 0;
    bool jumuah = false;                // Zuhr as the Friday prayer
    std::optional<long long> iqama;     // on the same count, when the user set one
    std::optional<long long> reminder;  // likewise
};

// One per process in the plug-in; tests make their own.
struct TodayItemState {
    std::array<std::uint8_t, kPrayerCount> AlarmSwitches{};
    bool HighResolution = false;
    bool ShowLabels = true;
    bool HeightChanged = true;
    bool LayoutPending = false;
    std::array<bool, kPrayerCount> Highlighted{};
    bool Blinking = false;
    int BlinkColourIndex = 0;
    int AlertCountdown = 0;
    int LastCheckedMinute = -1;
    ItemLayout layout;
    // Arabic, Urdu and Persian: the item is mirrored, and times may take the
    // language's digits ([Language] Digits).
    bool RightToLeft = false;
    DigitStyle Digits = DigitStyle::Latin;
    int DpiX = -1;
    int DpiY = -1;
    ScheduleDate scheduleDate;
    std::array<NotificationHandle, kPrayerCount> AlarmHandles{};
    // [Night] ImsakAlarm: Imsak rings only when the user turned this on.
    bool ImsakAlarm = false;
    NotificationHandle ImsakHandle = 0;
    // Made with the schedule: the shown prayers of the day before and the
    // day after, each at its real minute, so that yesterday's Isha past
    // midnight rings today and tomorrow's first prayer is known tonight.
    std::vector<PrayerRing> neighbourRings;
    AdhanSettings adhan;
    std::string language;  // the window's, which the strip's texts speak
    PrayerExtras extras;   // reminders, iqama and Jumu'ah, as the user set them
    EngineState engine;    // its traceSink stays nullptr: the plug-in never traces
};

// The five prayers the item shows and alarms, in order.
inline constexpr std::array<int, 5> kShownPrayers = {Fajr, Zuhr, Asr, Maghrib, Isha};
const char* PrayerLabel(int prayer);
// The name a prayer is announced by: "Jumu'ah" for Zuhr as the Friday prayer.
inline const char* AnnouncedLabel(int prayer, bool jumuah) {
    return prayer == Zuhr && jumuah ? kJumuahName : PrayerLabel(prayer);
}

// What load does after a successful read: everything back to its start values.
void ResetItemState(TodayItemState& state);

Colour BlinkColour(int index);

// The contrast ratio of two colours, from their relative luminance (sRGB),
// 1 to 21.
double ContrastRatio(const Colour& a, const Colour& b);
// `wanted`, mixed toward white on a dark background (black on a light one) just
// enough to stand at least 3:1 against `background`; unchanged when it does.
Colour LegibleOn(const Colour& wanted, const Colour& background);

// The refresh query's check and blink step. `invalidate` gets a rectangle,
// or nullptr for the whole item. Returns true when the host must re-size and
// repaint the item; `descriptorHeight` is the host's height field. A host
// that lends `calls` hears of every prayer's minute and plays the adhan the
// user chose instead of the named sounds, and a reminder's sound.
bool QueryRefresh(TodayItemState& state, const LocalTime& now, int itemWidth, int& descriptorHeight,
                  Sounds& sounds, const std::function<void(const Rect*)>& invalidate,
                  PrayerCalls* calls = nullptr);

// The untranslated name other programs know a prayer by: "fajr", "sunrise",
// "dhuhr", "asr", "maghrib", "isha".
const char* PrayerKey(int prayer);

// The first shown prayer after the current minute, at its real minute:
// today's, or a neighbouring day's that falls later (tomorrow's first, or
// yesterday's Isha past midnight). A prayer without a time is never the
// next one.
struct NextPrayer {
    int prayer = -1;
    int minuteOfDay = -1;
    int minutesLeft = -1;
    bool jumuah = false;
    int iqamaMinuteOfDay = -1;  // -1: none
};
NextPrayer NextPrayerAfter(const TodayItemState& state, const LocalTime& now);

// The Hijri date now (the evening starts the day at the shown Maghrib) and,
// in Ramadan, the next iftar (a shown Maghrib) or imsak (a shown Fajr less
// the engine's imsakMinutes) after the current minute, whichever comes first,
// at its real minute. Nothing before the first refresh has made the day.
struct HijriNow {
    std::optional<HijriDate> date;
    TodayFast fast = TodayFast::None;
    int minuteOfDay = -1;
    int minutesLeft = -1;
};
HijriNow HijriNowOf(const TodayItemState& state, const LocalTime& now);

// A tap at x, y: the icon area tells the user where to tap, anywhere else
// switches between the expanded and the compact display.
void Tap(TodayItemState& state, int x, int y, MessageSink& boxes);

// Alarms.
struct AlarmPeriod {
    LocalTime start;
    LocalTime end;
};
// The shown minute of `hours`, an hour of the schedule of `day`'s date, and
// the minute after it; the hours are not wrapped at 24 or below 0: the
// service carries them to their date. The milliseconds are `day`'s.
AlarmPeriod AlarmPeriodFor(const LocalTime& day, double hours);
// The same from a minute counted from `day`'s midnight (a reminder, Jumu'ah).
AlarmPeriod AlarmPeriodAt(const LocalTime& day, int minute);
// The reminders, iqama and Jumu'ah of the schedule `engine` holds for `date`.
DayAsides AsidesOf(const PrayerExtras& extras, const EngineState& engine, const LocalTime& date);
// What the strip shows for each prayer: its name ("Jumu'ah" in Zuhr's place
// on a Friday that has it) and its time, marked when estimated.
struct ShownColumn {
    std::string label;
    std::string value;
    bool estimated = false;
};
ShownColumn ShownColumnOf(const TodayItemState& state, int prayer);
// The notification's title: the prayer and its shown time, "Asr 14:36",
// marked when the time is estimated.
std::string AlarmTitle(int prayer, double hours, PrayerStatus status);
// Its body: the date, "Lundi 7 Décembre 2026".
std::string AlarmDateText(int day, int month, int year, int weekdayIndex);
std::string AlarmEventName(int prayer);
inline constexpr const char* kImsakEventName = "Event Imsak";
// "Imsak 05:04   ..." as the prayers' dialog texts are written.
std::string ImsakDialogText(double hours, const std::string& dateText);
std::string NamedEventPath(const std::string& eventName);

inline constexpr int kErrorGeneric = 31;  // the platform's general failure code
inline constexpr int kErrorOutOfMemory = 14;

// Removes every notification whose trigger names this application.
int ClearAlarmsOf(Notifications& service, const std::string& application);
// `now` and the period are the town's local time; with `place`, the period
// is stored on the desktop's clock (they differ for a town with a zone name).
int SetAlarm(Notifications& service, const LocalTime& now, double hours, NotificationHandle& slot,
             const std::string& eventName, const std::string& title, const std::string& text,
             const CurrentPlace* place = nullptr);

// Recomputes the schedule and re-sets the alarms when the town's local date
// differs from the last refresh's. `now` is the town's local time (TownNow).
// Returns how many switched-on alarms could not be set.
int DailyRefresh(TodayItemState& state, const LocalTime& now, Notifications& service);

// A reminder's title, "Asr in 15 min (14:36)"; `clock` carries the estimate
// mark when there is one.
std::string ReminderTitle(const std::string& prayer, int minutesBefore, const std::string& clock);
std::string ReminderEventName(int prayer);
// A prayer's notification body: its day's date, then "Iqama 14:51" on a line
// of its own when it has one.
std::string NotificationBody(const std::string& dateText, const std::optional<int>& iqama);

}  // namespace orvano
