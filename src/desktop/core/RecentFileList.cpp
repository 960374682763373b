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
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
}

void RecentFileList::remove(const std::string& path) { std::erase(entries_, path); }

}  // namespace zefa::desktop
