#include "season/RecordingFinder.h"

#include <algorithm>
#include <map>
#include <utility>

#include "season/LogBytes.h"
#include "season/MatchReading.h"
#include "season/PackedIntegers.h"
#include "season/Sqlite.h"

namespace zefa::season {

namespace {

constexpr std::size_t kShinglesPerInsert = 64;

// Stored as SQLite's signed integers; the bits are what count.
std::int64_t stored(std::uint64_t hash) { return static_cast<std::int64_t>(hash); }

// Votes of the shared shingles: each says where the log's first event lies
// in a match. The shingles' own table and those pending answer the lookups;
// the few recordings they name are asked for their match once each.
std::map<std::int64_t, std::int64_t> offsetsByShingles(Database& db, PendingShingles& pending,
                                                       std::span<const Shingle> shingles) {
    std::map<std::pair<std::int64_t, std::int64_t>, std::int64_t> votes;  // recording, shift
    Statement holders =
        db.prepare("SELECT recordingId, position FROM event_shingle WHERE shingle = ?1");
    for (const Shingle& shingle : shingles) {
        holders.bind(1, stored(shingle.hash));
        while (holders.step()) ++votes[{holders.integer(0), holders.integer(1) - shingle.position}];
        holders.reset();
        for (const PendingShingles::Row& row : pending.rowsOf(stored(shingle.hash)))
            ++votes[{row.recordingId, row.position - shingle.position}];
    }
    std::map<std::pair<std::int64_t, std::int64_t>, std::int64_t> matchVotes;  // match, offset
    Statement recording = db.prepare("SELECT matchId, eventOffset FROM recording WHERE id = ?1");
    for (const auto& [place, count] : votes) {
        recording.bind(1, place.first).step();
        matchVotes[{recording.integer(0), recording.integer(1) + place.second}] += count;
        recording.reset();
    }
    std::map<std::int64_t, std::int64_t> offsets;  // by match: the offset most votes give
    std::map<std::int64_t, std::int64_t> most;
    for (const auto& [place, count] : matchVotes) {
        const auto [match, offset] = place;
        if (count > most[match]) {
            most[match] = count;
            offsets[match] = offset;
        }
    }
    return offsets;
}

// A recording's kept shingles, listed with it.
void keepShingleList(Database& db, std::int64_t recordingId, std::span<const std::int64_t> hashes) {
    db.prepare("INSERT INTO recording_shingles(recordingId, shingles) VALUES (?1, ?2)")
        .bind(1, recordingId)
        .bindBlob(2, packIntegers(hashes))
        .run();
}

}  // namespace

std::vector<Shingle> indexedShingles(std::span<const std::uint64_t> events) {
    std::vector<Shingle> shingles = eventShingles(events);
    std::ranges::sort(shingles, {}, [](const Shingle& s) { return stored(s.hash); });
    return shingles;
}

void PendingShingles::add(std::int64_t recordingId, std::span<const Shingle> shingles) {
    for (const Shingle& kept : shingles)
        m_rows.push_back({stored(kept.hash), recordingId, kept.position});
}

void PendingShingles::sort() {
    if (m_sorted == m_rows.size()) return;
    const auto added = m_rows.begin() + static_cast<std::ptrdiff_t>(m_sorted);
    std::sort(added, m_rows.end());
    std::inplace_merge(m_rows.begin(), added, m_rows.end());
    m_sorted = m_rows.size();
}

std::span<const PendingShingles::Row> PendingShingles::rowsOf(std::int64_t shingle) {
    sort();
    const auto [first, last] = std::ranges::equal_range(m_rows, shingle, {}, &Row::shingle);
    return {first, last};
}

void PendingShingles::write(Database& db) {
    // Many rows to a statement: a large log keeps tens of thousands.
    const auto insert = [&db](std::size_t rows) {
        std::string sql = "INSERT INTO event_shingle(shingle, recordingId, position) VALUES ";
        for (std::size_t row = 0; row < rows; ++row) sql += row == 0 ? "(?,?,?)" : ",(?,?,?)";
        return db.prepare(sql);
    };
    sort();
    auto next = m_rows.cbegin();
    const auto add = [&next](Statement& statement, std::size_t rows) {
        int parameter = 0;
        for (; rows > 0; --rows, ++next) {
            statement.bind(++parameter, next->shingle);
            statement.bind(++parameter, next->recordingId);
            statement.bind(++parameter, next->position);
        }
        statement.run();
    };
    std::size_t left = m_rows.size();
    Statement full = insert(kShinglesPerInsert);
    for (; left >= kShinglesPerInsert; left -= kShinglesPerInsert) add(full, kShinglesPerInsert);
    if (left > 0) {
        Statement last = insert(left);
        add(last, left);
    }
    m_rows.clear();
    m_sorted = 0;
}

std::optional<std::int64_t> firstEventKey(std::span<const std::uint64_t> events) {
    if (events.empty()) return std::nullopt;
    return stored(events.front());
}

void indexRecording(Database& db, std::int64_t recordingId, std::span<const Shingle> shingles,
                    PendingShingles& pending) {
    pending.add(recordingId, shingles);
    std::vector<std::int64_t> hashes;
    hashes.reserve(shingles.size());
    for (const Shingle& kept : shingles) hashes.push_back(stored(kept.hash));
    keepShingleList(db, recordingId, hashes);
}

void forgetShingles(Database& db, std::int64_t recordingId) {
    Statement list = db.prepare("SELECT shingles FROM recording_shingles WHERE recordingId = ?1");
    if (!list.bind(1, recordingId).step()) return;
    const std::span<const std::byte> bytes = list.blob(0);
    std::vector<std::int64_t> hashes(bytes.size() / sizeof(std::int64_t));
    unpackIntegers<std::int64_t>(bytes, hashes);
    Statement remove =
        db.prepare("DELETE FROM event_shingle WHERE shingle = ?1 AND recordingId = ?2");
    for (const std::int64_t hash : hashes) remove.bindAll(hash, recordingId).run();
}

std::vector<Overlap> findOverlaps(Database& db, PendingShingles& pending, const EventIndex& index,
                                  std::int64_t size,
                                  const std::function<std::string_view()>& logBytes) {
    const std::span<const std::uint64_t> events = index.events;
    std::map<std::int64_t, std::int64_t> offsets = offsetsByShingles(db, pending, index.shingles);
    if (!events.empty()) {
        Statement sameStart = db.prepare(
            "SELECT id, matchId, eventOffset, size, sha256 FROM recording WHERE firstEvent = ?1");
        sameStart.bind(1, stored(events.front()));
        while (sameStart.step()) {
            const std::int64_t match = sameStart.integer(1);
            if (offsets.contains(match)) continue;
            const std::int64_t theirs = sameStart.integer(3);
            const std::string_view log = logBytes();
            const bool begins =
                theirs <= size
                    ? sha256Hex(log.substr(0, static_cast<std::size_t>(theirs))) ==
                          sameStart.text(4)
                    : std::string_view(recordingBytes(db, sameStart.integer(0))).starts_with(log);
            if (begins) offsets.emplace(match, sameStart.integer(2));
        }
    }
    std::vector<Overlap> overlaps;
    for (const auto& [match, offset] : offsets) overlaps.push_back({match, offset});
    return overlaps;
}

std::string recordingBytes(Database& db, std::int64_t recordingId) {
    Statement query = db.prepare("SELECT size, zstd FROM recording WHERE id = ?1");
    auto bytes = query.bind(1, recordingId).step()
                     ? decompressLog(query.blob(1), static_cast<std::size_t>(query.integer(0)))
                     : std::nullopt;
    if (!bytes)
        throw SqliteError(SQLITE_CORRUPT, "the stored log of recording " +
                                              std::to_string(recordingId) + " is damaged");
    return std::move(*bytes);
}

void indexStoredRecordings(Database& db, ClassifierCache& classifiers) {
    std::vector<std::pair<std::int64_t, std::int32_t>> recordings;  // id, game version
    Statement all = db.prepare("SELECT id, gameVersion FROM recording ORDER BY id");
    while (all.step())
        recordings.emplace_back(all.integer(0), static_cast<std::int32_t>(all.integer(1)));
    Statement index =
        db.prepare("UPDATE recording SET eventCount = ?2, firstEvent = ?3 WHERE id = ?1");
    for (const auto& [id, gameVersion] : recordings) {
        std::string whyNot;
        const auto reading =
            readMatchText(recordingBytes(db, id), gameVersion, classifiers, whyNot);
        if (!reading)
            throw SqliteError(SQLITE_CORRUPT, "the stored log of recording " + std::to_string(id) +
                                                  " is " + whyNot);
        PendingShingles shingles;
        shingles.add(id, reading->shingles);
        shingles.write(db);
        index
            .bindAll(id, static_cast<std::int64_t>(reading->events.lines.size()),
                     firstEventKey(reading->events.lines))
            .run();
    }
}

void listStoredShingles(Database& db, ClassifierCache&) {
    // In order of recording, by the old table's index.
    Statement rows = db.prepare(
        "SELECT recordingId, shingle FROM event_shingle_v5 ORDER BY recordingId, shingle");
    std::vector<std::int64_t> hashes;
    std::int64_t recordingId = 0;
    while (rows.step()) {
        if (rows.integer(0) != recordingId && !hashes.empty()) {
            keepShingleList(db, recordingId, hashes);
            hashes.clear();
        }
        recordingId = rows.integer(0);
        hashes.push_back(rows.integer(1));
    }
    if (!hashes.empty()) keepShingleList(db, recordingId, hashes);
    db.exec("DROP TABLE event_shingle_v5");
}

}  // namespace zefa::season
