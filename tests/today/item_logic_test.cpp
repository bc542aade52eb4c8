// The Today item without a window: layout, refresh query, taps, daily alarms.
#include "today/item_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "astro/angle_text.h"
#include "language/messages.h"
#include "platform/notification_store.h"
#include "tests/support/desktop_zone.h"
#include "tests/support/recording_platform.h"
#include "today/town_time.h"
#include "today_test_util.h"

namespace orvano {
namespace {

using Shown = testing::RecordingMessageSink::Shown;

TEST(ItemLayout, At96DpiAnd240Wide) {
    ItemLayout l;
    ComputeItemLayout(96, 96, 240, true, l);
    const int lefts[] = {1, 39, 77, 115, 153, 191};
    for (int i = 0; i < 6; ++i) {
        const auto c = static_cast<std::size_t>(i);
        const int right = i == 5 ? 240 : lefts[i] + 38;
        const int labelLeft = i == 3 ? lefts[i] - 5 : lefts[i];
        const int labelRight = i == 3 ? lefts[i] + 38 + 5 : lefts[i] + 38;
        EXPECT_EQ(l.labelRects[c], (Rect{labelLeft, 2, labelRight, 17})) << i;
        EXPECT_EQ(l.valueRects[c], (Rect{lefts[i], 17, right, 32})) << i;
    }
    EXPECT_EQ(l.iconHitRect, (Rect{220, 0, 240, 32}));
    EXPECT_EQ(ItemHeight(96, true), 32);
    EXPECT_EQ(ItemHeight(96, false), 16);

    const ItemLayout expanded = l;
    ComputeItemLayout(96, 96, 240, false, l);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(l.valueRects[static_cast<std::size_t>(i)],
                  (Rect{lefts[i], 2, lefts[i] + 38, 17}));
    }
    // One row: the town stops short of the clock icon at the right end.
    EXPECT_EQ(l.valueRects[5], (Rect{191, 2, 219, 17}));
    EXPECT_EQ(l.labelRects, expanded.labelRects);  // not recomputed, nor widened again
    EXPECT_EQ(l.iconHitRect, (Rect{220, 0, 240, 17}));
}

TEST(ItemLayout, At192Dpi) {
    ItemLayout l;
    ComputeItemLayout(192, 192, 480, true, l);
    const int cw = (480 - 2 - 10) / 6;  // 78
    EXPECT_EQ(l.labelRects[0], (Rect{2, 4, 2 + cw, 34}));
    EXPECT_EQ(l.valueRects[0], (Rect{2, 34, 2 + cw, 64}));
    EXPECT_EQ(l.valueRects[5], (Rect{2 + 5 * cw, 34, 480, 64}));
    EXPECT_EQ(l.iconHitRect, (Rect{460, 0, 480, 64}));
    EXPECT_EQ(ItemHeight(192, true), 64);
    EXPECT_EQ(ItemHeight(192, false), 32);
    ComputeItemLayout(192, 192, 480, false, l);
    EXPECT_EQ(l.valueRects[1], (Rect{2 + cw, 4, 2 + 2 * cw, 34}));
    EXPECT_EQ(l.valueRects[5], (Rect{2 + 5 * cw, 4, 458, 34}));
    EXPECT_EQ(l.iconHitRect, (Rect{460, 0, 480, 34}));
}

// Read from the right, the item is its mirror image: Fajr's column at the
// right end, the clock icon at the left one; the labels kept in one row are
// not mirrored a second time.
TEST(ItemLayout, MirroredForALanguageReadFromTheRight) {
    for (const bool showLabels : {true, false}) {
        ItemLayout ltr;
        ItemLayout rtl;
        ComputeItemLayout(96, 96, 240, true, ltr);
        ComputeItemLayout(96, 96, 240, true, rtl, true);
        ComputeItemLayout(96, 96, 240, showLabels, ltr);
        ComputeItemLayout(96, 96, 240, showLabels, rtl, true);
        for (std::size_t c = 0; c < 6; ++c) {
            EXPECT_EQ(rtl.valueRects[c],
                      (Rect{240 - ltr.valueRects[c].right, ltr.valueRects[c].top,
                            240 - ltr.valueRects[c].left, ltr.valueRects[c].bottom}))
                << c;
            EXPECT_EQ(rtl.labelRects[c],
                      (Rect{240 - ltr.labelRects[c].right, ltr.labelRects[c].top,
                            240 - ltr.labelRects[c].left, ltr.labelRects[c].bottom}))
                << c;
        }
        EXPECT_EQ(rtl.iconHitRect.left, 0);
        EXPECT_GT(rtl.valueRects[0].left, rtl.valueRects[4].left);
    }
}

double Hms(int h, int m, double s) {
    return h + m / 60.0 + s / 3600.0;
}

struct ItemFixture : ::testing::Test {
    TodayItemState state;
    testing::RecordingSounds sounds;
    testing::RecordingMessageSink boxes;
    std::vector<std::optional<Rect>> invalidated;
    int height = 0;

