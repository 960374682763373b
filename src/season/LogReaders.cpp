#include "season/LogReaders.h"

#include <sys/resource.h>
#include <unistd.h>

namespace zefa::season {

namespace {

constexpr std::size_t kLogsAheadPerThread = 256;
constexpr std::int64_t kLogBytesAhead = std::int64_t{64} << 20;
constexpr int kReaderNiceness = 5;

std::int64_t logBytes(const ReadOutcome& outcome) {
    return outcome.log ? outcome.log->reading.logSize : 0;
}

}  // namespace

LogReaders::LogReaders(std::span<const PlannedLog> logs, const LogImportOptions& options,
                       unsigned threads)
    : m_logs(logs), m_options(options), m_window(kLogsAheadPerThread * std::size_t{threads}) {
    if (threads <= 1) return;
    for (unsigned i = 0; i < threads; ++i)
        m_threads.emplace_back([this](const std::stop_token& stop) { work(stop); });
}

ReadOutcome LogReaders::read(std::size_t log, ClassifierCache& classifiers) const {
    const PlannedLog& planned = m_logs[log];
    ReadOutcome outcome;
    if (planned.empty) return outcome;
    try {
        LogImportOptions options = m_options;
        options.playedAt = planned.playedAt;
        outcome.log = readLogForImport(planned.path, options, classifiers, outcome.whyNot);
    } catch (...) {
        outcome.failure = std::current_exception();  // for the storing thread to throw
    }
    return outcome;
}

void LogReaders::work(const std::stop_token& stop) {
    // Give way to the storing thread, which every log waits for: on a busy
    // machine, a reader that runs instead of it only reads further ahead.
    // (On Linux the niceness is the thread's own.)
    const int thread = static_cast<int>(::gettid());
    ::setpriority(PRIO_PROCESS, thread, ::getpriority(PRIO_PROCESS, thread) + kReaderNiceness);
    ClassifierCache classifiers;
    std::unique_lock lock(m_mutex);
    while (m_changed.wait(lock, stop, [this] {
        return m_nextToRead < m_logs.size() && m_nextToRead < m_nextToTake + m_window &&
               m_readBytes < kLogBytesAhead;
    })) {
        const std::size_t log = m_nextToRead++;
        lock.unlock();
        ReadOutcome outcome = read(log, classifiers);
        lock.lock();
        m_readBytes += logBytes(outcome);
        m_read.emplace(log, std::move(outcome));
        m_changed.notify_all();
    }
}

ReadOutcome LogReaders::next() {
    ReadOutcome outcome;
    if (m_threads.empty()) {
        outcome = read(m_nextToTake++, m_classifiers);
    } else {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_read.contains(m_nextToTake); });
        auto taken = m_read.extract(m_nextToTake++);
        outcome = std::move(taken.mapped());
        m_readBytes -= logBytes(outcome);
        m_changed.notify_all();
    }
    if (outcome.failure) std::rethrow_exception(outcome.failure);
    return outcome;
}

}  // namespace zefa::season
