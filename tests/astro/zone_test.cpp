// Named zones from the system's database: offsets across changes in both
// hemispheres, gaps and folds, the integers a town line keeps, names, the
// desktop's zone and the zone in effect the engine takes.
#include "astro/zone.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "astro/julian_time.h"
#include "tests/support/desktop_zone.h"
#include "tests/support/temp_folder.h"

namespace orvano {
namespace {

ZoneRef Zone(const char* name) {
    const ZoneRef zone = FindZone(name);
    EXPECT_NE(zone, nullptr) << name;
    return zone;
}

TEST(Zone, OffsetAtNoonAcrossChanges) {
    // Independent figures: the database's change dates as published for 2026.
    struct Case {
        const char* zone;
        int day, month, year;
        double offset;
    } cases[] = {
        {"Europe/Paris", 28, 3, 2026, 1},        {"Europe/Paris", 29, 3, 2026, 2},
        {"Europe/Paris", 24, 10, 2026, 2},       {"Europe/Paris", 25, 10, 2026, 1},
        {"America/New_York", 7, 3, 2026, -5},    {"America/New_York", 8, 3, 2026, -4},
        {"America/New_York", 31, 10, 2026, -4},  {"America/New_York", 1, 11, 2026, -5},
        {"Australia/Sydney", 4, 4, 2026, 11},    {"Australia/Sydney", 5, 4, 2026, 10},
        {"Australia/Sydney", 3, 10, 2026, 10},   {"Australia/Sydney", 4, 10, 2026, 11},
        {"America/Santiago", 4, 4, 2026, -3},    {"America/Santiago", 5, 4, 2026, -4},
        {"America/Santiago", 5, 9, 2026, -4},    {"America/Santiago", 6, 9, 2026, -3},
        {"Africa/Casablanca", 14, 2, 2026, 1},   {"Africa/Casablanca", 15, 2, 2026, 0},
        {"Africa/Casablanca", 21, 3, 2026, 0},   {"Africa/Casablanca", 22, 3, 2026, 1},
        {"Pacific/Chatham", 4, 4, 2026, 13.75},  {"Pacific/Chatham", 5, 4, 2026, 12.75},
        {"Pacific/Chatham", 26, 9, 2026, 12.75}, {"Pacific/Chatham", 27, 9, 2026, 13.75},
        {"Asia/Kolkata", 1, 7, 2026, 5.5},       {"Asia/Kathmandu", 1, 1, 2026, 5.75},
        {"America/St_Johns", 1, 1, 2026, -3.5},  {"America/St_Johns", 1, 7, 2026, -2.5},
        {"Asia/Tehran", 1, 7, 2021, 4.5},        {"Asia/Tehran", 1, 7, 2026, 3.5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZoneOffsetAtNoon(Zone(c.zone), c.day, c.month, c.year), c.offset)
            << c.zone << " " << c.day << "/" << c.month << "/" << c.year;
    }
}

TEST(Zone, GapAndFoldTakeTheOffsetBeforeTheChange) {
    struct Case {
        const char* zone;
        int day, month, hour, minute;
        double offset;
    } cases[] = {
        {"Europe/Paris", 29, 3, 1, 59, 1},       // before the gap
        {"Europe/Paris", 29, 3, 2, 30, 1},       // inside the gap
        {"Europe/Paris", 29, 3, 3, 0, 2},        // after it
        {"Europe/Paris", 25, 10, 2, 30, 2},      // inside the fold: the earlier offset
        {"Europe/Paris", 25, 10, 3, 0, 1},       // after it
        {"America/Santiago", 6, 9, 0, 30, -4},   // a gap at midnight
        {"America/Santiago", 4, 4, 23, 30, -3},  // a fold before midnight
    };
    for (const Case& c : cases) {
        const long long clock = c.hour * 3600LL + c.minute * 60LL;
        EXPECT_EQ(ZoneOffsetAtLocal(Zone(c.zone), c.day, c.month, 2026, clock), c.offset)
            << c.zone << " " << c.day << "/" << c.month << " " << c.hour << ":" << c.minute;
    }
}

TEST(Zone, StandardOffsetAndTheTownLineIntegers) {
    struct Case {
        const char* zone;
        double standard;
        int timeZone, dst;
    } cases[] = {
        {"Asia/Kolkata", 5.5, 5, 0},
        {"America/St_Johns", -3.5, -3, 1},
        {"Europe/Dublin", 0, 0, 1},
        {"Africa/Casablanca", 0, 0, 1},
        {"Pacific/Chatham", 12.75, 12, 1},
        {"Asia/Tehran", 3.5, 3, 0},
        {"America/New_York", -5, -5, 1},
        {"Australia/Adelaide", 9.5, 9, 1},
        {"UTC", 0, 0, 0},
    };
    for (const Case& c : cases) {
        const ZoneRef zone = Zone(c.zone);
        EXPECT_EQ(ZoneStandardOffset(zone, 2026), c.standard) << c.zone;
        EXPECT_EQ(ZoneHasSummerTime(zone, 2026), c.dst == 1) << c.zone;
        const ZoneIntegers integers = ZoneIntegersOf(zone, 2026);
        EXPECT_EQ(integers.TimeZone, c.timeZone) << c.zone;
        EXPECT_EQ(integers.DST, c.dst) << c.zone;
    }
}

TEST(Zone, ZoneInEffectOfAPlaceAndWhetherSummerTimeApplies) {
    struct Case {
        const char* zone;
        int day, month;
        double offset;
        bool dst;
    } cases[] = {
        {"Europe/Dublin", 15, 1, 0, false},     // the database marks winter, not summer
        {"Europe/Dublin", 15, 7, 1, true},      //
        {"Africa/Casablanca", 1, 3, 0, false},  // Ramadan: a lower offset is no summer time
        {"Asia/Kolkata", 15, 7, 5.5, false},    //
        {"", 15, 7, 2, true},                   // no zone: the Sunday rule on TimeZone 1
        {"Mars/Olympus_Mons", 15, 7, 2, true},  // unknown: the same
        {"../../etc/passwd", 15, 1, 1, false},  // malformed: the same
    };
    for (const Case& c : cases) {
        CurrentPlace place;
        place.TimeZone = 1;
        place.DST = 1;
        place.Zone = c.zone;
        bool dst = !c.dst;
        EXPECT_EQ(ZoneInEffect(place, c.day, c.month, 2026, &dst), c.offset) << c.zone;
        EXPECT_EQ(dst, c.dst) << c.zone;
    }
    // The Sun's position takes the offset at the clock time, not at noon.
    CurrentPlace paris;
    paris.Zone = "Europe/Paris";
    bool dst = true;
    EXPECT_EQ(ZoneInEffectAtClock(paris, Observation{29, 3, 2026, 1, 0, 0}, &dst), 1);
    EXPECT_FALSE(dst);
    EXPECT_EQ(ZoneInEffectAtClock(paris, Observation{29, 3, 2026, 12, 0, 0}, &dst), 2);
    EXPECT_TRUE(dst);
}

TEST(Zone, Names) {
    struct Case {
        std::string name;
        bool wellFormed, known;
    } cases[] = {
        {"Asia/Kolkata", true, true},
        {"America/Argentina/Buenos_Aires", true, true},
        {"Etc/GMT+5", true, true},
        {"America/Port-au-Prince", true, true},
        {"Asia/Nowhere", true, false},
        {"", false, false},
        {"Asia/Kolkata ", false, false},
        {"../zoneinfo/UTC", false, false},
        {"Europe/Zürich", false, false},
        {std::string(64, 'A'), true, false},
        {std::string(65, 'A'), false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZoneNameWellFormed(c.name), c.wellFormed) << c.name;
        EXPECT_EQ(ZoneKnown(c.name), c.known) << c.name;
    }
    const std::vector<std::string> names = ZoneNames();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    for (const char* expected : {"Asia/Kolkata", "Pacific/Chatham", "UTC"}) {
        EXPECT_TRUE(std::binary_search(names.begin(), names.end(), expected)) << expected;
    }
    for (const std::string& name : names) {
        EXPECT_FALSE(name.starts_with("posix/") || name.starts_with("right/")) << name;
        EXPECT_TRUE(ZoneNameWellFormed(name)) << name;
    }
}

TEST(Zone, LocalTimeAndInstant) {
    using namespace std::chrono;
    const ZoneRef kolkata = Zone("Asia/Kolkata");
    // 2026-06-01 00:00:00 UTC is 05:30 in Kolkata.
    const system_clock::time_point instant = sys_days{2026y / June / 1};
    const Observation local = ZoneLocalTime(kolkata, instant + seconds{59});
    EXPECT_EQ(
        (std::array{local.day, local.month, local.year, local.hour, local.minute, local.second}),
        (std::array{1, 6, 2026, 5, 30, 59}));
    EXPECT_EQ(ZoneInstant(kolkata, local), instant + seconds{59});
    EXPECT_EQ(ZoneOffsetAtInstant(Zone("Pacific/Chatham"), instant), 12.75);
    // A clock time in a gap is read with the offset before it.
    const ZoneRef paris = Zone("Europe/Paris");
    EXPECT_EQ(ZoneInstant(paris, Observation{29, 3, 2026, 2, 30, 0}),
              sys_days{2026y / March / 29} + hours{1} + minutes{30});
}

TEST(Zone, DesktopZone) {
    testing::TempFolder folder;
    const std::string link = folder / "localtime";
    const std::string file = folder / "timezone";
    const std::string none = folder / "missing";
    std::filesystem::create_symlink("/usr/share/zoneinfo/Asia/Kolkata", link);
    testing::WriteFile(file, "America/St_Johns\n");
    struct Case {
        const char* tz;
        std::string localtime, timezone, expected;
    } cases[] = {
        {"Pacific/Chatham", link, file, "Pacific/Chatham"},
        {":Pacific/Chatham", link, file, "Pacific/Chatham"},
        // What the C library makes of TZ: a zone file's path is that zone, an
        // empty TZ is UTC, and a rule is a zone with its offsets all year
        // (the system's when it agrees, else UTC, else the first by name).
        {"/usr/share/zoneinfo/Pacific/Kiritimati", link, file, "Pacific/Kiritimati"},
        {":/usr/share/zoneinfo/posix/Asia/Kolkata", none, none, "Asia/Kolkata"},
        {"", link, file, "Etc/UTC"},
        {"<+14>-14", link, file, "Etc/GMT-14"},
        {"IST-5:30", link, file, "Asia/Kolkata"},
        {"NST3:30NDT,M3.2.0,M11.1.0", link, file, "America/St_Johns"},
        {"/nowhere/zoneinfo/Asia/Nowhere", link, file, ""},
        {"Not a rule", link, file, "Etc/UTC"},  // what the C library makes of it
        {nullptr, link, file, "Asia/Kolkata"},
        {nullptr, file, file, "America/St_Johns"},  // not a link
        {nullptr, none, file, "America/St_Johns"},
        {nullptr, none, none, ""},
    };
    for (const Case& c : cases) {
        // The C library reads TZ from the environment: it is set as the case has it.
        std::optional<testing::DesktopZone> zone;
        if (c.tz != nullptr) zone.emplace(c.tz);
        EXPECT_EQ(DesktopZoneName(c.tz, c.localtime, c.timezone), c.expected)
            << (c.tz ? c.tz : "(no TZ)") << " " << c.localtime;
    }
}

TEST(Zone, HoursText) {
    const std::pair<double, const char*> cases[] = {{5, "5"},     {-12, "-12"},   {0, "0"},
                                                    {5.5, "5.5"}, {-3.5, "-3.5"}, {12.75, "12.75"}};
    for (const auto& [hours, text] : cases) EXPECT_EQ(ZoneHoursText(hours), text) << hours;
}

}  // namespace
}  // namespace orvano