    void SetUp() override {
        state.DpiX = state.DpiY = 96;
        ResetItemState(state);
        state.scheduleDate = {7, 12, 2026};  // as after the first paint
        ComputeItemLayout(96, 96, 240, true, state.layout);
        auto& a = state.engine.schedule.shown;
        a = {Hms(5, 42, 29.9), 7.0, Hms(13, 10, 0), Hms(16, 20, 0), Hms(19, 5, 0), Hms(20, 30, 0)};
    }
    bool Query(int hour, int minute) {
        LocalTime now{2026, 12, 1, 7, hour, minute, 0, 0};
        return QueryRefresh(state, now, 240, height, sounds, [this](const Rect* r) {
            invalidated.push_back(r ? std::optional<Rect>(*r) : std::nullopt);
        });
    }
};

TEST_F(ItemFixture, FirstQueryAfterLoadReportsTheExpandedHeight) {
    EXPECT_TRUE(Query(3, 0));
    EXPECT_EQ(height, 32);
    EXPECT_FALSE(Query(3, 0));
    EXPECT_FALSE(Query(3, 1));
    EXPECT_EQ(height, 32);
}

TEST_F(ItemFixture, TapInTheIconAreaOnlyTellsWhereToTap) {
    Query(3, 0);
    Tap(state, 225, 10, boxes);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], (Shown{"Press on the Left", "Orvano"}));
    EXPECT_TRUE(state.ShowLabels);
    EXPECT_FALSE(Query(3, 0));

    Tap(state, 100, 10, boxes);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(state.ShowLabels);
    EXPECT_TRUE(Query(3, 0));
    EXPECT_EQ(height, 16);
    EXPECT_EQ(state.layout.iconHitRect, (Rect{220, 0, 240, 17}));
    Tap(state, 219, 5, boxes);  // just left of the icon area
    EXPECT_TRUE(state.ShowLabels);
    EXPECT_TRUE(Query(3, 0));
    EXPECT_EQ(height, 32);
    Tap(state, 230, 40, boxes);  // below the rows: not the icon area
    EXPECT_FALSE(state.ShowLabels);
}

TEST_F(ItemFixture, PrayerMinuteBlinksRedGreenBlueYellowThenCountsDown) {
    height = 32;
    state.HeightChanged = false;
    Query(5, 41);
    EXPECT_FALSE(state.Blinking);
    Query(5, 42);
    EXPECT_TRUE(state.Highlighted[Fajr]);
    EXPECT_TRUE(state.Blinking);
    EXPECT_EQ(state.AlertCountdown, 5);
    EXPECT_EQ(BlinkColour(state.BlinkColourIndex), (Colour{255, 0, 0}));
    EXPECT_TRUE(sounds.played.empty());  // Fajr's switch is off
    // Label and value rectangles of the Fajr column.
    ASSERT_EQ(invalidated.size(), 2u);
    EXPECT_EQ(invalidated[0], state.layout.labelRects[0]);
    EXPECT_EQ(invalidated[1], state.layout.valueRects[0]);

    const Colour sequence[] = {{0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 0}};
    for (const Colour& c : sequence) {
        Query(5, 42);
        EXPECT_EQ(BlinkColour(state.BlinkColourIndex), c);
        EXPECT_EQ(state.AlertCountdown, 5);
    }
    // The minute has passed: five queries count down, then all is cleared.
    for (int i = 4; i >= 1; --i) {
        Query(5, 43);
        EXPECT_EQ(state.AlertCountdown, i);
        EXPECT_TRUE(state.Blinking);
    }
    invalidated.clear();
    Query(5, 43);
    EXPECT_EQ(state.AlertCountdown, 0);
    EXPECT_FALSE(state.Blinking);
    EXPECT_FALSE(state.Highlighted[Fajr]);
    ASSERT_EQ(invalidated.size(), 1u);
    EXPECT_FALSE(invalidated[0].has_value());  // the whole item
    EXPECT_EQ(state.LastCheckedMinute, 42);
}

TEST_F(ItemFixture, NoCheckBeforeTheFirstPaintHasMadeTheSchedule) {
    state.scheduleDate = {};
    Query(5, 42);
    EXPECT_FALSE(state.Blinking);
    EXPECT_EQ(state.LastCheckedMinute, -1);  // the minute is not used up
    state.scheduleDate = {7, 12, 2026};
    Query(5, 42);
    EXPECT_TRUE(state.Highlighted[Fajr]);
}

TEST_F(ItemFixture, NoCheckWhileTheCountdownRuns) {
    state.engine.schedule.shown[Zuhr] = Hms(5, 43, 0);
    state.AlarmSwitches[Zuhr] = 1;
    Query(5, 42);
    ASSERT_EQ(state.AlertCountdown, 5);
    Query(5, 43);  // Zuhr's minute, but the countdown is running
    EXPECT_FALSE(state.Highlighted[Zuhr]);
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(state.AlertCountdown, 4);
}

