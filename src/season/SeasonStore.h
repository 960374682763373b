#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "season/MatchReading.h"
#include "season/SeasonSnapshot.h"
#include "season/Sqlite.h"

namespace zefa::season {

// What became of a log handed to the store.
struct ImportResult {
    enum class Outcome {
        Stored,     // a new match
        SameBytes,  // these bytes are stored already
        SameMatch,  // another client's recording of a stored match
    };
    Outcome outcome = Outcome::Stored;
    std::int64_t matchId = 0;  // the new match, or the stored one it repeats
};

// A stored log, decompressed.
struct StoredLog {
    std::string bytes;
    std::int32_t gameVersion = 1;
    std::string file;
};

// One line of the leaderboard.
struct LeaderboardRow {
    std::string key;
    std::string name;  // display name, colour codes kept
    std::int32_t matches = 0;
    std::int64_t kills = 0;
    std::int64_t deaths = 0;
    std::int64_t caps = 0;
    std::int64_t rank = 0;
    std::int32_t awardsWon = 0;
    Rating rating;
};

// A rename seen inside logs between two players the season still tells apart.
struct AliasSuggestion {
    std::string from;  // season key of the player with fewer matches: the likely alias
    std::string to;    // season key of the other
    std::int32_t renames = 0;
    std::int32_t matches = 0;
};

// Every match of a season in one SQLite file (see docs/season-store.md).
// Failures of SQLite itself are thrown as SqliteError; each change is one
// transaction, so a failure or a kill leaves the store as before it.
class SeasonStore {
public:
    enum class OpenMode { CreateIfMissing, Existing };

    // Nullptr with the reason in `error` when the file cannot be used as a
    // store; the file is then left as it was. Ratings left stale by an
    // interrupted command are brought up to date.
    static std::unique_ptr<SeasonStore> open(const std::filesystem::path& path, OpenMode mode,
                                             std::string& error);

    // Stores the match unless its bytes, or with `keepOverlap` unset its game
    // events, are stored already. Ratings are brought up to date by updateRatings().
    ImportResult importMatch(const MatchReading& match, std::string_view file,
                             std::int64_t playedAt, bool keepOverlap);
    // Recomputes the ratings of every match after the earliest change.
    void updateRatings();

    // The matches played at or after `since` (seconds since the epoch) and
    // their players' totals over those matches.
    [[nodiscard]] SeasonSnapshot snapshot(std::optional<std::int64_t> since = std::nullopt);
    // The log of a stored match; nullopt when there is no such match.
    [[nodiscard]] std::optional<StoredLog> matchLog(std::int64_t matchId);

    [[nodiscard]] std::vector<LeaderboardRow> leaderboard(std::int32_t minMatches,
                                                          std::optional<std::int64_t> since);
    [[nodiscard]] std::vector<AliasSuggestion> aliasSuggestions();

    // Every match of `alias` (a key or a name) counts for `into`; the reason
    // when refused, empty when done.
    [[nodiscard]] std::string merge(std::string_view alias, std::string_view into);
    // Undoes the merge of `alias`; the reason when there is none.
    [[nodiscard]] std::string unmerge(std::string_view alias);
    // Removes a match; false when there is no such match.
    bool forget(std::int64_t matchId);

    [[nodiscard]] Database& database() { return db_; }

private:
    explicit SeasonStore(Database db) : db_(std::move(db)) {}
    [[nodiscard]] std::string keyOf(std::string_view keyOrName);
    [[nodiscard]] std::string resolveKey(std::string key);
    [[nodiscard]] std::optional<std::int64_t> sameMatch(const MatchReading& match,
                                                        std::span<const std::uint64_t> shingles);
    void markStale(std::int64_t playedAt, std::string_view sha256);
    void rebuildSeasonKeys();

    Database db_;
};

}  // namespace zefa::season
