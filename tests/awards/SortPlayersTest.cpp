#include <gtest/gtest.h>

#include "awards/SortPlayers.h"
#include "awards/TestPlayers.h"

namespace zefa {
namespace {

using test::makePlayers;
using test::strippedNames;

TEST(SortPlayers, TiesStayInAscendingAndFlipInDescendingOrder) {
    auto players = makePlayers({"P", "Q", "R"});
    for (PlayerRecord& p : players) p.touches = p.id < 2 ? 5 : 3;
    SortPlayers(players, kSortByTouches, 0, true);
    EXPECT_EQ(strippedNames(players), "Q P R");
    SortPlayers(players, kSortByTouches, 0, true);  // every descending sort flips ties again
    EXPECT_EQ(strippedNames(players), "P Q R");
    SortPlayers(players, kSortByTouches, 0, false);
    EXPECT_EQ(strippedNames(players), "R P Q");
}

TEST(SortPlayers, NamesFoldOnlyAsciiLettersAndCompareUnsignedBytes) {
    auto players =
        makePlayers({"Zed", "\xC3\xA9t\xC3\xA9", "ALPHA", "^1apple", "[x]", "al", "alpha"});
    SortPlayers(players, kSortByName, 0, false);
    EXPECT_EQ(strippedNames(players), "[x] al ALPHA alpha apple Zed \xC3\xA9t\xC3\xA9");
    // Keys outside 1 to 19 compare names too; descending flips the tied pair.
    SortPlayers(players, -1, 0, true);
    EXPECT_EQ(strippedNames(players), "\xC3\xA9t\xC3\xA9 Zed apple alpha ALPHA al [x]");
    SortPlayers(players, 42, 0, false);
    EXPECT_EQ(strippedNames(players), "[x] al alpha ALPHA apple Zed \xC3\xA9t\xC3\xA9");
}

TEST(SortPlayers, StatisticsOutsideTheArraysAreZero) {
    PlayerRecord p;
    p.killCount.fill(1), p.weapKills.fill(2), p.weapDeaths.fill(3), p.defenses.fill(4);
    EXPECT_EQ(playerStatistic(p, kSortByKillCount, kKillCountColumns - 1), 1);
    EXPECT_EQ(playerStatistic(p, kSortByKillCount, kKillCountColumns), 0);
    EXPECT_EQ(playerStatistic(p, kSortByWeapKills, kWeaponCount), 0);
    EXPECT_EQ(playerStatistic(p, kSortByWeapDeaths, -1), 0);
    EXPECT_EQ(playerStatistic(p, kSortByDefenses, kDefenseKindCount), 0);
}

}  // namespace
}  // namespace zefa
