#include "record/Spool.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "record/ReadAt.h"

namespace zefa::record {

namespace {

// Enough to tell one session's bytes from another's at the same offset.
constexpr std::size_t kTailSize = 4096;

std::error_code lastError() { return {errno, std::generic_category()}; }

}  // namespace

Spool::Spool(std::filesystem::path path) : m_path(std::move(path)) {}

std::error_code Spool::resume() {
    FileDescriptor file(::open(m_path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC));
    if (!file) return errno == ENOENT ? std::error_code{} : lastError();
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return lastError();
    m_size = static_cast<std::uint64_t>(status.st_size);
    m_tail.resize(std::min<std::uint64_t>(m_size, kTailSize));
    if (readAt(file.get(), m_tail.data(), m_tail.size(), m_size - m_tail.size()) !=
        static_cast<long long>(m_tail.size()))
        return lastError();
    m_file = std::move(file);
    return {};
}

std::error_code Spool::append(std::string_view bytes) {
    if (!m_file) {
        m_file = FileDescriptor(::open(m_path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
        if (!m_file) return lastError();
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_file.get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return lastError();
        const auto count = static_cast<std::size_t>(written);
        keepTail(bytes.substr(0, count));
        m_size += count;
        bytes.remove_prefix(count);
    }
    return {};
}

std::error_code Spool::sync() const {
    if (!m_file || ::fsync(m_file.get()) == 0) return {};
    return lastError();
}

bool Spool::beginsLog(int log, std::error_code& error) const {
    std::array<char, 64 * 1024> mine{};
    std::array<char, 64 * 1024> theirs{};
    for (std::uint64_t offset = 0; offset < m_size; offset += mine.size()) {
        const std::size_t want = std::min<std::uint64_t>(mine.size(), m_size - offset);
        const long long got = readAt(m_file.get(), mine.data(), want, offset);
        const long long logGot = readAt(log, theirs.data(), want, offset);
        if (got < 0 || logGot < 0) {
            error = lastError();
            return false;
        }
        if (got != logGot || !std::equal(mine.begin(), mine.begin() + got, theirs.begin()))
            return false;
    }
    return true;
}

bool Spool::endsLikeLog(int log, std::error_code& error) const {
    std::string theirs(m_tail.size(), '\0');
    const long long got = readAt(log, theirs.data(), theirs.size(), m_size - m_tail.size());
    if (got < 0) error = lastError();
    return got == static_cast<long long>(theirs.size()) && theirs == m_tail;
}

void Spool::keepTail(std::string_view appended) {
    if (appended.size() >= kTailSize) {
        m_tail.assign(appended.substr(appended.size() - kTailSize));
        return;
    }
    m_tail.append(appended);
    if (m_tail.size() > kTailSize) m_tail.erase(0, m_tail.size() - kTailSize);
}

}  // namespace zefa::record
