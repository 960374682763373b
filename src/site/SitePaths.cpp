#include "site/SitePaths.h"

#include <algorithm>
#include <array>
#include <optional>

namespace zefa::site {

namespace {

// Names Windows keeps for devices, whatever the extension.
constexpr std::array<std::string_view, 22> kDeviceNames = {
    "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
    "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};

constexpr std::string_view kHtml = ".html";
constexpr std::string_view kSeasonSuffix = "-season";

// The stem of `page` when it is FOLDER/STEM.html.
std::optional<std::string_view> stemIn(std::string_view page, std::string_view folder) {
    if (!page.starts_with(folder) || page.size() <= folder.size() + 1 ||
        page[folder.size()] != '/' || !page.ends_with(kHtml))
        return std::nullopt;
    return page.substr(folder.size() + 1, page.size() - folder.size() - 1 - kHtml.size());
}

bool onlyOf(std::string_view text, std::string_view allowed) {
    return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

}  // namespace

std::string playerPagePath(std::string_view key) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string stem;
    for (const char byte : key) {
        const auto code = static_cast<unsigned char>(byte);
        if ((code >= 'a' && code <= 'z') || (code >= '0' && code <= '9')) {
            stem += byte;
        } else {
            stem += '_';
            stem += kHex[code >> 4];
            stem += kHex[code & 15];
        }
    }
    // A lone "_" never comes out of the encoding above: it marks the empty key
    // and a device name.
    if (stem.empty() ||
        std::find(kDeviceNames.begin(), kDeviceNames.end(), stem) != kDeviceNames.end())
        stem += '_';
    return std::string(kPlayerFolder) + "/" + stem + ".html";
}

std::string matchPagePath(std::int64_t id) {
    return std::string(kMatchFolder) + "/" + std::to_string(id) + std::string(kHtml);
}

std::string matchSeasonPagePath(std::int64_t id) {
    return std::string(kMatchFolder) + "/" + std::to_string(id) + std::string(kSeasonSuffix) +
           std::string(kHtml);
}

std::string listPagePath(std::string_view page, std::size_t number) {
    return std::string(page.substr(0, page.size() - kHtml.size())) + "-" + std::to_string(number) +
           std::string(kHtml);
}

bool isSitePage(std::string_view page) {
    for (const std::string_view fixed : {kIndexPage, kMatchListPage, kStyleSheet, kSeasonJson})
        if (page == fixed) return true;
    const auto withoutNumber = [](std::string_view stem) {
        const std::size_t dash = stem.rfind('-');
        return dash != std::string_view::npos && onlyOf(stem.substr(dash + 1), "0123456789")
                   ? stem.substr(0, dash)
                   : stem;
    };
    const std::string_view listStem = kMatchListPage.substr(0, kMatchListPage.size() - kHtml.size());
    if (page.ends_with(kHtml) && page.find('/') == std::string_view::npos &&
        withoutNumber(page.substr(0, page.size() - kHtml.size())) == listStem)
        return true;
    if (const auto stem = stemIn(page, kPlayerFolder))
        return onlyOf(withoutNumber(*stem), "abcdefghijklmnopqrstuvwxyz0123456789_");
    auto stem = stemIn(page, kMatchFolder);
    if (stem && stem->ends_with(kSeasonSuffix)) stem->remove_suffix(kSeasonSuffix.size());
    return stem && onlyOf(*stem, "0123456789");
}

bool isSiteFile(std::string_view file) {
    if (!file.ends_with(kGzipSuffix)) return isSitePage(file);
    file.remove_suffix(kGzipSuffix.size());
    const auto stem = stemIn(file, kMatchFolder);
    return stem && onlyOf(*stem, "0123456789");
}

}  // namespace zefa::site
