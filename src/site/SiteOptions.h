#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "awards/AwardTable.h"
#include "site/SitePages.h"

namespace zefa::site {

struct SiteOptions {
    SiteLook look;
    std::string builtInTheme;  // its style is the look of the season's own pages
    std::string matchTheme;    // the theme of the match pages
    std::array<bool, kAwardCount> awards{};
    std::optional<std::time_t> clock;  // of the match pages' date and time
    // Whether a folder that holds files of others and no earlier site may
    // take the site beside them (none of them may have a name of the site's).
    bool allowOtherFiles = false;
    // The window of the season (matches played at or after it) the pages show.
    std::optional<std::int64_t> since;
    // Keeps the match pages gzip-compressed ("matches/ID.html.gz"), for a
    // league's site served over HTTP; a site opened from disk needs them plain.
    bool gzipMatchPages = false;
    // Makes every page again, whatever the store says changed since the site
    // was made; only pages whose bytes change are written all the same.
    bool full = false;
    // The threads that make the files of the site at once; 0: one a core.
    unsigned threads = 0;
};

}  // namespace zefa::site
