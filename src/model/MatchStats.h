#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "model/PlayerRecord.h"
#include "model/Teams.h"

namespace zefa {

// A real match has a few dozen players. A log naming thousands of distinct
// players is an attack on the reader: every lookup scans the list, and the kill
// matrix grows with the square of the players. Names beyond this many are refused.
inline constexpr std::size_t kMaxPlayers = 1024;

// The statistics of one match. Players are kept in a linked list so that
// sorting relinks records: a reference to a record stays valid across sorts.
struct MatchStats {
    std::list<PlayerRecord> players;  // first-appearance order until sorted
    std::array<std::int32_t, kTeamCount> teamScores{};
    std::vector<std::string> chatSpeakers;  // as captured, colour codes kept
    std::vector<std::string> chatTexts;     // same length as chatSpeakers
    std::int32_t lineCount = 0;

    // The record whose name equals the normalised raw name; creates it at the
    // end of the list when absent and `create` is set. Null when not found
    // (or not created because the list holds kMaxPlayers records).
    PlayerRecord* findPlayer(std::string_view rawName, bool create);
    [[nodiscard]] PlayerRecord* findPlayerById(std::int32_t id);

    // Adds the counters of `from` into `into` (grenRatio and rank excepted),
    // moves every kill of `from` into the column of `into` and removes `from`.
    // `into` stays valid; the ids above `from` drop by one.
    void mergeRenamed(PlayerRecord& from, PlayerRecord& into);
    // Removes the record and closes the gap in the ids and killCount columns.
    void removePlayer(const PlayerRecord& record);
    void renamePlayer(PlayerRecord& record, std::string_view rawName);

    // Fills the weapon totals and every player's rank once the log is read.
    void finish();

    bool operator==(const MatchStats&) const = default;
};

}  // namespace zefa
