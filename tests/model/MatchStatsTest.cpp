#include <gtest/gtest.h>

#include <string>

#include "model/MatchStats.h"
#include "model/Weapons.h"

namespace zefa {
namespace {

TEST(PlayerList, FindCreatesOnceUnderTheNormalisedName) {
    MatchStats stats;
    EXPECT_EQ(stats.findPlayer("Bob", false), nullptr);
    PlayerRecord* bob = stats.findPlayer("^1Bob", true);
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->strippedName, "Bob");
    EXPECT_EQ(stats.findPlayer("^3^7^1Bob^7", false), bob);
    EXPECT_NE(stats.findPlayer("^1bob", true), bob);  // identity is case-sensitive
    const std::string shared(27, 'k');
    EXPECT_EQ(stats.findPlayer(shared + "one", true), stats.findPlayer(shared + "two", true));
    EXPECT_EQ(stats.findPlayerById(2)->name, shared + "^7");
    EXPECT_EQ(stats.findPlayerById(3), nullptr);
}

TEST(PlayerList, RemoveRenumbersAndShiftsKillColumns) {
    MatchStats stats;
    for (int i = 0; i <= kKillCountColumns; ++i) {
        PlayerRecord& p = *stats.findPlayer("p" + std::to_string(i), true);
        for (int victim = 0; victim < kKillCountColumns; ++victim) p.killCount[victim] = victim + 1;
    }
    PlayerRecord& last = stats.players.back();  // the 76th player has no column of its own
    last.countKillOf(last.id);
    EXPECT_EQ(last.killsOf(last.id), 0);

    stats.removePlayer(*stats.findPlayerById(1));
    for (const PlayerRecord& p : stats.players) {
        const int oldId = std::stoi(p.strippedName.substr(1));
        EXPECT_EQ(p.id, oldId > 1 ? oldId - 1 : oldId);
        EXPECT_EQ(p.killsOf(1), 3);
        EXPECT_EQ(p.killsOf(kKillCountColumns - 2), kKillCountColumns);
        // The vacated last column now belongs to the last player; it starts empty.
        EXPECT_EQ(p.killsOf(kKillCountColumns - 1), 0);
    }
    EXPECT_EQ(last.id, kKillCountColumns - 1);
}

TEST(PlayerList, MergeAddsCountersButNotRatioOrRank) {
    MatchStats stats;
    PlayerRecord& from = *stats.findPlayer("old", true);
    PlayerRecord& into = *stats.findPlayer("new", true);
    from.kills = 3, from.grenRatio = 50, from.rank = 9, from.weapKills[kPipes] = 2;
    from.killCount[1] = 4;
    into.kills = 1, into.grenRatio = 20, into.weapKills[kPipes] = 1, into.killCount[1] = 1;
    stats.mergeRenamed(from, into);
    ASSERT_EQ(stats.players.size(), 1u);
    EXPECT_EQ(into.kills, 4);
    EXPECT_EQ(into.weapKills[kPipes], 3);
    EXPECT_EQ(into.killCount[0], 5);  // column 1 moved down with the removal
    EXPECT_EQ(into.grenRatio, 20);
    EXPECT_EQ(into.rank, 0);
}

TEST(PlayerList, MergeMovesKillsOfTheOldNameIntoTheSurvivorsColumn) {
    MatchStats stats;
    PlayerRecord& killer = *stats.findPlayer("killer", true);
    PlayerRecord& from = *stats.findPlayer("old", true);
    PlayerRecord& into = *stats.findPlayer("new", true);
    killer.countKillsOf(from.id, 2);
    killer.countKillOf(into.id);
    from.countKillOf(from.id);  // a suicide under the old name
    stats.mergeRenamed(from, into);
    EXPECT_EQ(into.id, 1);
    EXPECT_EQ(killer.killsOf(1), 3);
    EXPECT_EQ(killer.killsOf(2), 0);
    EXPECT_EQ(into.killsOf(1), 1) << "the old name's suicide stays on the diagonal";
}

TEST(Finish, FillsWeaponTotalsAndRank) {
    MatchStats stats;
    PlayerRecord& a = *stats.findPlayer("a", true);
    a.weapKills[kRocketSplash] = 2, a.weapKills[kRocketDirect] = 3, a.weapDeaths[kSniperHead] = 1;
    a.weapDeaths[kSniperLegs] = 2, a.weapDeaths[kSniperBody] = 4;
    a.caps = 1, a.c2cs = 1, a.touches = 1, a.kills = 3;
    PlayerRecord& b = *stats.findPlayer("b", true);
    b.kills = 3, b.deaths = 1, b.touches = 2, b.caps = 1;
    PlayerRecord& c = *stats.findPlayer("c", true);
    c.defenses = {1, 1, 1, 1, 1, 1}, c.flagSaves = 1, c.tks = 1;
    stats.finish();
    EXPECT_EQ(a.weapKills[kRocketTotal], 5);
    EXPECT_EQ(a.weapDeaths[kSniperTotal], 7);
    EXPECT_EQ(a.rank, 30);
    EXPECT_EQ(b.rank, 11);
    EXPECT_EQ(c.rank, 5 * (1 - 1 + 2 + 4) + 2 * (1 + 2 + 1) - 1);
}

}  // namespace
}  // namespace zefa
