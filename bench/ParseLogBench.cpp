#include <benchmark/benchmark.h>

#include "BenchLog.h"
#include "model/MatchStats.h"
#include "parser/ParseLog.h"

namespace zefa::bench {
namespace {

constexpr std::int32_t kLines = 200'000;

// Reading and classifying a 200,000-line log; items per second are lines per second.
void BM_ParseLog(benchmark::State& state) {
    const auto& log = benchLog(kLines);
    const VersionTables& tables = versionTables(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        MatchStats stats;
        benchmark::DoNotOptimize(parseLog(log, stats, tables));
        benchmark::DoNotOptimize(stats.players.size());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("lines");
}
BENCHMARK(BM_ParseLog)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zefa::bench
