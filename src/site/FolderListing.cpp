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

FolderListing::FolderListing(const std::filesystem::path& folder,
                             std::optional<std::filesystem::file_time_type> recordWritten)
    : m_folder(folder) {
    // Kept in one string and looked up by halves: a set of as many strings
    // costs more to make and to free than the whole lookup.
    std::vector<std::size_t> ends;
    for (const std::string& sub : siteFolders()) {
        std::error_code error;
        // Strictly earlier: a file gone in the same tick of the clock as
        // the record was written is not missed.
        if (recordWritten && !sub.empty() &&
            std::filesystem::last_write_time(folder / sub, error) < *recordWritten && !error) {
            m_unlisted.push_back(sub + "/");
            continue;
        }
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

bool FolderListing::unlisted(std::string_view file) const {
    const std::size_t slash = file.rfind('/');
    if (slash == std::string_view::npos) return false;
    const std::string_view sub = file.substr(0, slash + 1);
    return std::ranges::find(m_unlisted, sub) != m_unlisted.end();
}

bool FolderListing::contains(std::string_view file) const {
    std::error_code error;
    if (unlisted(file)) return std::filesystem::exists(std::filesystem::symlink_status(m_folder / file, error));
    return std::ranges::binary_search(m_files, file);
}

bool FolderListing::containsNext(std::string_view file, std::size_t& at) const {
    if (unlisted(file)) return true;
    while (at < m_files.size() && m_files[at] < file) ++at;
    return at < m_files.size() && m_files[at] == file;
}

}  // namespace zefa::site
