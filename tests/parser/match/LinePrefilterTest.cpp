// The prefilter must change nothing but speed: it is compared with the
// row-by-row search, which is the reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parser/Classifier.h"
#include "parser/PatternLines.h"
#include "parser/match/LineMatcher.h"
#include "parser/match/LinePrefilter.h"

namespace zefa {
namespace {

using test::capturesOf;
using test::kBothSets;
using test::patternLines;

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
TEST(LinePrefilter, EveryPatternMatchesAsRowByRow) {
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

}  // namespace
}  // namespace zefa
