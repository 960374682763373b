#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "season/PlackettLuce.h"

namespace zefa::season {
namespace {

// Ratings along a chain of matches with ties, against the values the
// openskill package computes (openskill_fixture.mjs made the JSON).
TEST(PlackettLuceTest, MatchesOpenskillAlongAChainOfMatchesWithTies) {
    std::ifstream in(ZEFA_SEASON_FIXTURES "/openskill_fixture.json");
    const auto fixture = nlohmann::json::parse(in);
    std::map<std::string, Rating> ratings;
    for (const auto& match : fixture["matches"]) {
        std::vector<std::string> names;
        std::vector<RatedPlayer> players;
        for (const auto& [name, points] : match["points"].items()) {
            names.push_back(name);
            players.push_back({ratings[name], points.get<std::int64_t>()});
        }
        rateMatch(players);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const auto& expected = match["after"][names[i]];
            EXPECT_NEAR(players[i].rating.mu, expected["mu"].get<double>(), 1e-9) << names[i];
            EXPECT_NEAR(players[i].rating.sigma, expected["sigma"].get<double>(), 1e-9) << names[i];
            ratings[names[i]] = players[i].rating;
        }
    }
}

}  // namespace
}  // namespace zefa::season
