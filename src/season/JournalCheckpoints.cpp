#include "season/JournalCheckpoints.h"

#include "season/Sqlite.h"

namespace zefa::season {

JournalCheckpoints::JournalCheckpoints(std::filesystem::path store)
    : m_thread([this, store = std::move(store)](const std::stop_token& stop) {
          work(stop, store);
      }) {}

void JournalCheckpoints::request() {
    {
        const std::lock_guard lock(m_mutex);
        m_requested = true;
    }
    m_asked.notify_one();
}

void JournalCheckpoints::work(const std::stop_token& stop, const std::filesystem::path& store) {
    try {
        Database db(store.string(), SQLITE_OPEN_READWRITE);
        db.exec("PRAGMA synchronous = NORMAL");
        std::unique_lock lock(m_mutex);
        while (m_asked.wait(lock, stop, [this] { return m_requested; })) {
            m_requested = false;
            lock.unlock();
            // Passive: it copies what no reader still needs and never waits
            // for the writer, which goes on meanwhile.
            sqlite3_wal_checkpoint_v2(db.handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr,
                                      nullptr);
            lock.lock();
        }
    } catch (const SqliteError&) {
        // Not opened: the writer checkpoints when it closes, as without us.
    }
}

}  // namespace zefa::season
