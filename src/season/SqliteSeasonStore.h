#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "season/JournalCheckpoints.h"
#include "season/RecordingFinder.h"
#include "season/SeasonStore.h"
#include "season/Sqlite.h"
#include "season/StoreAccess.h"

namespace zefa::season {

// The season store kept in SQLite: the operations of SeasonStore, which
// turns the SqliteError this throws when SQLite fails into a SeasonError;
// refusals are thrown as SeasonError here already. The queries of readSeason(),
// leaderboard() and matches() are in SeasonQueries.cpp, updateRatings() in
// SeasonRatings.cpp, what concerns recordings and timelines in SeasonRecordings.cpp,
// upload tokens in SeasonTokens.cpp.
class SqliteSeasonStore {
public:
    // The store in the file; SeasonError (Unusable) when it cannot be used.
    static std::unique_ptr<SqliteSeasonStore> open(const std::filesystem::path& path,
                                                   SeasonStore::OpenMode mode);

    [[nodiscard]] const std::filesystem::path& file() const { return m_file; }
    // A store read without locks (see StoreAccess.h): SeasonError (Failed)
    // when another command has changed the file since it was opened.
    void confirmUnchanged() const;

    ImportResult importMatch(const MatchReading& match, std::string_view file,
                             std::int64_t playedAt, bool keepOverlap, std::string_view source);
    void beginImports();
    void commitImports();
    void checkpointApart();
    void updateRatings();
    [[nodiscard]] bool ratingsStale();
    std::int64_t readSeason(SeasonSink& sink, std::optional<std::int64_t> since);
    [[nodiscard]] std::optional<SeasonChanges> readChanges(std::int64_t since, std::size_t limit);
    [[nodiscard]] SeasonSnapshot snapshot(std::optional<std::int64_t> since);
    [[nodiscard]] std::int64_t changeSequence();
    [[nodiscard]] StoredLog matchLog(std::int64_t matchId);
    [[nodiscard]] std::vector<RecordingInfo> recordings(std::int64_t matchId);
    [[nodiscard]] std::vector<LeaderboardRow> leaderboard(std::int32_t minMatches,
                                                          std::optional<std::int64_t> since);
    [[nodiscard]] std::vector<AliasSuggestion> aliasSuggestions();
    void merge(std::string_view aliasText, std::string_view intoText);
    void unmerge(std::string_view aliasText);
    std::string rename(std::string_view keyOrName, std::string_view name);
    [[nodiscard]] std::vector<MatchSummary> matches(std::optional<std::int64_t> since);
    MatchSummary forget(std::int64_t matchId);
    RecordingForgotten forgetRecording(std::string_view sha256);
    // Upload tokens: SeasonTokens.cpp.
    void addToken(std::string_view label, std::string_view hash);
    [[nodiscard]] std::vector<TokenInfo> tokens();
    void revokeToken(std::string_view label);
    [[nodiscard]] std::optional<TokenInfo> findToken(std::string_view hash);
    void noteUpload(std::string_view label, std::int64_t at);

private:
    // A recording just stored, whose reading is at hand.
    struct FreshRecording {
        std::int64_t id = 0;
        const MatchReading& reading;
    };

    SqliteSeasonStore(std::filesystem::path file, Database db)
        : m_file(std::move(file)), m_db(std::move(db)) {}
    static std::unique_ptr<SqliteSeasonStore> openReading(const std::filesystem::path& path,
                                                          bool keptUp);
    [[noreturn]] void refuse(std::string reason) const;
    [[nodiscard]] std::string keyOf(std::string_view keyOrName);
    [[nodiscard]] std::string playedKey(std::string_view keyOrName);
    [[nodiscard]] std::string resolveKey(std::string key);
    // The matches played at or after `since` with ids from `first` to `last`.
    [[nodiscard]] std::vector<MatchSummary> matchSummaries(std::int64_t since, std::int64_t first,
                                                           std::int64_t last);
    void markStale(std::int64_t playedAt, std::string_view sha256);
    // Marks the ratings stale from the match on, where it stands now, and
    // notes its players.
    void markMatchStale(std::int64_t matchId);
    void notePlayersOf(std::int64_t matchId);

    // A match row for recordings to join; updateTimeline() fills it.
    [[nodiscard]] std::int64_t newMatch(std::string_view sha256);
    // Moves the recordings of match `from` into match `into`, their events
    // `shift` places further on, and removes `from`.
    void joinMatch(std::int64_t into, std::int64_t from, std::int64_t shift);
    // Counts the match's events from its recordings' first on.
    void alignRecordings(std::int64_t matchId);
    // Reads the match again when its recordings make another timeline than
    // the one it is read from, and takes the latest time they were played at.
    void updateTimeline(std::int64_t matchId, const FreshRecording* fresh);
    // importMatch() in the transaction open, the recording's kept shingles
    // left in `shingles`.
    ImportResult addRecording(const MatchReading& match, std::string_view file,
                              std::int64_t playedAt, bool keepOverlap, std::string_view source,
                              PendingShingles& shingles);
    // The rows of a match's reading: awards, records, kills, renames.
    void storeReading(std::int64_t matchId, const MatchReading& reading);
    void clearReading(std::int64_t matchId);
    void rebuildSeasonKeys();

    std::filesystem::path m_file;
    Database m_db;
    std::optional<FileState> m_readState;  // of a store read without locks
    ClassifierCache m_classifiers;         // for logs read again: timelines, migrations
    // From beginImports() to commitImports(): the transaction, and the kept
    // shingles of its recordings not yet added to their table.
    struct ImportBatch {
        explicit ImportBatch(Database& db) : transaction(db) {}
        Transaction transaction;
        PendingShingles shingles;
    };
    std::optional<ImportBatch> m_imports;
    std::optional<JournalCheckpoints> m_checkpoints;  // after m_db: closed before it
};

}  // namespace zefa::season
