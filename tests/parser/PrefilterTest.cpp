// The prefilter must change nothing but speed: every test here compares it
// with the row-by-row search, which is the reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "parser/Classifier.h"
#include "parser/match/LineMatcher.h"
#include "parser/ParserSet.h"
#include "parser/LogInput.h"
#include "PatternLines.h"
#include "support/ScratchDir.h"

namespace zefa {
namespace {

using test::kBothSets;
using test::patternLines;

#if ZEFA_PREFILTER
using test::capturesOf;

// The lines of a block scan with the candidates each was given.
struct BlockLines : LineSink {
    std::vector<std::pair<std::string, CandidateSet>> lines;
    void takeLine(std::string_view rawLine, const CandidateSet& candidates) override {
        lines.emplace_back(rawLine, candidates);
    }
};

// The strongest form: on every line, every pattern of both sets, also those
// an earlier row would hide, matches with the same captures either way,
// whether the line was scanned alone or within a block of all the lines.
TEST(Prefilter, EveryPatternMatchesAsRowByRow) {
    const Classifier classifier(kBothSets, MatchEngine::Prefilter);
    ASSERT_NE(classifier.prefilter(), nullptr);
    LinePrefilter::Scanner scanner(*classifier.prefilter());
    std::string block;
    for (const std::string& line : patternLines()) block += line + '\n';
    BlockLines inBlock;
    scanner.scanLines(block, inBlock);
    LineMatcher plain;
    LineMatcher prefiltered;
    std::size_t matches = 0;
    for (const auto& [line, blockCandidates] : inBlock.lines) {
        const CandidateSet lineCandidates = scanner.scan(line);
        plain.setSubject(line);
        for (const CandidateSet* candidates : {&lineCandidates, &blockCandidates}) {
            prefiltered.setSubject(line, *candidates);
            for (std::size_t set = 0; set < classifier.setCount(); ++set) {
                for (const CompiledPattern& pattern : classifier.patterns(set).all()) {
                    const bool matched = plain.test(pattern);
                    ASSERT_EQ(prefiltered.test(pattern), matched)
                        << pattern.text() << " on " << line;
                    ASSERT_EQ(capturesOf(prefiltered), capturesOf(plain)) << pattern.text();
                    matches += matched ? 1 : 0;
                }
            }
        }
    }
    EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), std::ssize(inBlock.lines));
    EXPECT_GT(matches, 10'000u);  // the lines do reach the patterns
}
#endif

struct Reading {
    std::vector<LogReadResult> results;
    std::array<MatchStats, 2> stats;
};

Reading readBoth(const std::filesystem::path& log, MatchEngine engine) {
    Reading read;
    const LogTarget targets[] = {{read.stats[0], versionTables(kGameVersionBeta1H)},
                                 {read.stats[1], versionTables(kGameVersionBeta2)}};
    read.results = parseLog(log, targets, engine);
    return read;
}

// Whole logs from the file: the example logs, and the hostile lines with
// lines too long for the reader. Reading both sets in one pass gives each
// set what reading it alone gives.
TEST(Prefilter, LogsReadAlikeAlsoBothSetsInOnePass) {
    const test::ScratchDir dir;
    std::string hostile = std::string(5000, 'x') + " was railed by Tom\n";
    for (const std::string& line : patternLines()) hostile += line + "\r\n";
    test::writeFile(dir / "hostile.log", hostile);
    const std::filesystem::path logs[] = {ZEFA_EXAMPLES_DIR "/beta1h-ctf.log",
                                          ZEFA_EXAMPLES_DIR "/beta2-ctf.log", dir / "hostile.log"};
    for (const std::filesystem::path& log : logs) {
        const Reading fast = readBoth(log, MatchEngine::Prefilter);
        const Reading reference = readBoth(log, MatchEngine::Plain);
        for (std::size_t set = 0; set < 2; ++set) {
            MatchStats alone;
            const LogReadResult aloneResult =
                parseLog(log, alone, *kBothSets[set], MatchEngine::Prefilter);
            EXPECT_TRUE(fast.stats[set] == reference.stats[set]) << log << " set " << set;
            EXPECT_TRUE(fast.stats[set] == alone) << log << " set " << set;
            EXPECT_EQ(fast.results[set].versionLines, reference.results[set].versionLines);
            EXPECT_EQ(fast.results[set].versionLines, aloneResult.versionLines);
            EXPECT_TRUE(fast.results[set].opened);
        }
        EXPECT_GT(fast.stats[1].lineCount, 3000);
    }
}

}  // namespace
}  // namespace zefa
