#include "season/SeasonSince.h"

#include <gtest/gtest.h>

namespace zefa::season {
namespace {

MatchPlayer record(const std::string& key, std::int32_t kills, double mu) {
    MatchPlayer player;
    player.key = key;
    player.counters.kills = kills;
    player.counters.weapKills[3] = kills;
    player.counters.defenses[5] = 1;
    player.killsByVictim = {{"b", kills}};
    player.awards = {1, 2};
    player.rating.mu = mu;
    return player;
}

TEST(SeasonSinceTest, TotalsCountOnlyTheMatchesFromThatTimeOn) {
    SeasonSnapshot season;
    season.matches.resize(3);
    season.matches[0].playedAt = 100;
    season.matches[0].players = {record("a", 7, 20), record("gone", 1, 20)};
    season.matches[1].playedAt = 200;
    season.matches[1].players = {record("a", 2, 21), record("b", 1, 22)};
    season.matches[2].playedAt = 300;
    season.matches[2].players = {record("a", 3, 23)};
    season.players.resize(3);
    season.players[0].key = "a";
    season.players[0].name = "^1A";
    season.players[0].aliases = {"old"};
    season.players[0].rating.mu = 23;
    season.players[1].key = "b";
    season.players[2].key = "gone";

    const SeasonSnapshot part = seasonSince(season, 200);
    ASSERT_EQ(part.matches.size(), 2u);
    ASSERT_EQ(part.players.size(), 2u);
    const SeasonPlayer& a = part.players[0];
    EXPECT_EQ(a.key, "a");
    EXPECT_EQ(a.name, "^1A");
    EXPECT_EQ(a.aliases, std::vector<std::string>{"old"});
    EXPECT_EQ(a.matches, 2);
    EXPECT_EQ(a.counters.kills, 5);
    EXPECT_EQ(a.counters.weapKills[3], 5);
    EXPECT_EQ(a.counters.defenses[5], 2);
    EXPECT_EQ(a.awardsWon, 4);
    EXPECT_EQ(a.killsByVictim, (KillsByVictim{{"b", 5}}));
    EXPECT_EQ(a.rating.mu, 23);
    EXPECT_EQ(part.players[1].key, "b");
}

}  // namespace
}  // namespace zefa::season
