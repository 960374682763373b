#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "season/SeasonSnapshot.h"

namespace zefa::season {

// What the store tells of a season player besides its matches: the display
// name its ratings keep, the keys merged into it, its change number. Each is
// what a reading of the whole season gives the player.
struct PlayerDescription {
    std::string key;
    std::optional<std::string> name;   // none: the name of its latest match
    std::vector<std::string> aliases;  // by key (bytewise)
    std::int64_t changeSeq = 0;
};

// Gives `player` what the store tells of it.
void describe(SeasonPlayer& player, const PlayerDescription& description);

// What a store holds beyond an earlier change number, for a reader that kept
// the season as it stood then: the matches stamped later, whole, and what
// describes every player now. A reader can tell from these alone whether
// all that changed is new matches (SeasonStore::readChanges).
struct SeasonChanges {
    // The matches left as they were: how many, and the sums of their ids and
    // change numbers, which tell a reader's own matches from another's.
    struct Unchanged {
        std::int64_t count = 0;
        std::int64_t idSum = 0;
        std::int64_t changeSeqSum = 0;
        bool operator==(const Unchanged&) const = default;
    };

    std::int64_t changeSeq = 0;  // the store's, as readSeason() returns it
    Unchanged unchanged;
    std::vector<SeasonMatch> matches;         // changed or added since, in played order
    std::vector<PlayerDescription> players;  // every player the store describes, by key
};

}  // namespace zefa::season
