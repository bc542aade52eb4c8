#include "today/item_logic.h"

#include <algorithm>
#include <cmath>

#include "astro/angle_text.h"
#include "astro/julian_time.h"
#include "astro/trace.h"
#include "engine/schedule.h"
#include "platform/notification_store.h"
#include "today/town_time.h"

namespace orvano {

const char* PrayerLabel(int prayer) {
    switch (prayer) {
        case Fajr:
            return "Fajr";
        case Chourouk:
            return "Chourouk";
        case Zuhr:
            return "Zuhr";
        case Asr:
            return "Asr";
        case Maghrib:
            return "Maghrib";
        case Isha:
            return "Isha";
        default:
            return "";
    }
}

void ResetItemState(TodayItemState& state) {
    state.Highlighted.fill(false);
    state.Blinking = false;
    state.BlinkColourIndex = 0;
    state.AlertCountdown = 0;
    state.LastCheckedMinute = -1;
    state.scheduleDate = {};
    state.ShowLabels = true;
    state.HeightChanged = true;
}

int NearestMinuteOfDay(double hours) {
    if (!(hours >= 0.0)) return -1;
    int whole = static_cast<int>(hours);
    const double minutesExact = (hours - whole) * 60;
    int minutes = static_cast<int>(minutesExact);
    const double seconds = (minutesExact - minutes) * 60;
    if (seconds >= 30) {
        minutes += 1;
        if (minutes == 60) {
            minutes = 0;
            whole += 1;
        }
    }
    const int minuteOfDay = whole * 60 + minutes;
    return minuteOfDay < 24 * 60 ? minuteOfDay : -1;
}

Colour BlinkColour(int index) {
    switch (index) {
        case 1:
            return {255, 0, 0};
        case 2:
            return {0, 255, 0};
        case 3:
            return {0, 0, 255};
        default:
            return {255, 255, 0};
    }
}

namespace {

double Linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const Colour& c) {
    return 0.2126 * Linear(c.red) + 0.7152 * Linear(c.green) + 0.0722 * Linear(c.blue);
}

std::uint8_t Mix(std::uint8_t from, int to, double t) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
}

}  // namespace

