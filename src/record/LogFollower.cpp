#include "record/LogFollower.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "record/ReadAt.h"

namespace zefa::record {

namespace {

constexpr std::size_t kBlockSize = 1024 * 1024;
// One look copies at most this much, so that a log of many gigabytes keeps
// neither the other logs nor a stop signal waiting.
constexpr std::uint64_t kLookLimit = 64 * kBlockSize;

std::string lastReason() { return std::strerror(errno); }

}  // namespace

LogFollower::LogFollower(std::filesystem::path log, std::optional<std::filesystem::path> spool,
                         SessionSink& sink)
    : m_log(std::move(log)), m_sink(sink), m_spoolChecked(!spool), m_buffer(kBlockSize, '\0') {
    if (spool) m_spool.emplace(std::move(*spool));
}

LogCheck LogFollower::check() {
    LogCheck check;
    const PathState path = lookAtPath(check);
    if (path == PathState::Unknown) return check;  // nothing can be told: all stays as it is
    if (m_file && path != PathState::Same) {
        (void)copyNew(check);  // what the old file gained before it went
        endSession();
        m_file.reset();
    }
    if (path == PathState::Gone) {
        endSession();
        return check;
    }
    if (!m_file && !openLog(check)) return check;
    if (!m_spoolChecked && !takeUpSpool(check)) return check;
    if (!copyNew(check)) {
        endSession();
        (void)copyNew(check);
    }
    return check;
}

void LogFollower::endSession() {
    if (!m_spool) return;
    if (!m_spoolChecked) (void)m_spool->resume();  // only its length is needed now
    // A final spool is on the disk before anything is done with it.
    (void)m_spool->sync();
    m_sink.endSession(m_log, m_spool->path(), m_spool->size());
    m_spool.reset();
    m_spoolChecked = true;
}

std::error_code LogFollower::sync() const { return m_spool ? m_spool->sync() : std::error_code{}; }

LogFollower::PathState LogFollower::lookAtPath(LogCheck& check) const {
    struct stat status {};
    if (::stat(m_log.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return PathState::Gone;
        check.problem = lastReason();
        return PathState::Unknown;
    }
    if (!S_ISREG(status.st_mode)) {
        check.problem = S_ISDIR(status.st_mode) ? "it is a folder" : "it is not a regular file";
        return PathState::Gone;
    }
    const bool same = m_file && status.st_dev == m_device && status.st_ino == m_inode;
    return same ? PathState::Same : PathState::Other;
}

bool LogFollower::openLog(LogCheck& check) {
    // Not blocking, so that a pipe put in the log's place cannot hold the recorder.
    FileDescriptor file(::open(m_log.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!file || ::fstat(file.get(), &status) != 0) {
        check.problem = lastReason();
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        check.problem = "it is not a regular file";
        return false;
    }
    m_file = std::move(file);
    m_device = status.st_dev;
    m_inode = status.st_ino;
    return true;
}

bool LogFollower::takeUpSpool(LogCheck& check) {
    const std::string spool = "cannot read '" + m_spool->path().string() + "': ";
    if (const std::error_code error = m_spool->resume()) {
        check.problem = spool + error.message();
        return false;
    }
    std::error_code error;
    const bool continued = m_spool->beginsLog(m_file.get(), error);
    if (error) {
        check.problem = spool + error.message();
        return false;
    }
    m_spoolChecked = true;
    if (!continued) endSession();
    return true;
}

bool LogFollower::continuesSpool(LogCheck& check) const {
    if (!m_spool) return true;
    struct stat status {};
    if (::fstat(m_file.get(), &status) != 0) {
        check.problem = lastReason();
        return true;  // the read that follows fails as well and copies nothing
    }
    if (static_cast<std::uint64_t>(status.st_size) < m_spool->size()) return false;
    std::error_code error;
    const bool same = m_spool->endsLikeLog(m_file.get(), error);
    if (error) check.problem = error.message();
    return same || error;
}

bool LogFollower::copyNew(LogCheck& check) {
    if (!continuesSpool(check)) return false;
    std::uint64_t offset = m_spool ? m_spool->size() : 0;
    while (check.copied < kLookLimit) {
        const long long got = readAt(m_file.get(), m_buffer.data(), m_buffer.size(), offset);
        if (got < 0) {
            check.problem = "cannot read it: " + lastReason();
            return true;
        }
        if (got == 0) return true;
        if (!m_spool) {
            auto path = m_sink.beginSession(m_log);
            if (!path) {
                check.problem = "its new session has no spool yet";
                return true;
            }
            m_spool.emplace(std::move(*path));
        }
        const std::error_code error =
            m_spool->append(std::string_view(m_buffer.data(), static_cast<std::size_t>(got)));
        check.copied += m_spool->size() - offset;
        offset = m_spool->size();
        if (error) {
            check.problem = "cannot write '" + m_spool->path().string() + "': " + error.message();
            return true;
        }
    }
    check.more = true;
    return true;
}

}  // namespace zefa::record
