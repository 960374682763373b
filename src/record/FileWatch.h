#pragma once

#include <filesystem>
#include <string>

#include "record/FileDescriptor.h"

namespace zefa::record {

// Tells the recorder when something changed in the folders of its logs, with
// Linux's inotify. Each log's folder is watched rather than the log itself,
// so that a log made again, replaced by a rename or removed is seen too.
// Without inotify (not asked for, or not available) there is nothing to
// wait on and the recorder looks at its logs on its own clock.
class FileWatch {
public:
    // A watch with inotify; an inactive one with the reason when the system
    // has none to give.
    [[nodiscard]] static FileWatch withInotify(std::string& whyNot);
    // Watches nothing: the recorder polls.
    [[nodiscard]] static FileWatch none() { return FileWatch(FileDescriptor()); }

    [[nodiscard]] bool active() const { return static_cast<bool>(m_inotify); }
    // Readable when something changed; -1 when inactive.
    [[nodiscard]] int descriptor() const { return m_inotify.get(); }

    // Watches the folder that holds `log` (and, when `log` is a link, the
    // folder of its target); false when it cannot be watched now.
    [[nodiscard]] bool watchFolderOf(const std::filesystem::path& log);
    // Reads what changed; false when a watched folder went away (removed,
    // moved or unmounted), so that the folders must be watched again.
    [[nodiscard]] bool drain();

private:
    explicit FileWatch(FileDescriptor inotify) : m_inotify(std::move(inotify)) {}

    FileDescriptor m_inotify;
};

}  // namespace zefa::record
