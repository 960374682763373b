#pragma once

#include <initializer_list>
#include <string>

#include "model/MatchStats.h"

namespace zefa::test {

// Records created the way the reader creates them, in the given order.
inline std::list<PlayerRecord> makePlayers(std::initializer_list<std::string_view> rawNames) {
    MatchStats stats;
    for (std::string_view raw : rawNames) stats.findPlayer(raw, true);
    return std::move(stats.players);
}

inline std::string strippedNames(const std::list<PlayerRecord>& players) {
    std::string joined;
    for (const PlayerRecord& p : players) joined += (joined.empty() ? "" : " ") + p.strippedName;
    return joined;
}

}  // namespace zefa::test
