#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "parser/ClassifierCache.h"
#include "season/ImportPlan.h"
#include "season/LogImport.h"

namespace zefa::season {

// One log of an import as read: the log, or why not (nothing for an empty
// one), or what was thrown while reading it.
struct ReadOutcome {
    std::optional<ReadLog> log;
    std::string whyNot;
    std::exception_ptr failure;
};

// Reads the logs of an import for the one thread that stores them, in their
// order: on `threads` threads of their own (each with its classifiers), as
// far ahead of the store as keeps them reading while it commits (which waits
// for the disk), but no more than 256 logs a thread and 64 MB of logs, so
// memory stays bounded; with one thread, on the thread that asks.
class LogReaders {
public:
    LogReaders(std::span<const PlannedLog> logs, const LogImportOptions& options, unsigned threads);
    LogReaders(const LogReaders&) = delete;
    LogReaders& operator=(const LogReaders&) = delete;

    // The next log, once read; what its reading threw is thrown here.
    [[nodiscard]] ReadOutcome next();

private:
    [[nodiscard]] ReadOutcome read(std::size_t log, ClassifierCache& classifiers) const;
    void work(const std::stop_token& stop);

    std::span<const PlannedLog> m_logs;
    LogImportOptions m_options;
    std::size_t m_window;
    ClassifierCache m_classifiers;  // with one thread
    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::size_t m_nextToRead = 0;
    std::size_t m_nextToTake = 0;
    std::map<std::size_t, ReadOutcome> m_read;  // by log, read but not yet taken
    std::int64_t m_readBytes = 0;               // of the logs in m_read
    std::vector<std::jthread> m_threads;        // last: they go first, before what they use
};

}  // namespace zefa::season
