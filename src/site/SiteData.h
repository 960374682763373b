#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "season/SeasonSnapshot.h"
#include "site/SiteSeason.h"

namespace zefa::site {

// How many pages the match list's data takes: one for every kListPageRows
// matches, the n-th holding the n-th kListPageRows in played order, so a
// match keeps its page as newer ones arrive.
[[nodiscard]] std::size_t dataPages(std::size_t matches);

// The site's data: the season's JSON in small files (below data/), so that a
// new match changes a handful of them. A match's file holds the object the
// season's document lists for it, a player's file the player's object with
// the ids of its matches; the index, the player list and the match list's
// pages lead to them. The season must outlive this object.
class SiteData {
public:
    explicit SiteData(const SiteSeason& season);

    [[nodiscard]] std::string index() const;
    [[nodiscard]] std::string players() const;
    [[nodiscard]] std::string matchListPage(std::size_t number) const;
    [[nodiscard]] static std::string match(const season::SeasonMatch& match);
    // The season's player at `index`.
    [[nodiscard]] std::string player(std::size_t index) const;

private:
    const SiteSeason& m_season;
    std::unordered_map<std::string_view, std::uint32_t> m_keyNumbers;  // SiteSeason::keys
    std::vector<std::vector<std::int64_t>> m_matchIds;  // by key number, in played order
};

}  // namespace zefa::site
