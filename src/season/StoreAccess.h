#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace zefa::season {

// What this user may do with a store's files. In WAL mode SQLite keeps two
// files beside the store while it is open, DB-wal (changes not yet in the
// store) and DB-shm (the index of DB-wal every connection shares); they
// belong to the user who made them, with the store's permissions. A reading
// connection makes them too when they are missing, and then another user who
// may write the store cannot write them: every change fails until they are
// removed. So a reader never lets SQLite make them (see readingWay()).

[[nodiscard]] std::filesystem::path writeAheadLog(const std::filesystem::path& store);
[[nodiscard]] std::filesystem::path sharedIndex(const std::filesystem::path& store);

// Why this user cannot change the store, with what to do; nullopt when it can:
// the store, its folder and any DB-wal and DB-shm are writable.
[[nodiscard]] std::optional<std::string> whyUnchangeable(const std::filesystem::path& store);

// How a reading connection opens the store, or why it cannot (with what to do).
enum class ReadingWay {
    // No changes wait in DB-wal: the store file alone holds every committed
    // change, read without locks and without making DB-wal or DB-shm. A writer
    // that changes the file meanwhile is noticed by comparing its FileState.
    Immutable,
    // Changes wait in DB-wal: read through SQLite's shared index as usual;
    // both files are there (or this user may write the store), so none is made.
    Shared,
};
[[nodiscard]] std::variant<ReadingWay, std::string> readingWay(const std::filesystem::path& store);

// What changes when a file is written: compared before and after a read.
struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const FileState&) const = default;
};
[[nodiscard]] std::optional<FileState> fileState(const std::filesystem::path& path);

// "file:PATH?immutable=1" with PATH absolute and percent-encoded, for
// sqlite3_open_v2 with SQLITE_OPEN_URI.
[[nodiscard]] std::string immutableUri(const std::filesystem::path& store);

}  // namespace zefa::season
