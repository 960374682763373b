#include "season/SeasonChanges.h"

namespace zefa::season {

void describe(SeasonPlayer& player, const PlayerDescription& description) {
    if (description.name) player.name = *description.name;
    player.aliases = description.aliases;
    player.changeSeq = description.changeSeq;
}

}  // namespace zefa::season
