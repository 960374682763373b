#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace zefa::record {

// A followed log as the archive remembers it.
struct FollowedLog {
    std::string log;             // its path, absolute
    std::string spool;           // file name of its session's spool; empty between sessions
    std::uint64_t imported = 0;  // the spool's length when it was last imported

    friend bool operator==(const FollowedLog&, const FollowedLog&) = default;
};

// Everything the recorder knows beyond the spools themselves. Where a spool
// stands is its own length, so nothing here changes while a log grows.
struct ArchiveState {
    std::vector<FollowedLog> logs;
    std::vector<std::string> toImport;  // final spools not imported yet, oldest first
    // The outbox: final spools no server has acknowledged yet, oldest first.
    std::vector<std::string> toSend;

    friend bool operator==(const ArchiveState&, const ArchiveState&) = default;
};

// The state in the file at `path`; a missing file is an empty state. Nullopt
// with the reason when the file cannot be read or is not a recorder's state.
[[nodiscard]] std::optional<ArchiveState> loadArchiveState(const std::filesystem::path& path,
                                                           std::string& whyNot);
// Replaces the file whole (written beside it and renamed over it), so a
// recorder killed while it writes leaves the old state or the new one.
[[nodiscard]] std::error_code saveArchiveState(const std::filesystem::path& path,
                                               const ArchiveState& state);

}  // namespace zefa::record
