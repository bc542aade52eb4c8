// Fitting a month of six prayers, the size of table a mosque prints: it must
// take well under two seconds, since the user waits for it at the terminal.
#include <benchmark/benchmark.h>

#include "config/grammar.h"
#include "engine/fit.h"
#include "engine/schedule.h"

namespace orvano {
namespace {

ConfigTables OneTown() {
    ConfigTables tables;
    for (Convention& c : tables.Conventions) {
        c.FajrTwilightAngle = 18;
        c.IshaTwilightAngle = 17;
        c.SunriseSetAngle = 0.833;
        c.AsrShafii = true;
    }
    Town algiers;
    algiers.Country = "Algeria";
    algiers.Name = "Algiers";
    algiers.longitude = 3.0588;
    algiers.latitude = 36.7538;
    algiers.TimeZone = 1;
    tables.Towns.push_back(algiers);
    tables.NumberOfTowns = 1;
    return tables;
}

// What a mosque keeping its own angles and minutes would print for March 2024.
Timetable MosqueMonth(const ConfigTables& tables) {
    EngineState state;
    state.tables = tables;
    Convention& mosque = state.tables.Conventions[0];
    mosque.FajrTwilightAngle = 15.5;
    mosque.IshaTwilightAngle = 14.0;
    mosque.AddedMinutes = {2, -1, 3, 1, 4, 0};
    FillCurrentPlace(tables.Towns[0], state.place);
    Timetable table;
    table.given.fill(true);
    for (int d = 1; d <= 31; ++d) {
        state.observation = Observation{d, 3, 2024, 12, 0, 0};
        ComputeDaySchedule(state);
        TimetableDay day{2024, 3, d, {}, d + 1};
        for (int p = 0; p < kPrayerCount; ++p) {
            day.minutes[static_cast<size_t>(p)] =
                ShownMinuteOf(state.schedule.adjusted[static_cast<size_t>(p)]).minuteOfDay;
        }
        table.days.push_back(day);
    }
    return table;
}

void BM_FitMonthOfSixPrayers(benchmark::State& bench) {
    const ConfigTables tables = OneTown();
    const Timetable table = MosqueMonth(tables);
    for (auto _ : bench) {
        FitResult fit = FitConvention(tables, 0, table);
        benchmark::DoNotOptimize(fit);
    }
}
BENCHMARK(BM_FitMonthOfSixPrayers)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvano

BENCHMARK_MAIN();
