#include "season/StoreSchema.h"

#include <array>
#include <string>
#include <string_view>
#include <tuple>

#include "season/CounterColumns.h"
#include "season/RecordingFinder.h"
#include "season/Sqlite.h"

namespace zefa::season {

namespace {

// Version 1: one row per match, its log in match_log. "{counters}" stands
// for the columns of the player counters (CounterColumns.h).
constexpr std::string_view kVersion1 = R"sql(
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
)sql";

// Version 2: the names season players are shown by. Whether a match's name
// is the player's own, and the names an admin chose; every rating is
// computed again to fill the first in.
constexpr std::string_view kVersion2 = R"sql(
ALTER TABLE season_player_match ADD COLUMN ownName INTEGER NOT NULL DEFAULT 0;
CREATE TABLE player_name (
  seasonKey TEXT PRIMARY KEY,
  name TEXT NOT NULL
) WITHOUT ROWID;
INSERT OR REPLACE INTO store_state(name, value)
  VALUES ('staleAt', -9223372036854775808), ('staleSha', '');
)sql";

// Version 3: a match has one or more recordings, the logs that captured it,
// and is read from a timeline of their bytes; each match of version 1 is one
// recording, read whole. The shingles note where they lie in their
// recording, which the stored logs are read again for (indexStoredRecordings).
constexpr std::string_view kVersion3 = R"sql(
CREATE TABLE recording (
  id INTEGER PRIMARY KEY,
  matchId INTEGER NOT NULL REFERENCES match(id) ON DELETE CASCADE,
  sha256 TEXT NOT NULL UNIQUE,
  file TEXT NOT NULL,
  size INTEGER NOT NULL,
  gameVersion INTEGER NOT NULL,
  eventCount INTEGER NOT NULL,
  eventOffset INTEGER NOT NULL,
  firstEvent INTEGER,
  storedAt INTEGER NOT NULL,
  playedAt INTEGER NOT NULL,
  source TEXT NOT NULL,
  zstd BLOB NOT NULL
);
CREATE INDEX recording_by_match ON recording(matchId);
CREATE INDEX recording_by_first_event ON recording(firstEvent);
INSERT INTO recording(id, matchId, sha256, file, size, gameVersion, eventCount, eventOffset,
                      storedAt, playedAt, source, zstd)
  SELECT m.id, m.id, m.sha256, m.file, l.size, m.gameVersion, m.eventCount, 0, m.importedAt,
         m.playedAt, 'imported', l.zstd
  FROM match m JOIN match_log l ON l.matchId = m.id;
CREATE TABLE timeline_part (
  matchId INTEGER NOT NULL REFERENCES match(id) ON DELETE CASCADE,
  part INTEGER NOT NULL,
  recordingId INTEGER NOT NULL REFERENCES recording(id),
  firstByte INTEGER NOT NULL,
  endByte INTEGER NOT NULL,
  PRIMARY KEY (matchId, part)
) WITHOUT ROWID;
CREATE INDEX timeline_part_by_recording ON timeline_part(recordingId);
INSERT INTO timeline_part(matchId, part, recordingId, firstByte, endByte)
  SELECT matchId, 0, id, 0, size FROM recording;
DROP TABLE match_log;
DROP TABLE event_shingle;
CREATE TABLE event_shingle (
  shingle INTEGER NOT NULL,
  recordingId INTEGER NOT NULL REFERENCES recording(id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  PRIMARY KEY (shingle, recordingId, position)
) WITHOUT ROWID;
CREATE INDEX event_shingle_by_recording ON event_shingle(recordingId);
DROP INDEX match_by_events;
ALTER TABLE match DROP COLUMN eventsHash;
ALTER TABLE match DROP COLUMN shingleCount;
ALTER TABLE match DROP COLUMN importedAt;
)sql";

// Version 4: upload tokens of the season server, each known by its label
// and kept only as the SHA-256 of its text. A recording's source is the label
// of the token that sent it, or 'imported'.
constexpr std::string_view kVersion4 = R"sql(
CREATE TABLE upload_token (
  label TEXT PRIMARY KEY,
  hash TEXT NOT NULL UNIQUE,
  createdAt INTEGER NOT NULL,
  lastUsedAt INTEGER,
  uploads INTEGER NOT NULL DEFAULT 0,
  revokedAt INTEGER
) WITHOUT ROWID;
)sql";

// Version 5: what changed since a reader last looked. Every change to a
// match, to its recordings or to a season player's matches takes the next
// number of `changeSeq` and stamps it on the match (`match.changeSeq`) and
// the season players it touches (`player_change`), in the transaction of the
// change whoever makes it: the season's pages are made again for what
// carries a number above the one they were made at. An update that does not
// raise a match's number (a recording's, setting it to -1) takes the next one.
constexpr std::string_view kVersion5 = R"sql(
ALTER TABLE match ADD COLUMN changeSeq INTEGER NOT NULL DEFAULT 1;
CREATE TABLE player_change (
  seasonKey TEXT PRIMARY KEY,
  changeSeq INTEGER NOT NULL
) WITHOUT ROWID;
INSERT INTO player_change(seasonKey, changeSeq)
  SELECT DISTINCT seasonKey, 1 FROM season_player_match;
