#include <gtest/gtest.h>

#include <map>
#include <random>

#include "season/SeasonTotals.h"

namespace zefa::season {
namespace {

// Players of many matches, each killing many others (more kills than any
// player's list holds between two sums), are summed as a map by key sums them.
TEST(SeasonTotalsTest, SumsEachPlayersMatchesAndKillsByVictimKey) {
    struct Expected {
        std::int32_t matches = 0;
        std::map<std::string, std::int32_t> kills;
        std::string name;
    };
    std::map<std::string, Expected> expected;
    SeasonTotals totals;
    std::mt19937 random(26);
    for (int m = 0; m < 400; ++m) {
        std::map<std::string, MatchPlayer> players;
        for (int i = 0; i < 8; ++i) {
            // Bytes above 0x7f sort after the letters, as they do bytewise.
            std::string key = (random() % 3 == 0 ? "\xe9" : "p") + std::to_string(random() % 60);
            players[key].key = key;
        }
        SeasonMatch match;
        for (auto& [key, player] : players) {
            player.name = key + "#" + std::to_string(m);
            for (const auto& [victim, other] : players) {
                const auto count = static_cast<std::int32_t>(random() % 4);
                player.killsByVictim.emplace_back(victim, count);
                expected[key].kills[victim] += count;
            }
            ++expected[key].matches;
            expected[key].name = player.name;
            match.players.push_back(player);
        }
        totals.add(match);
    }
    EXPECT_EQ(totals.find("nobody"), nullptr);
    ASSERT_NE(totals.find("p1"), nullptr);
    totals.find("p1")->aliases = {"one"};

    std::vector<SeasonPlayer> emitted;
    totals.emit([&](SeasonPlayer&& player) { emitted.push_back(std::move(player)); });
    ASSERT_EQ(emitted.size(), expected.size());
    auto player = emitted.begin();
    for (const auto& [key, sums] : expected) {
        EXPECT_EQ(player->key, key);
        EXPECT_EQ(player->matches, sums.matches);
        EXPECT_EQ(player->name, sums.name);
        EXPECT_EQ(player->killsByVictim, KillsByVictim(sums.kills.begin(), sums.kills.end()));
        EXPECT_EQ(player->aliases.size(), key == "p1" ? 1u : 0u);
        ++player;
    }
    EXPECT_EQ(totals.find("p1"), nullptr);
}

}  // namespace
}  // namespace zefa::season
