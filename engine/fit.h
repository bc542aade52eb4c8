// Fitting a convention to a published timetable: the fewest changes to the
// town's convention (twilight angles, the Asr rule, the sunrise/sunset angle,
// Isha as Maghrib plus minutes, a fixed Zuhr, whole added minutes) under which
// every time of the table is shown within a minute.
#pragma once

#include <array>
#include <string>

#include "config/records.h"
#include "engine/timetable.h"

namespace orvano {

struct PrayerFit {
    bool given = false;
    int days = 0;  // days of the table used: given, and the Sun reaches the angle
    // |shown - table| in minutes over those days, before (the town's
    // convention) and after the fit.
    double meanBefore = 0.0;
    int maxBefore = 0;
    double meanAfter = 0.0;
    int maxAfter = 0;
    std::string parameters;  // what the fit chose, for people
    std::string
        pattern;  // how the table departs from the fit, when it misses by more than 1 minute
};

struct FitResult {
    Convention starting;
    Convention fitted;
    int changed = 0;          // parameters changed from the starting convention
    bool reproduces = false;  // every used time shown within 1 minute
    bool within2 = false;     // ... within 2 minutes
    // A convention of the file whose angles and rules the fit kept (only added
    // minutes differ), or -1.
    int sameRulesAs = -1;
    std::array<PrayerFit, kPrayerCount> prayers;
};

// Fits the convention of tables.Towns[town] to the table. The town's own
// zone and daylight-saving rule give the clock, as for every schedule.
FitResult FitConvention(const ConfigTables& tables, int town, const Timetable& table);

// How close a convention's shown times come to a table: of the table's times
// on days the convention gives a time, how many are shown within `tolerance`
// minutes, and the mean difference in minutes.
struct TableAgreement {
    int times = 0;
    int within = 0;
    double meanMinutes = 0.0;

    double share() const { return times > 0 ? static_cast<double>(within) / times : 0.0; }
};
TableAgreement CompareWithTable(const ConfigTables& tables, int town, const Timetable& table,
                                const Convention& convention, int tolerance = 1);

}  // namespace orvano
