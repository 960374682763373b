#include "desktop/core/RecentFileList.h"

#include <algorithm>
#include <ranges>

namespace zefa::desktop {

RecentFileList::RecentFileList(const std::vector<std::string>& entries) {
    // Adding the oldest first leaves the newest in front.
    for (const std::string& entry : std::views::reverse(entries))
        if (!entry.empty()) add(entry);
}

void RecentFileList::add(const std::string& path) {
    remove(path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > kMaxEntries) m_entries.resize(kMaxEntries);
}

void RecentFileList::remove(const std::string& path) { std::erase(m_entries, path); }

}  // namespace zefa::desktop
