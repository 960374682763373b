#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace zefa {

// An output file written under a temporary name beside its target and moved
// over the target only when complete, so a failed run never destroys an
// earlier file; where the system allows, it is written with no name and
// linked into place when complete (over the file it replaces by a name of
// its own for a moment). A symbolic link is followed and kept.
// The target "-" is standard output: the file is kept in the temporary
// directory and copied out on commit. Targets that are not regular files (a pipe, /dev/null) cannot
// be replaced and are written directly.
class PendingFile {
public:
    // When a replaced file's bytes reach the disk: before its name replaces
    // the old one (a crash leaves the old file or the whole new one), or
    // later, when the caller flushes it (flushFile) or, for many files at
    // once, their file system (flushFileSystem): a run that writes thousands
    // of files then does not wait on the disk for each.
    enum class Flush { BeforeRename, Later };

    static std::unique_ptr<PendingFile> create(const std::string& target, std::error_code& error,
                                               Flush flush = Flush::BeforeRename);
    // Brings the file's bytes to the disk.
    [[nodiscard]] static std::error_code flushFile(const std::filesystem::path& path);
    // Brings every file written on the file system that holds `path` to the
    // disk, names and bytes.
    [[nodiscard]] static std::error_code flushFileSystem(const std::filesystem::path& path);

    enum class Mode { Replace, StandardOutput, Direct, Link };
    struct Token {  // only create() can construct one
    private:
        friend class PendingFile;
        Token() = default;
    };
    PendingFile(Token, Mode mode, std::filesystem::path target, std::filesystem::path path,
                Flush flush = Flush::BeforeRename);
    // A new file, open as `unnamed` with no name, to be linked as `target`.
    PendingFile(Token, std::filesystem::path target, int unnamed, Flush flush);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Where the output is to be written: a name to open it by.
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::error_code commit();

private:
    std::error_code link();

    Mode m_mode;
    Flush m_flush;
    std::filesystem::path m_target;
    std::filesystem::path m_path;
    int m_unnamed = -1;  // the file descriptor of a new file with no name yet
    bool m_committed = false;
};

}  // namespace zefa
