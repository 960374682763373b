#include "season/PlackettLuce.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zefa::season {

void rateMatch(std::span<RatedPlayer> players, const RatingModel& model) {
    for (RatedPlayer& p : players)
        p.rating.sigma = std::sqrt(p.rating.sigma * p.rating.sigma + model.tau * model.tau);

    double variance = 0.0;
    for (const RatedPlayer& p : players)
        variance += p.rating.sigma * p.rating.sigma + model.beta * model.beta;
    const double c = std::sqrt(variance);

    // For each q: the strengths of the players ranked at or below q, and how
    // many players tie with q.
    const std::size_t n = players.size();
    std::vector<double> strength(n);
    std::vector<double> sumBelow(n, 0.0);
    std::vector<double> tied(n, 0.0);
    for (std::size_t s = 0; s < n; ++s) strength[s] = std::exp(players[s].rating.mu / c);
    for (std::size_t q = 0; q < n; ++q) {
        for (std::size_t s = 0; s < n; ++s) {
            if (players[s].score <= players[q].score) sumBelow[q] += strength[s];
            if (players[s].score == players[q].score) tied[q] += 1.0;
        }
    }

    std::vector<Rating> updated(n);
    for (std::size_t i = 0; i < n; ++i) {
        double omegaSum = 0.0;
        double deltaSum = 0.0;
        for (std::size_t q = 0; q < n; ++q) {
            if (players[q].score < players[i].score) continue;  // q ranked below i
            const double p = strength[i] / sumBelow[q];
            omegaSum += ((q == i ? 1.0 : 0.0) - p) / tied[q];
            deltaSum += p * (1.0 - p) / tied[q];
        }
        const double sigma = players[i].rating.sigma;
        const double variance_i = sigma * sigma;
        const double omega = variance_i / c * omegaSum;
        const double delta = (sigma / c) * (variance_i / (c * c)) * deltaSum;
        updated[i].mu = players[i].rating.mu + omega;
        updated[i].sigma = sigma * std::sqrt(std::max(1.0 - delta, model.kappa));
    }
    for (std::size_t i = 0; i < n; ++i) players[i].rating = updated[i];
}

}  // namespace zefa::season
