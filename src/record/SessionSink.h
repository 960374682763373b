#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace zefa::record {

// Where a followed log's sessions go: the archive that names their spools and
// keeps track of which are final.
class SessionSink {
public:
    virtual ~SessionSink() = default;

    // The spool of a session of `log` that has just written its first bytes;
    // nullopt while it cannot be made (the bytes are then copied later).
    // The archive records the new spool before the follower writes into it.
    [[nodiscard]] virtual std::optional<std::filesystem::path> beginSession(
        const std::filesystem::path& log) = 0;
    // The session of `log` recorded in `spool` (`size` bytes) has ended: the
    // spool is final from now on.
    virtual void endSession(const std::filesystem::path& log, const std::filesystem::path& spool,
                            std::uint64_t size) = 0;
};

}  // namespace zefa::record
