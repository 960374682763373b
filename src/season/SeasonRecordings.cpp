// A match's recordings: a log stored as one, the timeline the match is read
// from, a recording forgotten.
#include <algorithm>
#include <ctime>
#include <deque>

#include "season/LogBytes.h"
#include "season/RecordingFinder.h"
#include "season/SqliteSeasonStore.h"
#include "season/timeline/TimelineCover.h"
#include "season/timeline/TimelineSplice.h"

namespace zefa::season {

namespace {

// The kept shingles of a batch of imports are added to their table this
// many at a time, in key order: as cheap a row as all at the commit, and
// done while the other threads still read logs, so the last commit of an
// import, which nothing overlaps, has few left.
constexpr std::size_t kShinglesPerWrite = 8192;

// A stored recording, with what the timeline needs.
struct MatchRecording {
    std::int64_t id = 0;
    std::int64_t offset = 0;  // its first event among the match's
    std::int32_t gameVersion = 1;
    RecordingInfo info;

    [[nodiscard]] RecordingWindow window() const { return {offset, info.events, info.sha256}; }
};

// The match's recordings in the order they were stored.
std::vector<MatchRecording> recordingsOf(Database& db, std::int64_t matchId) {
    Statement query = db.prepare(
        "SELECT id, eventOffset, gameVersion, sha256, file, size, eventCount, storedAt, "
        "playedAt, source FROM recording WHERE matchId = ?1 ORDER BY id");
    query.bind(1, matchId);
    std::vector<MatchRecording> recordings;
    while (query.step()) {
        recordings.push_back({query.integer(0), query.integer(1),
                              static_cast<std::int32_t>(query.integer(2)),
                              RecordingInfo{std::string(query.text(3)), std::string(query.text(4)),
                                            query.integer(5), query.integer(6), query.integer(7),
                                            query.integer(8), std::string(query.text(9))}});
    }
    return recordings;
}

std::vector<RecordingWindow> windowsOf(const std::vector<MatchRecording>& recordings) {
    std::vector<RecordingWindow> windows;
    for (const MatchRecording& r : recordings) windows.push_back(r.window());
    return windows;
}

// The recordings the match's timeline is read from now, in its order.
std::vector<std::int64_t> timelineRecordings(Database& db, std::int64_t matchId) {
    Statement query =
        db.prepare("SELECT recordingId FROM timeline_part WHERE matchId = ?1 ORDER BY part");
    query.bind(1, matchId);
    std::vector<std::int64_t> ids;
    while (query.step()) ids.push_back(query.integer(0));
    return ids;
}

std::int32_t recordingCount(Database& db, std::int64_t matchId) {
    Statement count = db.prepare("SELECT count(*) FROM recording WHERE matchId = ?1");
    count.bind(1, matchId).step();
    return static_cast<std::int32_t>(count.integer(0));
}

MatchReading readStored(std::string bytes, std::int32_t gameVersion, ClassifierCache& classifiers) {
    std::string whyNot;
    auto reading = readMatchText(std::move(bytes), gameVersion, classifiers, whyNot);
    if (!reading) throw SqliteError(SQLITE_CORRUPT, "a stored log of the match is " + whyNot);
    return std::move(*reading);
}

// A part of a timeline as stored: bytes [firstByte, endByte) of a recording.
struct PartRow {
    std::int64_t recordingId = 0;
    std::int64_t firstByte = 0;
    std::int64_t endByte = 0;
};

// The log a match is read from: its parts and its reading.
struct Timeline {
    std::vector<PartRow> parts;
    std::optional<MatchReading> read;  // when it was read here
    const MatchReading* reading = nullptr;
};

}  // namespace

std::int64_t SqliteSeasonStore::newMatch(std::string_view sha256) {
    // Unique until its timeline's SHA-256 replaces it, and no SHA-256 of a log.
    m_db.prepare(
            "INSERT INTO match(sha256, file, playedAt, gameVersion, lineCount, scoreRed, "
            "scoreBlue, scoreGreen, scoreYellow, eventCount) "
            "VALUES (?1, '', 0, 1, 0, 0, 0, 0, 0, 0)")
        .bind(1, "new " + std::string(sha256))
        .run();
    return m_db.lastInsertId();
}

void SqliteSeasonStore::joinMatch(std::int64_t into, std::int64_t from, std::int64_t shift) {
    markMatchStale(from);
    m_db.prepare(
            "UPDATE recording SET matchId = ?1, eventOffset = eventOffset + ?3 WHERE matchId = ?2")
        .bindAll(into, from, shift)
        .run();
    m_db.prepare("DELETE FROM match WHERE id = ?1").bind(1, from).run();
}

void SqliteSeasonStore::alignRecordings(std::int64_t matchId) {
    Statement first = m_db.prepare("SELECT min(eventOffset) FROM recording WHERE matchId = ?1");
    first.bind(1, matchId).step();
    if (const std::int64_t offset = first.integer(0); offset != 0) {
        m_db.prepare("UPDATE recording SET eventOffset = eventOffset - ?2 WHERE matchId = ?1")
            .bindAll(matchId, offset)
            .run();
    }
}

ImportResult SqliteSeasonStore::importMatch(const MatchReading& match, std::string_view file,
                                            std::int64_t playedAt, bool keepOverlap,
                                            std::string_view source) {
    if (!m_imports) {
        Transaction transaction(m_db);
        PendingShingles shingles;
        ImportResult result = addRecording(match, file, playedAt, keepOverlap, source, shingles);
        shingles.write(m_db);
        transaction.commit();
        return result;
    }
    try {
        ImportResult result =
            addRecording(match, file, playedAt, keepOverlap, source, m_imports->shingles);
        if (m_imports->shingles.rowCount() >= kShinglesPerWrite) m_imports->shingles.write(m_db);
        return result;
    } catch (...) {
        m_imports.reset();  // what the log stored before it failed goes with the batch
        throw;
    }
}

ImportResult SqliteSeasonStore::addRecording(const MatchReading& match, std::string_view file,
                                             std::int64_t playedAt, bool keepOverlap,
                                             std::string_view source, PendingShingles& shingles) {
    const EventIndex index{match.events.lines, match.shingles};
    Statement stored = m_db.prepare("SELECT matchId FROM recording WHERE sha256 = ?1");
    if (stored.bind(1, match.sha256).step()) {
        const std::int64_t matchId = stored.integer(0);
        return {ImportResult::Outcome::SameBytes, matchId, recordingCount(m_db, matchId), {}};
    }
    std::optional<std::string> bytes;
    const auto logBytes = [&]() -> std::string_view {
        if (!bytes)
            bytes = decompressLog(match.compressedLog, static_cast<std::size_t>(match.logSize))
                        .value_or(std::string());
        return *bytes;
    };
    const std::vector<Overlap> overlaps =
        keepOverlap ? std::vector<Overlap>()
                    : findOverlaps(m_db, shingles, index, match.logSize, logBytes);

    ImportResult result;
    std::int64_t offset = 0;
    if (overlaps.empty()) {
        result.matchId = newMatch(match.sha256);
    } else {
        result.outcome = ImportResult::Outcome::SameMatch;
        result.matchId = overlaps.front().matchId;
        offset = overlaps.front().offset;
        for (const Overlap& other : std::span(overlaps).subspan(1)) {
            joinMatch(result.matchId, other.matchId, offset - other.offset);
            result.joined.push_back(other.matchId);
        }
    }
    m_db.prepare(
            "INSERT INTO recording(matchId, sha256, file, size, gameVersion, eventCount, "
            "eventOffset, storedAt, playedAt, source, firstEvent, zstd) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)")
        .bindAll(result.matchId, std::string_view(match.sha256), file, match.logSize,
                 match.gameVersion, static_cast<std::int64_t>(match.events.lines.size()), offset,
                 static_cast<std::int64_t>(std::time(nullptr)), playedAt, source,
                 firstEventKey(index.events))
        .bindZeroBlob(12, match.compressedLog.size())
        .run();
    const FreshRecording fresh{m_db.lastInsertId(), match};
    m_db.writeBlob("recording", "zstd", fresh.id, match.compressedLog);
    indexRecording(m_db, fresh.id, index.shingles, shingles);
    alignRecordings(result.matchId);
    updateTimeline(result.matchId, &fresh);
    result.recordings = recordingCount(m_db, result.matchId);
    return result;
}

void SqliteSeasonStore::beginImports() {
    // A checkpoint waits for the disk, twice: many imports leave it to every
    // 64 MB of the journal rather than every 4 MB (SQLite's default).
    if (!m_checkpoints) m_db.exec("PRAGMA wal_autocheckpoint = 16384");
    m_imports.emplace(m_db);
}

void SqliteSeasonStore::commitImports() {
    if (!m_imports) return;
    m_imports->shingles.write(m_db);
    m_imports->transaction.commit();
    m_imports.reset();
}

void SqliteSeasonStore::checkpointApart() {
    if (!m_checkpoints) m_checkpoints.emplace(m_db, m_file);
}

void SqliteSeasonStore::updateTimeline(std::int64_t matchId, const FreshRecording* fresh) {
    const std::vector<MatchRecording> recordings = recordingsOf(m_db, matchId);
    std::vector<const MatchRecording*> cover;
    std::vector<std::int64_t> coverIds;
    for (const std::size_t i : timelineCover(windowsOf(recordings))) {
        cover.push_back(&recordings[i]);
        coverIds.push_back(recordings[i].id);
    }
    std::int64_t playedAt = recordings.front().info.playedAt;
    for (const MatchRecording& r : recordings) playedAt = std::max(playedAt, r.info.playedAt);
    const std::vector<std::int64_t> current = timelineRecordings(m_db, matchId);
    if (coverIds == current) {
        Statement stored = m_db.prepare("SELECT playedAt FROM match WHERE id = ?1");
        if (stored.bind(1, matchId).step() && stored.integer(0) == playedAt) return;
        markMatchStale(matchId);
        m_db.prepare("UPDATE match SET playedAt = ?2 WHERE id = ?1")
            .bindAll(matchId, playedAt)
            .run();
        markMatchStale(matchId);
        return;
    }
    if (!current.empty()) markMatchStale(matchId);

    Timeline timeline;
    const auto isFresh = [fresh](const MatchRecording* r) { return fresh && fresh->id == r->id; };
    if (cover.size() == 1 && isFresh(cover.front())) {
        timeline.parts = {{fresh->id, 0, fresh->reading.logSize}};
        timeline.reading = &fresh->reading;
    } else {
        // Every recording's bytes, and where it is spliced its events with
        // their lines: those of the fresh one at hand, the others read again.
        std::vector<std::string> bytes;
        for (const MatchRecording* r : cover) bytes.push_back(recordingBytes(m_db, r->id));
        const MatchEvents none;
        std::deque<MatchEvents> readEvents;
        std::vector<CoverRecording> texts;
        for (std::size_t i = 0; i < cover.size(); ++i) {
            const MatchEvents* events = &none;
            if (cover.size() > 1) {
                events =
                    isFresh(cover[i])
                        ? &fresh->reading.events
                        : &readEvents.emplace_back(
                              readStored(bytes[i], cover[i]->gameVersion, m_classifiers).events);
            }
            texts.push_back({bytes[i], events->lines, events->lineNumbers, cover[i]->offset});
        }
        std::vector<std::string_view> views;
        for (const TimelinePart& part : spliceTimeline(texts)) {
            views.push_back(texts[part.recording].bytes.substr(part.begin, part.end - part.begin));
            timeline.parts.push_back({cover[part.recording]->id,
                                      static_cast<std::int64_t>(part.begin),
                                      static_cast<std::int64_t>(part.end)});
        }
        timeline.read = readStored(joinTimeline(views), cover.front()->gameVersion, m_classifiers);
        timeline.reading = &*timeline.read;
    }

    const MatchReading& reading = *timeline.reading;
    const auto& scores = reading.stats.teamScores;
    clearReading(matchId);
    m_db.prepare(
            "UPDATE match SET sha256 = ?2, file = ?3, playedAt = ?4, gameVersion = ?5, "
            "lineCount = ?6, scoreRed = ?7, scoreBlue = ?8, scoreGreen = ?9, scoreYellow = ?10, "
            "eventCount = ?11 WHERE id = ?1")
        .bindAll(matchId, std::string_view(reading.sha256),
                 std::string_view(cover.front()->info.file), playedAt, reading.gameVersion,
                 reading.stats.lineCount, scores[0], scores[1], scores[2], scores[3],
                 static_cast<std::int64_t>(reading.events.lines.size()))
        .run();
    storeReading(matchId, reading);
    m_db.prepare("DELETE FROM timeline_part WHERE matchId = ?1").bind(1, matchId).run();
    Statement part = m_db.prepare(
        "INSERT INTO timeline_part(matchId, part, recordingId, firstByte, endByte) "
        "VALUES (?1, ?2, ?3, ?4, ?5)");
    for (std::size_t i = 0; i < timeline.parts.size(); ++i) {
        const PartRow& row = timeline.parts[i];
        part.bindAll(matchId, static_cast<std::int64_t>(i), row.recordingId, row.firstByte,
                     row.endByte)
            .run();
    }
    markStale(playedAt, reading.sha256);
}

StoredLog SqliteSeasonStore::matchLog(std::int64_t matchId) {
    Statement match = m_db.prepare("SELECT gameVersion, file FROM match WHERE id = ?1");
    if (!match.bind(1, matchId).step()) refuse("no such match");
    Statement parts = m_db.prepare(
        "SELECT recordingId, firstByte, endByte FROM timeline_part WHERE matchId = ?1 ORDER BY "
        "part");
    parts.bind(1, matchId);
    std::deque<std::string> bytes;  // stays where it is while the views are taken
    std::vector<std::string_view> views;
    while (parts.step()) {
        const std::string_view recording =
            bytes.emplace_back(recordingBytes(m_db, parts.integer(0)));
        const auto first = static_cast<std::size_t>(parts.integer(1));
        views.push_back(
            recording.substr(first, static_cast<std::size_t>(parts.integer(2)) - first));
    }
    return StoredLog{joinTimeline(views), static_cast<std::int32_t>(match.integer(0)),
                     std::string(match.text(1))};
}

std::vector<RecordingInfo> SqliteSeasonStore::recordings(std::int64_t matchId) {
    if (!m_db.prepare("SELECT 1 FROM match WHERE id = ?1").bind(1, matchId).step())
        refuse("no such match");
    std::vector<RecordingInfo> recordings;
    for (MatchRecording& r : recordingsOf(m_db, matchId)) recordings.push_back(std::move(r.info));
    return recordings;
}

RecordingForgotten SqliteSeasonStore::forgetRecording(std::string_view sha256) {
    Transaction transaction(m_db);
    Statement found = m_db.prepare(
        "SELECT id, matchId FROM recording WHERE substr(sha256, 1, length(?1)) = ?1 LIMIT 2");
    if (sha256.empty() || !found.bind(1, sha256).step()) refuse("no such recording");
    const std::int64_t id = found.integer(0);
    RecordingForgotten result{found.integer(1), 0, {}};
    if (found.step())
        refuse("more than one recording's SHA-256 begins with " + std::string(sha256));
    found.reset();

    markMatchStale(result.matchId);
    m_db.prepare("DELETE FROM timeline_part WHERE matchId = ?1").bind(1, result.matchId).run();
    forgetShingles(m_db, id);
    m_db.prepare("DELETE FROM recording WHERE id = ?1").bind(1, id).run();
    const std::vector<MatchRecording> left = recordingsOf(m_db, result.matchId);
    if (left.empty()) {
        m_db.prepare("DELETE FROM match WHERE id = ?1").bind(1, result.matchId).run();
        transaction.commit();
        updateRatings();
        return result;
    }
    // The recordings that share events with the match's earliest one stay;
    // every other group of them is a match of its own.
    std::vector<std::int64_t> matches = {result.matchId};
    for (const auto& group : overlappingGroups(windowsOf(left))) {
        if (group.front() == 0) {
            result.recordingsLeft = static_cast<std::int32_t>(group.size());
            continue;
        }
        const std::int64_t split = newMatch(left[group.front()].info.sha256);
        Statement move = m_db.prepare("UPDATE recording SET matchId = ?1 WHERE id = ?2");
        for (const std::size_t i : group) move.bindAll(split, left[i].id).run();
        result.splitOff.push_back(split);
        matches.push_back(split);
    }
    for (const std::int64_t match : matches) {
        alignRecordings(match);
        updateTimeline(match, nullptr);
    }
    transaction.commit();
    updateRatings();
    return result;
}

}  // namespace zefa::season