TEST_F(ItemFixture, TwoPrayersInOneMinuteBothBlinkAndSoundOnce) {
    state.engine.schedule.shown[Zuhr] = Hms(5, 41, 45);
    state.engine.schedule.shown[Isha] = Hms(5, 42, 10);
    state.AlarmSwitches = {1, 1, 0, 1, 1, 1};
    Query(5, 42);
    EXPECT_TRUE(state.Highlighted[Fajr]);
    EXPECT_TRUE(state.Highlighted[Zuhr]);
    EXPECT_TRUE(state.Highlighted[Isha]);
    EXPECT_FALSE(state.Highlighted[Asr]);
    // Fajr's and Isha's switches are on: one ring for the minute.
    EXPECT_EQ(sounds.played, (std::vector<std::string>{"SystemStart", "Notify"}));
}

TEST_F(ItemFixture, APrayersMinuteEndsTheLastCallAnnouncesItAndPlaysTheChosenAdhan) {
    struct Case {
        const char* name;
        int prayer;
        int hour, minute;
        AdhanSettings adhan;
        bool on;
        std::vector<std::string> calls;
        std::vector<std::string> named;
    };
    const std::vector<std::string> ring = {"SystemStart", "Notify"};
    const Case cases[] = {
        {"file chosen",
         Asr,
         16,
         20,
         {"/a.ogg", "", 60, ""},
         true,
         {"stop", "announce 3 16:20", "play /a.ogg 60"},
         {}},
        {"no file: the named sounds", Asr, 16, 20, {}, true, {"stop", "announce 3 16:20"}, ring},
        {"alarm off: announced, silent",
         Asr,
         16,
         20,
         {"/a.ogg", "", 60, ""},
         false,
         {"stop", "announce 3 16:20"},
         {}},
        {"Fajr's own file",
         Fajr,
         5,
         42,
         {"/a.ogg", "/f.ogg", 100, ""},
         true,
         {"stop", "announce 0 05:42", "play /f.ogg 100"},
         {}},
        {"Fajr's file is Fajr's only",
         Zuhr,
         13,
         10,
         {"", "/f.ogg", 100, ""},
         true,
         {"stop", "announce 2 13:10"},
         ring},
        {"no prayer this minute", Asr, 16, 21, {"/a.ogg", "", 60, ""}, true, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        sounds.played.clear();
        testing::RecordingPrayerCalls calls;
        state.adhan = c.adhan;
        state.AlarmSwitches[static_cast<std::size_t>(c.prayer)] = c.on ? 1 : 0;
        const LocalTime now{2026, 12, 1, 7, c.hour, c.minute, 0, 0};
        QueryRefresh(
            state, now, 240, height, sounds, [](const Rect*) {}, &calls);
        EXPECT_EQ(calls.calls, c.calls);
        EXPECT_EQ(sounds.played, c.named);
    }
}

// A reminder's minute plays the reminder sound the user chose, at the
// adhan's volume and with no default sound: without a file it is silent,
// and a prayer's own call in that minute comes first.
TEST_F(ItemFixture, AReminderPlaysOnlyTheReminderSoundChosen) {
    struct Case {
        const char* name;
        const char* reminderFile;
        int ishaReminder;  // minutes before Isha (20:30)
        int minute;        // of 19 h; Maghrib is 19:05
        bool maghribAlarm;
        const char* played;  // the last call, "" for none
    };
    const Case cases[] = {
        {"file chosen", "/r.ogg", 80, 10, false, "remind /r.ogg 60"},
        {"no file: silent", "", 80, 10, false, ""},
        {"no reminder", "/r.ogg", 0, 10, false, ""},
        {"another minute", "/r.ogg", 80, 11, false, ""},
        {"Maghrib's minute, its alarm off", "/r.ogg", 85, 5, false, "remind /r.ogg 60"},
        {"Maghrib's adhan first", "/r.ogg", 85, 5, true, "play /a.ogg 60"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        sounds.played.clear();
        testing::RecordingPrayerCalls calls;
        state.adhan = {"/a.ogg", "", 60, c.reminderFile};
        state.AlarmSwitches = {};
        state.AlarmSwitches[Maghrib] = c.maghribAlarm ? 1 : 0;
        state.extras.reminderMinutes = {};
        state.extras.reminderMinutes[Isha] = c.ishaReminder;
        QueryRefresh(
            state, {2026, 12, 1, 7, 19, c.minute, 0, 0}, 240, height, sounds, [](const Rect*) {},
            &calls);
        EXPECT_EQ(calls.calls.empty() ? "" : calls.calls.back(), c.played);
        EXPECT_EQ(
            std::count_if(calls.calls.begin(), calls.calls.end(),
                          [](const std::string& call) { return call.rfind("remind", 0) == 0; }),
            c.played[0] == 'r' ? 1 : 0);
        EXPECT_TRUE(sounds.played.empty());
    }
}

TEST(PrayerKeys, AreTheUntranslatedNamesOtherProgramsKnow) {
    const char* expected[] = {"fajr", "sunrise", "dhuhr", "asr", "maghrib", "isha"};
    for (int prayer = 0; prayer < kPrayerCount; ++prayer) {
        EXPECT_STREQ(PrayerKey(prayer), expected[prayer]);
    }
    EXPECT_STREQ(PrayerKey(6), "");
}

TEST_F(ItemFixture, CompactDisplayInvalidatesOnlyTheValue) {
    state.ShowLabels = false;
    ComputeItemLayout(96, 96, 240, false, state.layout);
    Query(5, 42);
    ASSERT_EQ(invalidated.size(), 1u);
    EXPECT_EQ(invalidated[0], state.layout.valueRects[0]);
}

TEST(AlarmTexts, PeriodsAndDialogTexts) {
    const LocalTime now{2026, 12, 1, 7, 9, 30, 12, 345};
    AlarmPeriod p = AlarmPeriodFor(now, 5.7);
    EXPECT_EQ(p.start, (LocalTime{2026, 12, 1, 7, 5, 42, 0, 345}));
    EXPECT_EQ(p.end, (LocalTime{2026, 12, 1, 7, 5, 43, 0, 345}));
    // The alarm starts at the minute shown; past midnight on the next date,
    // before it on the day before (the service carries the hours over).
    const auto hm = [](const LocalTime& t) { return std::array{t.hour, t.minute}; };
    const struct {
        double hours;
        std::array<int, 2> start, end;
    } periods[] = {
        {Hms(12, 59, 59.6), {13, 0}, {13, 1}}, {Hms(23, 59, 24), {23, 59}, {24, 0}},
        {Hms(23, 59, 40), {24, 0}, {24, 1}},   {24 + Hms(0, 14, 40), {24, 15}, {24, 16}},
        {-Hms(0, 0, 40), {-1, 59}, {0, 0}},
    };
    for (const auto& c : periods) {
        p = AlarmPeriodFor(now, c.hours);
        EXPECT_EQ(hm(p.start), c.start) << c.hours;
        EXPECT_EQ(hm(p.end), c.end) << c.hours;
    }

    // The date without the blank lines that used to end it.
    EXPECT_EQ(AlarmDateText(7, 12, 2026, 0),
              "Lundi 7 D\xc3\xa9"
              "cembre 2026");
    const struct {
        int prayer;
        double hours;
        PrayerStatus status;
        const char* title;
    } titles[] = {{Fajr, 5.7, PrayerStatus::Ok, "Fajr 05:42"},
                  {Maghrib, Hms(16, 58, 40), PrayerStatus::Ok, "Maghrib 16:59"},
                  {Isha, Hms(23, 59, 40), PrayerStatus::Ok, "Isha 00:00"},
                  {Isha, Hms(19, 40, 0), PrayerStatus::Estimated, "Isha 19:40*"}};
    for (const auto& t : titles) EXPECT_EQ(AlarmTitle(t.prayer, t.hours, t.status), t.title);
    EXPECT_EQ(AlarmEventName(Asr), "Event Asr");
    EXPECT_EQ(NamedEventPath("Event Fajr"), "\\\\.\\Notifications\\NamedEvents\\Event Fajr");
}

// A place and convention for which the engine gives ordinary times.
void SetUpParis(TodayItemState& state) {
    CurrentPlace& place = state.engine.place;
    place.Name = "Paris";
    place.Country = "France";
    place.latitude = Degrees{48.8566};
    place.longitude = Degrees{2.3522};
    place.TimeZone = 1;
    place.DST = 1;
    place.Convention = 0;
    Convention& c = state.engine.tables.Conventions[0];
    c.AsrShafii = true;
    c.FajrTwilightAngle = 18;
    c.IshaTwilightAngle = 17;
    c.SunriseSetAngle = 0.833;
}

struct RefreshFixture : ::testing::Test {
    TempDir dir;
    LocalTime now{2026, 12, 1, 7, 4, 0, 0, 0};  // Monday 7 December 2026, 04:00
    NotificationStore store{dir.path() + "/notifications", dir.path() + "/events",
                            [this] { return now; }};
    TodayItemState state;
    void SetUp() override {
        SetUpParis(state);
        ResetItemState(state);
    }
};

TEST_F(RefreshFixture, OneNotificationPerSwitchedOnPrayerOncePerDate) {
    state.AlarmSwitches = {1, 1, 0, 1, 0, 1};  // Fajr, Asr, Isha (Chourouk's byte is ignored)
    DailyRefresh(state, now, store);
    auto entries = store.Entries();
    ASSERT_EQ(entries.size(), 3u);
    const std::string date =
        "Lundi 7 D\xc3\xa9"
        "cembre 2026";
    const int prayers[] = {Fajr, Asr, Isha};
    for (std::size_t i = 0; i < 3; ++i) {
        const int prayer = prayers[i];
        const double hours = state.engine.schedule.adjusted[static_cast<std::size_t>(prayer)];
        const auto& e = entries[i];
        EXPECT_EQ(e.trigger.application,
                  std::string("\\\\.\\Notifications\\NamedEvents\\Event ") + PrayerLabel(prayer));
        EXPECT_EQ(e.user.dialogTitle,
                  std::string(PrayerLabel(prayer)) + " " + HoursToClockText(hours));
        EXPECT_EQ(e.user.actionFlags, 7);
        EXPECT_EQ(e.user.dialogText, date);
        EXPECT_EQ(e.trigger.start.hour, static_cast<int>(hours));
        EXPECT_EQ(e.trigger.start.day, 7);
        EXPECT_EQ(state.AlarmHandles[static_cast<std::size_t>(prayer)], e.handle);
    }
    EXPECT_EQ(state.AlarmHandles[Zuhr], 0u);
    EXPECT_GT(state.engine.schedule.adjusted[Fajr], 6.0);  // a real December morning in Paris
    EXPECT_LT(state.engine.schedule.adjusted[Fajr], 7.0);

    DailyRefresh(state, now, store);  // same date: nothing
    EXPECT_EQ(store.Entries().size(), 3u);
    EXPECT_EQ(store.Entries()[0].handle, entries[0].handle);

    state.scheduleDate = {};  // what clear cache does
    DailyRefresh(state, now, store);
    const auto again = store.Entries();
    ASSERT_EQ(again.size(), 3u);  // each earlier one was cleared first
    EXPECT_NE(again[0].handle, entries[0].handle);

    LocalTime tomorrow = now;
    tomorrow.day = 8;
    tomorrow.dayOfWeek = 2;
    DailyRefresh(state, tomorrow, store);
    const auto next = store.Entries();
    ASSERT_EQ(next.size(), 3u);
    EXPECT_EQ(next[0].user.dialogText,
              "Mardi 8 D\xc3\xa9"
              "cembre 2026");
}

// Reminders come on their own minute with the prayer's shown time in the
// title, no matter whether the prayer's alarm is on; the iqama ends the body.
TEST_F(RefreshFixture, RemindersComeTheirMinutesBeforeWithTheIqamaInTheBody) {
    const struct {
        const char* name;
        LocalTime now;
        int prayer;
        int before;
        IqamaRule iqama;
        JumuahSettings jumuah;
        const char* language;
        const char* title;  // %s: the announced time
        const char* date;
        int announced;    // minute of the day; -1: the prayer's shown one
        int iqamaMinute;  // -1: none; below -1: that many minutes after the prayer, negated
    } cases[] = {
        {"English, iqama after",
         now,
         Asr,
         15,
         {IqamaRule::Kind::After, 15},
         {},
         "en",
         "Asr in 15 min (%s)",
         "Monday 7 December 2026",
         -1,
         -15},
        {"French, no iqama",
         now,
         Zuhr,
         120,
         {},
         {},
         "fr",
         "Zuhr dans 120 min (%s)",
         "Lundi 7 D\xc3\xa9"
         "cembre 2026",
         -1,
         -1},
        {"iqama at a time",
         now,
         Maghrib,
         1,
         {IqamaRule::Kind::At, 17 * 60},
         {},
         "en",
         "Maghrib in 1 min (%s)",
         "Monday 7 December 2026",
         -1,
         17 * 60},
        {"Jumu'ah at its own time",
         {2026, 12, 5, 11, 4, 0, 0, 0},
         Zuhr,
         10,
         {IqamaRule::Kind::After, 5},
         {true, 13 * 60, {IqamaRule::Kind::After, 20}},
         "en",
         "Jumu'ah in 10 min (%s)",
         "Friday 11 December 2026",
         13 * 60,
         13 * 60 + 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& e : store.Entries()) store.Clear(e.handle);
        ResetItemState(state);
        now = c.now;
        const auto p = static_cast<std::size_t>(c.prayer);
        state.extras = {};
        state.extras.reminderMinutes[p] = c.before;
        state.extras.iqama[p] = c.iqama;
        state.extras.jumuah = c.jumuah;
        const ScopedLanguage language(c.language);
        DailyRefresh(state, now, store);
        const auto entries = store.Entries();
        ASSERT_EQ(entries.size(), 1u);  // every alarm switch is off
        const auto& e = entries[0];
        const int shown = ShownMinuteOf(state.engine.schedule.shown[p]).minuteOfDay;
        const int announced = c.announced >= 0 ? c.announced : shown;
        EXPECT_EQ(
            e.trigger.application,
            std::string("\\\\.\\Notifications\\NamedEvents\\Reminder ") + PrayerLabel(c.prayer));
        EXPECT_EQ(e.user.dialogTitle, Format(c.title, MinuteClockText(announced).c_str()));
        EXPECT_EQ(e.trigger.start.hour * 60 + e.trigger.start.minute, announced - c.before);
        EXPECT_EQ(e.trigger.start.day, c.now.day);
        const int iqama = c.iqamaMinute < -1 ? announced - c.iqamaMinute : c.iqamaMinute;
        EXPECT_EQ(e.user.dialogText,
                  std::string(c.date) + (iqama >= 0 ? "\nIqama " + MinuteClockText(iqama) : ""));
    }
}

// On a Friday under Jumu'ah, Zuhr's column, alarm and place among the next
// prayers are the Friday prayer's, at its own time and with its own iqama.
TEST_F(RefreshFixture, JumuahIsAnnouncedInZuhrsPlaceOnFridays) {
    state.AlarmSwitches = {0, 0, 1, 0, 0, 0};
    state.extras.iqama[Zuhr] = {IqamaRule::Kind::After, 5};
    state.extras.jumuah = {true, 13 * 60, {IqamaRule::Kind::After, 20}};
    now = {2026, 12, 5, 11, 10, 0, 0, 0};  // Friday
    DailyRefresh(state, now, store);
    auto entries = store.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].user.dialogTitle, "Jumu'ah 13:00");
    EXPECT_EQ(entries[0].user.dialogText,
              "Vendredi 11 D\xc3\xa9"
              "cembre 2026\nIqama 13:20");
    EXPECT_EQ(entries[0].trigger.start.hour * 60 + entries[0].trigger.start.minute, 13 * 60);
    const ShownColumn column = ShownColumnOf(state, Zuhr);
    EXPECT_EQ(column.label, "Jumu'ah");
    EXPECT_EQ(column.value, "13:00");
    const NextPrayer next = NextPrayerAfter(state, now);
    EXPECT_EQ(next.prayer, Zuhr);
    EXPECT_TRUE(next.jumuah);
    EXPECT_EQ(next.minuteOfDay, 13 * 60);
    EXPECT_EQ(next.iqamaMinuteOfDay, 13 * 60 + 20);

    // Thursday: Zuhr at its own time, with its own iqama.
    for (const auto& e : store.Entries()) store.Clear(e.handle);
    now = {2026, 12, 4, 10, 10, 0, 0, 0};
    DailyRefresh(state, now, store);
    entries = store.Entries();
    ASSERT_EQ(entries.size(), 1u);
    const ShownMinute zuhr = ShownMinuteOf(state.engine.schedule.shown[Zuhr]);
    EXPECT_EQ(entries[0].user.dialogTitle, "Zuhr " + zuhr.text);
    EXPECT_EQ(ShownColumnOf(state, Zuhr).label, "Zuhr");
    EXPECT_EQ(NextPrayerAfter(state, now).iqamaMinuteOfDay, zuhr.minuteOfDay + 5);
    EXPECT_FALSE(NextPrayerAfter(state, now).jumuah);
}

