#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/PlayerCounters.h"
#include "model/Teams.h"

namespace zefa::season {

// A player's skill after a match: Weng-Lin / Plackett-Luce mean and deviation.
struct Rating {
    double mu = 25.0;
    double sigma = 25.0 / 3.0;

    // The rating shown to people: a conservative estimate.
    [[nodiscard]] double ordinal() const { return mu - 3.0 * sigma; }
};

// Kills of one victim key; kept ordered by key (bytewise).
using KillsByVictim = std::vector<std::pair<std::string, std::int32_t>>;

// An award shown on a match's page.
struct MatchAward {
    std::int32_t index = 0;
    std::string name;    // raw bytes of the log and catalogue
    std::string result;  // raw bytes, colour codes kept
};

// One season player in one match, after merges.
struct MatchPlayer {
    std::string key;   // the season player's key
    std::string name;  // normalised name of the player's first record in the match
    std::int32_t rank = 0;
    PlayerCounters counters;
    KillsByVictim killsByVictim;       // the player's own key: self kills and suicides
    std::vector<std::int32_t> awards;  // indexes of awards won or shared
    Rating rating;                     // after this match
};

struct SeasonMatch {
    std::int64_t id = 0;
    std::string file;             // the file name of the log its timeline begins with, as imported
    std::string sha256;           // of its timeline: the log it is read from
    std::int32_t recordings = 1;  // the logs that captured it
    // The labels of the tokens that sent its recordings, in the order they
    // were stored, each once; recordings imported by hand are not among them.
    std::vector<std::string> recordedBy;
    std::int64_t playedAt = 0;    // seconds since the epoch, UTC
    std::int32_t gameVersion = 1;
    std::int32_t lineCount = 0;
    std::array<std::int32_t, kTeamCount> teamScores{};
    std::vector<MatchAward> awards;
    std::vector<MatchPlayer> players;  // ordered by key (bytewise)
    std::int64_t changeSeq = 0;        // the store's change number it was last changed at
};

struct SeasonPlayer {
    std::string key;
    std::string name;  // display name: chosen by `season rename`, or the coloured name of
                       // the player's own key's latest record
    std::vector<std::string> aliases;  // keys merged into this one
    std::int32_t matches = 0;
    PlayerCounters counters;  // totals
    KillsByVictim killsByVictim;
    std::int64_t rank = 0;  // sum of rank points
    std::int32_t awardsWon = 0;
    Rating rating;  // after the player's last match
    std::int64_t changeSeq = 0;  // the store's change number a match of it last changed at
};

// Everything the season's pages and its JSON export show, read from the store
// in one go. Texts are the log's raw bytes.
struct SeasonSnapshot {
    std::vector<SeasonMatch> matches;  // by played-at time, then SHA-256
    std::vector<SeasonPlayer> players;  // by key (bytewise)
    // The store's latest change number (0: unknown, as for a snapshot not
    // read from a store): changes raise it, and stamp what they change.
    std::int64_t changeSeq = 0;
};

}  // namespace zefa::season
