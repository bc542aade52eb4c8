// The notification service stand-in: a store that survives the process.
#include <gtest/gtest.h>

#include "platform/notification_store.h"
#include "tests/support/hostile_files.h"
#include "today_test_util.h"

namespace orvano {
namespace {

LocalTime At(int day, int hour, int minute, int second = 0) {
    return LocalTime{2026, 12, 0, day, hour, minute, second, 0};
}

struct StoreFixture : ::testing::Test {
    TempDir dir;
    LocalTime now = At(7, 10, 0);
    std::string file() const { return dir.path() + "/notifications"; }
    std::string events() const { return dir.path() + "/events"; }
    NotificationStore Store() {
        return NotificationStore(file(), events(), [this] { return now; });
    }
    static NotificationTrigger Trigger(const std::string& app, LocalTime start, LocalTime end) {
        NotificationTrigger t;
        t.application = app;
        t.start = start;
        t.end = end;
        return t;
    }
};

TEST(NormaliseLocalTime, CarriesIntoTheNextDayMonthAndYear) {
    EXPECT_EQ(NormaliseLocalTime(LocalTime{2026, 12, 0, 7, 24, 0, 0, 5}),
              (LocalTime{2026, 12, 2, 8, 0, 0, 0, 5}));  // Tuesday
    EXPECT_EQ(NormaliseLocalTime(LocalTime{2026, 12, 0, 31, 23, 60, 0, 0}),
              (LocalTime{2027, 1, 5, 1, 0, 0, 0, 0}));  // Friday 1 January 2027
    EXPECT_EQ(NormaliseLocalTime(LocalTime{2028, 2, 0, 28, 25, 30, 0, 0}),
              (LocalTime{2028, 2, 2, 29, 1, 30, 0, 0}));
    EXPECT_EQ(NormaliseLocalTime(LocalTime{2026, 12, 9, 7, 5, 42, 0, 0}).dayOfWeek, 1);
}

TEST_F(StoreFixture, SetListReadClearAndPersist) {
    auto store = Store();
    UserNotification user{7, "Vevor Alarm", "Fajr 05:42   \n\ttab\\"};
    const auto a = store.Set(Trigger("app A", At(7, 11, 0), At(7, 11, 1)), user);
    const auto b = store.Set(Trigger("app B", At(7, 12, 0), At(7, 12, 1)), {});
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_NE(a, b);

    auto other = Store();  // another process reading the same file
    EXPECT_EQ(other.List(256), (std::vector<NotificationHandle>{a, b}));
    EXPECT_EQ(other.List(1), (std::vector<NotificationHandle>{a}));
    const auto info = other.Read(a);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->trigger.application, "app A");
    EXPECT_EQ(info->trigger.start, NormaliseLocalTime(At(7, 11, 0)));
    EXPECT_EQ(info->notification.dialogText, user.dialogText);
    EXPECT_EQ(info->notification.dialogTitle, "Vevor Alarm");
    EXPECT_EQ(info->notification.actionFlags, 7);

    EXPECT_TRUE(other.Clear(a));
    EXPECT_FALSE(other.Clear(a));
    EXPECT_FALSE(store.Read(a).has_value());
    EXPECT_EQ(store.List(256), (std::vector<NotificationHandle>{b}));
    // Handles are never reused.
    EXPECT_GT(store.Set(Trigger("app C", At(7, 13, 0), At(7, 13, 1)), {}), b);
}

TEST_F(StoreFixture, AtMost256) {
    auto store = Store();
    for (int i = 0; i < 256; ++i) {
        ASSERT_NE(store.Set(Trigger("x", At(8, 1, 0), At(8, 1, 1)), {}), 0u) << i;
    }
    EXPECT_EQ(store.Set(Trigger("x", At(8, 1, 0), At(8, 1, 1)), {}), 0u);
    EXPECT_EQ(store.List(1000)->size(), 256u);
}

TEST_F(StoreFixture, EndOf24HoursIsMidnightOfTheNextDay) {
    auto store = Store();
    const auto h = store.Set(Trigger("late", At(7, 23, 59), At(7, 24, 0)), {});
    const auto info = store.Read(h);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->trigger.end.day, 8);
    EXPECT_EQ(info->trigger.end.hour, 0);
    now = At(7, 23, 59, 30);
    EXPECT_EQ(store.TakeDue(now).size(), 1u);
}

