// A year of one town's prayer times written as CSV and as iCalendar: what
// `orvano-cli export --from ... --to ...` spends once the tables are read.
// The target is well under 50 ms for either format.
#include <benchmark/benchmark.h>

#include "astro/constants.h"
#include "cli/export.h"

namespace orvano {
namespace {

EngineState Algiers() {
    EngineState state;
    Convention& c = state.tables.Conventions[0];
    c.Name = "Algeria, Ministry of Religious Affairs and Wakfs";
    c.FajrTwilightAngle = 18;
    c.IshaTwilightAngle = 17;
    c.SunriseSetAngle = 0.833;
    c.AsrShafii = true;
    state.place.Name = "Algiers";
    state.place.Country = "Algeria";
    state.place.latitude = Degrees{36.75};
    state.place.longitude = Degrees{3.05};
    state.place.TimeZone = 1;
    return state;
}

const date::year_month_day kFrom = date::year(2026) / 1 / 1;
const date::year_month_day kTo = date::year(2026) / 12 / 31;

void BM_ExportYearCsv(benchmark::State& bench) {
    EngineState state = Algiers();
    for (auto _ : bench) benchmark::DoNotOptimize(cli::ExportCsv(state, kFrom, kTo));
}
BENCHMARK(BM_ExportYearCsv)->Unit(benchmark::kMillisecond);

void BM_ExportYearIcs(benchmark::State& bench) {
    EngineState state = Algiers();
    const std::array<bool, kPrayerCount> alarms = {true, false, true, true, true, true};
    for (auto _ : bench) benchmark::DoNotOptimize(cli::ExportIcs(state, kFrom, kTo, alarms));
}
BENCHMARK(BM_ExportYearIcs)->Unit(benchmark::kMillisecond);

// Each instant through the zone database.
void BM_ExportYearIcsNamedZone(benchmark::State& bench) {
    EngineState state = Algiers();
    state.place.Zone = "Africa/Algiers";
    const std::array<bool, kPrayerCount> alarms = {true, false, true, true, true, true};
    for (auto _ : bench) benchmark::DoNotOptimize(cli::ExportIcs(state, kFrom, kTo, alarms));
}
BENCHMARK(BM_ExportYearIcsNamedZone)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvano

BENCHMARK_MAIN();
