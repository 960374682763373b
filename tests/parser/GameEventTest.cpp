#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "ParsedMatch.h"

namespace zefa {
namespace {

using test::Counts;
using test::ParsedMatch;
using Slots = std::array<std::int32_t, kFlagCount>;
using Scores = std::array<std::int32_t, kTeamCount>;

TEST(Kills, EnemyKillsCountForKillerAndVictim) {
    ParsedMatch m;
    m.lines({"Bob was railed by Tom", "Bob mistook Tom's grenade for a ball",
             "Tom ate Bob's rocket", "Bob mistook Tom's grenade for a toy"});
    EXPECT_EQ(m.counts("Tom"), (Counts{.kills = 3, .deaths = 1}));
    EXPECT_EQ(m["Tom"].id, 0);  // both new: the killer first
    EXPECT_EQ(m["Tom"].killsOf(1), 3);
    EXPECT_EQ(m["Tom"].grenRatio, 66);  // 100 * 2 / 3
    EXPECT_EQ(m["Bob"].weapDeaths[kGrenade], 2);
    m.parser.finishLog();
    EXPECT_EQ(m["Bob"].weapKills[kRocketTotal], 1);
}

TEST(Kills, TeamKillsSentriesSuicidesAndFalls) {
    ParsedMatch m;
    m.lines({"Bob was railed by ally Tom", "Bob's autosentry has been destroyed by ally Tom!",
             "Ann's autosentry has been destroyed by Tom!"});
    EXPECT_EQ(m.counts("Tom"), (Counts{.kills = 1, .tks = 1}));
    EXPECT_EQ(m.counts("Bob"), (Counts{.tkDeaths = 1}));
    EXPECT_EQ(m.counts("Ann"), Counts{});  // a destroyed sentry is no death
    EXPECT_EQ(m["Tom"].killsOf(m["Bob"].id), 1);
    EXPECT_EQ(m["Tom"].killsOf(m["Ann"].id), 0);
    EXPECT_EQ(m["Tom"].weapKills[kRailgun] + m["Bob"].weapDeaths[kDestroyedSentry], 0);
    EXPECT_EQ(m["Tom"].weapKills[kDestroyedSentry], 1);
    EXPECT_EQ(m["Ann"].weapDeaths[kDestroyedSentry], 1);
    m.lines({"Tom was railed by Tom", "Tom blew himself up", "Tom cratered", "Tom was squished"});
    EXPECT_EQ(m.counts("Tom"), (Counts{.kills = 1, .suicides = 4, .tks = 1}));
    EXPECT_EQ(m["Tom"].killsOf(m["Tom"].id), 4);
    EXPECT_EQ(m["Tom"].weapKills[kRailgun] + m["Tom"].weapDeaths[kEnvironment], 0);
}

TEST(FlagRuns, PickUpsTakeTheFlagsTheyName) {
    ParsedMatch m;
    m.lines({"Bob took the flag", "Ann took the ^4BLUE flag"});
    EXPECT_EQ(m.parser.flagCarrier(), (Slots{0, 1}));
    EXPECT_EQ(m.parser.flagState(), (Slots{kFlagFirstCarry, kFlagFirstCarry}));
    m.lines({"Cid grabbed the purple flag", "Dan snagged Red's RED rag",
             "Eve has taken the redblue flag"});
    EXPECT_EQ(m.parser.flagCarrier(), (Slots{4, 4}));
    EXPECT_EQ(m.parser.flagState(), (Slots{kFlagBroken, kFlagBroken}));
    for (const char* name : {"Bob", "Ann", "Cid", "Dan", "Eve"})
        EXPECT_EQ(m.counts(name), (Counts{.touches = 1, .drops = 1})) << name;
}

TEST(FlagRuns, CapperNamedCapturesCloseTheRunsTheCapperHolds) {
    ParsedMatch m;
    m.lines({"Bob took the blue flag", "Bob has captured the blue flag"});
    EXPECT_EQ(m.counts("Bob"), (Counts{.touches = 1, .caps = 1, .c2cs = 1}));
    // A run broken by a kill is no coast to coast, and its saves are lost.
    m.lines({"Ann took the red flag", "Ann was railed by Bob", "Cid took the red flag",
             "Cid capped the hill ^7CP^1", "Zed has captured the red flag"});
    EXPECT_EQ(m.counts("Cid"), (Counts{.touches = 1, .caps = 1}));
    EXPECT_EQ(m.counts("Zed"), (Counts{.caps = 1, .drops = -1}));  // held nothing: no score
    EXPECT_EQ(m.stats.teamScores, (Scores{1, 1, 0, 0}));
    EXPECT_EQ(m.parser.flagState(), (Slots{kFlagAtBase, kFlagAtBase}));
    m.parser.finishLog();
    EXPECT_EQ(m["Bob"].flagSaves, 0);
}

TEST(FlagRuns, OtherCaptureKinds) {
    ParsedMatch m;
    m.lines(
        {"Bob took the blue flag",
         "Blue is no match for the mighty Red^7!",  // kind 1
                                                    // Both flags named while only the red one is
                                                    // carried: red scores, nobody is credited.
         "Ann took the red flag", "The red and blue flag has been captured, Nice job x Team"});
    EXPECT_EQ(m["Bob"].caps, 1);
    EXPECT_EQ(m["Ann"].caps, 0);
    EXPECT_EQ(m.stats.teamScores, (Scores{1, 1, 0, 0}));
    // Kind 4: every team named anywhere in the line loses a point.
    m.lines({"^1Redneck took the flag", "^1Redneck scores against the blue team", "Cid is out"});
    EXPECT_EQ(m.counts("^1Redneck"), (Counts{.touches = 1, .caps = 1, .c2cs = 1}));
    EXPECT_EQ(m.stats.teamScores, (Scores{0, 0, 0, 0}));
    // Kind 5: the base's colour scores even when no carrier is known.
    m.lines({"Dan has captured the flag in the red base", "Dan took the flag",
             "Dan has captured the flag in the blue base"});
    EXPECT_EQ(m.stats.teamScores, (Scores{1, 1, 0, 0}));
    EXPECT_EQ(m["Dan"].caps, 1);
}

TEST(FlagRuns, ReturnsAndTheEndOfTheLogCreditSavers) {
    ParsedMatch m;
    m.lines({"Ann took the red flag", "Ann was railed by Bob", "Ann took the red flag",
             "Ann was railed by Cid", "Eve took the blue flag", "Eve was railed by Bob",
             "Eve took the blue flag", "Eve's autosentry has been destroyed by Bob!",
             "Eve took the blue flag", "Eve was railed by ally Fay"});
    EXPECT_EQ(m.parser.flagSavers()[kBlueFlag], (std::vector<std::int32_t>{1, 1}));
    EXPECT_EQ(m.parser.flagCarrier()[kBlueFlag], kNoCarrier);  // a team kill drops the flag
    EXPECT_EQ(m.parser.flagState()[kBlueFlag], kFlagBroken);
    m.lines({"The flag was returned"});  // no "blue": the red flag
    EXPECT_EQ(m["Bob"].flagSaves, 1);
    EXPECT_EQ(m["Cid"].flagSaves, 1);
    EXPECT_TRUE(m.parser.flagSavers()[kRedFlag].empty());
    m.parser.finishLog();  // the blue savers are still listed
    EXPECT_EQ(m["Bob"].flagSaves, 3);
    EXPECT_EQ(m["Bob"].rank, 2 * 3 + 3);  // three saves, three kills
}

}  // namespace
}  // namespace zefa
