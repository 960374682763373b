#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zefa::site {

// Where each page of a season's site lives, relative to the site's folder.
// Player keys may hold any byte; their file names keep a-z and 0-9 and write
// every other byte as "_" and two hex digits, so a name is the same on every
// rebuild, safe on every file system (no case clash, no reserved device
// name, no separator) and never shared by two keys.
[[nodiscard]] std::string playerPagePath(std::string_view key);
// The match page as the command writes it from the match's log.
[[nodiscard]] std::string matchPagePath(std::int64_t id);
// The season's page of a match: the way back to the season around the match page.
[[nodiscard]] std::string matchSeasonPagePath(std::int64_t id);

// Page `number` (from 1) of a list whose first page is `page`: "matches.html"
// gives "matches-2.html", "players/KEY.html" gives "players/KEY-2.html".
[[nodiscard]] std::string listPagePath(std::string_view page, std::size_t number);

// The site's data files, beside the pages: one per match and per season
// player, the match list's pages, and the season's own files below.
[[nodiscard]] std::string matchDataPath(std::int64_t id);
[[nodiscard]] std::string playerDataPath(std::string_view key);
// Page `number` (from 1) of the match list's data: the n-th kListPageRows matches.
[[nodiscard]] std::string matchListDataPath(std::size_t number);

// Whether `page` has the shape of a file the site writes (one of the files
// below, a player page or one of a match's two pages, a further page of the
// match list, the leaderboard, the players or a player's matches, or a data
// file): nothing outside the site's folder, nothing of another name.
[[nodiscard]] bool isSitePage(std::string_view page);
// Whether `file` is a file the site writes: a page, or a match page kept
// compressed under its name and ".gz".
[[nodiscard]] bool isSiteFile(std::string_view file);

// Whether a file of the site counts among the pages a run reports: a page
// (".html"), or a match page kept compressed; not a data file.
[[nodiscard]] bool countsAsPage(std::string_view file);

inline constexpr std::string_view kIndexPage = "index.html";
inline constexpr std::string_view kMatchListPage = "matches.html";
inline constexpr std::string_view kStyleSheet = "season.css";
inline constexpr std::string_view kSeasonJson = "season.json";
inline constexpr std::string_view kLeaderboardPage = "leaderboard.html";  // its pages alone
inline constexpr std::string_view kPlayerListPage = "players.html";       // its pages alone
inline constexpr std::string_view kPlayerFolder = "players";
inline constexpr std::string_view kMatchFolder = "matches";
inline constexpr std::string_view kDataFolder = "data";
inline constexpr std::string_view kDataIndex = "data/index.json";
inline constexpr std::string_view kPlayerListData = "data/players.json";
// Ends the name a compressed page is kept under: "matches/7.html.gz".
inline constexpr std::string_view kGzipSuffix = ".gz";

}  // namespace zefa::site
