#include "desktop/core/PageCopy.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "files/PendingFile.h"
#include "desktop/core/MessageText.h"

namespace zefa::desktop {

namespace {

constexpr std::size_t kChunkSize = 1024;

std::error_code lastError() { return {errno, std::generic_category()}; }

// Closes the descriptor when the copy ends, however it ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return m_fd; }
    // Closing reports the last write errors (NFS, a full disk).
    std::error_code close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? std::error_code{} : lastError();
    }

private:
    int m_fd;
};

std::error_code writeAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return lastError();
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

}  // namespace

std::string PageCopyResult::problem(const std::filesystem::path& page,
                                    const std::string& target) const {
    if (readError) return fillIn(kPageUnreadable, page.string(), readError.message());
    if (writeError) return fillIn(kPageUnwritable, target, writeError.message());
    return {};
}

PageCopyResult copyPage(const std::filesystem::path& page, const std::string& target) {
    PageCopyResult result;
    Descriptor in(::open(page.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) {
        result.readError = lastError();
        return result;
    }
    const auto pending = PendingFile::create(target, result.writeError);
    if (!pending) return result;
    Descriptor out(::open(pending->path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (out.get() < 0) {
        result.writeError = lastError();
        return result;
    }

    std::array<char, kChunkSize> chunk{};
    while (true) {
        const ssize_t read = ::read(in.get(), chunk.data(), chunk.size());
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) {
            result.readError = lastError();
            return result;
        }
        if (read == 0) break;
        if ((result.writeError = writeAll(out.get(), chunk.data(), static_cast<std::size_t>(read))))
            return result;
    }
    if (!(result.writeError = out.close())) result.writeError = pending->commit();
    return result;
}

}  // namespace zefa::desktop
