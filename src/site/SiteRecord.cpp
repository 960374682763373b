#include "site/SiteRecord.h"

#include <algorithm>
#include <fstream>
#include <iterator>
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

std::string SiteRecord::text() const { return textWith(SiteRecord()); }

std::string SiteRecord::textWith(const SiteRecord& other) const {
    std::vector<const Files::value_type*> lines;
    lines.reserve(m_files.size() + other.m_files.size());
    std::size_t size = 0;
    const auto take = [&](const Files::value_type& file) {
        lines.push_back(&file);
        size += file.first.size() + file.second.size() + 2;
    };
    for (const auto& file : m_files) take(file);
    for (const auto& file : other.m_files)
        if (!lists(file.first)) take(file);
    std::sort(lines.begin(), lines.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    std::string text;
    text.reserve(size);
    for (const auto* line : lines) {
        text += line->first;
        text += '\t';
        text += line->second;
        text += '\n';
    }
    return text;
}

}  // namespace zefa::site
