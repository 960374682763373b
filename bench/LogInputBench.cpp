#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BenchLog.h"
#include "model/MatchStats.h"
#include "parser/Classifier.h"
#include "parser/LogInput.h"
#include "parser/ParserSet.h"
#include "parser/PatternLines.h"

namespace zefa {
namespace {

constexpr std::int32_t kLines = 1'000'000;

constexpr std::string_view engineName(MatchEngine engine) {
    switch (engine) {
        case MatchEngine::Plain:
            return "PCRE2 row by row";
        case MatchEngine::Prefilter:
            return "prefilter, exact";
        case MatchEngine::PrefilterPcre2:
            return "prefilter, PCRE2";
        case MatchEngine::Exact:
            return "exact row by row";
    }
    return "";
}

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
    state.SetLabel(std::string(engineName(builtEngine(engine))) + ", lines");
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
    state.SetLabel(std::string(engineName(builtEngine(engine))) + ", lines");
}

// The engines as this build runs them; one this build lacks reads as the
// nearest it has.
void BM_ParseLog(benchmark::State& state) { parseLogWith(state, MatchEngine::Prefilter); }
void BM_ParseLog_Pcre2(benchmark::State& state) { parseLogWith(state, MatchEngine::PrefilterPcre2); }
void BM_ParseLog_Plain(benchmark::State& state) { parseLogWith(state, MatchEngine::Plain); }
void BM_ParseLog_Exact(benchmark::State& state) { parseLogWith(state, MatchEngine::Exact); }
void BM_ParseLogAuto(benchmark::State& state) { parseLogBothWith(state, MatchEngine::Prefilter); }
void BM_ParseLogAuto_Pcre2(benchmark::State& state) {
    parseLogBothWith(state, MatchEngine::PrefilterPcre2);
}
void BM_ParseLogAuto_Plain(benchmark::State& state) { parseLogBothWith(state, MatchEngine::Plain); }
BENCHMARK(BM_ParseLog)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLog_Pcre2)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLog_Plain)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLog_Exact)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLogAuto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLogAuto_Pcre2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLogAuto_Plain)->Unit(benchmark::kMillisecond);

// The crafted lines that make a backtracking engine try every split, each
// classified under both message sets: a line must end within about a
// millisecond on every engine. The argument is the engine.
void BM_CraftedLines(benchmark::State& state) {
    const auto engine = static_cast<MatchEngine>(state.range(0));
    const VersionTables* const tables[] = {&versionTables(kGameVersionBeta1H),
                                           &versionTables(kGameVersionBeta2)};
    const Classifier classifier(tables, engine);
    const std::vector<std::string> lines = test::craftedLines();
    for (auto _ : state) {
        MatchStats older;
        MatchStats newer;
        MatchStats* const targets[] = {&older, &newer};
        ParserSet parsers(classifier, targets);
        for (const std::string& line : lines) parsers.readLine(line);
        benchmark::DoNotOptimize(older.lineCount);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.SetLabel(std::string(engineName(classifier.engine())) + ", lines");
}
BENCHMARK(BM_CraftedLines)
    ->Arg(static_cast<int>(MatchEngine::Plain))
    ->Arg(static_cast<int>(MatchEngine::Prefilter))
    ->Arg(static_cast<int>(MatchEngine::PrefilterPcre2))
    ->Arg(static_cast<int>(MatchEngine::Exact))
    ->Unit(benchmark::kMicrosecond);

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

// The prefilter's scan alone over the same log, read in parseLog's blocks:
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
}  // namespace zefa
