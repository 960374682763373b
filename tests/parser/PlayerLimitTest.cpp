#include <gtest/gtest.h>

#include <string>

#include "parser/LogParser.h"

namespace zefa {
namespace {

// A log that names a new pair of players on every line would make every
// lookup slower and the kill matrix ever larger; names beyond the limit are
// refused, and their lines count for nobody.
TEST(PlayerLimit, NamesBeyondTheLimitCountForNobody) {
    MatchStats stats;
    const PatternSet patterns(versionTables(kGameVersionBeta2));
    LogParser parser(stats, patterns);
    for (std::size_t i = 0; i < kMaxPlayers; ++i)
        parser.classifyLine("Victim" + std::to_string(i) + " was railed by Tom");
    ASSERT_EQ(stats.players.size(), kMaxPlayers);

    const std::vector<std::string> refused = {"Newcomer was railed by Tom",
                                              "Tom was railed by Newcomer",
                                              "Newcomer took the blue flag",
                                              "Newcomer captured the blue flag",
                                              "Newcomer defends the red flag",
                                              "Newcomer cratered",
                                              "No, Newcomer, you're supposed to throw it"};
    for (const std::string& line : refused) parser.classifyLine(line);
    parser.finishLog();

    EXPECT_EQ(stats.players.size(), kMaxPlayers);
    const PlayerRecord* tom = stats.findPlayer("Tom", false);
    ASSERT_NE(tom, nullptr);
    EXPECT_EQ(tom->kills, static_cast<std::int32_t>(kMaxPlayers) - 1);
    EXPECT_EQ(tom->deaths, 0);
    EXPECT_EQ(stats.teamScores[kRed], 0);
    EXPECT_EQ(parser.flagCarrier()[kBlueFlag], kNoCarrier);
}

}  // namespace
}  // namespace zefa
