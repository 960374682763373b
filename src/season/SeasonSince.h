#pragma once

#include <cstdint>

#include "season/SeasonSnapshot.h"

namespace zefa::season {

// The part of a season played at or after `since` (seconds since the epoch,
// UTC): its matches, and its players' totals over those matches only. Each
// player keeps the display name, aliases and the rating the whole season
// gave them after their last match.
[[nodiscard]] SeasonSnapshot seasonSince(const SeasonSnapshot& season, std::int64_t since);

}  // namespace zefa::season
