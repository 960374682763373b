#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchLog.h"
#include "generation/StatsGenerator.h"

namespace zefa {
namespace {

constexpr std::int32_t kLines = 200'000;

// A whole run: read the log, compute every award, write the page with the
// built-in theme. Items per second are log lines per second.
void BM_GenerateStats(benchmark::State& state) {
    const auto& log = benchLog(kLines);
    const auto page = std::filesystem::temp_directory_path() / "zefa-bench-page.html";
    for (auto _ : state) {
        StatsGenerator generator({.logFile = log,
                                  .themeFile = ZEFA_DEFAULT_THEME,
                                  .outputFile = page,
                                  .gameVersion = kGameVersionBeta2});
        benchmark::DoNotOptimize(generator.Run());
    }
    std::filesystem::remove(page);
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("lines");
}
BENCHMARK(BM_GenerateStats)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zefa
