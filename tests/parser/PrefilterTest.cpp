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
#include "parser/LineMatcher.h"
#include "parser/LogReader.h"
#include "parser/ParseLog.h"
#include "support/PrintedPattern.h"
#include "support/ScratchDir.h"

namespace zefa {
namespace {

using namespace std::string_literals;

const VersionTables* const kBothSets[] = {&versionTables(kGameVersionBeta1H),
                                          &versionTables(kGameVersionBeta2)};

std::string flipCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Lines for every row of both message sets: as printed, in other letter
// cases, near misses (a byte dropped or replaced by NUL, CR, LF, a high byte
// or the other case), long and crafted ones, with high bytes in names.
std::vector<std::string> hostileLines() {
    std::vector<std::string> lines = {
        "x",
        ":",
        ": ",
        "^7: ^2",
        std::string(4095, ' '),
        std::string(4095, ':'),
        "\xC9ve\xFF took the \xE9 flag",
        "a\0b was railed by c"s,
        "\r\n\t\x7F",
    };
    for (const VersionTables* tables : kBothSets) {
        const PatternSet set(*tables);
        for (const CompiledPattern& pattern : set.all()) {
            for (std::string_view name : {"^1Red^7 Team", "\xC9t\xE9"}) {
                const std::string line =
                    test::printedPattern(pattern.text(), [name](int) { return std::string(name); });
                lines.push_back(line);
                lines.push_back(flipCase(line));
                constexpr std::array<char, 4> kOthers = {'\0', '\r', '\n', '\xD9'};
                for (std::size_t i = 0; i < line.size(); ++i) {
                    lines.push_back(line.substr(0, i) + line.substr(i + 1));
                    std::string changed = line;
                    changed[i] = kOthers[i % kOthers.size()];
                    lines.push_back(changed);
                    changed[i] = flipCase(std::string(1, line[i]))[0];
                    lines.push_back(changed);
                }
            }
            const std::string line =
                test::printedPattern(pattern.text(), [](int) { return std::string("Bob"); });
            std::string longLine = line;
            while (longLine.size() + line.size() < kMaxLineLength) longLine += line;
            lines.push_back(longLine);
            lines.push_back(std::string(kMaxLineLength - line.size(), '\xFF') + line);
        }
    }
    return lines;
}

#if ZEFA_PREFILTER
std::array<std::string_view, LineMatcher::kMaxCaptures> capturesOf(const LineMatcher& m) {
    std::array<std::string_view, LineMatcher::kMaxCaptures> all;
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = m.capture(i);
    return all;
}

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
    for (const std::string& line : hostileLines()) block += line + '\n';
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
    for (const std::string& line : hostileLines()) hostile += line + "\r\n";
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
