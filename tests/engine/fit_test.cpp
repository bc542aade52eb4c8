#include "engine/fit.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "config/grammar.h"
#include "config/reader.h"
#include "engine/schedule.h"

namespace orvano {
namespace {

class NoBoxes final : public MessageSink {
  public:
    void Show(const std::string&, const std::string&) override {}
};

ConfigTables BundledTables() {
    ConfigTables tables;
    CurrentPlace place;
    NoBoxes boxes;
    EXPECT_EQ(
        ReadDataCfg(ORVANO_SOURCE_DIR "/resources/data.cfg", "", tables, place, boxes, nullptr), 0);
    return tables;
}

int TownIndex(const ConfigTables& tables, const std::string& name) {
    for (size_t i = 0; i < tables.Towns.size(); ++i) {
        if (tables.Towns[i].Name == name) return static_cast<int>(i);
    }
    ADD_FAILURE() << "no town " << name;
    return 0;
}

std::string Clock(int minutes) {
    // Room for any int, so that no compiler sees a cut.
    char text[24];
    std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60, minutes % 60);
    return text;
}

// The timetable a mosque using `convention` would print for `days` days from
// the given date, each time rounded to `roundTo` minutes, as CSV.
std::string ScheduleCsv(const ConfigTables& tables, int town, const Convention& convention,
                        int year, int month, int firstDay, int days, int roundTo = 1) {
    EngineState state;
    state.tables = tables;
    FillCurrentPlace(tables.Towns[static_cast<size_t>(town)], state.place);
    state.place.Convention = 0;
    state.tables.Conventions[0] = convention;
    std::string csv = "Date,Fajr,Sunrise,Dhuhr,Asr,Maghrib,Isha\n";
    for (int d = firstDay; d < firstDay + days; ++d) {
        state.observation = Observation{d, month, year, 12, 0, 0};
        ComputeDaySchedule(state);
        char date[40];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, d);
        csv += date;
        for (const double hour : state.schedule.adjusted) {
            const int m = ShownMinuteOf(hour).minuteOfDay;
            csv += "," + Clock((m + roundTo / 2) / roundTo * roundTo % 1440);
        }
        csv += "\n";
    }
    return csv;
}

FitResult FitCsv(const ConfigTables& tables, int town, const std::string& csv) {
    Timetable table;
    std::vector<std::string> errors;
    EXPECT_TRUE(ParseTimetable(csv, table, errors)) << (errors.empty() ? "" : errors[0]);
    return FitConvention(tables, town, table);
}

void ExpectReproduced(const FitResult& fit) {
    EXPECT_TRUE(fit.reproduces);
    for (const PrayerFit& p : fit.prayers) {
        EXPECT_TRUE(p.given);
        EXPECT_LE(p.maxAfter, 1) << p.parameters;
        EXPECT_GE(p.days, 7);
    }
}

class FitTest : public ::testing::Test {
  protected:
    ConfigTables tables = BundledTables();
    int algiers = TownIndex(tables, "Algiers");
};

// Every convention of the file, with minutes a mosque might add, is found
// again from a town whose convention is another one.
TEST_F(FitTest, ReproducesEveryBundledConventionWithAddedMinutes) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> minutes(-3, 5);
    for (int k = 0; k < kConventionCount; ++k) {
        SCOPED_TRACE(k);
        Convention convention = tables.Conventions[static_cast<size_t>(k)];
        for (double& m : convention.AddedMinutes) m = minutes(random);
        tables.Towns[static_cast<size_t>(algiers)].Convention = (k + 4) % kConventionCount;
        const FitResult fit =
            FitCsv(tables, algiers, ScheduleCsv(tables, algiers, convention, 2024, 6, 1, 30));
        ExpectReproduced(fit);
        EXPECT_TRUE(fit.within2);
    }
}

TEST_F(FitTest, FindsTwilightAnglesOfItsOwn) {
    Convention convention = tables.Conventions[0];
    convention.FajrTwilightAngle = 15.5;
    convention.IshaTwilightAngle = 14.0;
    convention.Isha_is_Maghrib_plus = false;
    tables.Towns[static_cast<size_t>(algiers)].Convention = 0;
    const FitResult fit =
        FitCsv(tables, algiers, ScheduleCsv(tables, algiers, convention, 2024, 1, 1, 31));
    ExpectReproduced(fit);
    EXPECT_NEAR(fit.fitted.FajrTwilightAngle, 15.5, 0.15);
    EXPECT_NEAR(fit.fitted.IshaTwilightAngle, 14.0, 0.15);
    EXPECT_NE(fit.prayers[Fajr].parameters.find("(was "), std::string::npos);
}

// A town that names a method of its own is still fitted with each trial method.
TEST_F(FitTest, TriesEachMethodWhicheverTheTownNames) {
    Convention convention = tables.Conventions[0];
    convention.FajrTwilightAngle = 15.5;
    convention.IshaTwilightAngle = 14.0;
    convention.Isha_is_Maghrib_plus = false;
    tables.Towns[static_cast<size_t>(algiers)].Convention = 0;
    const std::string csv = ScheduleCsv(tables, algiers, convention, 2024, 1, 1, 31);
    tables.Towns[static_cast<size_t>(algiers)].Method = "slot3";
    ExpectReproduced(FitCsv(tables, algiers, csv));
}

