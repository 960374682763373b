#include "site/SiteRecord.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>
#include <vector>

#include "site/SitePaths.h"

namespace zefa::site {

std::optional<std::string> SiteRecord::readText(const std::filesystem::path& folder) {
    std::ifstream in(folder / kFileName, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<SiteRecord> SiteRecord::read(const std::filesystem::path& folder) {
    const std::optional<std::string> text = readText(folder);
    if (!text) return std::nullopt;
    SiteRecord record;
    forEachFile(*text, [&record](std::string_view page, std::string_view fingerprint) {
        record.add(page, fingerprint);
        return true;
    });
    return record;
}

bool SiteRecord::isFileOfASite(std::string_view page) { return isSiteFile(page); }

void SiteRecord::add(std::string_view page, std::string_view fingerprint) {
    if (const auto found = m_files.find(page); found != m_files.end()) {
        if (found->second != fingerprint) found->second = keep(fingerprint);
    } else {
        const std::string_view kept = keep(page);
        m_files.emplace(kept, keep(fingerprint));
    }
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

bool SiteRecord::lists(std::string_view page) const { return m_files.find(page) != m_files.end(); }

std::string_view SiteRecord::fingerprint(std::string_view page) const {
    const auto found = m_files.find(page);
    return found == m_files.end() ? std::string_view() : std::string_view(found->second);
}

void SiteRecord::write(std::ostream& out) const { writeWith(out, SiteRecord()); }

void SiteRecord::writeWith(std::ostream& out, const SiteRecord& other) const {
    std::vector<const Files::value_type*> lines;
    lines.reserve(m_files.size() + other.m_files.size());
    for (const auto& file : m_files) lines.push_back(&file);
    for (const auto& file : other.m_files)
        if (!lists(file.first)) lines.push_back(&file);
    std::sort(lines.begin(), lines.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    for (const auto* line : lines) out << line->first << '\t' << line->second << '\n';
}

}  // namespace zefa::site
