#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ParsedMatch.h"
#include "parser/ParseLog.h"
#include "support/ScratchDir.h"

namespace zefa {
namespace {

using test::ParsedMatch;

// A log file in the temporary directory, removed again at the end of the test.
struct TempLog {
    explicit TempLog(const std::string& bytes) { test::writeFile(path, bytes); }
    test::ScratchDir dir;
    const std::filesystem::path path = dir / "match.log";
};

TEST(LogReader, CountsEveryLineAndClassifiesTheUsableOnes) {
    using namespace std::string_literals;
    const std::string tooLong = std::string(4096, 'x') + "\n";
    const std::string longest = std::string(4095 - 21, 'x') + "Dan was railed by Tom\n";
    const TempLog log("Bob ate Tom's rocket\r\n"s + "\r\n" + "\n" + tooLong + longest +
                      std::string(100'000, 'y') + "Eve was railed by Tom\n" +
                      "Ann was railed by Tom\0: hidden chat\n"s + "Cid was railed by Tom");
    MatchStats stats;
    const LogReadResult result = parseLog(log.path, stats, versionTables(kGameVersionBeta2));
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(stats.lineCount, 8);
    EXPECT_EQ(result.versionLines, 4);
    const PlayerRecord* tom = stats.findPlayer("Tom", false);  // not "Tom\r"
    ASSERT_NE(tom, nullptr);
    EXPECT_EQ(tom->kills, 4);
    EXPECT_EQ(tom->weapKills[kRocketTotal], 1);  // finished
}

TEST(LogReader, LineLimitsAndMissingFiles) {
    ParsedMatch m;
    m.parser.readLine(std::string(4096, 'a'));
    EXPECT_EQ(m.parser.linesTakenBy(LineRule::None), 0);  // counted, not classified
    m.parser.readLine(std::string(4095, 'a'));
    m.parser.readLine("\r");
    EXPECT_EQ(m.parser.linesTakenBy(LineRule::None), 1);
    EXPECT_EQ(m.stats.lineCount, 3);

    MatchStats stats;
    const LogReadResult result =
        parseLog(std::filesystem::temp_directory_path() / "zefa-parser-no-such.log", stats,
                 versionTables(kGameVersionBeta1H));
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(stats.lineCount, 0);
    EXPECT_EQ(result.versionLines, 0);
    EXPECT_FALSE(parseLog(std::filesystem::temp_directory_path(), stats, versionTables(2)).opened);
}

}  // namespace
}  // namespace zefa
