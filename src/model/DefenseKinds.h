#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/PlayerRecord.h"

namespace zefa {

// Index of PlayerRecord::defenses.
enum DefenseKind : std::int32_t {
    kDefendedCarrier = 0,
    kTeamKilledCarrier = 1,
    kKilledEnemyCarrier = 2,
    kKilledWhileCapping = 3,
    kKilledCarrierWhileHolding = 4,
    kDefendedFlag = 5,
};

inline constexpr std::array<std::string_view, kDefenseKindCount> kDefenseKindNames = {
    "Defended Flagcarrier",
    "TKed Flagcarrier",
    "Killed enemy Flagcarrier",
    "Killed enemy (when capping)",
    "Killed enemy Flagcarrier (while holding flag)",
    "Defended Flag",
};

}  // namespace zefa
