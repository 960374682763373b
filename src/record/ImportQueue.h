#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>

#include "record/ImportJob.h"
#include "record/ImportRunner.h"

namespace zefa::record {

// A spool the recorder asked to import.
struct ImportRequest {
    std::string spool;       // file name in the archive
    std::uint64_t size = 0;  // its length when asked for; 0 for a final spool
    bool final = false;
};

// The spools waiting to be imported, one child process at a time, in the
// order they were asked for; a final spool asked for again while it waits is
// asked for once.
class ImportQueue {
public:
    ImportQueue(ImportJob job, std::filesystem::path archive)
        : m_runner(std::move(job)), m_archive(std::move(archive)) {}

    void ask(const ImportRequest& request);
    // Starts the next import unless one runs; the reason when it could not start.
    [[nodiscard]] std::optional<std::string> startNext();
    // Readable when the running import has said something or ended; -1 when none runs.
    [[nodiscard]] int descriptor() const { return m_runner.descriptor(); }
    // The import that ran and its outcome, once it has ended.
    [[nodiscard]] std::optional<std::pair<ImportRequest, ImportOutcome>> collect();
    // Ends the running import; its spool is imported another time.
    void cancel() { m_runner.cancel(); }

private:
    ImportRunner m_runner;
    std::filesystem::path m_archive;
    std::deque<ImportRequest> m_asked;
    std::optional<ImportRequest> m_running;
};

}  // namespace zefa::record
