#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "season/MatchReading.h"
#include "season/SeasonChanges.h"
#include "season/SeasonError.h"
#include "season/SeasonSink.h"
#include "season/SeasonSnapshot.h"

namespace zefa::season {

// The source of a recording stored by `season import` (or the desktop
// program); one sent to the season server has its token's label.
inline constexpr std::string_view kImportedSource = "imported";

// What became of a log handed to the store.
struct ImportResult {
    enum class Outcome {
        Stored,     // a new match
        SameBytes,  // these bytes are stored already
        SameMatch,  // stored as another recording of a stored match
    };
    Outcome outcome = Outcome::Stored;
    std::int64_t matchId = 0;          // the new match, or the stored one it repeats or joins
    std::int32_t recordings = 1;       // the match's recordings now, this log's included
    std::vector<std::int64_t> joined;  // matches the log joined into `matchId`, gone now
};

// One log that captured a match, as stored.
struct RecordingInfo {
    std::string sha256;
    std::string file;  // the log's file name as imported
    std::int64_t size = 0;
    std::int64_t events = 0;    // its game events
    std::int64_t storedAt = 0;  // seconds since the epoch, UTC
    std::int64_t playedAt = 0;
    std::string source;  // where it came from: "imported", or the label of the token that sent it
};

// An upload token, known by its label; its text is kept only as a hash.
struct TokenInfo {
    std::string label;
    std::int64_t createdAt = 0;                 // seconds since the epoch, UTC
    std::optional<std::int64_t> lastUsedAt{};   // the last upload it sent
    std::int64_t uploads = 0;                   // uploads the server took with it
    std::optional<std::int64_t> revokedAt{};
};

// What forgetting a recording left of its match.
struct RecordingForgotten {
    std::int64_t matchId = 0;
    std::int32_t recordingsLeft = 0;  // 0: the match is gone
    // Matches made of recordings left that no longer share events with the
    // match's others.
    std::vector<std::int64_t> splitOff;
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

    // Another connection to the same store, only reading: for another
    // thread, as a connection serves one thread at a time.
    [[nodiscard]] SeasonStore reader() const;

    SeasonStore(SeasonStore&&) noexcept;
    SeasonStore& operator=(SeasonStore&&) noexcept;
    ~SeasonStore();

    // Stores the log unless its bytes are stored already: as a recording of
    // the stored matches it shares game events with (all of them one match
    // then, read again when its timeline changes), or with `keepOverlap` set
    // or none found, as a new match. Ratings are brought up to date by
    // updateRatings().
    // `source` is what the recording remembers of where it came from.
    ImportResult importMatch(const MatchReading& match, std::string_view file,
                             std::int64_t playedAt, bool keepOverlap,
                             std::string_view source = kImportedSource);
    // Holds the imports that follow in one transaction until commitImports(),
    // so many logs cost one commit: they are stored once it returns, and a
    // kill before, or beginImports() again, leaves none of them. An import
    // that fails undoes the ones before it too and ends the transaction (a
    // savepoint for each log, to undo it alone, would copy every page the log
    // changes): the caller imports those again.
    void beginImports();
    void commitImports();
    // From now on, while the store is open, each commit has the journal
    // copied back into the file on a thread of its own, so the thread that
    // imports goes on meanwhile.
    void checkpointApart();
    // Recomputes the ratings of every match after the earliest change.
    void updateRatings();

    // Hands `sink` the matches played at or after `since` (seconds since the
    // epoch), one at a time in played order, then their players' totals over
    // those matches, one at a time by key: memory for the players and one
    // match. The change number of the picture it read (as changeSequence()).
    std::int64_t readSeason(SeasonSink& sink, std::optional<std::int64_t> since = std::nullopt);
    // The matches changed or added after change number `since`, whole, with
    // what describes every player now, read in one consistent picture; none
    // when more than `limit` matches changed (a reader is better off reading
    // the season again).
    [[nodiscard]] std::optional<SeasonChanges> readChanges(std::int64_t since, std::size_t limit);
    // The same kept whole: what readSeason() hands over.
    [[nodiscard]] SeasonSnapshot snapshot(std::optional<std::int64_t> since = std::nullopt);
    // The number of the store's latest change: the same as long as nothing
    // changes, larger after any change (SeasonSnapshot::changeSeq).
    [[nodiscard]] std::int64_t changeSequence();
    // The log a stored match is read from (its timeline); refused when there
    // is no such match.
    [[nodiscard]] StoredLog matchLog(std::int64_t matchId);
    // A match's recordings in the order they were stored; refused when there
    // is no such match.
    [[nodiscard]] std::vector<RecordingInfo> recordings(std::int64_t matchId);

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
    // Removes a match with its recordings, which it returns as it was;
    // refused when there is no such match.
    MatchSummary forget(std::int64_t matchId);
    // Removes the recording whose SHA-256 is or begins with `sha256` and reads
    // its match again from the recordings left (the match goes with its last
    // one); refused when no recording, or more than one, fits.
    RecordingForgotten forgetRecording(std::string_view sha256);

    // Upload tokens (UploadToken.h). A new token under `label`, kept as its
    // hash; refused when the label is taken (also by a revoked token) or unfit.
    void addToken(std::string_view label, std::string_view hash);
    // Every token, revoked ones too, by label.
    [[nodiscard]] std::vector<TokenInfo> tokens();
    // The token no longer sends; refused when there is none of that label or
    // it is revoked already.
    void revokeToken(std::string_view label);
    // The token of that hash, if any (revoked too: see revokedAt).
    [[nodiscard]] std::optional<TokenInfo> findToken(std::string_view hash);
    // Counts an upload the server took with the token.
    void noteUpload(std::string_view label, std::int64_t at);

private:
    explicit SeasonStore(std::unique_ptr<SqliteSeasonStore> sqlite);
    // Runs `work` on the SQLite store, its failures thrown as SeasonError.
    template <typename Work>
    decltype(auto) guarded(Work&& work);

    std::unique_ptr<SqliteSeasonStore> m_sqlite;
};

}  // namespace zefa::season
