#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <string>

#include "BenchLog.h"
#include "season/LogBytes.h"
#include "season/SeasonStore.h"
#include "support/ScratchDir.h"

namespace zefa {
namespace {

constexpr std::int32_t kLines = 1'000'000;

// The log's lines from `fromPercent` to `toPercent` of them: a recording of
// the bench log's match by a client that was there for that part of it.
std::string partOfLog(std::int64_t fromPercent, std::int64_t toPercent) {
    std::string error;
    const std::string log = *season::readLogFile(benchLog(kLines).string(), error);
    const auto lineStart = [&log](std::int64_t percent) {
        std::size_t at = 0;
        for (std::int64_t line = 0; line < kLines * percent / 100; ++line)
            at = log.find('\n', at) + 1;
        return at;
    };
    const std::size_t from = lineStart(fromPercent);
    return log.substr(from, lineStart(toPercent) - from);
}

// One `season import` of a log into the store at `path`: open it, read the
// file, the automatic game version, its hash and compression, one
// transaction of inserts, the ratings.
void importOnce(const std::filesystem::path& path, const std::filesystem::path& log) {
    std::string error;
    std::optional store =
        season::SeasonStore::open(path, season::SeasonStore::OpenMode::CreateIfMissing);
    ClassifierCache classifiers;  // one run of the command, one log
    auto match = season::readMatch(*season::readLogFile(log.string(), error), std::nullopt,
                                   classifiers, error);
    benchmark::DoNotOptimize(store->importMatch(*match, "bench.log", 0, false));
    store->updateRatings();
}

// `season import` of the 1,000,000-line log into a fresh store on disk.
// Items per second are lines per second, to hold against BM_ParseLogAuto,
// which only reads.
void BM_SeasonImport(benchmark::State& state) {
    const auto& log = benchLog(kLines);
    const test::ScratchDir dir;
    for (auto _ : state) {
        importOnce(dir / "bench.db", log);
        state.PauseTiming();
        std::filesystem::remove(dir / "bench.db");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("lines");
}
BENCHMARK(BM_SeasonImport)->Unit(benchmark::kMillisecond);

// `season import` of the bench log's lines from `from` percent of them on
// into a store that holds, as its one match, the lines up to `stored`
// percent: a recording of the stored match, held against the import of the
// same lines into a store that holds those lines with every name's colour
// changed (`other` 1), where they are a new match.
//   50/0: the log grew, the longer one is read now;
//   100/50: a late joiner's, inside the stored match;
//   60/40: they overlap in part, the match is read from both.
void BM_SeasonImportRecording(benchmark::State& state) {
    const test::ScratchDir dir;
    const std::int64_t storedTo = state.range(0);
    const std::int64_t importedFrom = state.range(1);
    std::string stored = partOfLog(0, storedTo);
    if (state.range(2) != 0) {
        for (std::size_t at = stored.find("^7"); at != std::string::npos;
             at = stored.find("^7", at + 2))
            stored[at + 1] = '9';
    }
    test::writeFile(dir / "stored.log", stored);
    test::writeFile(dir / "imported.log", partOfLog(importedFrom, 100));
    importOnce(dir / "prepared.db", dir / "stored.log");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(dir / "bench.db");
        std::filesystem::copy_file(dir / "prepared.db", dir / "bench.db");
        state.ResumeTiming();
        importOnce(dir / "bench.db", dir / "imported.log");
    }
    state.SetItemsProcessed(state.iterations() * kLines * (100 - importedFrom) / 100);
    state.SetLabel("lines");
}
BENCHMARK(BM_SeasonImportRecording)
    ->ArgNames({"stored", "from", "other"})
    ->ArgsProduct({{50}, {0}, {0, 1}})
    ->ArgsProduct({{100}, {50}, {0, 1}})
    ->ArgsProduct({{60}, {40}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zefa
