#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zefa::site {

// The record a site keeps in its folder of every file it wrote there, each
// with the inputs it was made from where its bytes cannot tell (a match page
// carries the time it was made). The site removes only files its record
// lists, so files of others in the folder are never touched. One line per
// file: its path in the folder, a tab, the fingerprint of its inputs (empty
// for the other files). Sites written before every file was recorded list
// their match pages only; those count as the site's all the same.
class SiteRecord {
public:
    static constexpr std::string_view kFileName = ".zefastats-site";

    // The record in `folder`, or nothing when the folder holds none. Lines
    // that name no file of a site's shape are left out: the record is a file
    // like any other and could be made to name files elsewhere.
    [[nodiscard]] static std::optional<SiteRecord> read(const std::filesystem::path& folder);

    void add(std::string_view page, std::string_view fingerprint = {});
    [[nodiscard]] bool lists(std::string_view page) const;
    // The fingerprint recorded with the page; empty when there is none.
    [[nodiscard]] std::string_view fingerprint(std::string_view page) const;
    [[nodiscard]] const std::map<std::string, std::string, std::less<>>& files() const {
        return m_files;
    }
    // The record as its file holds it.
    [[nodiscard]] std::string text() const;

private:
    std::map<std::string, std::string, std::less<>> m_files;  // page, fingerprint
};

}  // namespace zefa::site
