#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>

#include "BenchLog.h"
#include "season/LogBytes.h"
#include "season/SeasonStore.h"
#include "support/ScratchDir.h"

namespace zefa {
namespace {

constexpr std::int32_t kLines = 1'000'000;

// `season import` of the 1,000,000-line log into a fresh store on disk: read
// the file, the automatic game version, its hash and compression, one
// transaction of inserts, the ratings. Items per second are lines per second,
// to hold against BM_ParseLogAuto, which only reads.
void BM_SeasonImport(benchmark::State& state) {
    const auto& log = benchLog(kLines);
    const test::ScratchDir dir;
    for (auto _ : state) {
        std::string error;
        std::optional store = season::SeasonStore::open(
            dir / "bench.db", season::SeasonStore::OpenMode::CreateIfMissing);
        ClassifierCache classifiers;  // one run of the command, one log
        auto match = season::readMatch(*season::readLogFile(log, error), std::nullopt,
                                       classifiers, error);
        benchmark::DoNotOptimize(store->importMatch(*match, "bench.log", 0, false));
        store->updateRatings();
        store.reset();
        state.PauseTiming();
        std::filesystem::remove(dir / "bench.db");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("lines");
}
BENCHMARK(BM_SeasonImport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zefa
