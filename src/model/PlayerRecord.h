#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zefa {

// killCount has a column for the first 75 players only; later players are
// counted everywhere else but have no column.
inline constexpr std::int32_t kKillCountColumns = 75;
inline constexpr std::int32_t kWeaponCount = 35;
inline constexpr std::int32_t kDefenseKindCount = 6;

// Everything known about one player of a match. Counters are signed 32-bit,
// as the page and the awards print them.
struct PlayerRecord {
    std::string name;          // normalised key name, colour codes kept
    std::string strippedName;  // name without colour codes
    std::int32_t id = 0;       // dense, 0 .. number of players - 1
    std::int32_t rank = 0;
    std::int32_t mm1 = 0;
    std::int32_t selfGren = 0;
    std::int32_t grenRatio = 0;
    std::int32_t kills = 0;
    std::int32_t deaths = 0;
    std::int32_t suicides = 0;
    std::int32_t tks = 0;
    std::int32_t tkDeaths = 0;
    std::int32_t touches = 0;
    std::int32_t caps = 0;
    std::int32_t drops = 0;
    std::int32_t c2cs = 0;
    std::int32_t flagSaves = 0;
    std::array<std::int32_t, kKillCountColumns> killCount{};  // by victim id
    std::array<std::int32_t, kWeaponCount> weapKills{};       // by weapon id
    std::array<std::int32_t, kWeaponCount> weapDeaths{};      // by weapon id
    std::array<std::int32_t, kDefenseKindCount> defenses{};   // by defense kind

    // How often this player killed the player with `victimId`; 0 where no column exists.
    [[nodiscard]] std::int32_t killsOf(std::int32_t victimId) const;
    // Counts kills of `victimId`; skipped where no column exists.
    void countKillOf(std::int32_t victimId) { countKillsOf(victimId, 1); }
    void countKillsOf(std::int32_t victimId, std::int32_t kills);

    bool operator==(const PlayerRecord&) const = default;
};

}  // namespace zefa
