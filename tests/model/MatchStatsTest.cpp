#include <gtest/gtest.h>

#include <string>

#include "model/MatchStats.h"
#include "model/Weapons.h"

namespace zefa {
namespace {

// The 76th player has no kill count column; a removal frees the last column
// for it, which must start empty.
TEST(PlayerList, RemoveRenumbersAndShiftsKillColumns) {
    MatchStats stats;
    for (int i = 0; i <= kKillCountColumns; ++i) {
        PlayerRecord& p = *stats.findPlayer("p" + std::to_string(i), true);
        for (int victim = 0; victim < kKillCountColumns; ++victim) p.killCount[victim] = victim + 1;
    }
    PlayerRecord& last = stats.players.back();
    last.countKillOf(last.id);
    EXPECT_EQ(last.killsOf(last.id), 0);

    stats.removePlayer(*stats.findPlayerById(1));
    for (const PlayerRecord& p : stats.players) {
        const int oldId = std::stoi(p.strippedName.substr(1));
        EXPECT_EQ(p.id, oldId > 1 ? oldId - 1 : oldId);
        EXPECT_EQ(p.killsOf(1), 3);
        EXPECT_EQ(p.killsOf(kKillCountColumns - 2), kKillCountColumns);
        EXPECT_EQ(p.killsOf(kKillCountColumns - 1), 0);
    }
    EXPECT_EQ(last.id, kKillCountColumns - 1);
}

// Kills of the old name move into the survivor's column, so that no row of
// the kill matrix loses a kill; the old name's suicides stay on the diagonal.
TEST(PlayerList, MergeAddsCountersAndMovesTheKillColumn) {
    MatchStats stats;
    PlayerRecord& killer = *stats.findPlayer("killer", true);
    PlayerRecord& from = *stats.findPlayer("old", true);
    PlayerRecord& into = *stats.findPlayer("new", true);
    from.kills = 3, from.grenRatio = 50, from.rank = 9, from.weapKills[kPipes] = 2;
    into.kills = 1, into.grenRatio = 20, into.weapKills[kPipes] = 1;
    killer.countKillsOf(from.id, 2);
    killer.countKillOf(into.id);
    from.countKillOf(from.id);
    stats.mergeRenamed(from, into);
    ASSERT_EQ(stats.players.size(), 2u);
    EXPECT_EQ(into.id, 1);
    EXPECT_EQ(into.kills, 4);
    EXPECT_EQ(into.weapKills[kPipes], 3);
    EXPECT_EQ(into.grenRatio, 20);  // neither ratio nor rank add up
    EXPECT_EQ(into.rank, 0);
    EXPECT_EQ(killer.killsOf(1), 3);
    EXPECT_EQ(killer.killsOf(2), 0);
    EXPECT_EQ(into.killsOf(1), 1);
}

}  // namespace
}  // namespace zefa