TEST_F(RefreshFixture, NextPrayerIsTodaysOrTomorrowsFajr) {
    EXPECT_EQ(NextPrayerAfter(state, now).prayer, -1);  // no schedule before the first paint
    DailyRefresh(state, now, store);
    const auto today = state.engine.schedule.adjusted;  // a copy
    TodayItemState tomorrow = state;
    DailyRefresh(tomorrow, {2026, 12, 2, 8, 4, 0, 0, 0}, store);
    const auto minute = [](double hours) { return ShownMinuteOf(hours).minuteOfDay; };
    const int fajrTomorrow = minute(tomorrow.engine.schedule.adjusted[Fajr]);
    const int asr = minute(today[Asr]);
    const struct {
        int hour, minute, prayer, minuteOfDay, left;
    } cases[] = {
        {4, 0, Fajr, minute(today[Fajr]), minute(today[Fajr]) - 240},
        {asr / 60, asr % 60, Maghrib, minute(today[Maghrib]),
         minute(today[Maghrib]) - asr},  // Asr's own minute has come: the next one
        {23, 30, Fajr, fajrTomorrow, 30 + fajrTomorrow},
    };
    for (const auto& c : cases) {
        const NextPrayer next = NextPrayerAfter(state, {2026, 12, 1, 7, c.hour, c.minute, 0, 0});
        EXPECT_EQ(next.prayer, c.prayer) << c.hour << ":" << c.minute;
        EXPECT_EQ(next.minuteOfDay, c.minuteOfDay);
        EXPECT_EQ(next.minutesLeft, c.left);
    }
    EXPECT_EQ(state.engine.schedule.adjusted, today);  // its own schedule left alone
}

