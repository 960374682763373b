#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zefa::site {

// The site's folders within its folder: the top one ("") first.
[[nodiscard]] std::vector<std::string> siteFolders();

// The files in the site's folders, named as the site's record names them
// ("index.html", "players/viper.html"). Listed once with readdir rather than
// each file looked up: a league's site holds hundreds of thousands of them.
class FolderListing {
public:
    explicit FolderListing(const std::filesystem::path& folder);
    FolderListing(const FolderListing&) = delete;  // its views point into itself
    FolderListing& operator=(const FolderListing&) = delete;

    [[nodiscard]] bool contains(std::string_view file) const;
    // The same for files asked in ascending order, from where the last one
    // was found (`at`, from 0): a walk through the listing, not a search.
    [[nodiscard]] bool containsNext(std::string_view file, std::size_t& at) const;

private:
    std::string m_names;                  // every name, one after the other
    std::vector<std::string_view> m_files;  // into m_names, sorted
};

}  // namespace zefa::site
