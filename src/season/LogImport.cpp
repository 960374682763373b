#include "season/LogImport.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "season/LogBytes.h"
#include "season/LogReaders.h"

namespace zefa::season {

namespace {

// A commit writes the changed pages out and waits for the journal: many
// small logs share one, for at most this long or this many logs, so the
// reports of stored logs keep coming; and for logs of at most this many bytes
// together, as their readings are kept until then.
constexpr auto kCommitEvery = std::chrono::milliseconds(500);
constexpr std::size_t kLogsPerCommit = 1000;
constexpr std::int64_t kLogBytesPerCommit = std::int64_t{64} << 20;

std::optional<std::int64_t> modificationTime(const std::filesystem::path& path,
                                             std::string& reason) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    return status.st_mtime;
}

// A log stored since the last commit, with its reading, which stores it
// again when the transaction is undone.
struct PendingLog {
    std::optional<ReadLog> log;
    LogOutcome outcome;
};

// The logs stored since the last commit, reported once they are committed.
class CommittedReports {
public:
    CommittedReports(SeasonStore& store, const ReportImport& report, bool keepOverlap)
        : m_store(store), m_report(report), m_keepOverlap(keepOverlap) {}

    void add(PendingLog pending) {
        if (pending.log) m_bytes += pending.log->reading.logSize;
        m_pending.push_back(std::move(pending));
        const auto now = std::chrono::steady_clock::now();
        if (m_pending.size() < kLogsPerCommit && m_bytes < kLogBytesPerCommit &&
            now - m_began < kCommitEvery)
            return;
        commit();
        m_store.beginImports();
        m_began = now;
    }

    void commit() {
        m_store.commitImports();
        for (const PendingLog& pending : m_pending) m_report(m_reported++, pending.outcome);
        m_pending.clear();
        m_bytes = 0;
    }

    // After a failure: stores the logs not yet committed again, in a
    // transaction of their own (which undoes what is left of the one they
    // were in), and commits them.
    void storeAgain() {
        m_store.beginImports();
        for (PendingLog& pending : m_pending) {
            if (pending.log)
                pending.outcome.result = store(*pending.log);
        }
        commit();
    }

    ImportResult store(const ReadLog& log) {
        return m_store.importMatch(log.reading, log.file, log.playedAt, m_keepOverlap);
    }

private:
    SeasonStore& m_store;
    const ReportImport& m_report;
    bool m_keepOverlap;
    std::vector<PendingLog> m_pending;
    std::int64_t m_bytes = 0;  // of the pending logs
    std::size_t m_reported = 0;
    std::chrono::steady_clock::time_point m_began = std::chrono::steady_clock::now();
};

}  // namespace

std::optional<ReadLog> readLogForImport(const std::filesystem::path& path,
                                        const LogImportOptions& options,
                                        ClassifierCache& classifiers, std::string& whyNot) {
    auto bytes = readLogFile(path.string(), whyNot);
    if (!bytes) return std::nullopt;
    const auto playedAt = options.playedAt ? options.playedAt : modificationTime(path, whyNot);
    if (!playedAt) return std::nullopt;
    auto match = readMatch(std::move(*bytes), options.gameVersion, classifiers, whyNot);
    if (!match) return std::nullopt;
    return ReadLog{std::move(*match), path.filename().string(), *playedAt};
}

std::optional<ImportResult> importLogFile(SeasonStore& store, const std::filesystem::path& path,
                                          const LogImportOptions& options,
                                          ClassifierCache& classifiers, std::string& whyNot) {
    const auto log = readLogForImport(path, options, classifiers, whyNot);
    if (!log) return std::nullopt;
    return store.importMatch(log->reading, log->file, log->playedAt, options.keepOverlap);
}

void importLogFiles(SeasonStore& store, std::span<const PlannedLog> logs,
                    const LogImportOptions& options, unsigned threads, const ReportImport& report) {
    LogReaders readers(logs, options, threads);
    CommittedReports reports(store, report, options.keepOverlap);
    if (threads > 1) store.checkpointApart();
    store.beginImports();
    try {
        for (std::size_t i = 0; i < logs.size(); ++i) {
            ReadOutcome read = readers.next();
            PendingLog pending{std::move(read.log), {std::nullopt, std::move(read.whyNot)}};
            if (pending.log) pending.outcome.result = reports.store(*pending.log);
            reports.add(std::move(pending));
        }
    } catch (...) {
        // The logs before the failure are stored, as they would be one by
        // one; when that fails too, the first failure is the one to tell.
        try {
            reports.storeAgain();
        } catch (const SeasonError&) {
        }
        throw;
    }
    reports.commit();
}

}  // namespace zefa::season