// 15 March 2024 is 5 Ramadan 1445: before Maghrib the fast ends next, after
// it (6 Ramadan) tomorrow's starts, ten minutes before its Fajr; outside
// Ramadan the date comes alone.
TEST_F(RefreshFixture, HijriNowAndInRamadanTheNextIftarOrImsak) {
    const LocalTime friday{2024, 3, 5, 15, 4, 0, 0, 0};
    EXPECT_FALSE(HijriNowOf(state, friday).date);  // no schedule before the first paint
    DailyRefresh(state, friday, store);
    TodayItemState saturday = state;
    DailyRefresh(saturday, {2024, 3, 6, 16, 4, 0, 0, 0}, store);
    const auto minute = [](const TodayItemState& s, int prayer) {
        return ShownMinuteOf(s.engine.schedule.shown[static_cast<size_t>(prayer)]).minuteOfDay;
    };
    const int fajr = minute(state, Fajr);
    const int maghrib = minute(state, Maghrib);
    const int imsakTomorrow = minute(saturday, Fajr) - 10;
    const struct {
        int hour, minute;
        HijriDate date;
        TodayFast fast;
        int minuteOfDay, left;
    } cases[] = {
        {0, 30, {1445, 9, 5}, TodayFast::Imsak, fajr - 10, fajr - 10 - 30},
        {12, 0, {1445, 9, 5}, TodayFast::Iftar, maghrib, maghrib - 720},
        {maghrib / 60,
         maghrib % 60,
         {1445, 9, 6},
         TodayFast::Imsak,
         imsakTomorrow,
         1440 - maghrib + imsakTomorrow},
    };
    for (const auto& c : cases) {
        const HijriNow at = HijriNowOf(state, {2024, 3, 5, 15, c.hour, c.minute, 0, 0});
        EXPECT_EQ(at.date, c.date) << c.hour << ":" << c.minute;
        EXPECT_EQ(at.fast, c.fast);
        EXPECT_EQ(at.minuteOfDay, c.minuteOfDay);
        EXPECT_EQ(at.minutesLeft, c.left);
    }
    // 10 March is 29 Sha'ban: no fast to count down to.
    TodayItemState shaban = state;
    DailyRefresh(shaban, {2024, 3, 0, 10, 12, 0, 0, 0}, store);
    const HijriNow before = HijriNowOf(shaban, {2024, 3, 0, 10, 12, 0, 0, 0});
    EXPECT_EQ(before.date, (HijriDate{1445, 8, 29}));
    EXPECT_EQ(before.fast, TodayFast::None);
    EXPECT_EQ(before.minutesLeft, -1);
}