INSERT OR REPLACE INTO store_state(name, value) VALUES ('changeSeq', 1);
CREATE TRIGGER match_added AFTER INSERT ON match BEGIN
  UPDATE store_state SET value = value + 1 WHERE name = 'changeSeq';
  UPDATE match SET changeSeq = (SELECT value FROM store_state WHERE name = 'changeSeq')
    WHERE id = new.id;
END;
CREATE TRIGGER match_changed AFTER UPDATE ON match WHEN new.changeSeq <= old.changeSeq BEGIN
  UPDATE store_state SET value = value + 1 WHERE name = 'changeSeq';
  UPDATE match SET changeSeq = (SELECT value FROM store_state WHERE name = 'changeSeq')
    WHERE id = new.id;
END;
CREATE TRIGGER match_removed AFTER DELETE ON match BEGIN
  UPDATE store_state SET value = value + 1 WHERE name = 'changeSeq';
END;
CREATE TRIGGER recording_added AFTER INSERT ON recording BEGIN
  UPDATE match SET changeSeq = -1 WHERE id = new.matchId;
END;
CREATE TRIGGER recording_moved AFTER UPDATE OF matchId ON recording BEGIN
  UPDATE match SET changeSeq = -1 WHERE id IN (old.matchId, new.matchId);
END;
CREATE TRIGGER recording_removed AFTER DELETE ON recording BEGIN
  UPDATE match SET changeSeq = -1 WHERE id = old.matchId;
END;
CREATE TRIGGER player_match_added AFTER INSERT ON season_player_match BEGIN
  UPDATE store_state SET value = value + 1 WHERE name = 'changeSeq';
  INSERT OR REPLACE INTO player_change(seasonKey, changeSeq)
    SELECT new.seasonKey, value FROM store_state WHERE name = 'changeSeq';
END;
CREATE TRIGGER player_match_removed AFTER DELETE ON season_player_match BEGIN
  UPDATE store_state SET value = value + 1 WHERE name = 'changeSeq';
  INSERT OR REPLACE INTO player_change(seasonKey, changeSeq)
    SELECT old.seasonKey, value FROM store_state WHERE name = 'changeSeq';
END;
CREATE TRIGGER player_renamed AFTER INSERT ON player_name BEGIN
  UPDATE store_state SET value = value + 1 WHERE name = 'changeSeq';
END;
CREATE TRIGGER player_name_removed AFTER DELETE ON player_name BEGIN
  UPDATE store_state SET value = value + 1 WHERE name = 'changeSeq';
END;
)sql";

// Version 6: the shingles' table has neither a foreign key nor an index by
// recording, which each shingle an import adds paid for; a recording's kept
// shingles are listed with it instead, and a recording forgotten removes its
// shingles' rows by the list (listStoredShingles makes the lists).
constexpr std::string_view kVersion6 = R"sql(
ALTER TABLE event_shingle RENAME TO event_shingle_v5;
CREATE TABLE event_shingle (
  shingle INTEGER NOT NULL,
  recordingId INTEGER NOT NULL,
  position INTEGER NOT NULL,
  PRIMARY KEY (shingle, recordingId, position)
) WITHOUT ROWID;
INSERT INTO event_shingle(shingle, recordingId, position)
  SELECT shingle, recordingId, position FROM event_shingle_v5;
CREATE TABLE recording_shingles (
  recordingId INTEGER PRIMARY KEY REFERENCES recording(id) ON DELETE CASCADE,
  shingles BLOB NOT NULL
);
)sql";

// Migration i takes a store from version i to version i + 1: its statements,
// then what they cannot do alone (or nothing). Released migrations never
// change: a new version appends one.
struct Migration {
    std::string_view sql;
    void (*finish)(Database& db, ClassifierCache& classifiers);
};
constexpr std::array<Migration, kStoreSchemaVersion> kMigrations = {{
    {kVersion1, nullptr},
    {kVersion2, nullptr},
    {kVersion3, &indexStoredRecordings},
    {kVersion4, nullptr},
    {kVersion5, nullptr},
    {kVersion6, &listStoredShingles},
}};

// Version 1 has a column for each of these counters: one more would change a
// released migration, so it needs a store version of its own that adds it.
static_assert(std::tuple_size_v<decltype(kPlayerCounters)> == 15);

// The migration's statements with the counters' columns filled in.
std::string migration(std::int32_t fromVersion) {
    constexpr std::string_view kCounters = "{counters}";
    std::string sql(kMigrations[static_cast<std::size_t>(fromVersion)].sql);
    if (const auto at = sql.find(kCounters); at != std::string::npos)
        sql.replace(at, kCounters.size(), counterColumnDefinitions());
    return sql;
}

}  // namespace

void migrateStore(Database& db, std::int32_t fromVersion, ClassifierCache& classifiers) {
    for (std::int32_t version = fromVersion; version < kStoreSchemaVersion; ++version) {
        Transaction transaction(db);
        // Another process may have migrated while this one waited for the lock.
        version = static_cast<std::int32_t>(db.queryInteger("PRAGMA user_version").value_or(0));
        if (version >= kStoreSchemaVersion) break;
        db.exec(migration(version));
        if (const auto finish = kMigrations[static_cast<std::size_t>(version)].finish)
            finish(db, classifiers);
        db.exec("PRAGMA application_id = " + std::to_string(kStoreApplicationId));
        db.exec("PRAGMA user_version = " + std::to_string(version + 1));
        transaction.commit();
    }
}

}  // namespace zefa::season
