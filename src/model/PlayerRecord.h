#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/PlayerCounters.h"

namespace zefa {

// killCount has a column for the first 75 players only; later players are
// counted everywhere else but have no column.
inline constexpr std::int32_t kKillCountColumns = 75;

// Everything known about one player of a match: its counters, and what is
// worked out from them (rank, grenRatio) or kept beside them.
struct PlayerRecord : PlayerCounters {
    std::string name;          // normalised key name, colour codes kept
    std::string strippedName;  // name without colour codes
    std::int32_t id = 0;       // dense, 0 .. number of players - 1
    std::int32_t rank = 0;
    std::int32_t grenRatio = 0;
    std::array<std::int32_t, kKillCountColumns> killCount{};  // by victim id

    // How often this player killed the player with `victimId`; 0 where no column exists.
    [[nodiscard]] std::int32_t killsOf(std::int32_t victimId) const;
    // Counts kills of `victimId`; skipped where no column exists.
    void countKillOf(std::int32_t victimId) { countKillsOf(victimId, 1); }
    void countKillsOf(std::int32_t victimId, std::int32_t kills);

    bool operator==(const PlayerRecord&) const = default;
};

}  // namespace zefa
