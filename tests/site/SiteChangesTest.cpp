#include <gtest/gtest.h>

#include <cstdio>

#include "site/SiteChanges.h"
#include "site/SitePages.h"

namespace zefa::site {
namespace {

using season::SeasonPlayer;

// The inputs of every page of the leaderboard and of the player list.
std::vector<std::string> listInputs(const season::SeasonSnapshot& snapshot) {
    const SiteSeason season = siteSeason(snapshot);
    const SitePages pages(season, {});
    const std::optional<SiteRecord> none;
    const SiteChanges changes(none, season, SiteOptions());
    std::vector<std::string> inputs;
    for (std::size_t n = 1; n <= pages.leaderboardPages(); ++n)
        inputs.push_back(changes.leaderboardPage(pages.leaders(), n));
    for (std::size_t n = 1; n <= listPages(season.players.size()); ++n)
        inputs.push_back(changes.playerListPage(n));
    return inputs;
}

// The pages of the two lists whose inputs differ between the seasons.
std::vector<std::size_t> differing(const season::SeasonSnapshot& before,
                                   const season::SeasonSnapshot& after) {
    const std::vector<std::string> a = listInputs(before), b = listInputs(after);
    std::vector<std::size_t> pages;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i]) pages.push_back(i);
    return pages;
}

// A page of either list is made again when a player it shows changed, or its
// order or length did: not at every change to the season, as a new match
// reaches a few players of a league's thousands.
TEST(SiteChangesTest, AListPageIsReachedByThePlayersItShows) {
    season::SeasonSnapshot season;
    for (int n = 0; n <= 2 * int(kListPageRows); ++n) {  // 3 pages of each list
        SeasonPlayer player;
        char key[8];
        std::snprintf(key, sizeof key, "p%04d", n);
        player.key = player.name = key;
        player.matches = 5;
        player.changeSeq = 10;
        player.rating.mu = 5000.0 - n;
        season.players.push_back(player);
    }
    season.changeSeq = 10;
    ASSERT_EQ(listInputs(season).size(), 6u);

    season::SeasonSnapshot later = season;
    later.changeSeq = 11;
    EXPECT_EQ(differing(season, later), std::vector<std::size_t>());
    later.players[300].changeSeq = 11;  // leaderboard page 2, player list page 2
    EXPECT_EQ(differing(season, later), (std::vector<std::size_t>{1, 4}));
    later.players[300].rating.mu = 6000;  // now first: every place moves down one
    EXPECT_EQ(differing(season, later), (std::vector<std::size_t>{0, 1, 4}));
    later.players.pop_back();  // a page less of each list: every page's links change
    EXPECT_EQ(differing(season, later), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace zefa::site
