#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "BenchLog.h"
#include "model/MatchStats.h"
#include "parser/Classifier.h"
#include "parser/ParseLog.h"

namespace zefa::bench {
namespace {

constexpr std::int32_t kLines = 1'000'000;

// Reading and classifying a 1,000,000-line log, the patterns compiled
// afresh for every reading as a run does; items per second are lines per
// second. The argument is the game version.
void parseLogWith(benchmark::State& state, MatchEngine engine) {
    const auto& log = benchLog(kLines);
    const VersionTables& tables = versionTables(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        MatchStats stats;
        benchmark::DoNotOptimize(parseLog(log, stats, tables, engine));
        benchmark::DoNotOptimize(stats.players.size());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("lines");
}

// Both message sets in one pass, as the automatic game version reads.
void parseLogBothWith(benchmark::State& state, MatchEngine engine) {
    const auto& log = benchLog(kLines);
    for (auto _ : state) {
        MatchStats older;
        MatchStats newer;
        const LogTarget targets[] = {{older, versionTables(kGameVersionBeta1H)},
                                     {newer, versionTables(kGameVersionBeta2)}};
        benchmark::DoNotOptimize(parseLog(log, targets, engine));
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("lines");
}

void BM_ParseLog(benchmark::State& state) { parseLogWith(state, MatchEngine::Prefilter); }
void BM_ParseLog_Plain(benchmark::State& state) { parseLogWith(state, MatchEngine::Plain); }
void BM_ParseLogAuto(benchmark::State& state) { parseLogBothWith(state, MatchEngine::Prefilter); }
void BM_ParseLogAuto_Plain(benchmark::State& state) { parseLogBothWith(state, MatchEngine::Plain); }
BENCHMARK(BM_ParseLog)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLog_Plain)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLogAuto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLogAuto_Plain)->Unit(benchmark::kMillisecond);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// What `wc -l` does to the same log: read it in blocks and count the line
// feeds. The distance to this is what classifying costs over reading.
void BM_CountLines(benchmark::State& state) {
    const auto& log = benchLog(kLines);
    std::vector<char> block(64 * 1024);
    for (auto _ : state) {
        const std::unique_ptr<std::FILE, FileCloser> file{std::fopen(log.c_str(), "rb")};
        std::int64_t lines = 0;
        std::size_t got = 0;
        while ((got = std::fread(block.data(), 1, block.size(), file.get())) > 0) {
            const char* at = block.data();
            const char* const end = at + got;
            while ((at = static_cast<const char*>(std::memchr(at, '\n', end - at)))) {
                ++lines;
                ++at;
            }
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("lines");
}
BENCHMARK(BM_CountLines)->Unit(benchmark::kMillisecond);

#if ZEFA_PREFILTER
struct CountingSink : LineSink {
    std::int64_t candidates = 0;
    void takeLine(std::string_view, const CandidateSet& found) override {
        candidates += found.next(0, CandidateSet::kCapacity) < CandidateSet::kCapacity ? 1 : 0;
    }
};

// The prefilter's scan alone over the same log, read in the reader's blocks:
// what classifying costs before PCRE2 confirms a row and the statistics grow.
void BM_PrefilterScan(benchmark::State& state) {
    const auto& log = benchLog(kLines);
    const VersionTables* const tables[] = {&versionTables(kGameVersionBeta2)};
    const Classifier classifier(tables, MatchEngine::Prefilter);
    LinePrefilter::Scanner scanner(*classifier.prefilter());
    std::vector<char> block(64 * 1024);
    for (auto _ : state) {
        const std::unique_ptr<std::FILE, FileCloser> file{std::fopen(log.c_str(), "rb")};
        CountingSink sink;
        std::size_t kept = 0;  // the start of a line that goes on in the next block
        std::size_t got = 0;
        while ((got = std::fread(block.data() + kept, 1, block.size() - kept, file.get())) > 0) {
            const std::string_view text(block.data(), kept + got);
            const std::size_t whole = text.rfind('\n') + 1;
            scanner.scanLines(text.substr(0, whole), sink);
            kept = text.size() - whole;
            std::memmove(block.data(), block.data() + whole, kept);
        }
        benchmark::DoNotOptimize(sink.candidates);
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("lines");
}
BENCHMARK(BM_PrefilterScan)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace zefa::bench
