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
// reports of stored logs keep coming.
constexpr auto kCommitEvery = std::chrono::milliseconds(500);
constexpr std::size_t kLogsPerCommit = 1000;

std::optional<std::int64_t> modificationTime(const std::filesystem::path& path,
                                             std::string& reason) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    return status.st_mtime;
}

// The logs stored since the last commit, reported once they are committed.
class CommittedReports {
public:
    CommittedReports(SeasonStore& store, const ReportImport& report)
        : m_store(store), m_report(report) {}

    void add(LogOutcome outcome) {
        m_pending.push_back(std::move(outcome));
        const auto now = std::chrono::steady_clock::now();
        if (m_pending.size() < kLogsPerCommit && now - m_began < kCommitEvery) return;
        commit();
        m_store.beginImports();
        m_began = now;
    }

    void commit() {
        m_store.commitImports();
        for (const LogOutcome& outcome : m_pending) m_report(m_reported++, outcome);
        m_pending.clear();
    }

private:
    SeasonStore& m_store;
    const ReportImport& m_report;
    std::vector<LogOutcome> m_pending;
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
    CommittedReports reports(store, report);
    store.beginImports();
    try {
        for (std::size_t i = 0; i < logs.size(); ++i) {
            ReadOutcome read = readers.next();
            LogOutcome outcome{std::nullopt, std::move(read.whyNot)};
            if (read.log)
                outcome.result = store.importMatch(read.log->reading, read.log->file,
                                                   read.log->playedAt, options.keepOverlap);
            reports.add(std::move(outcome));
        }
    } catch (...) {
        // The logs stored before the failure stay stored, as they would one
        // by one; when that fails too, the first failure is the one to tell.
        try {
            reports.commit();
        } catch (const SeasonError&) {
        }
        throw;
    }
    reports.commit();
}

}  // namespace zefa::season
