#pragma once

#include <cstddef>
#include <cstdint>
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
//
// The matches, most of its bytes, are kept in a file of their own that later
// matches are added to: a league's site after one new match writes a few
// megabytes, not 80. The season's file names the matches file it goes with
// and how much of it is its own, so a run cut short after adding matches
// leaves a cache that reads as it was.
class SiteSeasonCache {
public:
    static constexpr std::string_view kFileName = ".zefastats-season";
    static constexpr std::string_view kMatchesFileName = ".zefastats-season-matches";

    explicit SiteSeasonCache(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // The change number the kept season was read at, from its first bytes
    // alone: none when there is no cache of this form.
    [[nodiscard]] std::optional<std::int64_t> changeSeq() const;
    // The season in the folder's cache, none when there is no sound one.
    [[nodiscard]] std::optional<SiteSeason> read();
    // Replaces the folder's cache with `season` (its matches kept whole
    // aside); false when it could not be written, and then none is left. A
    // season that advance() brought up to date from the one read() gave has
    // its new matches added to those kept.
    bool write(const SiteSeason& season);
    // Leaves the folder without a cache.
    void remove();

private:
    // The matches file that read() found sound, and how much of it is the season's.
    struct KeptMatches {
        std::uint64_t identity = 0;
        std::size_t count = 0;
        std::uint64_t length = 0;
    };

    [[nodiscard]] std::filesystem::path path(std::string_view name) const {
        return m_folder / name;
    }
    [[nodiscard]] std::optional<KeptMatches> writeMatches(const SiteSeason& season);
    [[nodiscard]] std::optional<KeptMatches> addMatches(const SiteSeason& season,
                                                        const KeptMatches& kept);

    std::filesystem::path m_folder;
    std::optional<KeptMatches> m_kept;
};

}  // namespace zefa::site
