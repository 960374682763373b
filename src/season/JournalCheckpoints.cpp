#include "season/JournalCheckpoints.h"

namespace zefa::season {

namespace {

// 64 MB of 4 KB pages: SQLite's own threshold is 1,000 pages, which an
// import of many logs passes every few of them.
constexpr int kRestartPages = 16384;

}  // namespace

JournalCheckpoints::JournalCheckpoints(Database& writer, std::filesystem::path store)
    : m_writer(writer),
      m_thread([this, store = std::move(store)](const std::stop_token& stop) {
          work(stop, store);
      }) {
    sqlite3_wal_hook(writer.handle(), &JournalCheckpoints::committed, this);
}

JournalCheckpoints::~JournalCheckpoints() {
    sqlite3_wal_autocheckpoint(m_writer.handle(), kRestartPages);
}

int JournalCheckpoints::committed(void* self, sqlite3* writer, const char* database, int pages) {
    auto& checkpoints = *static_cast<JournalCheckpoints*>(self);
    std::unique_lock lock(checkpoints.m_mutex);
    if (!checkpoints.m_working) {
        lock.unlock();
        if (pages >= kRestartPages)
            sqlite3_wal_checkpoint_v2(writer, database, SQLITE_CHECKPOINT_PASSIVE, nullptr,
                                      nullptr);
        return SQLITE_OK;
    }
    const std::uint64_t commit = ++checkpoints.m_asked;
    checkpoints.m_changed.notify_all();
    if (pages >= kRestartPages) {
        checkpoints.m_changed.wait(lock, [&checkpoints, commit] {
            return checkpoints.m_done >= commit || !checkpoints.m_working;
        });
    }
    return SQLITE_OK;
}

void JournalCheckpoints::work(const std::stop_token& stop, const std::filesystem::path& store) {
    try {
        Database db(store.string(), SQLITE_OPEN_READWRITE);
        // A connection knows the store keeps a write-ahead log only once it
        // has read it; until then a checkpoint does nothing.
        db.exec("SELECT 1 FROM sqlite_schema LIMIT 1");
        std::unique_lock lock(m_mutex);
        while (m_changed.wait(lock, stop, [this] { return m_asked > m_done; })) {
            const std::uint64_t asked = m_asked;
            lock.unlock();
            // Passive: it copies what no reader still needs and never waits
            // for the writer.
            sqlite3_wal_checkpoint_v2(db.handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr,
                                      nullptr);
            lock.lock();
            m_done = asked;
            m_changed.notify_all();
        }
    } catch (const SqliteError&) {
        const std::lock_guard lock(m_mutex);
        m_working = false;
        m_changed.notify_all();
    }
}

}  // namespace zefa::season
