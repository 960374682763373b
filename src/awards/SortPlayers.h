#pragma once

#include <cstdint>
#include <list>

#include "model/PlayerRecord.h"

namespace zefa {

// What a sort (or an award) compares. Any value outside 1 to 19 compares names.
enum SortKey : std::int32_t {
    kSortByName = 0,  // strippedName, ASCII case-insensitive
    kSortById = 1,
    kSortByRank = 2,
    kSortByMm1 = 3,
    kSortBySelfGren = 4,
    kSortByKills = 5,
    kSortByDeaths = 6,
    kSortBySuicides = 7,
    kSortByTks = 8,
    kSortByTkDeaths = 9,
    kSortByTouches = 10,
    kSortByCaps = 11,
    kSortByGrenRatio = 12,
    kSortByDrops = 13,
    kSortByC2cs = 14,
    kSortByFlagSaves = 15,
    kSortByKillCount = 16,   // killCount[sortIndex]
    kSortByWeapKills = 17,   // weapKills[sortIndex]
    kSortByWeapDeaths = 18,  // weapDeaths[sortIndex]
    kSortByDefenses = 19,    // defenses[sortIndex]
};

// The integer statistic that `sortKey` compares (0 for the name key and for
// an index outside the array).
[[nodiscard]] std::int32_t playerStatistic(const PlayerRecord& player, std::int32_t sortKey,
                                           std::int32_t sortIndex);

// Sorts the list in place by relinking its nodes, so references to records
// stay valid. Ascending sorts are stable; descending sorts put records with
// equal keys in the reverse of their previous order.
void SortPlayers(std::list<PlayerRecord>& players, std::int32_t sortKey, std::int32_t sortIndex,
                 bool descending);

}  // namespace zefa