// Imsak rings only when its own switch is on, ImsakMinutes before the shown
// Fajr; turning the switch off clears it.
TEST_F(RefreshFixture, ImsakRingsOnlyWithItsOwnSwitch) {
    const auto imsakEntries = [this] {
        std::vector<NotificationStore::Entry> found;
        for (const auto& e : store.Entries()) {
            if (e.trigger.application == NamedEventPath(kImsakEventName)) found.push_back(e);
        }
        return found;
    };
    DailyRefresh(state, now, store);
    EXPECT_TRUE(imsakEntries().empty());
    const struct {
        bool on;
        int minutes;
    } cases[] = {{true, 10}, {true, 25}, {false, 10}};
    for (const auto& c : cases) {
        state.ImsakAlarm = c.on;
        state.engine.imsakMinutes = c.minutes;
        state.scheduleDate = {};
        DailyRefresh(state, now, store);
        const auto entries = imsakEntries();
        ASSERT_EQ(entries.size(), c.on ? 1u : 0u) << c.minutes;
        if (!c.on) continue;
        const int fajr = ShownMinuteOf(state.engine.schedule.shown[Fajr]).minuteOfDay - c.minutes;
        EXPECT_EQ(entries[0].trigger.start.hour * 60 + entries[0].trigger.start.minute, fajr);
        EXPECT_EQ(entries[0].user.dialogText.rfind("Imsak " + ShownMinuteOf(fajr / 60.0).text, 0),
                  0u)
            << entries[0].user.dialogText;
    }
}

