#include "season/SqliteSeasonStore.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <limits>
#include <map>
#include <system_error>
#include <thread>

#include "season/ClosestKeys.h"
#include "season/CounterColumns.h"
#include "season/PlayerKey.h"
#include "season/RecordingFinder.h"
#include "season/StoreAccess.h"
#include "season/StoreSchema.h"

namespace zefa::season {

namespace {

// Long enough for another import's transaction of one large log.
constexpr int kBusyTimeoutMs = 60'000;
// A merge chain longer than this is a loop (refused when merging).
constexpr int kMaxMergeChain = 64;
// Keys named when a player typed by hand is not in the store.
constexpr std::size_t kClosestKeysNamed = 3;

std::optional<std::string> missingFolder(const std::filesystem::path& path) {
    const std::filesystem::path folder = path.parent_path();
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) return std::nullopt;
    return std::make_error_code(std::errc::no_such_file_or_directory).message();
}

SeasonError unusable(const std::filesystem::path& path, std::string reason) {
    return SeasonError(SeasonError::Kind::Unusable, path, std::move(reason));
}

// The version of the store, unless it is none this program can use.
std::int32_t storeVersion(Database& db, const std::filesystem::path& path) {
    Transaction reading(db, Transaction::Kind::Read);  // another process may be creating it
    const auto applicationId = db.queryInteger("PRAGMA application_id").value_or(0);
    const auto version =
        static_cast<std::int32_t>(db.queryInteger("PRAGMA user_version").value_or(0));
    const auto tables = db.queryInteger("SELECT count(*) FROM sqlite_schema").value_or(0);
    if (applicationId == 0 && version == 0 && tables == 0) return 0;  // new and empty
    if (applicationId != kStoreApplicationId) throw unusable(path, "not a season store");
    if (version > kStoreSchemaVersion)
        throw unusable(path, "written by a newer zefastats (store version " +
                                 std::to_string(version) + ", this one reads up to " +
                                 std::to_string(kStoreSchemaVersion) + ")");
    return version;
}

// Turning the journal into a write-ahead log takes the file's lock without
// waiting for it (the busy timeout does not apply there), so two commands
// creating one store at once would fail with "database is locked": wait here
// as long as for any other lock.
void useWriteAheadLog(Database& db) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        const int code =
            sqlite3_exec(db.handle(), "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
        if (code == SQLITE_OK) return;
        if ((code & 0xFF) != SQLITE_BUSY || Clock::now() >= deadline)
            throwSqliteError(db.handle(), code);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

constexpr std::string_view kOlderAndUnchangeable =
    "written by an older zefastats, and this user may not write it: the next season command of "
    "a user who may write it brings it up to date";
constexpr std::string_view kStaleAndUnchangeable =
    "its ratings are not up to date (an import is running, or one was stopped), and this user "
    "may not write it: run the command again when the import is done, or after the next season "
    "command of a user who may write the store";

std::string sqliteReason(const SqliteError& error) {
    return (error.code() & 0xFF) == SQLITE_NOTADB ? "not a season store" : error.what();
}

}  // namespace

std::unique_ptr<SqliteSeasonStore> SqliteSeasonStore::open(const std::filesystem::path& path,
                                                           SeasonStore::OpenMode mode) {
    if (const auto missing = missingFolder(path)) throw unusable(path, *missing);
    std::error_code ignored;
    const bool exists = std::filesystem::exists(path, ignored);
    if (!exists && mode != SeasonStore::OpenMode::CreateIfMissing)
        throw unusable(path, std::make_error_code(std::errc::no_such_file_or_directory).message());
    if (exists && !std::filesystem::is_regular_file(path, ignored))
        throw unusable(path, "not a season store");
    if (mode == SeasonStore::OpenMode::ReadOnly) return openReading(path, false);
    // Checked first: SQLite would open a store it cannot write read-only and
    // fail only at the first change.
    if (const auto why = whyUnchangeable(path)) throw unusable(path, *why);
    try {
        const int flags = SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
        std::unique_ptr<SqliteSeasonStore> store(
            new SqliteSeasonStore(path, Database(path.string(), flags)));
        Database& db = store->m_db;
        sqlite3_busy_timeout(db.handle(), kBusyTimeoutMs);
        // Nothing is written before the file is known to be a store of ours.
        const std::int32_t version = storeVersion(db, path);
        db.exec("PRAGMA foreign_keys = ON");
        useWriteAheadLog(db);
        db.exec("PRAGMA synchronous = NORMAL");
        // Room for the pages of a large log's transaction, which SQLite would
        // otherwise write out and read back before the commit.
        db.exec("PRAGMA cache_size = -65536");
        // A statement that writes many rows inside a transaction keeps the
        // pages it changes, to undo itself: in memory, not in a file of its own.
        db.exec("PRAGMA temp_store = MEMORY");
        migrateStore(db, version, store->m_classifiers);
        store->updateRatings();
        return store;
    } catch (const SqliteError& failure) {
        throw unusable(path, sqliteReason(failure));
    }
}

std::unique_ptr<SqliteSeasonStore> SqliteSeasonStore::openReading(const std::filesystem::path& path,
                                                                  bool keptUp) {
    const auto way = readingWay(path);
    if (const auto* why = std::get_if<std::string>(&way)) throw unusable(path, *why);
    const bool immutable = std::get<ReadingWay>(way) == ReadingWay::Immutable;
    const auto before = fileState(path);
    try {
        std::unique_ptr<SqliteSeasonStore> store(new SqliteSeasonStore(
            path, Database(immutable ? immutableUri(path) : path.string(),
                           SQLITE_OPEN_READONLY | SQLITE_OPEN_URI)));
        sqlite3_busy_timeout(store->m_db.handle(), kBusyTimeoutMs);
        const std::int32_t version = storeVersion(store->m_db, path);
        if (version == 0) throw unusable(path, "not a season store");
        const bool older = version < kStoreSchemaVersion;
        if (older || (!keptUp && store->ratingsStale())) {
            // A store left behind (an older schema, ratings a stopped command
            // did not finish) is brought up to date by a user who may write it.
            if (whyUnchangeable(path))
                throw unusable(path, std::string(older ? kOlderAndUnchangeable
                                                        : kStaleAndUnchangeable));
            store.reset();
            (void)open(path, SeasonStore::OpenMode::Existing);
            return openReading(path, true);
        }
        if (immutable) store->m_readState = before;
        return store;
    } catch (const SqliteError& failure) {
        throw unusable(path, sqliteReason(failure));
    }
}

void SqliteSeasonStore::confirmUnchanged() const {
    if (m_readState && fileState(m_file) != m_readState)
        throw SeasonError(SeasonError::Kind::Failed, m_file,
                          "changed by another command while this one read it: run it again");
}

void SqliteSeasonStore::refuse(std::string reason) const {
    throw SeasonError(SeasonError::Kind::Refused, m_file, std::move(reason));
}

std::string SqliteSeasonStore::resolveKey(std::string key) {
    Statement into = m_db.prepare("SELECT intoKey FROM merge WHERE alias = ?1");
    for (int step = 0; step < kMaxMergeChain; ++step) {
        into.bind(1, key);
        if (!into.step()) break;
        key = into.text(0);
        into.reset();
    }
    return key;
}

void SqliteSeasonStore::markStale(std::int64_t playedAt, std::string_view sha256) {
    Statement current = m_db.prepare("SELECT value FROM store_state WHERE name = 'staleAt'");
    std::optional<std::int64_t> staleAt;
    if (current.step()) staleAt = current.integer(0);
    std::string staleSha;
    if (staleAt) {
        Statement sha = m_db.prepare("SELECT value FROM store_state WHERE name = 'staleSha'");
        if (sha.step()) staleSha = sha.text(0);
        if (std::pair(*staleAt, std::string_view(staleSha)) <= std::pair(playedAt, sha256)) return;
    }
    Statement set = m_db.prepare("INSERT OR REPLACE INTO store_state(name, value) VALUES (?1, ?2)");
    set.bindAll(std::string_view("staleAt"), playedAt).run();
    set.bindAll(std::string_view("staleSha"), sha256).run();
}

void SqliteSeasonStore::markMatchStale(std::int64_t matchId) {
    Statement match = m_db.prepare("SELECT playedAt, sha256 FROM match WHERE id = ?1");
    if (match.bind(1, matchId).step()) markStale(match.integer(0), match.text(1));
    notePlayersOf(matchId);
}

void SqliteSeasonStore::clearReading(std::int64_t matchId) {
    for (const std::string_view table : {"match_award", "record", "match_rename"}) {
        m_db.prepare("DELETE FROM " + std::string(table) + " WHERE matchId = ?1")
            .bind(1, matchId)
            .run();
    }
}

void SqliteSeasonStore::storeReading(std::int64_t id, const MatchReading& match) {
    Statement award = m_db.prepare(
        "INSERT INTO match_award(matchId, award, name, result) VALUES (?1, ?2, ?3, ?4)");
    Statement winner =
        m_db.prepare("INSERT INTO award_winner(matchId, award, record) VALUES (?1, ?2, ?3)");
    for (const ReadAward& read : match.awards) {
        award
            .bindAll(id, read.award.index, std::string_view(read.award.name),
                     std::string_view(read.award.result))
            .run();
        for (const std::int32_t record : read.winners)
            winner.bindAll(id, read.award.index, record).run();
    }

    Statement knownKey = m_db.prepare("SELECT 1 FROM player_key WHERE key = ?1");
    Statement newKey = m_db.prepare("INSERT INTO player_key(key, seasonKey) VALUES (?1, ?2)");
    const auto addKey = [&](const std::string& key) {
        const bool known = knownKey.bind(1, key).step();
        knownKey.reset();
        if (!known) newKey.bindAll(std::string_view(key), std::string_view(resolveKey(key))).run();
    };
    Statement record = m_db.prepare(
        "INSERT INTO record(matchId, record, key, name, strippedName, rank, grenRatio, " +
        counterColumnNames() + ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, " + counterParameters(8) +
        ")");
    Statement kill = m_db.prepare(
        "INSERT INTO record_kill(matchId, killer, victim, count) VALUES (?1, ?2, ?3, ?4)");
    const auto playerCount = static_cast<std::int32_t>(match.stats.players.size());
    for (const PlayerRecord& p : match.stats.players) {
        const std::string key = playerKey(p.name, p.strippedName);
        addKey(key);
        record.bindAll(id, p.id, std::string_view(key), std::string_view(p.name),
                       std::string_view(p.strippedName), p.rank, p.grenRatio);
        bindCounters(record, 8, p);
        record.run();
    }
    for (const PlayerRecord& p : match.stats.players) {
        for (std::int32_t victim = 0; victim < playerCount; ++victim) {
            if (const std::int32_t count = p.killsOf(victim))
                kill.bindAll(id, p.id, victim, count).run();
        }
    }

    Statement rename = m_db.prepare(
        "INSERT INTO match_rename(matchId, line, oldKey, newKey) VALUES (?1, ?2, ?3, ?4)");
    std::int64_t line = 0;
    for (const auto& [from, to] : match.events.renames) {
        rename
            .bindAll(id, line++, std::string_view(playerKeyOfRawName(from)),
                     std::string_view(playerKeyOfRawName(to)))
            .run();
    }
}

std::string SqliteSeasonStore::keyOf(std::string_view keyOrName) {
    Statement known = m_db.prepare("SELECT 1 FROM player_key WHERE key = ?1");
    if (known.bind(1, keyOrName).step()) return std::string(keyOrName);
    return playerKeyOfRawName(keyOrName);
}

std::string SqliteSeasonStore::playedKey(std::string_view keyOrName) {
    const std::string key = keyOf(keyOrName);
    Statement played = m_db.prepare("SELECT 1 FROM record WHERE key = ?1 LIMIT 1");
    if (played.bind(1, key).step()) return key;
    std::vector<std::string> known;
    Statement keys = m_db.prepare("SELECT DISTINCT key FROM record");
    while (keys.step()) known.emplace_back(keys.text(0));
    std::string reason = "no match has a player '" + key + "'";
    const auto closest = closestKeys(key, std::move(known), kClosestKeysNamed);
    for (std::size_t i = 0; i < closest.size(); ++i)
        reason += (i == 0 ? "; the closest: '" : ", '") + closest[i] + "'";
    refuse(reason);
}

void SqliteSeasonStore::rebuildSeasonKeys() {
    m_db.exec(
        "INSERT OR IGNORE INTO player_key(key, seasonKey) SELECT alias, alias FROM merge "
        "UNION SELECT intoKey, intoKey FROM merge");
    std::vector<std::pair<std::string, std::string>> changed;
    Statement keys = m_db.prepare("SELECT key, seasonKey FROM player_key");
    while (keys.step()) {
        std::string key(keys.text(0));
        std::string resolved = resolveKey(key);
        if (resolved != keys.text(1)) changed.emplace_back(std::move(key), std::move(resolved));
    }
    Statement update = m_db.prepare("UPDATE player_key SET seasonKey = ?2 WHERE key = ?1");
    for (const auto& [key, seasonKey] : changed)
        update.bindAll(std::string_view(key), std::string_view(seasonKey)).run();
    markStale(std::numeric_limits<std::int64_t>::min(), "");
}

void SqliteSeasonStore::merge(std::string_view aliasText, std::string_view intoText) {
    Transaction transaction(m_db);
    const std::string alias = playedKey(aliasText);
    const std::string into = playedKey(intoText);
    Statement merged = m_db.prepare("SELECT intoKey FROM merge WHERE alias = ?1");
    if (merged.bind(1, alias).step())
        refuse("'" + alias + "' is merged into '" + std::string(merged.text(0)) +
               "' already; unmerge it first");
    if (resolveKey(into) == alias)
        refuse("'" + alias + "' and '" + into + "' are one player already");
    m_db.prepare("INSERT INTO merge(alias, intoKey, mergedAt) VALUES (?1, ?2, ?3)")
        .bindAll(std::string_view(alias), std::string_view(into),
                 static_cast<std::int64_t>(std::time(nullptr)))
        .run();
    rebuildSeasonKeys();
    transaction.commit();
    updateRatings();
}

void SqliteSeasonStore::unmerge(std::string_view aliasText) {
    Transaction transaction(m_db);
    const std::string alias = keyOf(aliasText);
    Statement remove = m_db.prepare("DELETE FROM merge WHERE alias = ?1");
    remove.bind(1, alias).run();
    if (sqlite3_changes(m_db.handle()) == 0) refuse("'" + alias + "' is not merged into anyone");
    rebuildSeasonKeys();
    transaction.commit();
    updateRatings();
}

std::string SqliteSeasonStore::rename(std::string_view keyOrName, std::string_view name) {
    Transaction transaction(m_db);
    const std::string seasonKey = resolveKey(playedKey(keyOrName));
    if (name.empty()) {
        m_db.prepare("DELETE FROM player_name WHERE seasonKey = ?1").bind(1, seasonKey).run();
    } else {
        m_db.prepare("INSERT OR REPLACE INTO player_name(seasonKey, name) VALUES (?1, ?2)")
            .bindAll(std::string_view(seasonKey), name)
            .run();
    }
    // No rating changes: past every match, the ratings pass only writes the
    // player noted again.
    m_db.prepare("INSERT OR IGNORE INTO store_state(name, value) VALUES ('player ' || ?1, 1)")
        .bind(1, seasonKey)
        .run();
    markStale(std::numeric_limits<std::int64_t>::max(), "");
    transaction.commit();
    updateRatings();
    return seasonKey;
}

MatchSummary SqliteSeasonStore::forget(std::int64_t matchId) {
    Transaction transaction(m_db);
    if (!m_db.prepare("SELECT 1 FROM match WHERE id = ?1").bind(1, matchId).step())
        refuse("no such match");
    MatchSummary forgotten =
        matchSummaries(std::numeric_limits<std::int64_t>::min(), matchId, matchId).front();
    markMatchStale(matchId);
    Statement recordings = m_db.prepare("SELECT id FROM recording WHERE matchId = ?1");
    for (recordings.bind(1, matchId); recordings.step();)
        forgetShingles(m_db, recordings.integer(0));
    m_db.prepare("DELETE FROM match WHERE id = ?1").bind(1, matchId).run();
    transaction.commit();
    updateRatings();
    return forgotten;
}

std::vector<AliasSuggestion> SqliteSeasonStore::aliasSuggestions() {
    // The player with fewer matches is the likely alias of the other.
    Statement query = m_db.prepare(R"sql(
WITH pair AS (
  SELECT a.seasonKey AS one, b.seasonKey AS other, count(*) AS renames,
         count(DISTINCT r.matchId) AS matches
  FROM match_rename r JOIN player_key a ON a.key = r.oldKey JOIN player_key b ON b.key = r.newKey
  WHERE a.seasonKey <> b.seasonKey GROUP BY a.seasonKey, b.seasonKey),
played AS (
  SELECT k.seasonKey AS seasonKey, count(DISTINCT r.matchId) AS matches
  FROM record r JOIN player_key k ON k.key = r.key GROUP BY k.seasonKey)
SELECT p.one, p.other, p.renames, p.matches, coalesce(x.matches, 0), coalesce(y.matches, 0)
FROM pair p LEFT JOIN played x ON x.seasonKey = p.one LEFT JOIN played y ON y.seasonKey = p.other
ORDER BY p.renames DESC, p.one, p.other
)sql");
    std::vector<AliasSuggestion> suggestions;
    while (query.step()) {
        std::string one(query.text(0));
        std::string other(query.text(1));
        if (query.integer(4) > query.integer(5)) std::swap(one, other);
        suggestions.push_back({std::move(one), std::move(other),
                               static_cast<std::int32_t>(query.integer(2)),
                               static_cast<std::int32_t>(query.integer(3))});
    }
    return suggestions;
}

}  // namespace zefa::season
