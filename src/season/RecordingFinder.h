#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "season/DuplicateRule.h"

namespace zefa {
class ClassifierCache;
}

namespace zefa::season {

class Database;

// A stored match a log is a recording of, and where the log's first game
// event lies among the match's events.
struct Overlap {
    std::int64_t matchId = 0;
    std::int64_t offset = 0;

    bool operator==(const Overlap&) const = default;
};

// The kept shingles (DuplicateRule.h) of a log's game events in hash order:
// the order of the shingles' table, which they are looked up in and added to
// one after another.
[[nodiscard]] std::vector<Shingle> indexedShingles(std::span<const std::uint64_t> events);

// A log's game events and their indexedShingles().
struct EventIndex {
    std::span<const std::uint64_t> events;
    std::span<const Shingle> shingles;
};

// Kept shingles of stored recordings on their way into the shingles' table:
// a transaction of many recordings adds them some thousands at a time, in
// the table's order, so a page of it is changed once for many recordings.
// The recordings stored before then are found by them here.
class PendingShingles {
public:
    // A row of the table, in its order.
    struct Row {
        std::int64_t shingle = 0;  // as stored
        std::int64_t recordingId = 0;
        std::int64_t position = 0;

        auto operator<=>(const Row&) const = default;
    };

    void add(std::int64_t recordingId, std::span<const Shingle> shingles);
    // The rows of the shingle.
    [[nodiscard]] std::span<const Row> rowsOf(std::int64_t shingle);
    [[nodiscard]] std::size_t rowCount() const { return m_rows.size(); }
    // Adds them to the table, and forgets them.
    void write(Database& db);

private:
    void sort();

    std::vector<Row> m_rows;
    std::size_t m_sorted = 0;  // the rows before are in order; those after, as added
};

// What a recording's row keeps of its first game event, which finds it again
// whatever few events it has (`firstEvent`); none for a log without events.
[[nodiscard]] std::optional<std::int64_t> firstEventKey(std::span<const std::uint64_t> events);

// Notes the kept shingles that find the stored recording again: their rows
// (in `pending`), and their list kept with the recording, which finds the
// rows when it goes (forgetShingles).
void indexRecording(Database& db, std::int64_t recordingId, std::span<const Shingle> shingles,
                    PendingShingles& pending);

// Removes the shingles' rows of a recording about to be forgotten.
void forgetShingles(Database& db, std::int64_t recordingId);

// The stored matches a log of `size` bytes with these game events is a
// recording of, by id: those that hold a kept shingle of it (lined up where
// most of the shared shingles say; the table's and `pending`), and those with
// a recording that is the beginning of the log or begins with it, however few
// events either has (lined up at their first events). `logBytes` gives the
// log's bytes; it is asked for only when a recording begins with the same event.
[[nodiscard]] std::vector<Overlap> findOverlaps(Database& db, PendingShingles& pending,
                                                const EventIndex& index, std::int64_t size,
                                                const std::function<std::string_view()>& logBytes);

// The bytes of a stored recording; SqliteError when they are damaged.
[[nodiscard]] std::string recordingBytes(Database& db, std::int64_t recordingId);

// Reads every stored recording again with its game version and indexes it:
// for a store whose recordings were kept without their shingles' positions.
void indexStoredRecordings(Database& db, ClassifierCache& classifiers);

// Lists each stored recording's kept shingles from the rows of the shingles'
// table that stores before version 6 had (`event_shingle_v5`), then drops it.
void listStoredShingles(Database& db, ClassifierCache& classifiers);

}  // namespace zefa::season
