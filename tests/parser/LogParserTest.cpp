#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "parser/ParsedMatch.h"

namespace zefa {
namespace {

using test::Counts;
using test::ParsedMatch;
using Scores = std::array<std::int32_t, kTeamCount>;

TEST(LogParser, RulesAreTriedInOrder) {
    const std::pair<const char*, LineRule> cases[] = {
        {"Bob: Tom was railed by Ann", LineRule::Chat},  // ": " hides every later rule
        {"No, Bob, you're supposed to throw it", LineRule::SelfGrenade},
        {"Bob renamed to Rob", LineRule::Rename},
        {"n^7's autosentry has been destroyed by Bob!", LineRule::OwnerlessSentry},
        {"N^7's autosentry has been destroyed by Bob!", LineRule::Kill},  // the prefix is exact
        {"BOB WAS RAILED BY TOM", LineRule::Kill},
        {"Bob took the flag", LineRule::FlagPickup},
        {"Bob has captured the blue flag", LineRule::FlagCapture},
        {"Ann is outside", LineRule::FlagCapture},  // " is out" anywhere
        {"The red flag has been returned", LineRule::FlagReturn},
        {"Bob blew himself up", LineRule::Suicide},
        {"Bob killed himself", LineRule::EnvironmentDeath},
        {"Bob defends the red flag", LineRule::Defense},
        {"Bob entered the game", LineRule::None},
        {"", LineRule::None},
    };
    ParsedMatch m;
    for (const auto& [line, rule] : cases) EXPECT_EQ(m.parser.classifyLine(line), rule) << line;
    EXPECT_EQ(m.stats.findPlayer("n^7", false), nullptr);
    EXPECT_EQ(m["Bob"].weapKills[kDestroyedSentry], 1);
    EXPECT_EQ(m["TOM"].weapKills[kRailgun], 1);
}

TEST(LogParser, ChatCountsOnlyOnceTheMatchStarted) {
    ParsedMatch m;
    m.lines({"Bob^7: ^2hi all", "Bob renamed to Bob2", "Ann defends the red base"});
    EXPECT_FALSE(m.parser.started());  // renames and defenses do not start the match
    m.lines({"No, Bob, you're supposed to throw it", "Bob^7: ^2gg"});
    EXPECT_EQ(m.stats.chatTexts, std::vector<std::string>{"gg"});
}

TEST(LogParser, MergeRemapsFlagCarriersAndSavers) {
    ParsedMatch m;
    m.lines({"No, Ann, you're supposed", "No, Bob, you're supposed", "No, Cid, you're supposed",
             "Cid took the blue flag", "Cid was railed by Bob", "Dan took the red flag"});
    ASSERT_EQ(m.parser.flagSavers()[kBlueFlag], std::vector<std::int32_t>{1});
    m.lines({"Bob renamed to Ann"});  // Bob (1) goes; Cid 2 -> 1, Dan 3 -> 2
    EXPECT_EQ(m.parser.flagSavers()[kBlueFlag], std::vector<std::int32_t>{0});
    EXPECT_EQ(m.parser.flagCarrier()[kRedFlag], m["Dan"].id);
    m.lines({"The blue flag has been returned", "Dan has captured the red flag"});
    EXPECT_EQ(m["Ann"].flagSaves, 1);
    EXPECT_EQ(m["Cid"].flagSaves, 0);
    EXPECT_EQ(m["Dan"].c2cs, 1);
    EXPECT_EQ(m.stats.teamScores[kBlue], 1);
}

// Kills, pick-ups, returns and saves are pinned by the example logs; the
// capture kinds have quirks of their own.
TEST(FlagRuns, EachCaptureKindScoresItsOwnWay) {
    ParsedMatch m;
    // Named capper: only the flags it holds score; a run broken by a kill is no coast to coast.
    m.lines({"Bob took the blue flag", "Bob has captured the blue flag", "Ann took the red flag",
             "Ann was railed by Bob", "Cid took the red flag", "Cid capped the hill ^7CP^1",
             "Zed has captured the red flag"});
    EXPECT_EQ(m.counts("Bob"), (Counts{.kills = 1, .touches = 1, .caps = 1, .c2cs = 1}));
    EXPECT_EQ(m.counts("Cid"), (Counts{.touches = 1, .caps = 1}));
    EXPECT_EQ(m.counts("Zed"), (Counts{.caps = 1, .drops = -1}));
    EXPECT_EQ(m.stats.teamScores, (Scores{1, 1, 0, 0}));
    // Named flag: both flags named while only the red one is carried: red
    // scores, nobody is credited.
    m.lines({"Ann took the red flag", "The red and blue flag has been captured, Nice job x Team"});
    EXPECT_EQ(m["Ann"].caps, 0);
    EXPECT_EQ(m.stats.teamScores, (Scores{1, 2, 0, 0}));
    // Scoring event: every team named anywhere in the line loses a point.
    m.lines({"^1Redneck took the flag", "^1Redneck scores against the blue team", "Cid is out"});
    EXPECT_EQ(m.counts("^1Redneck"), (Counts{.touches = 1, .caps = 1, .c2cs = 1}));
    EXPECT_EQ(m.stats.teamScores, (Scores{0, 1, 0, 0}));
    // Named base: the base's colour scores even when no carrier is known.
    m.lines({"Dan has captured the flag in the red base", "Dan took the flag",
             "Dan has captured the flag in the blue base"});
    EXPECT_EQ(m.stats.teamScores, (Scores{1, 2, 0, 0}));
    EXPECT_EQ(m.counts("Dan"), (Counts{.touches = 1, .caps = 1, .c2cs = 1}));
    m.parser.finishLog();
    EXPECT_EQ(m["Bob"].flagSaves, 0);  // the saves of a captured run are lost
}

// A log that names a new pair of players on every line would make every
// lookup slower and the kill matrix ever larger; names beyond the limit are
// refused, and their lines count for nobody.
TEST(LogParser, NamesBeyondThePlayerLimitCountForNobody) {
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
