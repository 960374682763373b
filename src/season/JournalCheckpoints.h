#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <thread>

#include "season/Sqlite.h"

namespace zefa::season {

// Takes over the checkpoints of a writing connection: after each of its
// commits, the write-ahead log is copied back into the store on a thread and
// a connection of its own, so the writer (an import's storing thread, which
// every log waits for) goes on meanwhile. Once the log holds 64 MB, the
// writer waits for that copy to end: only a log copied whole when a
// transaction begins starts again from its beginning, and it would otherwise
// grow as long as the import. Without its own connection, the writer copies
// at 64 MB itself, as SQLite would.
class JournalCheckpoints {
public:
    JournalCheckpoints(Database& writer, std::filesystem::path store);
    // Gives the checkpoints back to the writer, once the copy under way ends.
    ~JournalCheckpoints();
    JournalCheckpoints(const JournalCheckpoints&) = delete;
    JournalCheckpoints& operator=(const JournalCheckpoints&) = delete;

private:
    static int committed(void* self, sqlite3* writer, const char* database, int pages);
    void work(const std::stop_token& stop, const std::filesystem::path& store);

    Database& m_writer;
    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::uint64_t m_asked = 0;  // commits after which a copy was asked for
    std::uint64_t m_done = 0;   // of those, the ones copied
    bool m_working = true;      // false once the thread has no connection
    std::jthread m_thread;      // last: it goes first, before what it uses
};

}  // namespace zefa::season