TEST_F(StoreFixture, DeliveredOnceWhenThePeriodStarts) {
    auto store = Store();
    const auto h = store.Set(Trigger("p", At(7, 11, 0), At(7, 11, 1)), {7, "Vevor Alarm", "t"});
    EXPECT_TRUE(store.TakeDue(At(7, 10, 59, 59)).empty());
    const auto due = store.TakeDue(At(7, 11, 0, 0));
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].handle, h);
    EXPECT_EQ(due[0].user.dialogText, "t");
    EXPECT_TRUE(store.TakeDue(At(7, 11, 0, 30)).empty());
    EXPECT_TRUE(Store().TakeDue(At(7, 11, 0, 40)).empty());
    EXPECT_TRUE(store.Read(h).has_value());  // still listed until cleared
}

TEST_F(StoreFixture, PeriodOverWhenSetOrMissedNeverFires) {
    auto store = Store();
    now = At(7, 15, 0);
    store.Set(Trigger("morning", At(7, 5, 42), At(7, 5, 43)), {});
    const auto evening = store.Set(Trigger("evening", At(7, 17, 0), At(7, 17, 1)), {});
    store.Set(Trigger("night", At(7, 20, 0), At(7, 20, 1)), {});
    EXPECT_TRUE(store.TakeDue(At(7, 15, 0, 1)).empty());
    // The host was not running at 17:00; at 18:00 that period is over.
    EXPECT_TRUE(store.TakeDue(At(7, 18, 0)).empty());
    EXPECT_TRUE(store.TakeDue(At(7, 17, 0, 30)).empty());
    const auto due = store.TakeDue(At(7, 20, 0, 10));
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].trigger.application, "night");
    EXPECT_TRUE(store.Read(evening).has_value());
}

TEST_F(StoreFixture, DamagedLinesAreSkipped) {
    auto store = Store();
    const auto h = store.Set(Trigger("ok", At(8, 1, 0), At(8, 1, 1)), {});
    {
        std::ofstream out(file(), std::ios::app);
        out << "N\tgarbage\n\n\tnonsense\n";
    }
    EXPECT_EQ(store.List(256), (std::vector<NotificationHandle>{h}));
}

TEST_F(StoreFixture, NamedEventsAreRecorded) {
    auto store = Store();
    EXPECT_TRUE(
        store.RecordNamedEvent("\\\\.\\Notifications\\NamedEvents\\Event Asr", At(7, 14, 3, 9)));
    EXPECT_EQ(ReadFile(events()),
              "2026-12-07 14:03:09\t\\\\.\\Notifications\\NamedEvents\\Event Asr\n");
}

// A store or events file that is a FIFO, a device, a folder or huge fails the
// service's calls at once; nothing waits and nothing is replaced.
TEST_F(StoreFixture, HostileFilesFailAtOnce) {
    for (const testing::HostileCase& c : testing::kHostileFiles) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(testing::PlantHostile(c.kind, file()));
        ASSERT_TRUE(testing::PlantHostile(c.kind, events()));
        NotificationStore store = Store();
        EXPECT_EQ(store.Set(Trigger("app", At(7, 11, 0), At(7, 11, 1)), {}), 0u);
        EXPECT_FALSE(store.List(10).has_value());
        // Appending to a huge events file is no danger; the others are refused.
        EXPECT_EQ(store.RecordNamedEvent("app", At(7, 11, 0)),
                  c.kind == testing::Hostile::Oversized);
        EXPECT_EQ(std::filesystem::is_regular_file(file()), c.kind == testing::Hostile::Oversized);
    }
}

// The store and the events file are the program's own: a link planted at
// either, dangling or not, is neither read nor written through.
TEST_F(StoreFixture, PlantedLinksAreNotFollowed) {
    const struct {
        const char* name;
        bool dangling;
    } cases[] = {{"dangling link", true}, {"link to another file", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string elsewhere = dir.path() + "/elsewhere";
        std::filesystem::remove(elsewhere);
        if (!c.dangling) WriteFile(elsewhere, "next\t9\n");
        for (const std::string& path : {file(), events()}) {
            std::filesystem::remove(path);
            std::filesystem::create_symlink(elsewhere, path);
        }
        NotificationStore store = Store();
        EXPECT_FALSE(store.RecordNamedEvent("app", At(7, 11, 0)));
        EXPECT_FALSE(store.List(10).has_value());
        EXPECT_EQ(std::filesystem::exists(elsewhere), !c.dangling);
        if (!c.dangling) {
            EXPECT_EQ(ReadFile(elsewhere), "next\t9\n");
        }
    }
}

TEST_F(StoreFixture, UnwritableFolderFailsCleanly) {
    NotificationStore store(dir.path() + "/missing/notifications", events(),
                            [this] { return now; });
    EXPECT_EQ(store.Set(Trigger("x", At(8, 1, 0), At(8, 1, 1)), {}), 0u);
    EXPECT_EQ(store.List(256), (std::vector<NotificationHandle>{}));
}

}  // namespace
}  // namespace orvano
