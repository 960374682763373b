#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "record/FileDescriptor.h"

namespace zefa::record {

// One session's copy of a console log: the log's bytes from its first on,
// appended as the log grows. The file's length is where the copy stands: each
// byte in it is the log's byte at that offset, so a recorder killed at any
// moment, even in the middle of an append, leaves a true beginning of the
// session and nothing else to bring into step with it. The file is made at
// the first byte, so a session the game wrote nothing into leaves no file.
class Spool {
public:
    explicit Spool(std::filesystem::path path);

    // Takes up the bytes a file at the path holds already (a restart).
    [[nodiscard]] std::error_code resume();
    // The bytes written count even when an error stops the rest.
    [[nodiscard]] std::error_code append(std::string_view bytes);
    // Flushes the spool to the disk.
    [[nodiscard]] std::error_code sync() const;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::uint64_t size() const { return m_size; }

    // Whether the open log `log` begins with every byte of the spool.
    [[nodiscard]] bool beginsLog(int log, std::error_code& error) const;
    // Whether the open log holds the spool's last bytes where the spool has
    // them: a log emptied and written again past the spool's length does not.
    [[nodiscard]] bool endsLikeLog(int log, std::error_code& error) const;

private:
    void keepTail(std::string_view appended);

    std::filesystem::path m_path;
    FileDescriptor m_file;
    std::uint64_t m_size = 0;
    std::string m_tail;  // the last bytes appended
};

}  // namespace zefa::record