TEST_F(RefreshFixture, ATownWithAZoneLivesByItsOwnDayAndAlarmsOnTheDesktopsClock) {
    const testing::DesktopZone paris("Europe/Paris");
    state.engine.place.Zone = "Asia/Tokyo";  // eight hours ahead of Paris in December
    state.AlarmSwitches[Fajr] = 1;
    const LocalTime desktop{2026, 12, 1, 7, 20, 30, 0, 0};
    const LocalTime town = TownNow(desktop, state.engine.place);
    EXPECT_EQ(town, (LocalTime{2026, 12, 2, 8, 4, 30, 0, 0}));
    DailyRefresh(state, town, store);
    EXPECT_EQ(state.scheduleDate.day, 8);
    const auto entries = store.Entries();
    ASSERT_EQ(entries.size(), 1u);
    LocalTime start = AlarmPeriodFor(town, state.engine.schedule.adjusted[Fajr]).start;
    EXPECT_EQ(TownTimeOnDesktop(start, state.engine.place), entries[0].trigger.start);
    start.hour -= 8;
    EXPECT_EQ(entries[0].trigger.start, NormaliseLocalTime(start));
    state.engine.place.Zone.clear();  // without a zone the desktop's time is the town's
    EXPECT_EQ(TownNow(desktop, state.engine.place), desktop);
}

TEST_F(RefreshFixture, AllSwitchesOffSetsAndClearsNothing) {
    // Someone else's notification must survive.
    NotificationTrigger other;
    other.application = "\\\\.\\Notifications\\NamedEvents\\Event Fajr";
    other.start = {2026, 12, 1, 7, 23, 0, 0, 0};
    other.end = {2026, 12, 1, 7, 23, 1, 0, 0};
    const NotificationHandle kept = store.Set(other, UserNotification{});
    DailyRefresh(state, now, store);
    ASSERT_EQ(store.Entries().size(), 1u);
    EXPECT_EQ(store.Entries()[0].handle, kept);
    EXPECT_EQ(state.scheduleDate.day, 7);
}

