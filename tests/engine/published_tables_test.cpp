// The engine under the bundled conventions against timetables that
// authorities published (tests/data/timetables: each file names its
// authority, where it was taken from and its variance). Published minutes
// are rounded by their authorities in ways of their own, so the test holds
// the share of minutes within the file's variance, not every minute.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "astro/constants.h"
#include "config/reader.h"
#include "engine/fit.h"
#include "engine/schedule.h"
#include "tests/support/recording_messages.h"

namespace orvano {
namespace {

struct PublishedTable {
    std::map<std::string, double> header;        // latitude, longitude, zone, convention, variance
    std::vector<std::vector<std::string>> rows;  // date, then the six minutes "HH:MM"
};

PublishedTable ReadTable(const std::string& name) {
    std::ifstream in(std::string(ORVANO_TEST_DATA "/timetables/") + name);
    EXPECT_TRUE(in) << name;
    PublishedTable table;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.rfind("date,", 0) == 0) continue;
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
        if (f.size() == 2) {
            table.header[f[0]] = std::stod(f[1]);
        } else {
            table.rows.push_back(f);
        }
    }
    return table;
}

int Minutes(const std::string& clock) {
    int h = 0, m = 0;
    EXPECT_EQ(std::sscanf(clock.c_str(), "%d:%d", &h, &m), 2) << clock;
    return h * 60 + m;
}

ConfigTables BundledTables() {
    ConfigTables tables;
    CurrentPlace place;
    testing::RecordingMessageSink boxes;
    EXPECT_EQ(
        ReadDataCfg(ORVANO_SOURCE_DIR "/resources/data.cfg", "", tables, place, boxes, nullptr), 0);
    return tables;
}

// The share of the table's minutes that the engine shows within its variance.
double ShareWithinVariance(const ConfigTables& tables, const std::string& name) {
    const PublishedTable table = ReadTable(name);
    EngineState state;
    state.tables = tables;
    state.place.latitude = table.header.at("latitude") * kDegToRad;
    state.place.longitude = table.header.at("longitude") * kDegToRad;
    state.place.TimeZone = static_cast<int>(table.header.at("zone"));
    state.place.Convention = static_cast<int>(table.header.at("convention"));
    const int variance = static_cast<int>(table.header.at("variance"));
    int within = 0, count = 0;
    for (const auto& row : table.rows) {
        int year = 0, month = 0, day = 0;
        EXPECT_EQ(std::sscanf(row[0].c_str(), "%d-%d-%d", &year, &month, &day), 3);
        state.observation = Observation{day, month, year, 12, 0, 0};
        ComputeDaySchedule(state);
        for (std::size_t p = 0; p < kPrayerCount; ++p) {
            const int difference =
                ShownMinuteOf(state.schedule.shown[p]).minuteOfDay - Minutes(row[p + 1]);
            if (std::abs(difference) <= variance) ++within;
            ++count;
        }
    }
    EXPECT_GE(count, 60) << name;
    return count == 0 ? 0.0 : double(within) / count;
}

TEST(PublishedTables, ShareWithinTheirVariance) {
    const ConfigTables tables = BundledTables();
    // The shares the engine meets: every minute for Makkah and Ankara; for
    // Singapore nine in ten, as the bundled Southeast Asian convention's
    // precautions (sunrise 2 min early, Asr and Maghrib 2 min late) are not
    // all MUIS's, and some of its sunrises and Asrs miss by 3 min.
    const struct {
        const char* file;
        double share;
    } cases[] = {
        {"makkah_umm_al_qura_2016.csv", 1.0},
        {"ankara_diyanet_2019.csv", 1.0},
        {"singapore_muis_2020.csv", 0.9},
    };
    for (const auto& c : cases) {
        const double share = ShareWithinVariance(tables, c.file);
        std::printf("%-32s %5.1f %% within the variance\n", c.file, share * 100);
        EXPECT_GE(share, c.share) << c.file;
    }
}

}  // namespace
}  // namespace orvano
