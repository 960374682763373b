#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zefa::desktop {

// The File menu's list of recently saved pages, newest first.
class RecentFileList {
public:
    static constexpr std::size_t kMaxEntries = 4;

    RecentFileList() = default;
    // Empty names are skipped, duplicates and entries beyond the limit dropped.
    explicit RecentFileList(const std::vector<std::string>& entries);

    // Puts the path first; an earlier entry of the same path moves up with it.
    void add(const std::string& path);
    void remove(const std::string& path);
    [[nodiscard]] const std::vector<std::string>& entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

}  // namespace zefa::desktop
