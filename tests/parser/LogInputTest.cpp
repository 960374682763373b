#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "parser/LogInput.h"
#include "parser/PatternLines.h"
#include "support/ScratchDir.h"

namespace zefa {
namespace {

using test::kBothSets;
using test::patternLines;

// Lines of 4096 bytes and more are counted but not classified, and reading
// goes on; a line is cut at its first NUL byte.
TEST(LogInput, CountsEveryLineAndClassifiesTheUsableOnes) {
    using namespace std::string_literals;
    const test::ScratchDir dir;
    test::writeFile(dir / "match.log",
                    "Bob ate Tom's rocket\r\n"s + "\r\n" + "\n" + std::string(4096, 'x') + "\n" +
                        std::string(4095 - 21, 'x') + "Dan was railed by Tom\n" +
                        std::string(100'000, 'y') + "Eve was railed by Tom\n" +
                        "Ann was railed by Tom\0: hidden chat\n"s + "Cid was railed by Tom");
    MatchStats stats;
    const LogReadResult result =
        parseLog(dir / "match.log", stats, versionTables(kGameVersionBeta2));
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(stats.lineCount, 8);
    EXPECT_EQ(result.versionLines, 4);
    const PlayerRecord* tom = stats.findPlayer("Tom", false);  // not "Tom\r"
    ASSERT_NE(tom, nullptr);
    EXPECT_EQ(tom->kills, 4);
    EXPECT_EQ(tom->weapKills[kRocketTotal], 1);  // finished

    // A missing log reads as empty, and says so.
    MatchStats none;
    EXPECT_FALSE(parseLog(dir / "missing.log", none, versionTables(1)).opened);
    EXPECT_FALSE(parseLog(dir.path(), none, versionTables(2)).opened);
    EXPECT_EQ(none.lineCount, 0);
}

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
TEST(LogInput, LogsReadAlikeAlsoBothSetsInOnePass) {
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
