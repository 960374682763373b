#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zefa::site {

// The site's folders within its folder: the top one ("") first.
[[nodiscard]] std::vector<std::string> siteFolders();

// The files in the site's folders, named as the site's record names them
// ("index.html", "players/viper.html"). Listed once with readdir rather than
// each file looked up: a league's site holds hundreds of thousands of them.
//
// With `recordWritten`, the time the site's record was last written, a folder
// below the top one that no file has come into or gone from since (its
// modification time is earlier) is not listed: it holds the files the record
// names, and any other is looked up when asked for. A site's run writes its
// record after its pages, so a run after one that added a match lists none
// of the large folders.
class FolderListing {
public:
    explicit FolderListing(const std::filesystem::path& folder,
                           std::optional<std::filesystem::file_time_type> recordWritten = {});
    FolderListing(const FolderListing&) = delete;  // its views point into itself
    FolderListing& operator=(const FolderListing&) = delete;

    [[nodiscard]] bool contains(std::string_view file) const;
    // The same for files of the record asked in ascending order, from where
    // the last one was found (`at`, from 0): a walk through the listing, not
    // a search.
    [[nodiscard]] bool containsNext(std::string_view file, std::size_t& at) const;

private:
    // Whether the file is in a folder that was not listed.
    [[nodiscard]] bool unlisted(std::string_view file) const;

    std::filesystem::path m_folder;
    std::vector<std::string> m_unlisted;    // folders, each with its "/"
    std::string m_names;                    // every name, one after the other
    std::vector<std::string_view> m_files;  // into m_names, sorted
};

}  // namespace zefa::site
