#pragma once

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace zefa::season {

// Copies the store's write-ahead log back into its file on a thread of its
// own, with a connection of its own, whenever asked: SQLite would do it on
// the writing connection every so many pages, and an import's storing
// thread, which every log waits for, would stop meanwhile. A checkpoint
// that fails is left to the next one, or to the writer's when it closes.
class JournalCheckpoints {
public:
    explicit JournalCheckpoints(std::filesystem::path store);
    // Waits for the checkpoint under way, if any.
    ~JournalCheckpoints() = default;
    JournalCheckpoints(const JournalCheckpoints&) = delete;
    JournalCheckpoints& operator=(const JournalCheckpoints&) = delete;

    // After a commit: copies what is committed, soon.
    void request();

private:
    void work(const std::stop_token& stop, const std::filesystem::path& store);

    std::mutex m_mutex;
    std::condition_variable_any m_asked;
    bool m_requested = false;
    std::jthread m_thread;  // last: it goes first, before what it uses
};

}  // namespace zefa::season
