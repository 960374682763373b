#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "ParsedMatch.h"

namespace zefa {
namespace {

using test::Counts;
using test::ParsedMatch;
using Scores = std::array<std::int32_t, kTeamCount>;

TEST(Classifier, RulesAreTriedInOrder) {
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

// What each version's message tables take is pinned by the example logs.
TEST(Classifier, VersionsNameTheMeleeWeaponApart) {
    EXPECT_EQ(versionTables(kGameVersionBeta2).weaponNames[kMelee], "Axe");
    for (std::int32_t version : {0, 1, 3})
        EXPECT_EQ(versionTables(version).weaponNames[kMelee], "Gauntlet");
}

TEST(Classifier, ChatCountsOnlyOnceTheMatchStarted) {
    ParsedMatch m;
    m.lines({"Bob^7: ^2hi all", "Bob renamed to Bob2", "Ann defends the red base"});
    EXPECT_FALSE(m.parser.started());  // renames and defenses do not start the match
    m.lines({"No, Bob, you're supposed to throw it", "Bob^7: ^2gg"});
    EXPECT_EQ(m.stats.chatTexts, std::vector<std::string>{"gg"});
}

TEST(Classifier, MergeRemapsFlagCarriersAndSavers) {
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

}  // namespace
}  // namespace zefa
