#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "record/FileDescriptor.h"

namespace zefa::record {

// The archive folder: the spools, one file per session, and in `.recorder/`
// the state and a lock that keeps a second recorder out while one runs.
class Archive {
public:
    // Makes the folder when it is missing and takes its lock; nullopt with
    // the reason when it cannot. A killed recorder leaves no lock behind.
    [[nodiscard]] static std::optional<Archive> open(const std::filesystem::path& folder,
                                                     std::string& whyNot);

    [[nodiscard]] const std::filesystem::path& folder() const { return m_folder; }
    [[nodiscard]] std::filesystem::path statePath() const;
    // A new spool for a session of `log` begun at `began`, named by that
    // local time and the log's name ("2026-03-01_20-15-03_qconsole.log"), a
    // file name no file in the folder and none of `taken` has.
    [[nodiscard]] std::filesystem::path newSpool(const std::filesystem::path& log,
                                                 std::time_t began,
                                                 const std::vector<std::string>& taken) const;

private:
    Archive(std::filesystem::path folder, FileDescriptor lock);

    std::filesystem::path m_folder;
    FileDescriptor m_lock;
};

}  // namespace zefa::record
