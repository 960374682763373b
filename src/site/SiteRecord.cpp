#include "site/SiteRecord.h"

#include <fstream>

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
    m_files.insert_or_assign(std::string(page), std::string(fingerprint));
}

bool SiteRecord::lists(std::string_view page) const { return m_files.find(page) != m_files.end(); }

std::string_view SiteRecord::fingerprint(std::string_view page) const {
    const auto found = m_files.find(page);
    return found == m_files.end() ? std::string_view() : std::string_view(found->second);
}

std::string SiteRecord::text() const {
    std::string text;
    for (const auto& [page, fingerprint] : m_files) text += page + "\t" + fingerprint + "\n";
    return text;
}

}  // namespace zefa::site
