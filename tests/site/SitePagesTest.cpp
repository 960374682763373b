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
    const std::string list = SitePages(season, {}).matchList();
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
    const SitePages pages(season, {});
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

}  // namespace
}  // namespace zefa::site
