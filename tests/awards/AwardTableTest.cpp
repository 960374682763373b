#include <gtest/gtest.h>

#include <climits>

#include "awards/AwardTable.h"
#include "awards/TestPlayers.h"
#include "model/Weapons.h"

namespace zefa {
namespace {

using test::makePlayers;

// Every statistic that the example awards read, set to one value.
void setStatistics(PlayerRecord& p, std::int32_t value) {
    p.kills = p.deaths = p.rank = p.caps = p.grenRatio = p.weapKills[kSniperHead] = value;
}

TEST(AwardTable, ResultNamesWinnersThenPrefixValueAndSuffix) {
    const struct {
        std::int32_t award, alpha, bravo;
        std::string expected;
    } cases[] = {
        {0, 12, 3, "^1Alpha^7 ^*with 12 frags."},
        {10, 9, 9, "Bravo^7, ^1Alpha^7 ^*with a total of 9 deaths."},
        {5, 0, 2, "^1Alpha^7 ^*for only being fragged 0 times."},
        {13, 1, 0, "^1Alpha^7 ^*for having 1 headshot."},
        {16, INT_MIN, 0, "^1Alpha^7 ^*with a rank of -2147483648."},
        {15, 50, 0, "^1Alpha^7 ^*for getting 50% of their kills by grenade."},
        {7, 0, 1, "Bravo^7 ^*for capping the flag 1 time."},
    };
    for (const auto& c : cases) {
        auto players = makePlayers({"^1Alpha", "Bravo"});
        setStatistics(players.front(), c.alpha);
        setStatistics(players.back(), c.bravo);
        AwardTable table;
        table.ComputeAward(players, c.award);
        EXPECT_EQ(table.result(c.award), c.expected) << "award " << c.award;
    }
}

TEST(AwardTable, TiesFollowTheOrderLeftByEarlierAwards) {
    // Names of one character keep their raw form.
    auto players = makePlayers({"P", "Q", "R"});
    for (PlayerRecord& p : players) p.kills = 4;
    AwardTable table;
    table.ComputeAwards(players);
    EXPECT_EQ(table.result(0), "R, Q, P ^*with 4 frags.");
    EXPECT_FALSE(table.shown(7));  // nobody capped, and zero does not win

    // Nobody died: both death awards go to everyone; the lowest-wins one keeps the order.
    players = makePlayers({"P", "Q", "R"});
    table.ComputeAward(players, 5);
    EXPECT_EQ(table.result(5), "P, Q, R ^*for only being fragged 0 times.");
    table.ComputeAward(players, 10);
    EXPECT_EQ(table.result(10), "R, Q, P ^*with a total of 0 deaths.");
}

TEST(AwardTable, OnlySelectedAwardsAreComputedAndShown) {
    auto players = makePlayers({"P", "Q", "R"});
    for (PlayerRecord& p : players) p.kills = p.id, p.caps = 2;
    AwardTable table;
    table.setSelected(7, false);
    table.ComputeAwards(players);
    EXPECT_EQ(table.result(7), "");
    EXPECT_TRUE(table.shown(0));
    table.setSelected(0, false);
    EXPECT_FALSE(table.shown(0));  // a result of an award no longer selected stays hidden
    EXPECT_EQ(table.awardName(3), "Friends? We dont't need no stinkin' friends! Award");
    EXPECT_EQ(table.awardName(kAwardCount), "");
}

TEST(AwardTable, ResultListsEveryTiedWinnerAndTheFullValue) {
    std::list<PlayerRecord> players;
    std::string expected;
    for (int i = 0; i < 80; ++i) {
        const std::string name = "player" + std::to_string(i);
        players.splice(players.end(), makePlayers({name}));
        players.back().kills = 123456789;
        expected = name + "^7" + (expected.empty() ? " " : ", ") + expected;
    }
    AwardTable table;
    table.ComputeAward(players, 0);
    EXPECT_EQ(table.result(0), expected + "^*with 123456789 frags.");
}

}  // namespace
}  // namespace zefa
