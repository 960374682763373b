#include "site/SitePages.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/ScratchDir.h"

namespace zefa::site {
namespace {

using season::MatchPlayer;
using season::SeasonMatch;
using season::SeasonPlayer;

std::string withoutTags(const std::string& html) {
    return std::regex_replace(html, std::regex("<[^>]*>"), "");
}

// Three matches: a flag game whose lines also took points from green, a ball
// game of four teams, and a flag game again.
class SitePagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        addMatch(4, {5, 2, -1, 0}, {{"ann", 10}, {"bob", 30}, {"gone", 20}});
        addMatch(7, {-2, -1, -3, 0}, {{"ann", 5}});
        addMatch(9, {1, 0, 0, -2}, {{"bob", 1}});
        for (const std::string key : {"ann", "bob"}) {
            SeasonPlayer player;
            player.key = key;
            player.name = "^1" + key;
            season.players.push_back(player);
        }
    }
    void addMatch(std::int64_t id, std::array<std::int32_t, 4> scores,
                  const std::vector<std::pair<std::string, std::int32_t>>& ranks) {
        SeasonMatch match;
        match.id = id;
        match.file = "qconsole.log";
        match.playedAt = 1772395200 + id * 3600;  // 2026-03-01 20:00 UTC and on
        match.teamScores = scores;
        for (const auto& [key, rank] : ranks) {
            MatchPlayer player;
            player.key = key;
            player.name = key;
            player.rank = rank;
            match.players.push_back(player);
        }
        season.matches.push_back(match);
    }
    SiteSeason slim() const { return siteSeason(season); }
    season::SeasonSnapshot season;
};

TEST_F(SitePagesTest, StyleSheetKeepsTheThemesLookButNotItsRulesOnDescendants) {
    const std::string style =
        styleSheet(test::readFile(std::filesystem::path(ZEFA_THEMES_DIR) / "default.thm"));
    EXPECT_NE(style.find(".color1 {\n  color: #ff5c5c;\n}"), std::string::npos);
    EXPECT_NE(style.find("@media print {"), std::string::npos);
    EXPECT_NE(style.find(".legend .suicide {"), std::string::npos);
    EXPECT_EQ(style.find(":has("), std::string::npos);
    EXPECT_EQ(style.find("<"), std::string::npos);
}

// A match is named by when it was played, its file second; its scores are
// those of the teams that played.
TEST_F(SitePagesTest, MatchesAreListedByWhenTheyWerePlayedWithTheTeamsThatPlayed) {
    const std::string list = SitePages(slim(), {}).matchList();
    const std::regex row(
        "<tr><td><a href=\"([^\"]+)\">([^<]+)</a></td><td class=\"file\">"
        "([^<]+)</td><td class=\"num\">(.*?)</td>");
    std::vector<std::string> rows;
    for (std::sregex_iterator it(list.begin(), list.end(), row), end; it != end; ++it)
        rows.push_back((*it)[1].str() + "|" + (*it)[2].str() + "|" + (*it)[3].str() + "|" +
                       withoutTags((*it)[4]));
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "matches/9-season.html|2026-03-02 05:00|qconsole.log|1 : 0",
                        "matches/7-season.html|2026-03-02 03:00|qconsole.log|-2 : -1 : -3",
                        "matches/4-season.html|2026-03-02 00:00|qconsole.log|5 : 2",
                    }));
}

// The season's page of a match: the match page in a frame, beneath the way
// to the matches before and after, the season and the players' pages (best
// first; a player the season does not show has no page).
TEST_F(SitePagesTest, AMatchsSeasonPageLeadsBackToTheSeason) {
    const SiteSeason kept = siteSeason(season);
    const SitePages pages(kept, {});
    const std::string first = pages.match(0);
    EXPECT_NE(first.find("<iframe class=\"match-frame\" src=\"4.html\""), std::string::npos);
    EXPECT_NE(first.find("<b>2026-03-02 00:00 UTC</b> <span class=\"file\">qconsole.log</span>"),
              std::string::npos);
    EXPECT_EQ(first.find("rel=\"prev\""), std::string::npos);
    EXPECT_NE(first.find("<a href=\"7-season.html\" rel=\"next\">"), std::string::npos);
    EXPECT_NE(first.find("Players: <a href=\"../players/bob.html\">bob</a> <span>gone</span> "
                         "<a href=\"../players/ann.html\">ann</a> </p>"),
              std::string::npos);
    EXPECT_NE(first.find("<a href=\"../index.html\">Leaderboard</a>"), std::string::npos);
    const std::string last = pages.match(2);
    EXPECT_NE(last.find("<a href=\"7-season.html\" rel=\"prev\">"), std::string::npos);
    EXPECT_EQ(last.find("rel=\"next\""), std::string::npos);
}

