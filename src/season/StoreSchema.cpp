#include "season/StoreSchema.h"

#include <array>
#include <string>
#include <string_view>
#include <tuple>

#include "season/CounterColumns.h"
#include "season/Sqlite.h"

namespace zefa::season {

namespace {

// Migration i takes a store from version i to version i + 1. Released
// migrations never change: a new version appends one. "{counters}" stands
// for the columns of the player counters (CounterColumns.h).
constexpr std::array<std::string_view, kStoreSchemaVersion> kMigrations = {
    R"sql(
CREATE TABLE match (
  id INTEGER PRIMARY KEY,
  sha256 TEXT NOT NULL UNIQUE,
  file TEXT NOT NULL,
  playedAt INTEGER NOT NULL,
  importedAt INTEGER NOT NULL,
  gameVersion INTEGER NOT NULL,
  lineCount INTEGER NOT NULL,
  scoreRed INTEGER NOT NULL,
  scoreBlue INTEGER NOT NULL,
  scoreGreen INTEGER NOT NULL,
  scoreYellow INTEGER NOT NULL,
  eventCount INTEGER NOT NULL,
  eventsHash INTEGER NOT NULL,
  shingleCount INTEGER NOT NULL
);
CREATE INDEX match_by_time ON match(playedAt, sha256);
CREATE INDEX match_by_events ON match(eventsHash);
CREATE TABLE match_log (
  matchId INTEGER PRIMARY KEY REFERENCES match(id) ON DELETE CASCADE,
  size INTEGER NOT NULL,
  zstd BLOB NOT NULL
);
CREATE TABLE match_award (
  matchId INTEGER NOT NULL REFERENCES match(id) ON DELETE CASCADE,
  award INTEGER NOT NULL,
  name TEXT NOT NULL,
  result TEXT NOT NULL,
  PRIMARY KEY (matchId, award)
) WITHOUT ROWID;
CREATE TABLE player_key (
  key TEXT PRIMARY KEY,
  seasonKey TEXT NOT NULL
) WITHOUT ROWID;
CREATE INDEX player_key_by_season_key ON player_key(seasonKey);
CREATE TABLE record (
  matchId INTEGER NOT NULL REFERENCES match(id) ON DELETE CASCADE,
  record INTEGER NOT NULL,
  key TEXT NOT NULL REFERENCES player_key(key),
  name TEXT NOT NULL,
  strippedName TEXT NOT NULL,
  rank INTEGER NOT NULL,
  grenRatio INTEGER NOT NULL,
{counters}  PRIMARY KEY (matchId, record)
) WITHOUT ROWID;
CREATE INDEX record_by_key ON record(key);
CREATE TABLE record_kill (
  matchId INTEGER NOT NULL,
  killer INTEGER NOT NULL,
  victim INTEGER NOT NULL,
  count INTEGER NOT NULL,
  PRIMARY KEY (matchId, killer, victim),
  FOREIGN KEY (matchId, killer) REFERENCES record(matchId, record) ON DELETE CASCADE
) WITHOUT ROWID;
CREATE TABLE award_winner (
  matchId INTEGER NOT NULL,
  award INTEGER NOT NULL,
  record INTEGER NOT NULL,
  PRIMARY KEY (matchId, award, record),
  FOREIGN KEY (matchId, award) REFERENCES match_award(matchId, award) ON DELETE CASCADE
) WITHOUT ROWID;
CREATE TABLE match_rename (
  matchId INTEGER NOT NULL REFERENCES match(id) ON DELETE CASCADE,
  line INTEGER NOT NULL,
  oldKey TEXT NOT NULL,
  newKey TEXT NOT NULL,
  PRIMARY KEY (matchId, line)
) WITHOUT ROWID;
CREATE TABLE event_shingle (
  shingle INTEGER NOT NULL,
  matchId INTEGER NOT NULL REFERENCES match(id) ON DELETE CASCADE,
  PRIMARY KEY (shingle, matchId)
) WITHOUT ROWID;
CREATE INDEX event_shingle_by_match ON event_shingle(matchId);
CREATE TABLE merge (
  alias TEXT PRIMARY KEY,
  intoKey TEXT NOT NULL,
  mergedAt INTEGER NOT NULL
) WITHOUT ROWID;
CREATE TABLE season_player_match (
  matchId INTEGER NOT NULL REFERENCES match(id) ON DELETE CASCADE,
  seasonKey TEXT NOT NULL,
  name TEXT NOT NULL,
  mu REAL NOT NULL,
  sigma REAL NOT NULL,
  kills INTEGER NOT NULL,
  deaths INTEGER NOT NULL,
  caps INTEGER NOT NULL,
  rank INTEGER NOT NULL,
  awards INTEGER NOT NULL,
  PRIMARY KEY (seasonKey, matchId)
) WITHOUT ROWID;
CREATE INDEX season_player_match_by_match ON season_player_match(matchId);
CREATE TABLE season_player (
  seasonKey TEXT PRIMARY KEY,
  name TEXT NOT NULL,
  mu REAL NOT NULL,
  sigma REAL NOT NULL
) WITHOUT ROWID;
CREATE TABLE store_state (
  name TEXT PRIMARY KEY,
  value
) WITHOUT ROWID;
)sql",
    // Version 2: the names season players are shown by. Whether a match's name
    // is the player's own, and the names an admin chose; every rating is
    // computed again to fill the first in.
    R"sql(
ALTER TABLE season_player_match ADD COLUMN ownName INTEGER NOT NULL DEFAULT 0;
CREATE TABLE player_name (
  seasonKey TEXT PRIMARY KEY,
  name TEXT NOT NULL
) WITHOUT ROWID;
INSERT OR REPLACE INTO store_state(name, value)
  VALUES ('staleAt', -9223372036854775808), ('staleSha', '');
)sql"};

// Version 1 has a column for each of these counters: one more would change a
// released migration, so it needs a store version of its own that adds it.
static_assert(std::tuple_size_v<decltype(kPlayerCounters)> == 15);

// The migration's statements with the counters' columns filled in.
std::string migration(std::int32_t fromVersion) {
    constexpr std::string_view kCounters = "{counters}";
    std::string sql(kMigrations[static_cast<std::size_t>(fromVersion)]);
    if (const auto at = sql.find(kCounters); at != std::string::npos)
        sql.replace(at, kCounters.size(), counterColumnDefinitions());
    return sql;
}

}  // namespace

void migrateStore(Database& db, std::int32_t fromVersion) {
    for (std::int32_t version = fromVersion; version < kStoreSchemaVersion; ++version) {
        Transaction transaction(db);
        // Another process may have migrated while this one waited for the lock.
        version = static_cast<std::int32_t>(db.queryInteger("PRAGMA user_version").value_or(0));
        if (version >= kStoreSchemaVersion) break;
        db.exec(migration(version));
        db.exec("PRAGMA application_id = " + std::to_string(kStoreApplicationId));
        db.exec("PRAGMA user_version = " + std::to_string(version + 1));
        transaction.commit();
    }
}

}  // namespace zefa::season
