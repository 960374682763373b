#include "record/FileWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace zefa::record {

namespace {

// Changes of the files in the folder (written, emptied, made, removed,
// renamed in or out, their permissions) and of the folder itself.
constexpr std::uint32_t kFolderEvents = IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                        IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                        IN_MOVE_SELF | IN_ONLYDIR;
// The watch is gone or watches a folder that is no longer at its path.
constexpr std::uint32_t kWatchLost = IN_IGNORED | IN_UNMOUNT | IN_DELETE_SELF | IN_MOVE_SELF;

}  // namespace

FileWatch FileWatch::withInotify(std::string& whyNot) {
    FileDescriptor inotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!inotify) whyNot = std::strerror(errno);
    return FileWatch(std::move(inotify));
}

bool FileWatch::watchFolderOf(const std::filesystem::path& log) {
    const auto watch = [this](const std::filesystem::path& folder) {
        return ::inotify_add_watch(m_inotify.get(), folder.c_str(), kFolderEvents) >= 0;
    };
    bool watched = watch(log.parent_path());
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(log, error);
    if (!error && target.parent_path() != log.parent_path())
        watched = watch(target.parent_path()) && watched;
    return watched;
}

bool FileWatch::drain() {
    alignas(inotify_event) std::array<char, 16 * 1024> buffer{};
    bool kept = true;
    for (;;) {
        const ssize_t got = ::read(m_inotify.get(), buffer.data(), buffer.size());
        if (got <= 0) return kept;  // all read (EAGAIN)
        for (ssize_t at = 0; at < got;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            if (event.mask & kWatchLost) kept = false;
            // A moved folder's watch would go on reporting from its new place.
            if (event.mask & IN_MOVE_SELF) ::inotify_rm_watch(m_inotify.get(), event.wd);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
        }
    }
}

}  // namespace zefa::record
