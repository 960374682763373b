#include "site/SiteRecord.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <vector>

#include "site/SitePaths.h"

namespace zefa::site {

std::optional<std::string> SiteRecord::readText(const std::filesystem::path& folder) {
    std::ifstream in(folder / kFileName, std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    // In one read: a league's record is over 10 MB.
    std::string text(std::size_t(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(in.gcount()));
    return text;
}

std::optional<SiteRecord> SiteRecord::read(const std::filesystem::path& folder) {
    std::optional<std::string> text = readText(folder);
    if (!text) return std::nullopt;
    return fromText(std::move(*text));
}

std::optional<std::filesystem::file_time_type> SiteRecord::writtenAt(
    const std::filesystem::path& folder) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(folder / kFileName, error);
    return error ? std::nullopt : std::optional(time);
}

SiteRecord SiteRecord::fromText(std::string text) {
    SiteRecord record;
    // Its files are views of the text, kept as the first block: on the heap
    // however short, so that they stay where they are as blocks are added.
    text.reserve(64);
    const std::string_view kept = record.m_text.emplace_back(std::move(text));
    // Sized at once: a league's record has hundreds of thousands of lines.
    record.m_files.reserve(std::size_t(std::ranges::count(kept, '\n')) + 1);
    forEachFile(kept, [&record](std::string_view page, std::string_view fingerprint) {
        record.m_files.emplace_back(page, fingerprint);
        return true;
    });
    record.settle();
    return record;
}

bool SiteRecord::isFileOfASite(std::string_view page) { return isSiteFile(page); }

void SiteRecord::add(std::string_view page, std::string_view fingerprint) {
    // A file is often added twice in a row: written, then made from.
    if (m_files.size() > m_settled && m_files.back().first == page) {
        if (m_files.back().second != fingerprint) m_files.back().second = keep(fingerprint);
        return;
    }
    m_files.emplace_back(keep(page), keep(fingerprint));
}

std::string_view SiteRecord::keep(std::string_view text) {
    constexpr std::size_t kBlock = 1 << 16;
    if (text.empty()) return {};
    if (m_text.empty() || m_text.back().capacity() - m_text.back().size() < text.size()) {
        m_text.emplace_back();
        m_text.back().reserve(std::max(kBlock, text.size()));
    }
    std::string& block = m_text.back();
    const std::size_t at = block.size();
    block.append(text);  // within its capacity: the views of it stay
    return std::string_view(block).substr(at);
}

void SiteRecord::settle() const {
    if (m_settled == m_files.size()) return;
    const bool inOrder =
        std::adjacent_find(m_files.begin(), m_files.end(), [](const File& a, const File& b) {
            return a.first >= b.first;
        }) == m_files.end();
    if (!inOrder) {
        std::stable_sort(m_files.begin(), m_files.end(),
                         [](const File& a, const File& b) { return a.first < b.first; });
        // Of the same page, the last added.
        auto kept = m_files.begin();
        for (auto at = m_files.begin(); at != m_files.end(); ++at) {
            if (std::next(at) != m_files.end() && std::next(at)->first == at->first) continue;
            *kept++ = *at;
        }
        m_files.erase(kept, m_files.end());
    }
    m_settled = m_files.size();
}

const std::vector<SiteRecord::File>& SiteRecord::files() const {
    settle();
    return m_files;
}

bool SiteRecord::lists(std::string_view page) const {
    settle();
    return std::ranges::binary_search(m_files, page, {}, &File::first);
}

std::string_view SiteRecord::fingerprint(std::string_view page) const {
    settle();
    const auto found = std::ranges::lower_bound(m_files, page, {}, &File::first);
    return found != m_files.end() && found->first == page ? found->second : std::string_view();
}

void SiteRecord::write(std::ostream& out) const { writeWith(out, SiteRecord()); }

// Both records' files merged in order of path, this one's where both have a
// file: a long season's record comes in order, and a run that looks at a few
// files adds only those.
void SiteRecord::writeWith(std::ostream& out, const SiteRecord& other) const {
    const std::vector<File>& mine = files();
    const std::vector<File>& theirs = other.files();
    auto next = mine.begin();
    auto otherNext = theirs.begin();
    const auto put = [&out](const File& file) { out << file.first << '\t' << file.second << '\n'; };
    while (next != mine.end() || otherNext != theirs.end()) {
        if (otherNext == theirs.end() ||
            (next != mine.end() && next->first <= otherNext->first)) {
            if (otherNext != theirs.end() && next->first == otherNext->first) ++otherNext;
            put(*next++);
        } else {
            put(*otherNext++);
        }
    }
}

}  // namespace zefa::site
