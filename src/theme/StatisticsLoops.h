#pragma once

#include "model/PlayerRecord.h"
#include "theme/Page.h"

namespace zefa {

// The loops a theme line can start. Each is called right after its tag line
// was read, repeats the body up to its "<= ENDLOOP =>" line once per item
// (rewinding the theme), and returns after the last pass. Loops over the
// player list sort it in place first. At most 64 loops run at once; a loop
// tag met beyond that is dropped like an unknown tag.

void ExpandPlayerLoop(Page& page);
// `player` is the player loop's current player, or null at the top level.
void ExpandDefensesLoop(Page& page, const PlayerRecord* player);
void ExpandFlagTouchLoop(Page& page);
void ExpandFlagCapLoop(Page& page);
void ExpandChatLoop(Page& page);
void ExpandAwardsLoop(Page& page);

}  // namespace zefa
