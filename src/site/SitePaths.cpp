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
constexpr std::string_view kJson = ".json";
constexpr std::string_view kSeasonSuffix = "-season";

// The stem of `page` when it is FOLDER/STEM.EXTENSION (no folder: STEM.EXTENSION).
std::optional<std::string_view> stemIn(std::string_view page, std::string_view folder,
                                       std::string_view extension = kHtml) {
    if (!folder.empty()) {
        if (!page.starts_with(folder) || page.size() <= folder.size() || page[folder.size()] != '/')
            return std::nullopt;
        page.remove_prefix(folder.size() + 1);
    }
    if (!page.ends_with(extension) || page.find('/') != std::string_view::npos) return std::nullopt;
    return page.substr(0, page.size() - extension.size());
}

bool onlyOf(std::string_view text, std::string_view allowed) {
    return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kStemBytes = "abcdefghijklmnopqrstuvwxyz0123456789_";

// The stem without a "-N" page number.
std::string_view withoutNumber(std::string_view stem) {
    const std::size_t dash = stem.rfind('-');
    return dash != std::string_view::npos && onlyOf(stem.substr(dash + 1), kDigits)
               ? stem.substr(0, dash)
               : stem;
}

// The file's stem of a player key: see playerPagePath.
std::string playerStem(std::string_view key) {
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
    return stem;
}

std::string dataPath(std::string_view folder, std::string_view stem) {
    return std::string(kDataFolder) + "/" + std::string(folder) + "/" + std::string(stem) +
           std::string(kJson);
}

}  // namespace

std::string playerPagePath(std::string_view key) {
    return std::string(kPlayerFolder) + "/" + playerStem(key) + std::string(kHtml);
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

std::string matchDataPath(std::int64_t id) { return dataPath(kMatchFolder, std::to_string(id)); }

std::string playerDataPath(std::string_view key) {
    return dataPath(kPlayerFolder, playerStem(key));
}

std::string matchListDataPath(std::size_t number) {
    return std::string(kDataFolder) + "/" + std::string(kMatchFolder) + "-" +
           std::to_string(number) + std::string(kJson);
}

bool isSitePage(std::string_view page) {
    for (const std::string_view fixed :
         {kIndexPage, kMatchListPage, kStyleSheet, kSeasonJson, kDataIndex, kPlayerListData})
        if (page == fixed) return true;
    // A further page of a list: STEM-N.html, or of the match list's data.
    const auto numbered = [](std::optional<std::string_view> stem, std::string_view list) {
        return stem && withoutNumber(*stem) != *stem && withoutNumber(*stem) == list;
    };
    for (const std::string_view list : {kMatchListPage, kLeaderboardPage, kPlayerListPage})
        if (numbered(stemIn(page, ""), list.substr(0, list.size() - kHtml.size()))) return true;
    if (numbered(stemIn(page, kDataFolder, kJson), kMatchFolder)) return true;
    if (const auto stem = stemIn(page, kPlayerFolder))
        return onlyOf(withoutNumber(*stem), kStemBytes);
    if (const auto stem =
            stemIn(page, std::string(kDataFolder) + "/" + std::string(kPlayerFolder), kJson))
        return onlyOf(*stem, kStemBytes);
    if (const auto stem =
            stemIn(page, std::string(kDataFolder) + "/" + std::string(kMatchFolder), kJson))
        return onlyOf(*stem, kDigits);
    auto stem = stemIn(page, kMatchFolder);
    if (stem && stem->ends_with(kSeasonSuffix)) stem->remove_suffix(kSeasonSuffix.size());
    return stem && onlyOf(*stem, kDigits);
}

bool isSiteFile(std::string_view file) {
    if (!file.ends_with(kGzipSuffix)) return isSitePage(file);
    file.remove_suffix(kGzipSuffix.size());
    const auto stem = stemIn(file, kMatchFolder);
    return stem && onlyOf(*stem, "0123456789");
}

bool countsAsPage(std::string_view file) {
    return file.ends_with(".html") || file.ends_with(".html.gz");
}

}  // namespace zefa::site
