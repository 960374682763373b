#include "site/SiteRecord.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <vector>

#include "site/SitePaths.h"

namespace zefa::site {

std::optional<SiteRecord> SiteRecord::read(const std::filesystem::path& folder) {
    std::ifstream lines(folder / kFileName, std::ios::binary);
    if (!lines) return std::nullopt;
    SiteRecord record;
    std::string page, fingerprint;
    while (std::getline(lines, page, '\t') && std::getline(lines, fingerprint))
        if (isSiteFile(page)) record.add(page, fingerprint);
    return record;
}

void SiteRecord::add(std::string_view page, std::string_view fingerprint) {
    if (const auto found = m_files.find(page); found != m_files.end())
        found->second = fingerprint;
    else
        m_files.emplace(page, fingerprint);
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
