#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "record/FileDescriptor.h"
#include "record/SessionSink.h"
#include "record/Spool.h"

namespace zefa::record {

// What one look at a log did.
struct LogCheck {
    std::uint64_t copied = 0;  // bytes appended to the session's spool
    bool more = false;         // the log holds more than one look copies
    std::string problem;       // why the log could not be read or copied; empty when it could
};

// One console log, a file the game empties at each start, followed session
// by session into spools. A session ends when its file is emptied, shortened,
// replaced (another file at the path, or other bytes where the spool's last
// bytes were) or removed; the bytes the old file gained before it went are
// copied first. The log is only ever opened for reading.
class LogFollower {
public:
    // `spool`: the session the archive had for this log when the recorder
    // last stopped; the first look decides whether the log on disk continues
    // it (it begins with all of the spool's bytes) or it has ended.
    LogFollower(std::filesystem::path log, std::optional<std::filesystem::path> spool,
                SessionSink& sink);

    // Looks at the log and copies what it gained into its session's spool.
    [[nodiscard]] LogCheck check();
    // Ends the session, as when the log is no longer followed.
    void endSession();
    // Flushes the session's spool to the disk.
    [[nodiscard]] std::error_code sync() const;

    [[nodiscard]] const std::filesystem::path& log() const { return m_log; }
    // The session's spool; null between sessions.
    [[nodiscard]] const Spool* spool() const { return m_spool ? &*m_spool : nullptr; }

private:
    enum class PathState { Same, Other, Gone, Unknown };
    [[nodiscard]] PathState lookAtPath(LogCheck& check) const;
    [[nodiscard]] bool openLog(LogCheck& check);
    [[nodiscard]] bool takeUpSpool(LogCheck& check);
    [[nodiscard]] bool continuesSpool(LogCheck& check) const;
    [[nodiscard]] bool copyNew(LogCheck& check);

    std::filesystem::path m_log;
    SessionSink& m_sink;
    std::optional<Spool> m_spool;
    bool m_spoolChecked;  // whether the log was seen to continue m_spool
    FileDescriptor m_file;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::string m_buffer;
};

}  // namespace zefa::record
