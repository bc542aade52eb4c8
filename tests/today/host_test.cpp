// The real host with the real plug-in, on Qt's offscreen platform, with its
// own folders for settings, data and state, and a clock set by the test.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <regex>
#include <thread>

#include "astro/angle_text.h"
#include "engine/schedule.h"
#include "platform/notification_store.h"
#include "tests/support/recording_platform.h"
#include "today/item_logic.h"
#include "today/plugin_reader.h"
#include "today_test_util.h"

namespace orvano {
namespace {

namespace fs = std::filesystem;

// The traced colour of blink colour `index` on the strip's top colour, which
// the strip lightens until it stands out (#1D3B5C).
std::string BlinkHex(int index) {
    const Colour c = LegibleOn(BlinkColour(index), Colour{0x1d, 0x3b, 0x5c});
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.red, c.green, c.blue);
    return text;
}

std::size_t Find(const std::vector<std::string>& lines, const std::string& text,
                 std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i] == text) return i;
    }
    return std::string::npos;
}

struct HostFixture : ::testing::Test {
    TempDir dir;
    std::string app, cfg, data, state, run, trace;

    void SetUp() override {
        app = dir.path() + "/app";
        cfg = dir.path() + "/cfg";
        data = dir.path() + "/data";
        state = dir.path() + "/state";
        run = dir.path() + "/run";
        trace = dir.path() + "/trace";
        for (const auto& d :
             {app + "/bin", app + "/lib/orvano", cfg + "/orvano", data, state, run}) {
            fs::create_directories(d);
        }
        fs::permissions(run, fs::perms::owner_all, fs::perm_options::replace);
        // An install without a default data.cfg: the user's file is the test's.
        for (const char* file : {"bin/orvano-today", "lib/orvano/libTodayOrvano.so"}) {
            fs::copy_file(std::string(TODAY_STAGE_PREFIX) + "/" + file, app + "/" + file);
        }
    }
    void UseConfig(const std::string& source = ORVANO_TEST_DATA "/today_paris.cfg") {
        fs::copy_file(source, cfg + "/orvano/data.cfg", fs::copy_options::overwrite_existing);
    }
    void Switches(const std::string& lines) {
        WriteFile(cfg + "/orvano/settings.ini",
                  "[Software\\Microsoft\\Today\\Items\\Orvano]\n" + lines);
    }
    std::string Environment() const {
        return "env -u DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=" + cfg +
               " XDG_DATA_HOME=" + data + " XDG_STATE_HOME=" + state + " XDG_RUNTIME_DIR=" + run +
               " HOME=" + dir.path() + " ";
    }
    std::string HostCommand(const std::string& time, int exitAfterMs,
                            const std::string& extra = "") const {
        return app + "/bin/orvano-today --silent --boxes-to-stderr --query-interval 250 --time '" +
               time + "' --exit-after " + std::to_string(exitAfterMs) + " --trace " + trace + " " +
               extra;
    }
    int Run(const std::string& command) const {
        const int status =
            std::system((Environment() + command + " 2>>" + dir.path() + "/stderr").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Starts the host in the background; its errors are dropped.
    void StartInBackground(const std::string& command) const {
        ASSERT_EQ(std::system((Environment() + command + " 2>/dev/null &").c_str()), 0);
    }
    // Waits up to ten seconds for the trace to hold `line`.
    bool WaitFor(const std::string& line) const {
        for (int i = 0; i < 100; ++i) {
            if (Find(TraceLines(), line) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    // data.cfg replaced as the application saves it: written beside, renamed over.
    void ReplaceConfig(const std::string& text) const {
        WriteFile(cfg + "/orvano/data.cfg.tmp", text);
        fs::rename(cfg + "/orvano/data.cfg.tmp", cfg + "/orvano/data.cfg");
    }
    // The test file with its first town, Algiers, selected instead of Paris.
    std::string AlgiersConfig() const {
        std::string text = ReadFile(ORVANO_TEST_DATA "/today_paris.cfg");
        text.replace(text.find("1 2              1"), 18, "1 2              0");
        return text;
    }
    std::vector<std::string> TraceLines() const {
        std::vector<std::string> lines;
        std::istringstream in(ReadFile(trace));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // The day's adjusted hours of the test file's selected town.
    DaySchedule Schedule(int day, int month, int year) const {
        EngineState engine;
        testing::RecordingMessageSink boxes;
        EXPECT_EQ(ReadPluginConfig(ORVANO_TEST_DATA "/today_paris.cfg", engine, boxes,
                                   []() -> DiagnosticLog& { throw std::logic_error("no log"); }),
                  0);
        engine.observation = {day, month, year, 0, 0, 0};
        ComputeDaySchedule(engine);
        return engine.schedule;
    }
};

std::string Hex(unsigned char byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02x", byte);
    return text;
}

std::size_t FindPrefix(const std::vector<std::string>& lines, const std::string& prefix,
                       std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].rfind(prefix, 0) == 0) return i;
    }
    return std::string::npos;
}

// The value column of the strip's paint: "text L,17,R,32 #FFFFFF centre HH:MM".
std::string ValueText(int column, const std::string& time) {
    static const char* kColumns[] = {"1,17,39,32", "39,17,77,32", "77,17,115,32", "115,17,153,32",
                                     "153,17,191,32"};
    return std::string("text ") + kColumns[column] + " #FFFFFF centre " + time;
}

// True when a paint after `from` shows the five times of `schedule`.
bool PaintsDay(const std::vector<std::string>& lines, const DaySchedule& schedule,
               std::size_t from) {
    const std::size_t paint = Find(lines, "paint", from);
    if (paint == std::string::npos) return false;
    const std::size_t end = Find(lines, "paint end", paint);
    constexpr std::array<std::size_t, 5> kPrayers = {Fajr, Zuhr, Asr, Maghrib, Isha};
    for (std::size_t column = 0; column < kPrayers.size(); ++column) {
        const auto at = Find(lines,
                             ValueText(static_cast<int>(column),
                                       HoursToClockText(schedule.adjusted[kPrayers[column]])),
                             paint);
        if (at == std::string::npos || at > end) return false;
    }
    return true;
}

std::vector<NotificationStore::Entry> StoredAlarms(const std::string& data) {
    return NotificationStore(data + "/orvano/notifications", data + "/orvano/named-events",
                             [] { return LocalTime{}; })
        .Entries();
}

TEST_F(HostFixture, ShowsTheItemBlinksAtAPrayerMinuteAndSetsTheAlarms) {
    UseConfig();
    Switches("AlarmFajr=hex:01\nAlarmAsr=hex:01\n");
    const DaySchedule schedule = Schedule(7, 12, 2026);
    const std::string asr = HoursToClockText(schedule.adjusted[Asr]);
    ASSERT_EQ(
        Run(HostCommand("2026-12-07 " + asr + ":00", 2600, "--grab " + dir.path() + "/strip.png")),
        0)
        << ReadFile(dir.path() + "/stderr");
    const auto lines = TraceLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "item created");
    EXPECT_EQ(lines[1], "query-refresh -> 1 height 32");

    // One paint: five labels and times, the town; the prayer already red.
    const std::size_t paint = Find(lines, "paint");
    ASSERT_NE(paint, std::string::npos);
    const std::size_t end = Find(lines, "paint end", paint);
    ASSERT_NE(end, std::string::npos);
    const std::regex time(R"(text \d+,17,\d+,32 #[0-9A-F]{6} centre \d\d:\d\d)");
    int times = 0;
    for (std::size_t i = paint; i < end; ++i) times += std::regex_match(lines[i], time) ? 1 : 0;
    EXPECT_EQ(times, 5);
    EXPECT_NE(
        Find(lines, "text 1,17,39,32 #FFFFFF centre " + HoursToClockText(schedule.adjusted[Fajr]),
             paint),
        std::string::npos);
    EXPECT_NE(Find(lines, "text 191,17,240,32 #FFFFFF left Paris", paint), std::string::npos);

    // The Asr column blinks red, then green, blue, yellow.
    const std::size_t red = Find(lines, "text 77,17,115,32 " + BlinkHex(1) + " centre " + asr);
    ASSERT_NE(red, std::string::npos);
    const std::size_t green =
        Find(lines, "text 77,17,115,32 " + BlinkHex(2) + " centre " + asr, red);
    ASSERT_NE(green, std::string::npos);
    const std::size_t blue =
        Find(lines, "text 77,17,115,32 " + BlinkHex(3) + " centre " + asr, green);
    EXPECT_NE(blue, std::string::npos);
    // Its alarm switch is on: the two sounds, once.
    const std::size_t sound = Find(lines, "sound SystemStart");
    ASSERT_NE(sound, std::string::npos);
    EXPECT_EQ(lines[sound + 1], "sound Notify");
    EXPECT_EQ(Find(lines, "sound SystemStart", sound + 1), std::string::npos);

    // One notification per switched-on prayer, in the store the host reads.
    const auto entries = StoredAlarms(data);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].trigger.application, "\\\\.\\Notifications\\NamedEvents\\Event Fajr");
    EXPECT_EQ(entries[1].trigger.application, "\\\\.\\Notifications\\NamedEvents\\Event Asr");
    EXPECT_EQ(entries[1].user.dialogTitle, "Asr " + asr);
    EXPECT_EQ(entries[1].user.dialogText,
              "Lundi 7 D\xc3\xa9"
              "cembre 2026");
    EXPECT_TRUE(entries[0].done);  // Fajr's period was over when it was set