double ContrastRatio(const Colour& a, const Colour& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour LegibleOn(const Colour& wanted, const Colour& background) {
    constexpr double kLeast = 3.0;
    // Toward whichever end stands out more from the background.
    const int end =
        ContrastRatio({255, 255, 255}, background) >= ContrastRatio({0, 0, 0}, background) ? 255
                                                                                           : 0;
    for (int step = 0; step <= 100; ++step) {
        const double t = step / 100.0;
        const Colour c{Mix(wanted.red, end, t), Mix(wanted.green, end, t),
                       Mix(wanted.blue, end, t)};
        if (ContrastRatio(c, background) >= kLeast) return c;
    }
    return end == 255 ? Colour{255, 255, 255} : Colour{0, 0, 0};
}

namespace {

using Invalidate = std::function<void(const Rect*)>;

// Counts queries, not minutes: the last checked minute stays as it was until
// the countdown ends, which puts the highlighted prayers out.
void CountDownAlert(TodayItemState& state, const Invalidate& invalidate) {
    state.AlertCountdown -= 1;
    if (state.AlertCountdown != 0) return;
    state.Highlighted.fill(false);
    state.Blinking = false;
    invalidate(nullptr);
}

// Every shown prayer whose time is this minute starts to blink, and sounds
// when its alarm is switched on.
void AlertPrayersAt(TodayItemState& state, int nowMinute, Sounds& sounds) {
    const DaySchedule& day = state.engine.schedule;
    for (int prayer : kShownPrayers) {
        const auto p = static_cast<std::size_t>(prayer);
        // A prayer without a time never blinks or sounds; an estimated one
        // does at the time shown.
        if (day.status[p] == PrayerStatus::None) continue;
        if (NearestMinuteOfDay(ReduceIntoDay(day.shown[p])) != nowMinute) continue;
        state.AlertCountdown = 5;
        if (state.AlarmSwitches[p] != 0) {
            sounds.PlayNamed("SystemStart");
            sounds.PlayNamed("Notify");
        }
        state.Highlighted[p] = true;
        state.Blinking = true;
        state.BlinkColourIndex = 0;
    }
}

// Once per new minute: either the running alert counts down, or the minute
// is checked against the schedule.
void CheckMinute(TodayItemState& state, const LocalTime& now, Sounds& sounds,
                 const Invalidate& invalidate) {
    // Before the first paint there is no schedule to compare with; checking
    // then would use up the minute and miss a prayer that falls in it.
    const bool haveSchedule = state.scheduleDate.day != 0;
    if (!haveSchedule || now.minute == state.LastCheckedMinute) return;
    if (state.AlertCountdown != 0) {
        CountDownAlert(state, invalidate);
        return;
    }
    state.LastCheckedMinute = now.minute;
    AlertPrayersAt(state, now.hour * 60 + now.minute, sounds);
}

// The next blink colour, painted over the highlighted prayers only.
void BlinkStep(TodayItemState& state, const Invalidate& invalidate) {
    if (!state.Blinking) return;
    state.BlinkColourIndex = state.BlinkColourIndex == 3 ? 0 : state.BlinkColourIndex + 1;
    for (std::size_t column = 0; column < kShownPrayers.size(); ++column) {
        if (!state.Highlighted[static_cast<std::size_t>(kShownPrayers[column])]) continue;
        if (state.ShowLabels) invalidate(&state.layout.labelRects[column]);
        invalidate(&state.layout.valueRects[column]);
    }
}

}  // namespace

bool QueryRefresh(TodayItemState& state, const LocalTime& now, int itemWidth, int& descriptorHeight,
                  Sounds& sounds, const std::function<void(const Rect*)>& invalidate) {
    CheckMinute(state, now, sounds, invalidate);
    BlinkStep(state, invalidate);
    if (descriptorHeight != 0 && !state.HeightChanged) return false;
    state.HeightChanged = false;
    descriptorHeight = ItemHeight(state.DpiY, state.ShowLabels);
    ComputeItemLayout(state.DpiX, state.DpiY, itemWidth, state.ShowLabels, state.layout);
    return true;
}

namespace {

// The minute of the day a prayer is shown at; -1 when it has no time.
int ShownMinute(const DaySchedule& day, int prayer) {
    const auto p = static_cast<std::size_t>(prayer);
    if (day.status[p] == PrayerStatus::None) return -1;
    return NearestMinuteOfDay(ReduceIntoDay(day.shown[p]));
}

// The earliest shown prayer of the day after `afterMinute`; reduced into the
// day, an estimated Isha may come before Fajr.
NextPrayer EarliestAfter(const DaySchedule& day, int afterMinute) {
    NextPrayer next;
    for (int prayer : kShownPrayers) {
        const int minute = ShownMinute(day, prayer);
        if (minute > afterMinute && (next.prayer < 0 || minute < next.minuteOfDay)) {
            next.prayer = prayer;
            next.minuteOfDay = minute;
        }
    }
    return next;
}

}  // namespace

NextPrayer NextPrayerAfter(const TodayItemState& state, const LocalTime& now) {
    NextPrayer next;
    if (state.scheduleDate.day == 0) return next;
    const int nowMinute = now.hour * 60 + now.minute;
    next = EarliestAfter(state.engine.schedule, nowMinute);
    if (next.prayer >= 0) {
        next.minutesLeft = next.minuteOfDay - nowMinute;
        return next;
    }
    EngineState tomorrow = state.engine;
    LocalTime day = now;
    day.hour = 24;  // carried into the next day
    day = NormaliseLocalTime(day);
    tomorrow.observation = {day.day, day.month, day.year, 0, 0, 0};
    tomorrow.traceSink = nullptr;
    ComputeDaySchedule(tomorrow);
    next = EarliestAfter(tomorrow.schedule, -1);
    if (next.prayer >= 0) next.minutesLeft = 24 * 60 - nowMinute + next.minuteOfDay;
    return next;
}

void Tap(TodayItemState& state, int x, int y, MessageSink& boxes) {
    const Rect& icon = state.layout.iconHitRect;
    if (x >= icon.left && x < icon.right && y >= icon.top && y < icon.bottom) {
        boxes.Show("Press on the Left", "Orvano");
        return;
    }
    state.ShowLabels = !state.ShowLabels;
    state.HeightChanged = true;
}

AlarmPeriod AlarmPeriodFor(const LocalTime& now, double hours) {
    AlarmPeriod period;
    period.start = now;
    const int whole = static_cast<int>(hours);
    period.start.hour = whole;
    // Truncated, not rounded: the alarm may start up to a minute before the time shown.
    period.start.minute = static_cast<int>((hours - whole) * 60);
    period.start.second = 0;
    period.end = period.start;
    period.end.minute += 1;
    if (period.end.minute == 60) {
        period.end.minute = 0;
        period.end.hour += 1;  // not wrapped at 24: the service moves it into the next day
    }
    return period;
}

std::string AlarmDateText(int day, int month, int year, int weekdayIndex) {
    const char* weekday = weekdayIndex >= 0 && weekdayIndex < 7
                              ? kWeekdayNames[static_cast<std::size_t>(weekdayIndex)]
                              : "";
    const char* monthName =
        month >= 1 && month <= 12 ? kMonthNames[static_cast<std::size_t>(month)] : "";
    return Format("    %s  %d  %s  %d\n\n", weekday, day, monthName, year);
}

std::string AlarmDialogText(int prayer, double hours, const std::string& dateText) {
    const std::string clock = HoursToClockText(hours);
    return Format("%s %-6.5s  %s", PrayerLabel(prayer), clock.c_str(), dateText.c_str());
}

std::string AlarmEventName(int prayer) {
    return std::string("Event ") + PrayerLabel(prayer);
}

std::string NamedEventPath(const std::string& eventName) {
    return "\\\\.\\Notifications\\NamedEvents\\" + eventName;
}

int ClearAlarmsOf(Notifications& service, const std::string& application) {
    const auto handles = service.List(256);
    if (!handles) return kErrorGeneric;
    for (NotificationHandle handle : *handles) {
        const auto info = service.Read(handle);
        if (!info || info->trigger.application.empty()) continue;
        if (info->trigger.application == application) service.Clear(handle);
    }
    return 0;
}

int SetAlarm(Notifications& service, const LocalTime& now, double hours, NotificationHandle& slot,
             const std::string& eventName, const std::string& text, const CurrentPlace* place) {
    const AlarmPeriod period = AlarmPeriodFor(now, hours);
    NotificationTrigger trigger;
    trigger.application = NamedEventPath(eventName);
    // The store keeps the desktop's clock; a town in another zone has its period moved there.
    trigger.start = place != nullptr ? TownTimeOnDesktop(period.start, *place) : period.start;
    trigger.end = place != nullptr ? TownTimeOnDesktop(period.end, *place) : period.end;
    UserNotification user;
    user.actionFlags = 1 | 2 | 4;  // flash the light, vibrate, show the dialog
    user.dialogTitle = "Vevor Alarm";
    user.dialogText = text;
    ClearAlarmsOf(service, trigger.application);
    slot = service.Set(trigger, user);
    return slot != 0 ? 0 : kErrorGeneric;
}

int DailyRefresh(TodayItemState& state, const LocalTime& now, Notifications& service) {
    ScheduleDate& date = state.scheduleDate;
    if (date.day == now.day && date.month == now.month && date.year == now.year) return 0;
    date = {now.day, now.month, now.year};
    EngineState& engine = state.engine;
    engine.observation = {now.day, now.month, now.year, now.hour, now.minute, now.second};
    ComputeDaySchedule(engine);
    // The weekday of the local civil date, asked at local noon.
    const double t = JulianCenturies(now.day, now.month, now.year, 12.0 - engine.timeZoneInEffect);
    const std::string dateText =
        AlarmDateText(now.day, now.month, now.year, LocalWeekday(t, engine.timeZoneInEffect));
    int failed = 0;
    for (int prayer : kShownPrayers) {
        const auto p = static_cast<std::size_t>(prayer);
        if (state.AlarmSwitches[p] == 0) continue;
        if (engine.schedule.status[p] == PrayerStatus::None) {
            // Nothing is ever set for a prayer without a time, and an alarm
            // set earlier today under another rule must not ring either.
            ClearAlarmsOf(service, NamedEventPath(AlarmEventName(prayer)));
            state.AlarmHandles[p] = 0;
            continue;
        }
        // Reduced into the day, the alarm rings at the time shown, on this date.
        const double hours = ReduceIntoDay(engine.schedule.shown[p]);
        const std::string text = AlarmDialogText(prayer, hours, dateText);
        if (SetAlarm(service, now, hours, state.AlarmHandles[p], AlarmEventName(prayer), text,
                     &engine.place) != 0) {
            ++failed;
        }
    }
    return failed;
}

}  // namespace orvano
