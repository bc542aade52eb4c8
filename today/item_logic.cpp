#include "today/item_logic.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "astro/julian_time.h"
#include "astro/trace.h"
#include "engine/schedule.h"
#include "language/date_names.h"
#include "language/messages.h"
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

const char* PrayerKey(int prayer) {
    static constexpr std::array<const char*, kPrayerCount> kKeys = {"fajr", "sunrise", "dhuhr",
                                                                    "asr",  "maghrib", "isha"};
    return prayer >= 0 && prayer < kPrayerCount ? kKeys[static_cast<std::size_t>(prayer)] : "";
}

void ResetItemState(TodayItemState& state) {
    state.Highlighted.fill(false);
    state.Blinking = false;
    state.BlinkColourIndex = 0;
    state.AlertCountdown = 0;
    state.LastCheckedMinute = -1;
    state.scheduleDate = {};
    state.neighbourRings.clear();
    state.ShowLabels = true;
    state.HeightChanged = true;
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

// Minutes since 1970-01-01 00:00 of the same calendar.
long long MinuteKey(const LocalTime& t) {
    LocalTime minute = t;
    minute.second = 0;
    minute.milliseconds = 0;
    return LocalTimeKey(minute) / 60000;
}

// The minute of its day of a MinuteKey.
int MinuteOfDay(long long key) {
    return static_cast<int>(((key % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay);
}

// Each prayer of `engine`'s schedule for `date` (at midnight) at the minute
// it is announced: its shown one, or Jumu'ah's.
void AddRings(const PrayerExtras& extras, const LocalTime& date, const EngineState& engine,
              std::vector<PrayerRing>& rings) {
    const DayAsides asides = AsidesOf(extras, engine, date);
    const long long midnight = MinuteKey(date);
    for (int prayer : kShownPrayers) {
        const auto p = static_cast<std::size_t>(prayer);
        const PrayerAside& aside = asides.prayer[p];
        if (!aside.minute) continue;
        PrayerRing ring{prayer, midnight + *aside.minute, asides.IsJumuah(p), {}, {}};
        if (aside.iqama) ring.iqama = midnight + *aside.iqama;
        if (aside.reminder) ring.reminder = midnight + *aside.reminder;
        rings.push_back(ring);
    }
}

// The schedule's date at midnight.
LocalTime ScheduleMidnight(const ScheduleDate& date) {
    return NormaliseLocalTime({date.year, date.month, 0, date.day, 0, 0, 0, 0});
}

// The day's own shown prayers and its neighbours', each at its real minute.
std::vector<PrayerRing> Rings(const TodayItemState& state) {
    std::vector<PrayerRing> rings = state.neighbourRings;
    AddRings(state.extras, ScheduleMidnight(state.scheduleDate), state.engine, rings);
    return rings;
}

// The reminder sound the user chose, when a reminder falls in `minute`;
// without a chosen file reminders stay silent.
void RemindAt(const TodayItemState& state, const std::vector<PrayerRing>& rings, long long minute,
              PrayerCalls* calls) {
    const std::string& file = state.adhan.reminderFile;
    if (calls == nullptr || file.empty()) return;
    const auto due = [minute](const PrayerRing& ring) { return ring.reminder == minute; };
    if (std::any_of(rings.begin(), rings.end(), due)) calls->PlayReminder(file, state.adhan.volume);
}

// Every prayer whose shown minute is this one starts to blink; the sound
// plays once, however many of them have their alarm switched on: the adhan
// of the first of them when the user chose one, else the named sounds. A
// reminder's sound plays only in a minute without them.
void AlertPrayersAt(TodayItemState& state, const LocalTime& now, Sounds& sounds,
                    PrayerCalls* calls) {
    const long long minute = MinuteKey(now);
    const std::vector<PrayerRing> rings = Rings(state);
    int called = -1;
    bool any = false;
    for (const PrayerRing& ring : rings) {
        if (ring.minute != minute) continue;
        const auto p = static_cast<std::size_t>(ring.prayer);
        // A call still playing from the prayer before ends here.
        if (!any && calls != nullptr) calls->StopAdhan();
        any = true;
        state.AlertCountdown = 5;
        if (called < 0 && state.AlarmSwitches[p] != 0) called = ring.prayer;
        state.Highlighted[p] = true;
        state.Blinking = true;
        state.BlinkColourIndex = 0;
        if (calls != nullptr)
            calls->AnnouncePrayer(ring.prayer, MinuteClockText(MinuteOfDay(ring.minute)));
    }
    if (called < 0) {
        RemindAt(state, rings, minute, calls);
        return;
    }
    const std::string& file = state.adhan.FileFor(called);
    if (calls != nullptr && !file.empty()) {
        calls->PlayAdhan(file, state.adhan.volume);
        return;
    }
    sounds.PlayNamed("SystemStart");
    sounds.PlayNamed("Notify");
}

// Once per new minute: either the running alert counts down, or the minute
// is checked against the schedule.
void CheckMinute(TodayItemState& state, const LocalTime& now, Sounds& sounds,
                 const Invalidate& invalidate, PrayerCalls* calls) {
    // Before the first paint there is no schedule to compare with; checking
    // then would use up the minute and miss a prayer that falls in it.
    const bool haveSchedule = state.scheduleDate.day != 0;
    if (!haveSchedule || now.minute == state.LastCheckedMinute) return;
    if (state.AlertCountdown != 0) {
        CountDownAlert(state, invalidate);
        return;
    }
    state.LastCheckedMinute = now.minute;
    AlertPrayersAt(state, now, sounds, calls);
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
                  Sounds& sounds, const std::function<void(const Rect*)>& invalidate,
                  PrayerCalls* calls) {
    CheckMinute(state, now, sounds, invalidate, calls);
    BlinkStep(state, invalidate);
    if (descriptorHeight != 0 && !state.HeightChanged) return false;
    state.HeightChanged = false;
    descriptorHeight = ItemHeight(state.DpiY, state.ShowLabels);
    ComputeItemLayout(state.DpiX, state.DpiY, itemWidth, state.ShowLabels, state.layout,
                      state.RightToLeft);
    return true;
}

NextPrayer NextPrayerAfter(const TodayItemState& state, const LocalTime& now) {
    NextPrayer next;
    if (state.scheduleDate.day == 0) return next;
    const long long nowMinute = MinuteKey(now);
    // The rings must outlive the loop: `first` points into them.
    const std::vector<PrayerRing> rings = Rings(state);
    const PrayerRing* first = nullptr;
    for (const PrayerRing& ring : rings) {
        if (ring.minute > nowMinute && (first == nullptr || ring.minute < first->minute)) {
            first = &ring;
        }
    }
    if (first == nullptr) return next;
    next.prayer = first->prayer;
    next.minuteOfDay = MinuteOfDay(first->minute);
    next.minutesLeft = static_cast<int>(first->minute - nowMinute);
    next.jumuah = first->jumuah;
    if (first->iqama) next.iqamaMinuteOfDay = MinuteOfDay(*first->iqama);
    return next;
}

HijriNow HijriNowOf(const TodayItemState& state, const LocalTime& now) {
    HijriNow answer;
    const ScheduleDate& day = state.scheduleDate;
    if (day.day == 0) return answer;
    const EngineState& engine = state.engine;
    answer.date = HijriOfDay(day.year, day.month, day.day, engine.schedule, engine.hijriAdjust)
                      .At(now.hour * 60 + now.minute);
    if (!answer.date || answer.date->month != kRamadan) return answer;
    const long long nowMinute = MinuteKey(now);
    long long first = 0;
    for (const PrayerRing& ring : Rings(state)) {
        const bool iftar = ring.prayer == Maghrib;
        if (!iftar && ring.prayer != Fajr) continue;
        const long long at = iftar ? ring.minute : ring.minute - engine.imsakMinutes;
        if (at <= nowMinute || (answer.fast != TodayFast::None && at >= first)) continue;
        first = at;
        answer.fast = iftar ? TodayFast::Iftar : TodayFast::Imsak;
    }
    if (answer.fast == TodayFast::None) return answer;
    answer.minuteOfDay = MinuteOfDay(first);
    answer.minutesLeft = static_cast<int>(first - nowMinute);
    return answer;
}

void Tap(TodayItemState& state, int x, int y, MessageSink& boxes) {
    const Rect& icon = state.layout.iconHitRect;
    if (x >= icon.left && x < icon.right && y >= icon.top && y < icon.bottom) {
        boxes.Show(Tr("Press on the Left"), "Orvano");
        return;
    }
    state.ShowLabels = !state.ShowLabels;
    state.HeightChanged = true;
}

AlarmPeriod AlarmPeriodFor(const LocalTime& day, double hours) {
    return AlarmPeriodAt(day, ShownMinuteOf(hours).minutesFromScheduleMidnight());
}

DayAsides AsidesOf(const PrayerExtras& extras, const EngineState& engine, const LocalTime& date) {
    return AsidesOfDay(engine.schedule, IsFriday(date.day, date.month, date.year), extras);
}

ShownColumn ShownColumnOf(const TodayItemState& state, int prayer) {
    const auto p = static_cast<std::size_t>(prayer);
    const DaySchedule& schedule = state.engine.schedule;
    const ScheduleDate& date = state.scheduleDate;
    if (prayer == Zuhr && date.day != 0) {
        const DayAsides asides = AsidesOf(state.extras, state.engine, ScheduleMidnight(date));
        if (asides.jumuah && asides.prayer[p].minute)
            return {kJumuahName, MinuteClockText(*asides.prayer[p].minute), false};
    }
    ShownColumn column{PrayerLabel(prayer), ShownClockText(schedule.status[p], schedule.shown[p]),
                       schedule.status[p] == PrayerStatus::Estimated};
    if (column.estimated) column.value += kEstimateMark;
    return column;
}

AlarmPeriod AlarmPeriodAt(const LocalTime& day, int minute) {
    AlarmPeriod period;
    period.start = day;
    // Floored, so that a minute before the day's midnight is hour -1.
    const int hour = minute >= 0 ? minute / 60 : -((59 - minute) / 60);
    period.start.hour = hour;
    period.start.minute = minute - 60 * hour;
    period.start.second = 0;
    period.end = period.start;
    period.end.minute += 1;
    if (period.end.minute == 60) {
        period.end.minute = 0;
        period.end.hour += 1;  // not wrapped at 24: the service moves it into the next day
    }
    return period;
}

std::string AlarmTitle(int prayer, double hours, PrayerStatus status) {
    std::string title =
        std::string(Tr("prayer", PrayerLabel(prayer))) + " " + ShownClockText(status, hours);
    if (status == PrayerStatus::Estimated) title += kEstimateMark;
    return title;
}

std::string ReminderTitle(const std::string& prayer, int minutesBefore, const std::string& clock) {
    return Format(Tr("%s in %d min (%s)"), Tr("prayer", prayer.c_str()), minutesBefore,
                  clock.c_str());
}

std::string ReminderEventName(int prayer) {
    return std::string("Reminder ") + PrayerLabel(prayer);
}

std::string NotificationBody(const std::string& dateText, const std::optional<int>& iqama) {
    if (!iqama) return dateText;
    return dateText + "\n" + Tr("Iqama") + " " + MinuteClockText(*iqama);
}

std::string AlarmDateText(int day, int month, int year, int weekdayIndex) {
    return Format("%s %d %s %d", ShownWeekdayName(weekdayIndex), day, ShownMonthName(month), year);
}

std::string ImsakDialogText(double hours, const std::string& dateText) {
    const std::string clock = ShownMinuteOf(hours).text;
    return Format("%s %-6.5s  %s", Tr("Imsak"), clock.c_str(), dateText.c_str());
}

std::string AlarmEventName(int prayer) {
    return std::string("Event ") + PrayerLabel(prayer);
}

std::string NamedEventPath(const std::string& eventName) {
    return "\\\\.\\Notifications\\NamedEvents\\" + eventName;
}

namespace {

// Removes the application's notifications but those that start at one of
// the minutes `keep` (minutes since 1970 of the desktop's calendar); returns
// the minutes of those kept, nothing when the service cannot list them.
std::optional<std::vector<long long>> ClearAlarmsBut(Notifications& service,
                                                     const std::string& application,
                                                     const std::vector<long long>& keep) {
    const auto handles = service.List(256);
    if (!handles) return std::nullopt;
    std::vector<long long> kept;
    for (NotificationHandle handle : *handles) {
        const auto info = service.Read(handle);
        if (!info || info->trigger.application.empty()) continue;
        if (info->trigger.application != application) continue;
        const long long start = MinuteKey(info->trigger.start);
        if (std::find(keep.begin(), keep.end(), start) != keep.end()) {
            kept.push_back(start);
            continue;
        }
        service.Clear(handle);
    }
    return kept;
}

struct Alarm {
    AlarmPeriod period;  // the town's local time
    std::string eventName;
    std::string title;
    std::string text;
};

// The period on the desktop's clock, which the store keeps; a town in
// another zone has its period moved there.
AlarmPeriod OnDesktop(const AlarmPeriod& period, const CurrentPlace* place) {
    if (place == nullptr) return period;
    return {TownTimeOnDesktop(period.start, *place), TownTimeOnDesktop(period.end, *place)};
}

NotificationHandle AddAlarm(Notifications& service, const Alarm& alarm, const CurrentPlace* place) {
    const AlarmPeriod period = OnDesktop(alarm.period, place);
    NotificationTrigger trigger;
    trigger.application = NamedEventPath(alarm.eventName);
    trigger.start = period.start;
    trigger.end = period.end;
    UserNotification user;
    user.actionFlags = 1 | 2 | 4;  // flash the light, vibrate, show the dialog
    user.dialogTitle = alarm.title;
    user.dialogText = alarm.text;
    return service.Set(trigger, user);
}

}  // namespace

int ClearAlarmsOf(Notifications& service, const std::string& application) {
    return ClearAlarmsBut(service, application, {}) ? 0 : kErrorGeneric;
}

int SetAlarm(Notifications& service, const LocalTime& now, double hours, NotificationHandle& slot,
             const std::string& eventName, const std::string& title, const std::string& text,
             const CurrentPlace* place) {
    ClearAlarmsOf(service, NamedEventPath(eventName));
    slot = AddAlarm(service, {AlarmPeriodFor(now, hours), eventName, title, text}, place);
    return slot != 0 ? 0 : kErrorGeneric;
}

namespace {

// `now`'s date moved by `days`, at midnight, with `now`'s milliseconds.
LocalTime DayBeside(const LocalTime& now, int days) {
    LocalTime day = now;
    day.hour = 24 * days;
    day.minute = 0;
    day.second = 0;
    return NormaliseLocalTime(day);
}

// The schedule of `day`'s date, computed on a copy so that the item's own is
// left alone.
EngineState ScheduleOf(const EngineState& engine, const LocalTime& day) {
    EngineState other = engine;
    other.observation = {day.day, day.month, day.year, 0, 0, 0};
    other.traceSink = nullptr;
    ComputeDaySchedule(other);
    return other;
}

// The weekday of the local civil date, asked at local noon.
std::string DateTextOf(const EngineState& engine, const LocalTime& day) {
    const double t = JulianCenturies(day.day, day.month, day.year, 12.0 - engine.timeZoneInEffect);
    return AlarmDateText(day.day, day.month, day.year, LocalWeekday(t, engine.timeZoneInEffect));
}

struct ScheduledDay {
    LocalTime date;  // at midnight
    EngineState engine;
};

bool SameDate(const LocalTime& a, const LocalTime& b) {
    return a.day == b.day && a.month == b.month && a.year == b.year;
}

struct DayRef {
    LocalTime date;  // at midnight
    const EngineState* engine;
};

// The alarm of `prayer` of the schedule `engine` holds for `day`'s date, at
// the minute it is announced (Jumu'ah's own on a Friday that has it); nothing
// for a prayer without a time.
std::optional<Alarm> PrayerAlarm(const PrayerExtras& extras, const EngineState& engine,
                                 const LocalTime& day, int prayer, const std::string& dateText) {
    const auto p = static_cast<std::size_t>(prayer);
    const DayAsides asides = AsidesOf(extras, engine, day);
    const PrayerAside& aside = asides.prayer[p];
    if (!aside.minute) return std::nullopt;
    const std::string title =
        asides.IsJumuah(p)
            ? std::string(Tr("prayer", kJumuahName)) + " " + MinuteClockText(*aside.minute)
            : AlarmTitle(prayer, engine.schedule.shown[p], engine.schedule.status[p]);
    return Alarm{AlarmPeriodAt(day, *aside.minute), AlarmEventName(prayer), title,
                 NotificationBody(dateText, aside.iqama)};
}

// The neighbouring days' alarms of `prayer` whose minute falls on `now`'s
// date (yesterday's Isha past midnight rings today).
std::vector<Alarm> CarriedAlarms(const PrayerExtras& extras, const ScheduledDay (&neighbours)[2],
                                 int prayer, const LocalTime& now) {
    std::vector<Alarm> carried;
    for (const ScheduledDay& day : neighbours) {
        auto alarm =
            PrayerAlarm(extras, day.engine, day.date, prayer, DateTextOf(day.engine, day.date));
        if (alarm && SameDate(NormaliseLocalTime(alarm->period.start), now))
            carried.push_back(std::move(*alarm));
    }
    return carried;
}

// The reminders of yesterday's, today's and tomorrow's prayers whose minute
// falls today, each the user's minutes before its prayer's. Each is set
// afresh every day, so that a reminder turned off goes with the rest, and
// like the alarms only for a prayer with a time. Returns how many could not
// be set.
int SetReminders(const TodayItemState& state, const LocalTime& now,
                 const std::array<DayRef, 3>& days, Notifications& service) {
    int failed = 0;
    const CurrentPlace& place = state.engine.place;
    for (int prayer : kShownPrayers) {
        const auto p = static_cast<std::size_t>(prayer);
        const std::string eventName = ReminderEventName(prayer);
        ClearAlarmsOf(service, NamedEventPath(eventName));
        const int before = state.extras.reminderMinutes[p];
        if (before <= 0) continue;
        for (const DayRef& day : days) {
            const DaySchedule& schedule = day.engine->schedule;
            const DayAsides asides = AsidesOf(state.extras, *day.engine, day.date);
            const PrayerAside& aside = asides.prayer[p];
            if (!aside.reminder) continue;
            const AlarmPeriod period = AlarmPeriodAt(day.date, *aside.reminder);
            if (!SameDate(NormaliseLocalTime(period.start), now)) continue;
            std::string clock = MinuteClockText(*aside.minute);
            const bool jumuah = asides.IsJumuah(p);
            if (!jumuah && schedule.status[p] == PrayerStatus::Estimated) clock += kEstimateMark;
            const Alarm reminder{period, eventName,
                                 ReminderTitle(AnnouncedLabel(prayer, jumuah), before, clock),
                                 NotificationBody(DateTextOf(*day.engine, day.date), aside.iqama)};
            if (AddAlarm(service, reminder, &place) == 0) ++failed;
        }
    }
    return failed;
}

// Imsak's alarm for the day, only when the user turned it on: the night's
// times are never alarms otherwise. A stored one is cleared either way, so
// that turning it off takes effect. Returns 1 when it could not be set.
int SetImsakAlarm(TodayItemState& state, const LocalTime& now, Notifications& service,
                  const std::string& dateText,
                  const std::function<bool(const AlarmPeriod&)>& firstAt) {
    ClearAlarmsBut(service, NamedEventPath(kImsakEventName), {});
    state.ImsakHandle = 0;
    const EngineState& engine = state.engine;
    if (!state.ImsakAlarm || engine.schedule.status[Fajr] == PrayerStatus::None) return 0;
    // The shown Fajr's minute less Imsak's, as the night times count it.
    const int fajr = ShownMinuteOf(engine.schedule.shown[Fajr]).minutesFromScheduleMidnight();
    const double hours = (fajr - engine.imsakMinutes) / 60.0;
    const Alarm alarm{AlarmPeriodFor(now, hours), kImsakEventName,
                      std::string(Tr("Imsak")) + " " + ShownMinuteOf(hours).text,
                      ImsakDialogText(hours, dateText)};
    if (!firstAt(alarm.period)) return 0;
    state.ImsakHandle = AddAlarm(service, alarm, &engine.place);
    return state.ImsakHandle == 0 ? 1 : 0;
}

}  // namespace

int DailyRefresh(TodayItemState& state, const LocalTime& now, Notifications& service) {
    ScheduleDate& date = state.scheduleDate;
    if (date.day == now.day && date.month == now.month && date.year == now.year) return 0;
    date = {now.day, now.month, now.year};
    EngineState& engine = state.engine;
    engine.observation = {now.day, now.month, now.year, now.hour, now.minute, now.second};
    ComputeDaySchedule(engine);
    const LocalTime today = DayBeside(now, 0);
    const LocalTime yesterday = DayBeside(now, -1);
    const LocalTime tomorrow = DayBeside(now, 1);
    const ScheduledDay neighbours[] = {{yesterday, ScheduleOf(engine, yesterday)},
                                       {tomorrow, ScheduleOf(engine, tomorrow)}};
    state.neighbourRings.clear();
    for (const ScheduledDay& day : neighbours) {
        AddRings(state.extras, day.date, day.engine, state.neighbourRings);
    }

    const std::string dateText = DateTextOf(engine, today);
    // Minutes already given a notification: prayers of one minute ring once.
    std::vector<long long> set;
    const auto firstAt = [&set](const AlarmPeriod& period) {
        const long long minute = MinuteKey(period.start);
        if (std::find(set.begin(), set.end(), minute) != set.end()) return false;
        set.push_back(minute);
        return true;
    };
    int failed = 0;
    const auto add = [&](const Alarm& alarm, std::size_t p) {
        state.AlarmHandles[p] = AddAlarm(service, alarm, &engine.place);
        if (state.AlarmHandles[p] == 0) ++failed;
    };
    for (int prayer : kShownPrayers) {
        const auto p = static_cast<std::size_t>(prayer);
        if (state.AlarmSwitches[p] == 0) continue;
        const std::string eventName = AlarmEventName(prayer);
        // A carried alarm, set on its own day, may have rung already: it is
        // kept rather than set again.
        const std::vector<Alarm> carried = CarriedAlarms(state.extras, neighbours, prayer, now);
        std::vector<long long> keep;
        keep.reserve(carried.size());
        for (const Alarm& alarm : carried) {
            keep.push_back(MinuteKey(OnDesktop(alarm.period, &engine.place).start));
        }
        const std::vector<long long> kept = ClearAlarmsBut(service, NamedEventPath(eventName), keep)
                                                .value_or(std::vector<long long>{});
        state.AlarmHandles[p] = 0;
        for (std::size_t i = 0; i < carried.size(); ++i) {
            const bool present = std::find(kept.begin(), kept.end(), keep[i]) != kept.end();
            if (firstAt(carried[i].period) && !present) add(carried[i], p);
        }
        // Nothing is ever set for a prayer without a time.
        const std::optional<Alarm> own = PrayerAlarm(state.extras, engine, now, prayer, dateText);
        if (own && firstAt(own->period)) add(*own, p);
    }
    failed += SetReminders(state, now,
                           {DayRef{yesterday, &neighbours[0].engine}, DayRef{today, &engine},
                            DayRef{tomorrow, &neighbours[1].engine}},
                           service);
    return failed + SetImsakAlarm(state, now, service, dateText, firstAt);
}

}  // namespace orvano