TEST_F(RefreshFixture, SettingAPrayerClearsOnlyThatPrayersEarlierNotifications) {
    NotificationTrigger fajr, zuhr;
    fajr.application = NamedEventPath("Event Fajr");
    zuhr.application = NamedEventPath("Event Zuhr");
    fajr.start = zuhr.start = {2026, 12, 1, 6, 23, 0, 0, 0};
    fajr.end = zuhr.end = {2026, 12, 1, 6, 23, 1, 0, 0};
    store.Set(fajr, {});
    store.Set(fajr, {});
    const NotificationHandle zuhrHandle = store.Set(zuhr, {});
    NotificationHandle slot = 0;
    EXPECT_EQ(SetAlarm(store, now, 6.5, slot, "Event Fajr", "Fajr 06:30", "text"), 0);
    const auto entries = store.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].handle, zuhrHandle);
    EXPECT_EQ(entries[1].handle, slot);
    EXPECT_EQ(entries[1].trigger.start.hour, 6);
    EXPECT_EQ(entries[1].trigger.start.minute, 30);
}

// Days without some times: what the strip rings and blinks, and when. The
// alarm starts and the blink comes at the minute shown.
TEST_F(RefreshFixture, NoAlarmOrBlinkWithoutATimeAndEstimatesAtTheirTime) {
    struct Case {
        const char* what;
        double latitude;
        bool ishaAfterMaghrib;
        const char* alarms;  // the alarms set, in order
        const char* blinks;  // the blinks from midnight to midnight
    };
    const Case cases[] = {
        // Midnight sun; Isha 90 minutes after a Maghrib that does not exist.
        {"69.65 N in June", 69.65, true, "Zuhr 13:52|Asr 19:04|", "Zuhr 13:52|Asr 19:04|"},
        // Fajr and Isha estimated (a seventh of the night), the rest as computed.
        {"51.5 N in June", 51.5074, false,
         "Fajr 04:30*|Zuhr 13:52|Asr 18:15|Maghrib 22:12|Isha 23:15*|",
         "Fajr 04:30|Zuhr 13:52|Asr 18:15|Maghrib 22:12|Isha 23:15|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TodayItemState item;
        SetUpParis(item);
        ResetItemState(item);
        item.engine.place.latitude = Degrees{c.latitude};
        Convention& convention = item.engine.tables.Conventions[0];
        convention.Isha_is_Maghrib_plus = c.ishaAfterMaghrib;
        convention.IshaPlusMinutes = 90;
        item.AlarmSwitches = {1, 1, 1, 1, 1, 1};
        for (const auto& e : store.Entries()) store.Clear(e.handle);
        DailyRefresh(item, LocalTime{2026, 6, 0, 21, 0, 0, 0, 0}, store);
        std::string alarms;
        for (const auto& e : store.Entries()) {
            const std::string& title = e.user.dialogTitle;
            alarms += title.substr(0, title.find(' ')) +
                      Format(" %02d:%02d", e.trigger.start.hour, e.trigger.start.minute) +
                      (title.back() == '*' ? "*|" : "|");
        }
        EXPECT_EQ(alarms, c.alarms);

        testing::RecordingSounds sounds;
        int height = 32;
        item.HeightChanged = false;
        std::string blinks;
        for (int minute = 0; minute < 24 * 60; ++minute) {
            const LocalTime at{2026, 6, 0, 21, minute / 60, minute % 60, 0, 0};
            const bool idle = item.AlertCountdown == 0;
            QueryRefresh(item, at, 240, height, sounds, [](const Rect*) {});
            if (!idle || item.AlertCountdown == 0) continue;  // no blink began this minute
            for (int p : kShownPrayers) {
                if (item.Highlighted[static_cast<size_t>(p)]) {
                    blinks += Format("%s %02d:%02d|", PrayerLabel(p), minute / 60, minute % 60);
                }
            }
        }
        EXPECT_EQ(blinks, c.blinks);
        EXPECT_EQ(sounds.played.size(),
                  2 * static_cast<size_t>(std::count(blinks.begin(), blinks.end(), '|')));
    }
}

// Blink colours stand at least 3:1 against the strip's navy, at its lightest and
// its darkest, and against a light host; the ones that already do are kept.
TEST(BlinkContrast, EveryBlinkColourShowsOnTheBackground) {
    // The contrast formula's own reference points: black on white, #777 on white.
    EXPECT_NEAR(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio({119, 119, 119}, {255, 255, 255}), 4.48, 0.005);
    const Colour backgrounds[] = {{0x1d, 0x3b, 0x5c}, {0x0c, 0x1f, 0x33}, {255, 255, 255}};
    for (const Colour& background : backgrounds) {
        for (int index = 0; index < 4; ++index) {
            const Colour wanted = BlinkColour(index);
            const Colour shown = LegibleOn(wanted, background);
            EXPECT_GE(ContrastRatio(shown, background), 3.0) << index;
            if (ContrastRatio(wanted, background) >= 3.0) {
                EXPECT_EQ(shown, wanted) << index;
            }
        }
    }
    // On the navy, the blue is lightened (it stood 1.3:1) and stays bluest.
    const Colour blue = LegibleOn({0, 0, 255}, {0x1d, 0x3b, 0x5c});
    EXPECT_NE(blue, (Colour{0, 0, 255}));
    EXPECT_EQ(blue.blue, 255);
    EXPECT_LT(blue.red, 200);
}

}  // namespace
}  // namespace orvano
