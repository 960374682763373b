#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "site/SiteSeason.h"

namespace zefa::site {

// The season a site was last made from, kept in its folder so that the next
// update reads from the store only what changed since (advance(),
// SeasonStore::readChanges): a league's season takes seconds to read from the
// store, its cache a fraction of one. The site's own bookkeeping, like its
// record: never listed, served or removed as a site's file. A cache that is
// missing, of another form or not whole is not used; the store is read.
class SiteSeasonCache {
public:
    static constexpr std::string_view kFileName = ".zefastats-season";

    // Replaces the folder's cache with `season` (its matches kept whole
    // aside); false when it could not be written, and then none is left.
    static bool write(const std::filesystem::path& folder, const SiteSeason& season);
    // The season in the folder's cache, none when there is no sound one.
    [[nodiscard]] static std::optional<SiteSeason> read(const std::filesystem::path& folder);
    // Leaves the folder without a cache.
    static void remove(const std::filesystem::path& folder);
};

}  // namespace zefa::site
