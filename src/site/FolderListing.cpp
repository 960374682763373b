#include "site/FolderListing.h"

#include <dirent.h>

#include <algorithm>
#include <memory>

#include "site/SitePaths.h"

namespace zefa::site {

std::vector<std::string> siteFolders() {
    const std::string data(kDataFolder);
    return {"",
            std::string(kPlayerFolder),
            std::string(kMatchFolder),
            data,
            data + "/" + std::string(kPlayerFolder),
            data + "/" + std::string(kMatchFolder)};
}

FolderListing::FolderListing(const std::filesystem::path& folder) {
    // Kept in one string and looked up by halves: a set of as many strings
    // costs more to make and to free than the whole lookup.
    std::vector<std::size_t> ends;
    for (const std::string& sub : siteFolders()) {
        const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir((folder / sub).c_str()),
                                                          closedir);
        while (const dirent* entry = listing ? readdir(listing.get()) : nullptr) {
            if (!sub.empty()) m_names += sub + "/";
            m_names += entry->d_name;
            ends.push_back(m_names.size());
        }
    }
    m_files.reserve(ends.size());
    std::size_t begin = 0;
    for (const std::size_t end : ends) {
        m_files.emplace_back(m_names.data() + begin, end - begin);
        begin = end;
    }
    std::ranges::sort(m_files);
}

bool FolderListing::contains(std::string_view file) const {
    return std::ranges::binary_search(m_files, file);
}

bool FolderListing::containsNext(std::string_view file, std::size_t& at) const {
    while (at < m_files.size() && m_files[at] < file) ++at;
    return at < m_files.size() && m_files[at] == file;
}

}  // namespace zefa::site
