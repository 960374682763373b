#include "files/PendingFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace zefa {

namespace {

namespace fs = std::filesystem;

std::error_code lastError() { return {errno, std::generic_category()}; }

// The permissions of the file a new one replaces, which it keeps; none for a
// file that replaces none, which has the usual ones.
std::optional<mode_t> permissionsFor(const std::optional<fs::file_status>& replaced) {
    if (!replaced) return std::nullopt;
    return static_cast<mode_t>(replaced->permissions() & fs::perms::all);
}

// A name in `directory` that no file had, taken by `make`, which tells
// whether it took the name (errno EEXIST when another file has it); else the
// error of the last attempt.
template <typename Make>
std::optional<std::string> takeTemporaryName(const fs::path& directory, Make make,
                                             std::error_code& error) {
    constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::string prefix = (directory / ".zefastats.").string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Random, to be hard to guess; from the clock early at boot, while the
        // kernel has no random bytes yet (the name is only ever taken new).
        std::uint64_t random = 0;
        if (::getrandom(&random, sizeof random, GRND_NONBLOCK) != ssize_t(sizeof random))
            random = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
        std::string name = prefix;
        for (int letter = 0; letter < 6; ++letter, random /= kLetters.size())
            name += kLetters[random % kLetters.size()];
        if (make(name)) return name;
        if (errno == EEXIST) continue;
        error = lastError();
        return std::nullopt;
    }
    error = std::make_error_code(std::errc::file_exists);
    return std::nullopt;
}

// A new empty file in `directory` under a name no other has, with
// `permissions`, or the usual ones (0666 less the umask, which the kernel
// takes away as it makes the file: asking for the umask would change it for
// every thread of the program a moment).
std::optional<fs::path> createTemporary(const fs::path& directory,
                                        std::optional<mode_t> permissions, std::error_code& error) {
    return takeTemporaryName(
        directory,
        [permissions](const std::string& name) {
            const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC,
                                  permissions.value_or(0666));
            if (fd < 0) return false;
            if (permissions) ::fchmod(fd, *permissions);  // not narrowed by the umask
            ::close(fd);
            return true;
        },
        error);
}

// Where the file open as `fd` is opened again by name.
std::string descriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// A new empty file in `directory` with no name yet, open as the result, with
// the usual permissions; none where the file system or a missing /proc (which
// names it until it is linked) does not allow it. A new file takes one change
// of the folder, when it is linked, rather than three (made, renamed from,
// renamed to), and a run cut short leaves nothing behind.
std::optional<int> createUnnamed(const fs::path& directory) {
#ifdef O_TMPFILE
    const int fd =
        ::open(directory.empty() ? "." : directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd < 0) return std::nullopt;
    if (::access(descriptorPath(fd).c_str(), F_OK) == 0) return fd;
    ::close(fd);
#else
    (void)directory;
#endif
    return std::nullopt;
}

std::error_code copyToStandardOutput(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (in.peek() != std::ifstream::traits_type::eof()) std::cout << in.rdbuf();
    std::cout.flush();
    return in && std::cout ? std::error_code{} : std::make_error_code(std::errc::io_error);
}

// Opens the file or folder and calls `flush` with it; its error, if any.
std::error_code flushWith(const fs::path& path, int (*flush)(int)) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return lastError();
    const std::error_code error = flush(fd) == 0 ? std::error_code{} : lastError();
    ::close(fd);
    return error;
}

}  // namespace

PendingFile::PendingFile(Token, Mode mode, fs::path target, fs::path path, Flush flush)
    : m_mode(mode), m_flush(flush), m_target(std::move(target)), m_path(std::move(path)) {}

PendingFile::PendingFile(Token, fs::path target, int unnamed, Flush flush)
    : m_mode(Mode::Link),
      m_flush(flush),
      m_target(std::move(target)),
      m_path(descriptorPath(unnamed)),
      m_unnamed(unnamed) {}

std::unique_ptr<PendingFile> PendingFile::create(const std::string& target, std::error_code& error,
                                                 Flush flush) {
    if (target == "-") {
        const fs::path directory = fs::temp_directory_path(error);
        if (error) return nullptr;
        const auto path = createTemporary(directory, std::nullopt, error);
        if (!path) return nullptr;
        return std::make_unique<PendingFile>(Token{}, Mode::StandardOutput, target, *path);
    }

    fs::path resolved = target;
    std::optional<fs::file_status> existing;
    if (const fs::file_status status = fs::status(target, error); fs::exists(status)) {
        if (fs::is_directory(status)) {
            error = std::make_error_code(std::errc::is_a_directory);
            return nullptr;
        }
        if (!fs::is_regular_file(status))
            return std::make_unique<PendingFile>(Token{}, Mode::Direct, target, target);
        existing = status;
        resolved = fs::canonical(target, error);
        if (error) return nullptr;
    }
    error.clear();
    // A file it replaces too: named only for the moment between its link
    // and its rename, so a run killed while writing leaves nothing behind.
    if (const std::optional<int> unnamed = createUnnamed(resolved.parent_path())) {
        if (const auto permissions = permissionsFor(existing)) ::fchmod(*unnamed, *permissions);
        return std::make_unique<PendingFile>(Token{}, resolved, *unnamed, flush);
    }
    const auto path = createTemporary(resolved.parent_path(), permissionsFor(existing), error);
    if (!path) return nullptr;
    return std::make_unique<PendingFile>(Token{}, Mode::Replace, resolved, *path, flush);
}

std::error_code PendingFile::flushFile(const fs::path& path) { return flushWith(path, ::fsync); }

std::error_code PendingFile::flushFileSystem(const fs::path& path) {
    return flushWith(path, ::syncfs);
}

PendingFile::~PendingFile() {
    if (m_mode == Mode::Link) ::close(m_unnamed);  // a file never linked goes with it
    if (m_mode == Mode::Direct || m_mode == Mode::Link || (m_committed && m_mode == Mode::Replace))
        return;
    std::error_code ignored;
    fs::remove(m_path, ignored);
}

std::error_code PendingFile::link() {
    if (::linkat(AT_FDCWD, m_path.c_str(), AT_FDCWD, m_target.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return {};
    if (errno != EEXIST) return lastError();
    // Something took the name since (or a dangling link holds it): replaced
    // as any file is, from a name of its own beside it.
    std::error_code error;
    const auto linked = takeTemporaryName(
        m_target.parent_path(),
        [this](const std::string& name) {
            const char* from = m_path.c_str();
            return ::linkat(AT_FDCWD, from, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
        },
        error);
    if (!linked) return error;
    if (::rename(linked->c_str(), m_target.c_str()) == 0) return {};
    error = lastError();
    ::unlink(linked->c_str());
    return error;
}

std::error_code PendingFile::commit() {
    m_committed = true;
    switch (m_mode) {
        case Mode::StandardOutput:
            return copyToStandardOutput(m_path);
        case Mode::Direct:
            return {};
        case Mode::Replace:
        case Mode::Link:
            break;
    }
    // The new file's bytes reach the disk before its name replaces the old
    // one, so a crash leaves the old file or the whole new one.
    if (const std::error_code error =
            m_flush == Flush::BeforeRename ? flushFile(m_path) : std::error_code{}) {
        m_committed = false;
        return error;
    }
    if (m_mode == Mode::Link) {
        const std::error_code error = link();
        m_committed = !error;
        return error;
    }
    if (::rename(m_path.c_str(), m_target.c_str()) == 0) return {};
    m_committed = false;
    return lastError();
}

}  // namespace zefa