TEST_F(FitTest, FollowsTheTownsClockAcrossSummerTime) {
    const int paris = TownIndex(tables, "Paris");
    ASSERT_NE(tables.Towns[static_cast<size_t>(paris)].DST, 0);
    Convention convention = tables.Conventions[1];
    convention.AddedMinutes[Maghrib] = 3;
    const FitResult fit =
        FitCsv(tables, paris, ScheduleCsv(tables, paris, convention, 2024, 3, 20, 12));
    ExpectReproduced(fit);
}

TEST_F(FitTest, NamesATableRoundedToFiveMinutes) {
    const std::string csv =
        ScheduleCsv(tables, algiers, tables.Conventions[0], 2024, 7, 1, 31, /*roundTo=*/5);
    const FitResult fit = FitCsv(tables, algiers, csv);
    EXPECT_FALSE(fit.reproduces);
    bool named = false;
    for (const PrayerFit& p : fit.prayers) {
        if (p.maxAfter > 1) {
            EXPECT_NE(p.pattern.find("multiple of 5 minutes"), std::string::npos) << p.pattern;
            named = true;
        }
    }
    EXPECT_TRUE(named);
}

// A Maghrib that changes its delay mid-month matches no single convention.
TEST_F(FitTest, ReportsASeasonalRuleAsBeyondTwoMinutes) {
    Convention late = tables.Conventions[0];
    late.AddedMinutes[Maghrib] = 8;
    std::string csv = ScheduleCsv(tables, algiers, tables.Conventions[0], 2024, 9, 1, 15);
    const std::string second = ScheduleCsv(tables, algiers, late, 2024, 9, 16, 15);
    csv += second.substr(second.find('\n') + 1);
    const FitResult fit = FitCsv(tables, algiers, csv);
    EXPECT_FALSE(fit.within2);
    EXPECT_LE(fit.prayers[Fajr].maxAfter, 1);
    EXPECT_GT(fit.prayers[Maghrib].maxAfter, 2);
    EXPECT_NE(fit.prayers[Maghrib].pattern.find("Maghrib: about "), std::string::npos);
    EXPECT_NE(fit.prayers[Maghrib].pattern.find("min after sunset, varying from"),
              std::string::npos)
        << fit.prayers[Maghrib].pattern;
}

TEST(TimetableTest, RefusesWhatCannotBeUsed) {
    const std::string header = "date,fajr,dhuhr\n";
    std::string week;
    for (int d = 1; d <= 7; ++d) week += "2024-05-0" + std::to_string(d) + ",04:10,12:50\n";
    struct Case {
        std::string text;
        std::string error;
    };
    const std::vector<Case> cases = {
        {header + week + "2024-02-30,04:10,12:50\n", "line 9: no such date \"2024-02-30\""},
        {header + week + "2024-05-01,04:11,12:50\n", "line 9: the same date as line 2"},
        {header + week + "2024-05-09,13:10,12:50\n", "line 9: Dhuhr 12:50 comes before Fajr"},
        {header + week + "2024-05-09,4h10,12:50\n", "line 9: Fajr \"4h10\" is not a time HH:MM"},
        {header + week + "24-05-09,04:10,12:50\n",
         "line 9: date \"24-05-09\" is neither YYYY-MM-DD nor DD/MM/YYYY"},
        {header + "2024-05-01,04:10,12:50\n", "only 1 days with a time; at least 7 are needed"},
        {"when,noon\n" + week,
         "line 1: the header must name a date column and at least one prayer"},
    };
    for (const Case& c : cases) {
        Timetable table;
        std::vector<std::string> errors;
        EXPECT_FALSE(ParseTimetable(c.text, table, errors));
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(errors[0], c.error);
    }
}

TEST(TimetableTest, ReadsTabsDayFirstDatesAndOtherNames) {
    std::string text = "\xEF\xBB\xBFJour\tSobh\tChourouk\tDohr\tAsr\tMaghreb\tIcha\r\n";
    for (int d = 1; d <= 7; ++d) {
        text += std::to_string(d) + "/03/2025\t5:1" + std::to_string(d) +
                "\t06:40\t12:55\t\t18:50\t20:10\r\n";
    }
    Timetable table;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseTimetable(text, table, errors));
    ASSERT_EQ(table.days.size(), 7u);
    EXPECT_EQ(table.days[6].day, 7);
    EXPECT_EQ(table.days[6].month, 3);
    EXPECT_EQ(table.days[6].minutes[Fajr], 5 * 60 + 17);
    EXPECT_EQ(table.days[0].minutes[Asr], kNoTime);
    EXPECT_EQ(table.days[0].minutes[Isha], 20 * 60 + 10);
    for (const bool given : table.given) EXPECT_TRUE(given);
}

}  // namespace
}  // namespace orvano
