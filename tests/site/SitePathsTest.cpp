#include "site/SitePaths.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zefa::site {
namespace {

TEST(SitePathsTest, PlayerFileNamesAreSafeStableAndDistinct) {
    const std::string hostile[] = {"<script>alert(1)</script>",
                                   "\"><img src=x onerror=alert(1)>",
                                   "../../etc/passwd",
                                   "a/b\\c:d*e?f",
                                   "con",
                                   "CON",
                                   "",
                                   "_",
                                   "_5f",
                                   std::string("nul\0x", 5),
                                   "\xe9t\xe9",
                                   "plain"};
    std::set<std::string> seen;
    for (const std::string& key : hostile) {
        const std::string path = playerPagePath(key);
        ASSERT_EQ(path.rfind("players/", 0), 0u) << path;
        const std::string stem = path.substr(8, path.size() - 8 - 5);
        EXPECT_EQ(path.substr(path.size() - 5), ".html");
        EXPECT_EQ(stem.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"), std::string::npos)
            << path;
        EXPECT_NE(stem, "con");
        EXPECT_NE(stem, "nul");
        EXPECT_TRUE(seen.insert(path).second) << "two keys share " << path;
        EXPECT_EQ(playerPagePath(key), path);
        EXPECT_TRUE(isSitePage(path)) << path;
    }
    EXPECT_EQ(playerPagePath("plain"), "players/plain.html");
    EXPECT_EQ(matchPagePath(17), "matches/17.html");
    EXPECT_EQ(matchSeasonPagePath(17), "matches/17-season.html");
    EXPECT_EQ(listPagePath(playerPagePath("plain"), 2), "players/plain-2.html");
    EXPECT_EQ(playerDataPath("a-b"), "data/players/a_2db.json");
    EXPECT_EQ(matchDataPath(17), "data/matches/17.json");
    EXPECT_EQ(matchListDataPath(3), "data/matches-3.json");
    for (const std::string page :
         {"index.html", "season.json", "matches/17.html", "matches/17-season.html",
          "matches-3.html", "players/a_2d-12.html", "leaderboard-2.html", "players-3.html",
          "data/index.json", "data/players.json", "data/matches-4.json", "data/matches/17.json",
          "data/players/a_2d.json"})
        EXPECT_TRUE(isSitePage(page)) << page;
    for (const std::string other :
         {"", "players/.html", "players/A.html", "players/a/b.html", "players/../x.html",
          "matches/-season.html", "matches/1.htm", "/index.html", "notes.txt", ".zefastats-site",
          "matches-.html", "matches-x.html", "players/-2.html", "index-2.html", "players.html",
          "leaderboard.html", "data/matches.json", "data/matches/a.json", "data/players/A.json",
          "data/players/a-2.json", "data/other.json", "data/matches/1.html", "data/../x.json"})
        EXPECT_FALSE(isSitePage(other)) << other;
    EXPECT_TRUE(isSiteFile("matches/17.html.gz"));
    EXPECT_FALSE(isSitePage("matches/17.html.gz"));  // served under its page's name only
    for (const std::string other : {"matches/17-season.html.gz", "index.html.gz", "matches/.gz"})
        EXPECT_FALSE(isSiteFile(other)) << other;
}

}  // namespace
}  // namespace zefa::site
