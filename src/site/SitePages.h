#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "season/SeasonSnapshot.h"
#include "site/SiteSeason.h"

namespace zefa::site {

// What the site's own pages show besides the season itself.
struct SiteLook {
    std::string title = "Season";  // may carry colour codes
    std::int32_t minMatches = 5;   // leaderboard gate
};

// Rows of one page of a long list (the match list, a player's matches, the
// leaderboard, every player).
inline constexpr std::size_t kListPageRows = 250;

// How many numbered pages a list of `rows` takes beyond its first page: none
// while that page holds them all. Page n holds the n-th kListPageRows rows in
// played order, so a row keeps its page as newer ones arrive.
[[nodiscard]] std::size_t listPages(std::size_t rows);

// Whether the site holds the season's whole JSON (season.json, the document
// `season export` writes): while one page of the match list holds its
// matches. Beyond that it holds the data files alone (SiteData), and the
// pages lead to their index.
[[nodiscard]] bool keepsSeasonJson(std::size_t matches);

// The site's pages apart from the match pages, made from the templates under
// resources/site. Every text from a log reaches a page through the page
// writer's escaping code. The season must outlive this object.
class SitePages {
public:
    SitePages(const SiteSeason& season, SiteLook look);

    // The leaderboard and every player, while one page holds each list;
    // else the leaderboard's top page and the way to the pages of both.
    [[nodiscard]] std::string index() const;
    // Page `number` (from 1) of the leaderboard, places going on from page to
    // page, and of every player by key, beyond one page (listPages).
    [[nodiscard]] std::size_t leaderboardPages() const { return listPages(m_leaders.size()); }
    // The leaderboard's players, by shown rating, best first.
    [[nodiscard]] const std::vector<const season::SeasonPlayer*>& leaders() const {
        return m_leaders;
    }
    [[nodiscard]] std::string leaderboardPage(std::size_t number) const;
    [[nodiscard]] std::string playerListPage(std::size_t number) const;
    // The latest matches: all of them while one page holds them, else the
    // matches of the last of the match list's pages, which lists them all.
    [[nodiscard]] std::string matchList() const;
    // Page `number` of the match list (listPages).
    [[nodiscard]] std::string matchListPage(std::size_t number) const;
    // The season's page of the season's match at `index`: the way to the
    // rest of the season (its players, the matches before and after) above
    // the match page itself, shown as it is in a frame.
    [[nodiscard]] std::string match(std::size_t index) const;
    // The page of the season's player at `index`: the player's latest
    // matches as matchList() shows the season's, the others on pages of
    // their own numbered as the list's.
    [[nodiscard]] std::string player(std::size_t index) const;
    [[nodiscard]] std::string playerMatchPage(std::size_t index, std::size_t number) const;

private:
    struct Rival {
        std::string key;
        std::int32_t count = 0;
    };
    using Appearance = std::pair<std::uint32_t, std::uint32_t>;  // match's index, player's in it

    [[nodiscard]] const std::vector<Appearance>& appearances(std::string_view key) const;

    const SiteSeason& m_season;
    SiteLook m_look;
    std::unordered_map<std::string, const season::SeasonPlayer*> m_byKey;
    std::vector<const season::SeasonPlayer*> m_leaders;  // by shown rating, best first
    // By key number (SiteSeason::keys): made for every player at once, and
    // a league's season has a million appearances.
    std::unordered_map<std::string_view, std::uint32_t> m_keyNumbers;
    std::vector<std::vector<Appearance>> m_appearances;  // in season order
    std::vector<Rival> m_nemesis;                        // by the victim's
};

// The site's style sheet: the built-in theme's own style, then the season's
// additions.
[[nodiscard]] std::string styleSheet(std::string_view builtInTheme);

}  // namespace zefa::site
