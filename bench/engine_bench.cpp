// The day's and the month's schedule, and the plain transcription they must
// equal bit for bit, on the same places and dates.
#include <benchmark/benchmark.h>

#include "astro/civil_date.h"
#include "astro/constants.h"
#include "astro/julian_time.h"
#include "engine/schedule.h"
#include "tests/engine/engine_reference.h"

namespace orvano {
namespace {

EngineState Algiers() {
    EngineState state;
    Convention& c = state.tables.Conventions[0];
    c.FajrTwilightAngle = 18;
    c.IshaTwilightAngle = 17;
    c.SunriseSetAngle = 0.833;
    c.AsrShafii = true;
    state.place.latitude = Degrees{36.75};
    state.place.longitude = Degrees{3.05};
    state.place.TimeZone = 1;
    state.place.DST = 1;
    state.observation = Observation{1, 1, 2010, 12, 0, 0};
    return state;
}

void NextDay(Observation& o) {
    SetDate(o, AddDays(DateOf(o), 1));
}

void BM_ComputeDaySchedule(benchmark::State& bench) {
    EngineState state = Algiers();
    for (auto _ : bench) {
        ComputeDaySchedule(state);
        benchmark::DoNotOptimize(state.schedule);
        NextDay(state.observation);
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ComputeDaySchedule);

void BM_PlainTranscriptionDay(benchmark::State& bench) {
    EngineState state = Algiers();
    for (auto _ : bench) {
        reference::ComputeDaySchedule(state);
        benchmark::DoNotOptimize(state.schedule);
        NextDay(state.observation);
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_PlainTranscriptionDay);

// Month after month of 2010 for the place `state` holds.
void RunMonths(benchmark::State& bench, EngineState& state) {
    MonthSchedule month;
    for (auto _ : bench) {
        ComputeMonthSchedule(state, month, DaysInMonth(2010, state.observation.month));
        benchmark::DoNotOptimize(month);
        state.observation.month = state.observation.month % 12 + 1;
    }
    bench.SetItemsProcessed(bench.iterations() * 30);
}

void BM_ComputeMonthSchedule(benchmark::State& bench) {
    EngineState state = Algiers();
    RunMonths(bench, state);
}
BENCHMARK(BM_ComputeMonthSchedule);

// The same month for a town with a zone name: one offset lookup per day, at
// local noon; the target is at most 1.5 times the whole-hour month above.
void BM_ComputeMonthScheduleZone(benchmark::State& bench) {
    EngineState state = Algiers();
    state.place.Zone = "Europe/Paris";  // two changes a year to look across
    RunMonths(bench, state);
}
BENCHMARK(BM_ComputeMonthScheduleZone);

}  // namespace
}  // namespace orvano

BENCHMARK_MAIN();
