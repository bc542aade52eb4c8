// The gazetteer: reading the installed file (what the window pays once, when
// its search is first used), one search (the target is under 5 ms) and the
// nearest place to coordinates.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "places/gazetteer.h"

namespace orvano {
namespace {

const std::string kPath = std::string(ORVANO_BINARY_DIR) + "/stage/share/orvano/gazetteer.tsv";

Gazetteer LoadOrThrow() {
    std::string error;
    auto g = Gazetteer::Load(kPath, error);
    if (!g) throw std::runtime_error(error);
    return std::move(*g);
}

void BM_GazetteerLoad(benchmark::State& bench) {
    for (auto _ : bench) benchmark::DoNotOptimize(LoadOrThrow().size());
}
BENCHMARK(BM_GazetteerLoad)->Unit(benchmark::kMillisecond);

// A short prefix (many matches), an accented name, a qualified name, a word
// inside a name, and a miss.
void BM_GazetteerSearch(benchmark::State& bench) {
    static const Gazetteer gazetteer = LoadOrThrow();
    static const char* const queries[] = {"sa", "São Paulo", "Hyderabad, Sindh, Pakistan", "lumpur",
                                          "qqqq"};
    const char* query = queries[bench.range(0)];
    for (auto _ : bench) benchmark::DoNotOptimize(gazetteer.Search(query, 10));
    bench.SetLabel(query);
}
BENCHMARK(BM_GazetteerSearch)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// The nearest place, which a place given by coordinates takes its country's
// method from: one pass over every place.
void BM_GazetteerNearest(benchmark::State& bench) {
    static const Gazetteer gazetteer = LoadOrThrow();
    for (auto _ : bench) benchmark::DoNotOptimize(gazetteer.Nearest(0, 75));
}
BENCHMARK(BM_GazetteerNearest)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvano
BENCHMARK_MAIN();
