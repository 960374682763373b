#pragma once

#include <sstream>
#include <string>

#include "awards/AwardTable.h"
#include "model/NameRules.h"
#include "theme/PageWriter.h"

namespace zefa::test {

// A record filled in by hand; names are taken as they are, not normalised.
inline PlayerRecord& addPlayer(MatchStats& stats, const std::string& name) {
    PlayerRecord& player = stats.players.emplace_back();
    player.name = name;
    player.strippedName = stripColourCodes(name);
    player.id = static_cast<std::int32_t>(stats.players.size()) - 1;
    return player;
}

inline std::string renderPage(MatchStats& stats, std::string_view theme,
                              const AwardTable& awards = AwardTable(),
                              const PageWriter& writer = PageWriter()) {
    std::ostringstream out;
    writer.WritePage(stats, awards, theme, out, weaponNames(kGameVersionBeta2));
    return out.str();
}

}  // namespace zefa::test
