#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

    SiteRecord() = default;
    // Moved, never copied: its files are views of its own blocks of text.
    SiteRecord(SiteRecord&&) = default;
    SiteRecord& operator=(SiteRecord&&) = default;
    SiteRecord(const SiteRecord&) = delete;
    SiteRecord& operator=(const SiteRecord&) = delete;

    // The record in `folder`, or nothing when the folder holds none. Lines
    // that name no file of a site's shape are left out: the record is a file
    // like any other and could be made to name files elsewhere.
    [[nodiscard]] static std::optional<SiteRecord> read(const std::filesystem::path& folder);
    // When the record in `folder` was last written, if there is one.
    [[nodiscard]] static std::optional<std::filesystem::file_time_type> writtenAt(
        const std::filesystem::path& folder);
    // The same of a record's text, which it keeps.
    [[nodiscard]] static SiteRecord fromText(std::string text);
    // The record's text in `folder`, or nothing when there is none.
    [[nodiscard]] static std::optional<std::string> readText(const std::filesystem::path& folder);
    // Each file of a record's text with its fingerprint, as read() takes
    // them, until `take` returns false; without making the record.
    template <typename Take>
    static void forEachFile(std::string_view text, Take take);

    // Records the file, or its new fingerprint.
    void add(std::string_view page, std::string_view fingerprint = {});
    [[nodiscard]] bool lists(std::string_view page) const;
    // The fingerprint recorded with the page; empty when there is none.
    [[nodiscard]] std::string_view fingerprint(std::string_view page) const;

    // A file and its fingerprint: views of the record's own text.
    using File = std::pair<std::string_view, std::string_view>;
    // Every file once, in order of path.
    [[nodiscard]] const std::vector<File>& files() const;
    // Writes the record as its file holds it, ordered by path, a line at a
    // time (hundreds of thousands in a long season).
    void write(std::ostream& out) const;
    // The same with the files of `other` too, the fingerprints of this one
    // kept; without making the record of both.
    void writeWith(std::ostream& out, const SiteRecord& other) const;

private:
    [[nodiscard]] static bool isFileOfASite(std::string_view page);

    // The text kept in the record's own blocks, which never move: a long
    // season's site has hundreds of thousands of paths, each in a string of
    // its own would take twice the memory.
    std::string_view keep(std::string_view text);
    // Puts the files added since it was last in order into order, the
    // fingerprint added last kept for each.
    void settle() const;

    // In order of path up to `m_settled`, as added after it. Kept in order
    // rather than hashed: a record read from its file comes in order, and a
    // run adds its files before it looks any up.
    mutable std::vector<File> m_files;
    mutable std::size_t m_settled = 0;
    std::vector<std::string> m_text;  // blocks, each filled up to its capacity at most
};

template <typename Take>
void SiteRecord::forEachFile(std::string_view text, Take take) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || !isFileOfASite(line.substr(0, tab))) continue;
        if (!take(line.substr(0, tab), line.substr(tab + 1))) return;
    }
}

}  // namespace zefa::site