    EXPECT_TRUE(fs::exists(dir.path() + "/strip.png"));
    EXPECT_FALSE(fs::exists(state + "/orvano/orvano-today_log.txt"));  // nothing went wrong
}

TEST_F(HostFixture, RefusesTheItemWithoutDataCfgAndLogsWhy) {
    Switches("");
    EXPECT_EQ(Run(HostCommand("2026-12-07 10:00:00", 1000)), 1);
    const auto lines = TraceLines();
    EXPECT_NE(Find(lines, "box File open error: " + cfg + "/orvano/data.cfg"), std::string::npos);
    EXPECT_NE(Find(lines, "load refused"), std::string::npos);
    EXPECT_EQ(Find(lines, "item created"), std::string::npos);
    const std::string log = ReadFile(state + "/orvano/orvano-today_log.txt");
    EXPECT_NE(log.find(" : Cannot open data.cfg file\r\n"), std::string::npos);
    EXPECT_NE(log.find("GetLastError returned : 0x00000002: No such file or directory)\r\n"),
              std::string::npos);
    EXPECT_NE(log.find(" : Log finished\r\n"), std::string::npos);
    EXPECT_NE(log.find("executable: " + app + "/bin/orvano-today (ProcID: 0x"), std::string::npos);
}

// Numbers in their decimal digits only: a sign, a space or a base prefix that
// Qt's conversion would take is refused before anything is shown.
TEST_F(HostFixture, NumberOptionsTakeOnlyDecimalDigits) {
    UseConfig();
    Switches("");
    const struct {
        std::string option;
        std::string value;
        int status;
    } cases[] = {
        {"--width", "+240", 2}, {"--width", "' 240'", 2}, {"--dpi", "0x60", 2},
        {"--jump-by", "+5", 2}, {"--tap", "'1, 2'", 2},   {"--jump-by", "-5", 0},
        {"--tap", "1,2", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option + " " + c.value);
        fs::remove(dir.path() + "/stderr");
        EXPECT_EQ(Run(HostCommand("2026-12-07 10:00:00", 200, c.option + " " + c.value)), c.status);
        const std::string err = ReadFile(dir.path() + "/stderr");
        std::string shown = c.value;
        std::erase(shown, '\'');
        const std::string refusal = "orvano-today: bad " + c.option + " value: " + shown + "\n";
        EXPECT_EQ(err.find(refusal) != std::string::npos, c.status == 2) << err;
    }
}

