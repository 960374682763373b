#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

#include "record/FileDescriptor.h"
#include "record/ImportJob.h"

namespace zefa::record {

// Runs the import of one spool at a time in a child process: a season that
// keeps an import waiting (a store busy for up to a minute) then never keeps
// the logs waiting, and a spool too large for memory ends the child, not the
// recorder. The child says its outcome through a pipe and ends.
class ImportRunner {
public:
    explicit ImportRunner(ImportJob job) : m_job(std::move(job)) {}
    ~ImportRunner() { cancel(); }
    ImportRunner(const ImportRunner&) = delete;
    ImportRunner& operator=(const ImportRunner&) = delete;

    [[nodiscard]] bool busy() const { return m_child > 0; }
    // Readable when the running child has said something or ended; -1 when idle.
    [[nodiscard]] int descriptor() const { return m_said.get(); }

    // Starts the job on `spool`; false with the reason when no child could be made.
    [[nodiscard]] bool start(const std::filesystem::path& spool, std::string& whyNot);
    // Reads what the child said; its outcome once it has ended.
    [[nodiscard]] std::optional<ImportOutcome> collect();
    // Ends a running child: the store keeps nothing of an unfinished import.
    void cancel();

private:
    ImportJob m_job;
    pid_t m_child = -1;
    FileDescriptor m_said;  // the pipe's end the child writes its outcome into
    std::string m_words;
};

}  // namespace zefa::record
