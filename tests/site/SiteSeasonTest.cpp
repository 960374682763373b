#include <gtest/gtest.h>

#include "site/SitePages.h"
#include "site/SiteSeason.h"

namespace zefa::site {
namespace {

using season::SeasonMatch;

// `count` matches of one player each, handed to the sink; the ids of the
// matches it keeps whole.
std::vector<std::int64_t> wholeIds(std::size_t count, const SiteSeasonSink::KeepWhole& wanted) {
    SiteSeasonSink sink(wanted);
    for (std::size_t id = 1; id <= count; ++id) {
        SeasonMatch match;
        match.id = std::int64_t(id);
        season::MatchPlayer player;
        player.key = "key" + std::to_string(id % 3);
        player.name = "name";
        player.awards = {2, 5};
        match.players.push_back(player);
        sink.match(std::move(match));
    }
    const SiteSeason season = sink.take(7);
    EXPECT_EQ(season.keys.size(), std::min<std::size_t>(count, 3));
    EXPECT_EQ(season.names, std::vector<std::string>{"name"});
    EXPECT_EQ(season.matches.back().players.front().awardSet, 0b100100u);
    std::vector<std::int64_t> ids;
    for (const SeasonMatch& match : season.wholeMatches) ids.push_back(match.id);
    return ids;
}

TEST(SiteSeasonTest, KeepsEveryMatchWholeForTheJsonElseThoseAskedForWhileAPageHoldsThem) {
    const auto even = [](const SeasonMatch& match) { return match.id % 2 == 0; };
    EXPECT_EQ(wholeIds(kListPageRows, even).size(), kListPageRows);
    const auto some = wholeIds(kListPageRows + 50, even);
    ASSERT_EQ(some.size(), (kListPageRows + 50) / 2);
    EXPECT_EQ(some.front(), 2);
    EXPECT_EQ(some.back(), std::int64_t(kListPageRows + 50));
    // Too many to keep: the reader reads them again instead.
    EXPECT_TRUE(wholeIds(3 * kListPageRows, even).empty());
    EXPECT_TRUE(wholeIds(kListPageRows + 1, {}).empty());
}

}  // namespace
}  // namespace zefa::site