// Beyond one page, the match list and a player's matches go on in numbered
// pages that hold the same matches, and the same bytes, as newer ones arrive.
TEST_F(SitePagesTest, LongListsArePagedAndOldPagesStayAsTheyAre) {
    const auto longSeason = [this](std::int64_t matches) {
        season.matches.clear();
        for (std::int64_t id = 1; id <= matches; ++id) addMatch(id, {1, 0, 0, 0}, {{"ann", 1}});
        season.players[0].matches = static_cast<std::int32_t>(matches);
    };
    longSeason(std::int64_t(kListPageRows));
    EXPECT_EQ(listPages(season.matches.size()), 0U);
    EXPECT_EQ(SitePages(slim(), {}).matchList().find("pager"), std::string::npos);

    longSeason(2 * std::int64_t(kListPageRows) + 1);
    ASSERT_EQ(listPages(season.matches.size()), 3U);
    const SiteSeason keptBefore = siteSeason(season);
    const SitePages before(keptBefore, {});
    const std::string first = before.matchListPage(1);
    const std::string player = before.playerMatchPage(0, 1);
    EXPECT_NE(first.find("matches/250-season.html"), std::string::npos);
    EXPECT_EQ(first.find("matches/251-season.html"), std::string::npos);
    EXPECT_NE(first.find("href=\"matches-2.html\">Newer"), std::string::npos);
    EXPECT_EQ(first.find(">Older"), std::string::npos);
    const std::string latest = before.matchList();
    EXPECT_NE(latest.find("matches/501-season.html"), std::string::npos);
    EXPECT_EQ(latest.find("matches/500-season.html"), std::string::npos);
    EXPECT_NE(latest.find("href=\"matches-2.html\">Older"), std::string::npos);
    EXPECT_NE(latest.find("href=\"matches-1.html\">1</a>"), std::string::npos);
    EXPECT_NE(before.player(0).find("href=\"ann-2.html\">Older"), std::string::npos);

    addMatch(502, {1, 0, 0, 0}, {{"ann", 1}});
    season.players[0].matches += 1;
    const SiteSeason keptAfter = siteSeason(season);
    const SitePages after(keptAfter, {});
    EXPECT_EQ(after.matchListPage(1), first);
    EXPECT_EQ(after.playerMatchPage(0, 1), player);
}

// Beyond one page of players, the index shows the leaderboard's top page and
// leads to the pages of both lists, so it stays as small at any size.
TEST_F(SitePagesTest, ManyPlayersGoOnInPagesAndTheIndexStaysSmall) {
    const auto addPlayers = [this](int count) {
        for (int n = 0; n < count; ++n) {
            SeasonPlayer player;
            char key[8];
            std::snprintf(key, sizeof key, "p%04d", int(season.players.size()));
            player.key = player.name = key;
            player.matches = 5;
            player.rating.mu = 5000.0 - double(season.players.size());
            season.players.push_back(player);
        }
    };
    addPlayers(int(kListPageRows) * 2 - 1);  // 501 players, 499 on the leaderboard
    const SiteSeason kept = siteSeason(season);
    const SitePages pages(kept, {});
    ASSERT_EQ(pages.leaderboardPages(), 2U);
    const std::string index = pages.index();
    EXPECT_NE(index.find("<td class=\"num no\">250</td><td><a href=\"players/p0251.html\">"),
              std::string::npos);
    EXPECT_EQ(index.find("<td class=\"num no\">251</td>"), std::string::npos);
    EXPECT_NE(index.find("<a href=\"leaderboard-2.html\">2</a>"), std::string::npos);
    EXPECT_NE(index.find("<a href=\"players-3.html\">3</a>"), std::string::npos);
    EXPECT_EQ(index.find("players/p0500.html"), std::string::npos);
    const std::string second = pages.leaderboardPage(2);
    EXPECT_NE(second.find("<td class=\"num no\">251</td><td><a href=\"players/p0252.html\">"),
              std::string::npos);
    EXPECT_NE(second.find("<td class=\"num no\">499</td>"), std::string::npos);
    EXPECT_NE(second.find("href=\"leaderboard-2.html\" aria-current=\"page\""),
              std::string::npos);
    const std::string last = pages.playerListPage(3);
    EXPECT_NE(last.find("players/p0500.html"), std::string::npos);
    EXPECT_EQ(last.find("players/p0499.html"), std::string::npos);

    addPlayers(int(kListPageRows) * 4);
    EXPECT_LT(SitePages(slim(), {}).index().size(), index.size() + 1000);
}

}  // namespace
}  // namespace zefa::site