TEST_F(HostFixture, RereadsDataCfgWhenItChangesAndRunsOnce) {
    UseConfig();
    Switches("");
    // The first copy runs in the background for a while.
    StartInBackground(HostCommand("2026-12-07 10:00:00", 4000));
    ASSERT_TRUE(WaitFor("paint end"));
    // A second copy finds the first and leaves at once.
    EXPECT_EQ(Run(app + "/bin/orvano-today --boxes-to-stderr"), 0);
    EXPECT_NE(ReadFile(dir.path() + "/stderr").find("d\xc3\xa9j\xc3\xa0 lanc\xc3\xa9"),
              std::string::npos);

    ReplaceConfig(AlgiersConfig());
    ASSERT_TRUE(WaitFor("unloaded"));
    const auto lines = TraceLines();
    const std::size_t cleared = Find(lines, "clear-cache (data.cfg changed)");
    ASSERT_NE(cleared, std::string::npos);
    EXPECT_NE(Find(lines, "text 191,17,240,32 #FFFFFF left Algiers", cleared), std::string::npos);
    EXPECT_EQ(Find(lines, "item created", 1), std::string::npos);  // the second copy showed nothing
}

TEST_F(HostFixture, DeliversADueNotificationToTheDesktop) {
    if (std::system("command -v dbus-run-session >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "dbus-run-session is not installed";
    }
    UseConfig();
    Switches("");
    fs::create_directories(data + "/orvano");
    const LocalTime setAt{2026, 12, 1, 7, 9, 59, 0, 0};
    NotificationStore store(data + "/orvano/notifications", data + "/orvano/named-events",
                            [&] { return setAt; });
    NotificationTrigger trigger;
    trigger.application = "\\\\.\\Notifications\\NamedEvents\\Event Zuhr";
    trigger.start = {2026, 12, 1, 7, 10, 0, 0, 0};
    trigger.end = {2026, 12, 1, 7, 10, 1, 0, 0};
    UserNotification user;
    user.actionFlags = 7;
    user.dialogTitle = "Vevor Alarm";
    user.dialogText =
        "Zuhr 10:00       Lundi  7  D\xc3\xa9"
        "cembre  2026\n\n";
    const NotificationHandle handle = store.Set(trigger, user);
    ASSERT_NE(handle, 0u);

    const std::string received = dir.path() + "/received";
    ASSERT_EQ(Run("dbus-run-session -- " + std::string(TODAY_NOTIFY_SERVER) + " " + received +
                  " -- " + HostCommand("2026-12-07 10:00:05", 1500)),
              0)
        << ReadFile(dir.path() + "/stderr");
    EXPECT_EQ(ReadFile(received),
              "app=Orvano\nsummary=Vevor Alarm\nbody=Zuhr 10:00       Lundi  7  "
              "D\xc3\xa9"
              "cembre  2026\\n\\n\n");
    EXPECT_NE(Find(TraceLines(), "notify shown \\\\.\\Notifications\\NamedEvents\\Event Zuhr"),
              std::string::npos);
    EXPECT_EQ(ReadFile(data + "/orvano/named-events"),
              "2026-12-07 10:00:05\t\\\\.\\Notifications\\NamedEvents\\Event Zuhr\n");
    EXPECT_TRUE(store.Entries().at(0).done);
}

TEST_F(HostFixture, AnAdhanThatCannotBePlayedSaysWhyOnceAndRingsTheDefaultSounds) {
    if (std::system("command -v dbus-run-session >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "dbus-run-session is not installed";
    }
    UseConfig();
    const std::string asr = HoursToClockText(Schedule(7, 12, 2026).adjusted[Asr]);
    const struct {
        std::string file;
        std::string why;
    } cases[] = {{dir.path() + "/missing.ogg", "No such file or directory"},
                 {dir.path(), "not a regular file"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        fs::remove(trace);
        std::string file;
        for (const char byte : c.file) {
            file += (file.empty() ? "" : ",") + Hex(static_cast<unsigned char>(byte));
        }
        Switches("AlarmAsr=hex:01\n[Adhan]\nFile=hex:" + file + "\n");
        const std::string received = dir.path() + "/received";
        fs::remove(received);
        // Not silent: the strip tries to play, as it would for the user.
        std::string command = HostCommand("2026-12-07 " + asr + ":00", 2000);
        command.replace(command.find("--silent "), 9, "");
        ASSERT_EQ(Run("dbus-run-session -- " + std::string(TODAY_NOTIFY_SERVER) + " " + received +
                      " -- " + command),
                  0);
        const auto lines = TraceLines();
        const std::size_t failed = Find(lines, "adhan failed " + c.file + ": " + c.why);
        ASSERT_NE(failed, std::string::npos);
        EXPECT_EQ(Find(lines, "sound SystemStart", failed), failed + 1);
        EXPECT_EQ(Find(lines, "sound Notify", failed), failed + 2);
        const std::string told = ReadFile(received);
        const std::string body = "body=Le fichier d'adhan " + c.file +
                                 " ne peut pas \xc3\xaatre jou\xc3\xa9 (" + c.why + ")";
        EXPECT_NE(told.find(body), std::string::npos) << told;
        EXPECT_EQ(told.find(body), told.rfind(body)) << "told more than once";
    }
}

// Friday 11 December 2026 with Jumu'ah at 13:00 and its iqama 20 minutes
// after: the strip names and times it in Zuhr's column and the tooltip gives
// both; on Thursday Zuhr is Zuhr.
TEST_F(HostFixture, FridaysShowJumuahInZuhrsColumnAndTheTip) {
    UseConfig();
    // "1", "13:00" and "20" as the store writes texts.
    Switches("[Jumuah]\nEnabled=hex:31\nTime=hex:31,33,3a,30,30\nIqama=hex:32,30\n");
    ASSERT_EQ(Run(HostCommand("2026-12-11 10:00:00", 1200)), 0);
    auto lines = TraceLines();
    EXPECT_NE(Find(lines, ValueText(1, "13:00")), std::string::npos);
    EXPECT_NE(Find(lines, "text 39,2,77,17 #FFFFFF centre Jumu'ah"), std::string::npos);
    // The Hijri date follows on the tip's next line.
    EXPECT_NE(FindPrefix(lines,
                         "tip Prochaine pri\xc3\xa8re : Jumu'ah \xc3\xa0 13:00, dans 3 h 00 "
                         "min (iqama 13:20) | "),
              std::string::npos);
    fs::remove(trace);
    ASSERT_EQ(Run(HostCommand("2026-12-10 10:00:00", 1200)), 0);
    lines = TraceLines();
    EXPECT_TRUE(PaintsDay(lines, Schedule(10, 12, 2026), 0));
    EXPECT_EQ(Find(lines, "text 39,2,77,17 #FFFFFF centre Jumu'ah"), std::string::npos);
    EXPECT_NE(FindPrefix(lines, "tip Prochaine pri\xc3\xa8re : Zuhr \xc3\xa0 "), std::string::npos);
}

TEST_F(HostFixture, DrawsTheNewDayAndSetsItsAlarmsAtMidnight) {
    UseConfig();
    Switches("AlarmFajr=hex:01\n");
    const DaySchedule today = Schedule(7, 12, 2026);
    const DaySchedule tomorrow = Schedule(8, 12, 2026);
    ASSERT_FALSE(PaintsDay({"paint", ValueText(0, HoursToClockText(today.adjusted[Fajr]))},
                           tomorrow, 0));  // the two days differ somewhere
    ASSERT_EQ(Run(HostCommand("2026-12-07 23:59:50", 12500)), 0)
        << ReadFile(dir.path() + "/stderr");
    const auto lines = TraceLines();
    EXPECT_TRUE(PaintsDay(lines, Schedule(7, 12, 2026), 0));
    const std::size_t midnight = Find(lines, "repaint (new date)");
    ASSERT_NE(midnight, std::string::npos);
    EXPECT_TRUE(PaintsDay(lines, tomorrow, midnight));
    const auto alarms = StoredAlarms(data);
    ASSERT_EQ(alarms.size(), 1u);
    EXPECT_EQ(alarms[0].trigger.start.day, 8);
    EXPECT_EQ(alarms[0].user.dialogText,
              "Mardi 8 D\xc3\xa9"
              "cembre 2026");
    EXPECT_FALSE(alarms[0].done);
}

// Berlin's Isha of 28 July 2026 comes at 00:01:33 on the 29th: the 28th's
// row shows 00:02, and it rings at 00:02 on the 29th, once, not a day early.
TEST_F(HostFixture, RingsAnIshaAfterMidnightOnTheNextDateOnce) {
    std::string text = ReadFile(ORVANO_TEST_DATA "/today_paris.cfg");
    const std::string paris = "France           Paris            48.856600   2.352200";
    text.replace(text.find(paris), paris.size(),
                 "Germany          Berlin           52.520000   13.400000");
    WriteFile(cfg + "/orvano/data.cfg", text);
    Switches("AlarmIsha=hex:01\n");
    const struct {
        const char* time;
        const char* isha;  // the column: that date's own Isha
        bool rings;
    } cases[] = {
        {"2026-07-28 00:01:58", "00:02", false},  // the 27th's came at 00:07 on the 28th
        {"2026-07-29 00:01:58", "23:57", true},   // the 28th's, carried over midnight
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        fs::remove(trace);
        ASSERT_EQ(Run(HostCommand(c.time, 4500)), 0) << ReadFile(dir.path() + "/stderr");
        const auto lines = TraceLines();
        EXPECT_NE(Find(lines, ValueText(4, c.isha)), std::string::npos);
        const std::size_t sound = Find(lines, "sound SystemStart");
        EXPECT_EQ(sound != std::string::npos, c.rings);
        if (sound != std::string::npos) {
            EXPECT_EQ(Find(lines, "sound SystemStart", sound + 1), std::string::npos);
        }
        EXPECT_EQ(FindPrefix(lines, "text 153,17,191,32 " + BlinkHex(1) + " centre ") !=
                      std::string::npos,
                  c.rings);
    }
    // Set on the 28th and kept on the 29th: one alarm at 00:02 on the 29th.
    int carried = 0;
    for (const auto& alarm : StoredAlarms(data)) {
        const LocalTime& start = alarm.trigger.start;
        if (start.day == 29 && start.hour == 0 && start.minute == 2) {
            ++carried;
            // Rung on the 29th, it is still the Isha of its own day, the 28th.
            EXPECT_EQ(alarm.user.dialogTitle, "Isha 00:02");
            EXPECT_EQ(alarm.user.dialogText, "Mardi 28 Juillet 2026");
        }
    }
    EXPECT_EQ(carried, 1);
}

// With no settings the strip speaks the desktop's language when Orvano has a
// catalogue for it, and French, as always, under the C locale.
TEST_F(HostFixture, ANewUserGetsTheDesktopsLanguage) {
    UseConfig();
    const struct {
        const char* lang;
        const char* tip;
    } cases[] = {
        {"tr_TR.UTF-8", "tip Sonraki vakit: Öğle, saat "},
        {"ms_MY.UTF-8", "tip Solat seterusnya: Zohor pada "},
        {"C", "tip Prochaine prière : Zuhr à "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        fs::remove(trace);
        ASSERT_EQ(Run(std::string("LANG=") + c.lang + " LANGUAGE= LC_ALL= LC_MESSAGES= " +
                      HostCommand("2024-03-15 10:00:00", 1000)),
                  0)
            << ReadFile(dir.path() + "/stderr");
        EXPECT_NE(FindPrefix(TraceLines(), c.tip), std::string::npos);
        EXPECT_FALSE(fs::exists(cfg + "/orvano/settings.ini") &&
                     ReadFile(cfg + "/orvano/settings.ini").find("[Language]") != std::string::npos)
            << "the strip leaves the choice to the window";
    }
}

TEST_F(HostFixture, AfterAClockJumpDrawsTheNewDayWithoutABurstOfMissedAlarms) {
    UseConfig();
    Switches(
        "AlarmFajr=hex:01\nAlarmZuhr=hex:01\nAlarmAsr=hex:01\nAlarmMaghrib=hex:01\n"
        "AlarmIsha=hex:01\n");
    // Isha of the 7th falls in the eight hours jumped over.
    ASSERT_GT(Schedule(7, 12, 2026).adjusted[Isha], 18.1);
    ASSERT_EQ(Run(HostCommand("2026-12-07 18:00:00", 3000, "--jump-after 1000 --jump-by 28800")), 0)
        << ReadFile(dir.path() + "/stderr");
    const auto lines = TraceLines();
    const std::size_t jump = Find(lines, "repaint (clock jump)");
    ASSERT_NE(jump, std::string::npos);
    EXPECT_TRUE(PaintsDay(lines, Schedule(8, 12, 2026), jump));
    EXPECT_EQ(FindPrefix(lines, "notify "), std::string::npos);
    const auto alarms = StoredAlarms(data);
    ASSERT_EQ(alarms.size(), 5u);
    for (const auto& alarm : alarms) EXPECT_EQ(alarm.trigger.start.day, 8);
}

TEST_F(HostFixture, KeepsItsPlaceAndDisplayAcrossARestart) {
    UseConfig();
    Switches("");
    ASSERT_EQ(Run(HostCommand("2026-12-07 10:00:00", 800, "--drag-by -40,30 --tap 10,10")), 0);
    auto lines = TraceLines();
    const std::size_t placed = FindPrefix(lines, "strip at ");
    ASSERT_NE(placed, std::string::npos);
    int x = 0;
    int y = 0;
    ASSERT_EQ(std::sscanf(lines[placed].c_str(), "strip at %d,%d", &x, &y), 2);
    const std::string moved = std::to_string(x - 40) + "," + std::to_string(y + 30);
    EXPECT_NE(Find(lines, "position saved " + moved), std::string::npos);
    EXPECT_EQ(Find(lines, "tap 60,16"), std::string::npos);  // the drag's release is no tap
    EXPECT_NE(Find(lines, "query-refresh -> 1 height 16"), std::string::npos);

    fs::remove(trace);
    ASSERT_EQ(Run(HostCommand("2026-12-07 10:00:00", 600)), 0);
    lines = TraceLines();
    EXPECT_NE(Find(lines, "strip at " + moved), std::string::npos);
    EXPECT_NE(Find(lines, "query-refresh -> 1 height 16"), std::string::npos);
    EXPECT_EQ(Find(lines, "query-refresh -> 1 height 32"), std::string::npos);
}

TEST_F(HostFixture, MenuSpeaksTheWindowsLanguageAndRunsItsActions) {
    UseConfig();
    WriteFile(cfg + "/orvano/settings.ini",
              "[Software\\Apps\\Orvano]\nLang=hex:01,00,00,00\n"
              "[Software\\Microsoft\\Today\\Items\\Orvano]\n");
    // The window program stand-in notes each start's arguments, one line each.
    const std::string starts = dir.path() + "/orvano-started";
    WriteFile(app + "/bin/orvano", "#!/bin/sh\necho \"[$*]\" >>" + starts + "\n");
    fs::permissions(app + "/bin/orvano", fs::perms::owner_all);
    const struct {
        std::string action;
        std::string traced;
    } cases[] = {{"reload", "clear-cache (menu)"},
                 {"options", "options shown"},
                 {"open", "started " + app + "/bin/orvano"},
                 {"adhan", "started " + app + "/bin/orvano --adhan-settings"},
                 {"quit", "unloaded"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        fs::remove(trace);
        const std::string grab = dir.path() + "/grab-" + c.action + ".png";
        ASSERT_EQ(Run(HostCommand("2026-12-07 10:00:00", 1500,
                                  "--menu-action " + c.action + " --grab " + grab)),
                  0);
        const auto lines = TraceLines();
        EXPECT_NE(Find(lines,
                       "menu Open Orvano|Alarm options\xe2\x80\xa6|Adhan and reminders\xe2\x80\xa6|"
                       "Re-read data.cfg|Quit"),
                  std::string::npos);
        if (c.action != "quit") {  // the tip follows the first paint's schedule
            EXPECT_NE(FindPrefix(lines, "tip Next prayer: Zuhr at "), std::string::npos);
        }
        EXPECT_NE(Find(lines, c.traced), std::string::npos);
        // Quitting from the menu ends the run before the test's own exit.
        EXPECT_EQ(fs::exists(grab), c.action != "quit");
    }
    // Started apart from the strip, in either order.
    std::string started;
    for (int i = 0; i < 50; ++i) {
        started = ReadFile(starts);
        if (std::count(started.begin(), started.end(), '\n') >= 2) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(started == "[]\n[--adhan-settings]\n" || started == "[--adhan-settings]\n[]\n")
        << started;
}

// The tooltip's lines after the next prayer, and the menu's title: the Hijri
// date now and, in Ramadan, the next of iftar and imsak (the countdown's
// minutes are the item's, tested with it).
TEST_F(HostFixture, TooltipAndMenuTitleGiveTheHijriDateAndTheFast) {
    UseConfig();
    const DaySchedule friday = Schedule(15, 3, 2024);
    const DaySchedule saturday = Schedule(16, 3, 2024);
    const std::string iftar = ShownMinuteOf(friday.shown[Maghrib]).text;
    const int imsak = ShownMinuteOf(saturday.shown[Fajr]).minuteOfDay - 10;
    char imsakText[32];
    std::snprintf(imsakText, sizeof imsakText, "%02d:%02d", imsak / 60, imsak % 60);
    const struct {
        const char* time;
        const char* lang;
        std::string title;
    } cases[] = {
        {"2024-03-15 10:00:00", "01", "5 Ramadan 1445 | Iftar at " + iftar + ", in "},
        {"2024-03-15 22:00:00", "02", "6 Ramadan 1445 | Imsak \xc3\xa0 " + std::string(imsakText)},
        {"2024-03-10 10:00:00", "01", "29 Sha'ban 1445"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        WriteFile(cfg + "/orvano/settings.ini",
                  std::string("[Software\\Apps\\Orvano]\nLang=hex:") + c.lang + ",00,00,00\n");
        fs::remove(trace);
        ASSERT_EQ(Run(HostCommand(c.time, 1000)), 0);
        const auto lines = TraceLines();
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind("tip ", 0) == 0 && line.find(" | " + c.title) != std::string::npos;
        }));
        const std::size_t title = FindPrefix(lines, "menu title " + c.title);
        ASSERT_NE(title, std::string::npos);
        // Outside Ramadan the date is the title's one line.
        if (c.title.find('|') == std::string::npos) {
            EXPECT_EQ(lines[title], "menu title " + c.title);
        }
    }
}

TEST_F(HostFixture, AStormOfBadFilesShowsOneMessageAtATime) {
    UseConfig();
    Switches("");
    StartInBackground(app +
                      "/bin/orvano-today --silent --query-interval 250 --time "
                      "'2026-12-07 10:00:00' --exit-after 4500 --trace " +
                      trace);
    ASSERT_TRUE(WaitFor("paint end"));
    for (int i = 0; i < 12; ++i) {
        ReplaceConfig(i % 2 ? "1 x\n" : "3 0 1 2\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    ReplaceConfig(AlgiersConfig());
    ASSERT_TRUE(WaitFor("unloaded"));
    const auto lines = TraceLines();
    int messages = 0;
    for (const auto& line : lines) {
        if (line.rfind("box ", 0) != 0 || line == "box closed") continue;
        ++messages;
        EXPECT_EQ(line.substr(line.size() - std::min<std::size_t>(line.size(), 9)), " (open 1)");
    }
    EXPECT_GE(messages, 6);
    EXPECT_EQ(CountOf(ReadFile(trace), "box shown "), 1);
    const std::size_t closed = Find(lines, "box closed");
    ASSERT_NE(closed, std::string::npos);
    EXPECT_NE(Find(lines, "text 191,17,240,32 #FFFFFF left Algiers", closed), std::string::npos);
}

// ---- robustness: clock limits, folders that come and go, a hung server ------

// Waits up to ten seconds for the trace to hold `line` `count` times.
bool WaitForCount(const HostFixture& host, const std::string& line, int count) {
    for (int i = 0; i < 100; ++i) {
        if (CountOf(ReadFile(host.trace), line + "\n") >= count) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

TEST_F(HostFixture, ClockStopsAtTheLastSecondOfTheYear9999) {
    UseConfig();
    Switches("");
    ASSERT_EQ(Run(HostCommand("9999-12-31 23:59:57", 4500)), 0) << ReadFile(dir.path() + "/stderr");
    const auto lines = TraceLines();
    EXPECT_EQ(Find(lines, "repaint (new date)"), std::string::npos);
    std::size_t lastPaint = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "paint") lastPaint = i;
    }
    EXPECT_TRUE(PaintsDay(lines, Schedule(31, 12, 9999), lastPaint));
}

TEST_F(HostFixture, FollowsDataCfgThroughItsFolderRemovedAndMadeAgain) {
    UseConfig();
    Switches("");
    StartInBackground(HostCommand("2026-12-07 10:00:00", 12000));
    ASSERT_TRUE(WaitFor("paint end"));
    const std::string paris = ReadFile(ORVANO_TEST_DATA "/today_paris.cfg");
    const char* towns[] = {"Algiers", "Paris", "Algiers"};
    for (int i = 0; i < 3; ++i) {
        fs::remove_all(cfg + "/orvano");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        fs::create_directories(cfg + "/orvano");
        WriteFile(cfg + "/orvano/data.cfg", i % 2 == 0 ? AlgiersConfig() : paris);
        ASSERT_TRUE(WaitForCount(*this, "clear-cache (data.cfg changed)", i + 1)) << towns[i];
        const auto lines = TraceLines();
        std::size_t cleared = 0;
        for (int n = 0; n <= i; ++n)
            cleared = Find(lines, "clear-cache (data.cfg changed)", cleared + 1);
        ASSERT_TRUE(WaitFor("paint end"));
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        EXPECT_NE(
            Find(TraceLines(), std::string("text 191,17,240,32 #FFFFFF left ") + towns[i], cleared),
            std::string::npos)
            << towns[i];
    }
}

TEST_F(HostFixture, ANotificationServerThatNeverAnswersStopsNoBlinking) {
    if (std::system("command -v dbus-run-session >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "dbus-run-session is not installed";
    }
    UseConfig();
    Switches("AlarmAsr=hex:01\n");
    const std::string asr = HoursToClockText(Schedule(7, 12, 2026).adjusted[Asr]);
    const std::string received = dir.path() + "/received";
    ASSERT_EQ(Run("dbus-run-session -- " + std::string(TODAY_NOTIFY_SERVER) + " " + received +
                  " --never-answer -- " + HostCommand("2026-12-07 " + asr + ":00", 4000)),
              0)
        << ReadFile(dir.path() + "/stderr");
    const std::string event = "\\\\.\\Notifications\\NamedEvents\\Event Asr";
    const auto lines = TraceLines();
    const std::size_t sent = Find(lines, "notify sent " + event);
    ASSERT_NE(sent, std::string::npos);
    EXPECT_NE(ReadFile(received).find("summary=Asr " + asr), std::string::npos);
    // While the call waits, the Asr column goes on blinking; the call then
    // gives up within the run.
    const std::size_t red =
        Find(lines, "text 77,17,115,32 " + BlinkHex(1) + " centre " + asr, sent);
    const std::size_t green =
        Find(lines, "text 77,17,115,32 " + BlinkHex(2) + " centre " + asr, red);
    const std::size_t blue =
        Find(lines, "text 77,17,115,32 " + BlinkHex(3) + " centre " + asr, green);
    const std::size_t gaveUp = Find(lines, "notify no-server " + event, sent);
    ASSERT_NE(blue, std::string::npos);
    ASSERT_NE(gaveUp, std::string::npos);
    EXPECT_LT(blue, gaveUp);
}

// ---- robustness: two unprivileged users and the single-instance socket -----

constexpr uid_t kUser = 65534;
constexpr uid_t kOtherUser = 65533;
const std::string kAsUser = "setpriv --reuid=65534 --regid=65534 --clear-groups ";

// A process of `uid` listening on a local socket at `path` until destroyed.
class Listener {
  public:
    Listener(const std::string& path, uid_t uid) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            if (uid != 0 && (::setgid(uid) != 0 || ::setuid(uid) != 0)) _exit(1);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
            // Open to everyone, so that only the peer check can turn a caller away.
            if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
                ::chmod(path.c_str(), 0777) != 0 || ::listen(fd, 8) != 0)
                _exit(1);
            [[maybe_unused]] const ssize_t n = ::write(ready[1], "r", 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char byte = 0;
        listening_ = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
    }
    ~Listener() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    bool listening() const { return listening_; }

  private:
    pid_t pid_ = -1;
    bool listening_ = false;
};

void GiveTree(const std::string& root, uid_t uid) {
    ASSERT_EQ(::lchown(root.c_str(), uid, uid), 0);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        ASSERT_EQ(::lchown(entry.path().c_str(), uid, uid), 0) << entry.path();
    }
}

struct SocketFixture : HostFixture {
    std::string tmp, otherRun, socketName;

    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "runs the strip as two other users: needs root";
        HostFixture::SetUp();
        UseConfig();
        Switches("");
        tmp = dir.path() + "/tmp";
        otherRun = dir.path() + "/other-run";
        fs::create_directories(tmp);
        fs::create_directories(data + "/orvano");
        GiveTree(dir.path(), kUser);
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
        ASSERT_EQ(::chmod(tmp.c_str(), 01777), 0);
        fs::create_directories(otherRun);
        ASSERT_EQ(::chown(otherRun.c_str(), kOtherUser, kOtherUser), 0);
        ASSERT_EQ(::chmod(otherRun.c_str(), 0700), 0);
        socketName = "orvano-today-" +
                     QCryptographicHash::hash(QByteArray::fromStdString(data + "/orvano"),
                                              QCryptographicHash::Sha1)
                         .toHex()
                         .left(12)
                         .toStdString() +
                     ".sock";
    }
    // The strip as the user, with this runtime folder (none when empty).
    std::string AsUser(const std::string& runtime, const std::string& command) const {
        return kAsUser + "env -u XDG_RUNTIME_DIR TMPDIR=" + tmp +
               (runtime.empty() ? "" : " XDG_RUNTIME_DIR=" + runtime) + " " + command;
    }
};

TEST_F(SocketFixture, ASocketOfAnotherUserNeverStopsTheStrip) {
    const std::string fallback = tmp + "/orvano-" + std::to_string(kUser);
    const struct {
        const char* what;
        std::string runtime;
        std::string squat;  // a folder made by the other user, with a listener in it
        uid_t squatter;
        bool findable;
    } cases[] = {
        {"runtime folder of another user", otherRun, "", 0, true},
        {"fallback folder made by another user", "", fallback, kOtherUser, false},
        {"a listener of another uid in the user's own folder", run, run, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(trace);
        fs::remove(dir.path() + "/stderr");
        fs::remove_all(fallback);
        if (!c.squat.empty() && c.squat != run) {
            fs::create_directories(c.squat);
            ASSERT_EQ(::chown(c.squat.c_str(), c.squatter, c.squatter), 0);
            ASSERT_EQ(::chmod(c.squat.c_str(), 0777), 0);
        }
        std::unique_ptr<Listener> squatter;
        if (!c.squat.empty()) {
            squatter = std::make_unique<Listener>(c.squat + "/" + socketName, c.squatter);
            ASSERT_TRUE(squatter->listening());
        }
        ASSERT_EQ(Run(AsUser(c.runtime, HostCommand("2026-12-07 10:00:00", 1500))), 0)
            << ReadFile(dir.path() + "/stderr");
        EXPECT_NE(Find(TraceLines(), "item created"), std::string::npos)
            << ReadFile(dir.path() + "/stderr");
        EXPECT_EQ(ReadFile(dir.path() + "/stderr").find("aucun dossier priv") != std::string::npos,
                  !c.findable);
    }
}

TEST_F(SocketFixture, AnswersOnlyItsUserAndRemovesItsSocketWhenTerminated) {
    const std::string pidFile = dir.path() + "/pid";
    ASSERT_EQ(std::system((Environment() + AsUser(run, HostCommand("2026-12-07 10:00:00", 20000)) +
                           " 2>/dev/null & echo $! >" + pidFile)
                              .c_str()),
              0);
    ASSERT_TRUE(WaitFor("paint end"));
    const std::string socket = run + "/" + socketName;
    ASSERT_TRUE(fs::exists(socket));

    // Root is another user too: its request is refused unread.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket.c_str());
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // The strip may refuse and close before the request is written: no SIGPIPE.
    const ssize_t sent = ::send(fd, "raise\n", 6, MSG_NOSIGNAL);
    ASSERT_TRUE(sent == 6 || (sent < 0 && errno == EPIPE)) << std::strerror(errno);
    ::close(fd);
    EXPECT_TRUE(WaitFor("instance request refused from uid 0"));
    EXPECT_EQ(Find(TraceLines(), "raise requested"), std::string::npos);
    // The user's own second start is answered.
    EXPECT_EQ(Run(AsUser(run, app + "/bin/orvano-today --boxes-to-stderr")), 0);
    EXPECT_NE(ReadFile(dir.path() + "/stderr").find("d\xc3\xa9j\xc3\xa0 lanc\xc3\xa9"),
              std::string::npos);
    EXPECT_TRUE(WaitFor("raise requested"));

    const pid_t pid = std::stoi(ReadFile(pidFile));
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    EXPECT_TRUE(WaitFor("unloaded"));
    for (int i = 0; i < 50 && fs::exists(socket); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_FALSE(fs::exists(socket));
}

}  // namespace
}  // namespace orvano
