#include "model/PlayerRecord.h"

namespace zefa {

namespace {
bool hasColumn(std::int32_t id) { return id >= 0 && id < kKillCountColumns; }
}  // namespace

std::int32_t PlayerRecord::killsOf(std::int32_t victimId) const {
    return hasColumn(victimId) ? killCount[static_cast<std::size_t>(victimId)] : 0;
}

void PlayerRecord::countKillsOf(std::int32_t victimId, std::int32_t kills) {
    if (hasColumn(victimId)) killCount[static_cast<std::size_t>(victimId)] += kills;
}

}  // namespace zefa
