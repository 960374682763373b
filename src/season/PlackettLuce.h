#pragma once

#include <cstdint>
#include <span>

#include "season/SeasonSnapshot.h"

namespace zefa::season {

// Weng-Lin Bayesian rating with the Plackett-Luce model, every player a team
// of one. Each match ranks its players by rank points.
struct RatingModel {
    double beta = 25.0 / 6.0;
    double kappa = 0.0001;
    double tau = 25.0 / 300.0;  // added to sigma before each match
};

// One player of a rated match: higher score ranks better, equal scores tie.
struct RatedPlayer {
    Rating rating;
    std::int64_t score = 0;
};

// Updates every player's rating in place with the outcome of one match.
void rateMatch(std::span<RatedPlayer> players, const RatingModel& model = {});

}  // namespace zefa::season
