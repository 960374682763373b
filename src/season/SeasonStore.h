#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "season/MatchReading.h"
#include "season/SeasonError.h"
#include "season/SeasonSnapshot.h"

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

// A stored log, decompressed, with the game version its import used.
struct StoredLog {
    std::string bytes;
    std::int32_t gameVersion = 1;
    std::string file;  // the log's file name as imported
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

// A stored match as `season matches` lists it.
struct MatchSummary {
    std::int64_t id = 0;
    std::int64_t playedAt = 0;  // seconds since the epoch, UTC
    std::string file;           // the log's file name as imported
    std::int32_t players = 0;   // season players, after merges
    std::int32_t recordings = 1;
};

// A rename seen inside logs between two players the season still tells apart.
struct AliasSuggestion {
    std::string from;  // season key of the player with fewer matches: the likely alias
    std::string to;    // season key of the other
    std::int32_t renames = 0;
    std::int32_t matches = 0;
};

class SqliteSeasonStore;

// Every match of a season in one file (see docs/season-store.md).
//
// Errors: every operation, open() included, throws SeasonError, and nothing
// else, when it fails or refuses: Unusable when open() cannot use the file,
// Refused when the store says no, Failed when the store fails on the way.
// Each change is one transaction, so an error or a kill leaves the store as
// it was before the change; ratings an error or a kill left behind the
// changes are brought up to date when the store is next opened writable.
class SeasonStore {
public:
    enum class OpenMode {
        CreateIfMissing,
        Existing,
        // Only read: works where this user may only read the store, and leaves
        // no file beside it (StoreAccess.h). A store left behind (an older
        // schema, ratings of a stopped command) is brought up to date first
        // when this user may write it, and refused otherwise.
        ReadOnly,
    };

    // The store in the file at `path`, left as it was when it cannot be used.
    // Ratings left stale by an interrupted command are brought up to date.
    // Writable modes refuse a store this user cannot change.
    [[nodiscard]] static SeasonStore open(const std::filesystem::path& path, OpenMode mode);

    SeasonStore(SeasonStore&&) noexcept;
    SeasonStore& operator=(SeasonStore&&) noexcept;
    ~SeasonStore();

    // Stores the match unless its bytes, or with `keepOverlap` unset its game
    // events, are stored already. Ratings are brought up to date by updateRatings().
    ImportResult importMatch(const MatchReading& match, std::string_view file,
                             std::int64_t playedAt, bool keepOverlap);
    // Recomputes the ratings of every match after the earliest change.
    void updateRatings();

    // The matches played at or after `since` (seconds since the epoch) and
    // their players' totals over those matches.
    [[nodiscard]] SeasonSnapshot snapshot(std::optional<std::int64_t> since = std::nullopt);
    // The log of a stored match; refused when there is no such match.
    [[nodiscard]] StoredLog matchLog(std::int64_t matchId);

    [[nodiscard]] std::vector<LeaderboardRow> leaderboard(std::int32_t minMatches,
                                                          std::optional<std::int64_t> since);
    [[nodiscard]] std::vector<AliasSuggestion> aliasSuggestions();
    // The matches played at or after `since`, in played order.
    [[nodiscard]] std::vector<MatchSummary> matches(std::optional<std::int64_t> since);

    // Every match of `alias` (a key or a name) counts for `into`; refused
    // when no stored match has either (naming the closest keys), when `alias`
    // is merged already or the two are one player already.
    void merge(std::string_view alias, std::string_view into);
    // Undoes the merge of `alias`; refused when there is none.
    void unmerge(std::string_view alias);
    // Shows the season player `player` (a key or a name, refused as merge()
    // refuses one) counts for by `name` (colour codes kept); an empty name
    // goes back to the name of its latest match. The season player's key.
    std::string rename(std::string_view player, std::string_view name);
    // Removes a match, which it returns as it was; refused when there is no
    // such match.
    MatchSummary forget(std::int64_t matchId);

private:
    explicit SeasonStore(std::unique_ptr<SqliteSeasonStore> sqlite);
    // Runs `work` on the SQLite store, its failures thrown as SeasonError.
    template <typename Work>
    decltype(auto) guarded(Work&& work);

    std::unique_ptr<SqliteSeasonStore> m_sqlite;
};

}  // namespace zefa::season
