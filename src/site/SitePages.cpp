#include "site/SitePages.h"

#include <algorithm>
#include <kainjow/mustache.hpp>
#include <numeric>
#include <regex>

#include "awards/AwardTable.h"
#include "model/NameRules.h"
#include "model/Teams.h"
#include "model/Weapons.h"
#include "site/SitePaths.h"
#include "site/SiteText.h"
#include "site/SvgChart.h"

// The templates and style under resources/site, compiled in.
namespace zefa {
extern const std::string_view kSiteHeadTemplate;
extern const std::string_view kSiteFootTemplate;
extern const std::string_view kSiteMatchRowsTemplate;
extern const std::string_view kSiteIndexTemplate;
extern const std::string_view kSiteMatchesTemplate;
extern const std::string_view kSiteMatchTemplate;
extern const std::string_view kSitePlayerTemplate;
extern const std::string_view kSitePagerTemplate;
extern const std::string_view kSitePlayerMatchRowsTemplate;
extern const std::string_view kSitePlayerMatchesTemplate;
extern const std::string_view kSiteLeaderRowsTemplate;
extern const std::string_view kSiteLeaderboardTemplate;
extern const std::string_view kSitePlayerNamesTemplate;
extern const std::string_view kSitePlayerListTemplate;
extern const std::string_view kSiteSortScriptTemplate;
extern const std::string_view kSiteStyle;
}  // namespace zefa

namespace zefa::site {

namespace {

using season::SeasonPlayer;

using kainjow::mustache::data;
using kainjow::mustache::mustache;
using kainjow::mustache::partial;

constexpr std::size_t kLatestMatches = 20;
constexpr std::int64_t kDay = 86400;

data partialOf(std::string_view text) {
    return data{partial{[text] { return std::string(text); }}};
}

// Renders a template whose plain tags go through the page writer's escaping.
std::string render(std::string_view text, data& values) {
    values.set("head", partialOf(kSiteHeadTemplate));
    values.set("foot", partialOf(kSiteFootTemplate));
    values.set("matchRows", partialOf(kSiteMatchRowsTemplate));
    values.set("pagerLinks", partialOf(kSitePagerTemplate));
    values.set("playerMatchRows", partialOf(kSitePlayerMatchRowsTemplate));
    values.set("leaderRows", partialOf(kSiteLeaderRowsTemplate));
    values.set("playerNames", partialOf(kSitePlayerNamesTemplate));
    values.set("sortScript", partialOf(kSiteSortScriptTemplate));
    mustache page{std::string(text)};
    page.set_custom_escape([](const std::string& raw) { return htmlText(raw); });
    return page.render(values);
}

std::string str(std::int64_t value) { return std::to_string(value); }

std::int32_t defenseTotal(const PlayerCounters& counters) {
    return std::accumulate(counters.defenses.begin(), counters.defenses.end(), 0);
}

std::string killsPerDeath(const PlayerCounters& counters) {
    return decimal(static_cast<double>(counters.kills) / std::max(1, counters.deaths), 2);
}

// Bars for every weapon used, without the two totals the statistics keep
// beside their parts.
std::vector<ChartItem> weaponItems(const std::array<std::int32_t, kWeaponCount>& counts,
                                   std::int32_t gameVersion) {
    std::vector<ChartItem> items;
    for (std::int32_t weapon = 0; weapon < kWeaponCount; ++weapon) {
        if (weapon == kRocketTotal || weapon == kSniperTotal || counts[weapon] == 0) continue;
        items.push_back({std::string(weaponNames(gameVersion)[weapon]), double(counts[weapon])});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const ChartItem& a, const ChartItem& b) { return a.value > b.value; });
    return items;
}

// Weeks from Monday to Sunday, UTC, from the first match's week to the last's.
std::vector<ChartItem> weekItems(const SiteSeason& season) {
    std::vector<ChartItem> weeks;
    if (season.matches.empty()) return weeks;
    const auto weekOf = [](std::int64_t time) {
        const std::int64_t day = (time >= 0 ? time : time - kDay + 1) / kDay;
        return day - (((day + 3) % 7) + 7) % 7;  // the epoch was a Thursday
    };
    const std::int64_t first = weekOf(season.matches.front().playedAt);
    for (const SiteMatch& match : season.matches) {
        const auto week = static_cast<std::size_t>((weekOf(match.playedAt) - first) / 7);
        while (weeks.size() <= week)
            weeks.push_back({utcDate((first + 7 * std::int64_t(weeks.size())) * kDay), 0});
        weeks[week].value += 1;
    }
    return weeks;
}

// Red and blue play every match. Green and yellow only ever lose points, by
// the lines of the four teams' ball game; in a match where a flag was
// captured, such lines name no team of the match.
bool played(const SiteMatch& match, std::int32_t team) {
    const auto& scores = match.teamScores;
    return team == kRed || team == kBlue ||
           (scores[team] != 0 && scores[kRed] <= 0 && scores[kBlue] <= 0);
}

std::string scoreHtml(const SiteMatch& match) {
    std::string raw;
    for (std::int32_t team = 0; team < kTeamCount; ++team) {
        if (!played(match, team)) continue;
        if (!raw.empty()) raw += "^7 : ";
        raw += std::string(kTeams[team].displayText.substr(0, 2)) + str(match.teamScores[team]);
    }
    return htmlText(raw);
}

const SitePlay* bestPlayer(const SiteMatch& match) {
    const auto best =
        std::max_element(match.players.begin(), match.players.end(),
                         [](const SitePlay& a, const SitePlay& b) { return a.rank < b.rank; });
    return best == match.players.end() ? nullptr : &*best;
}

// The rows at places [first, end) of a list (lists of matches show them
// newest first).
struct Rows {
    std::size_t first = 0;
    std::size_t end = 0;
};

// The rows of page `number` (from 1) of a list of `rows`; of the first page
// (number 0), every row while it holds them all, else those of the last page.
Rows rowsOf(std::size_t number, std::size_t rows) {
    if (number == 0) number = listPages(rows);
    if (number == 0) return {0, rows};
    return {(number - 1) * kListPageRows, std::min(number * kListPageRows, rows)};
}

// Links to the `pages` pages of a list whose first page is `firstPage`, page
// `current` marked.
data everyPage(std::string_view firstPage, std::size_t current, std::size_t pages) {
    data list{data::type::list};
    for (std::size_t page = 1; page <= pages; ++page) {
        data item{"page", listPagePath(firstPage, page)};
        item.set("number", std::to_string(page));
        if (page == current) item.set("current", true);
        list.push_back(item);
    }
    data values;
    values.set("pages", list);
    return values;
}

// The links between the pages of a list whose first page is `firstPage` (a
// file name in the pages' folder): page `number` leads to the pages beside
// it alone, so it stays as it is while newer rows arrive beyond them; the
// first page (number 0) leads to every page.
data pagerOf(std::string_view firstPage, std::size_t number, std::size_t pages) {
    const std::size_t shown = number == 0 ? pages : number;
    data values = everyPage(firstPage, shown, number == 0 ? pages : 0);
    if (number != 0 && shown < pages) values.set("newer", listPagePath(firstPage, shown + 1));
    if (shown > 1) values.set("older", listPagePath(firstPage, shown - 1));
    return values;
}

data matchRows(const SiteSeason& season, Rows shown) {
    data rows{data::type::list};
    for (std::size_t at = shown.end; at > shown.first; --at) {
        const SiteMatch* match = &season.matches[at - 1];
        data row;
        row.set("playedAt", utcDateTime(match->playedAt));
        row.set("page", matchSeasonPagePath(match->id));
        row.set("file", match->file);
        if (match->recordings > 1) row.set("recordings", str(match->recordings));
        row.set("score", scoreHtml(*match));
        row.set("players", str(std::int64_t(match->players.size())));
        if (const SitePlay* best = bestPlayer(*match)) {
            row.set("best", season.names[best->name]);
            row.set("bestPage", playerPagePath(season.keys[best->key]));
        }
        rows.push_back(row);
    }
    return rows;
}

// The leaderboard's rows at places [first, end), from 0.
data leaderRows(const std::vector<const SeasonPlayer*>& leaders, Rows shown) {
    data rows{data::type::list};
    for (std::size_t at = shown.first; at < shown.end; ++at) {
        const SeasonPlayer& player = *leaders[at];
        const PlayerCounters& c = player.counters;
        data row;
        row.set("place", str(std::int64_t(at + 1)));
        row.set("page", playerPagePath(player.key));
        row.set("name", player.name);
        row.set("rating", decimal(player.rating.ordinal(), 2));
        row.set("matches", str(player.matches));
        row.set("kills", str(c.kills));
        row.set("deaths", str(c.deaths));
        row.set("kd", killsPerDeath(c));
        row.set("caps", str(c.caps));
        row.set("c2cs", str(c.c2cs));
        row.set("flagSaves", str(c.flagSaves));
        row.set("defenses", str(defenseTotal(c)));
        row.set("awardsWon", str(player.awardsWon));
        rows.push_back(row);
    }
    return rows;
}

// The players at places [first, end) of them all, by key.
data playerNames(const std::vector<SeasonPlayer>& players, Rows shown) {
    data rows{data::type::list};
    for (std::size_t at = shown.first; at < shown.end; ++at) {
        data row;
        row.set("page", playerPagePath(players[at].key));
        row.set("name", players[at].name);
        row.set("matches", str(players[at].matches));
        rows.push_back(row);
    }
    return rows;
}

// The player's matches on page `number` of their list (0: the player's own
// page), with the links between the pages.
void setPlayerMatches(data& values, const SiteSeason& season, const SeasonPlayer& player,
                      const std::vector<std::pair<std::uint32_t, std::uint32_t>>& played,
                      std::size_t number) {
    data rows{data::type::list};
    const Rows shown = rowsOf(number, played.size());
    for (std::size_t at = shown.end; at > shown.first; --at) {
        const SiteMatch* match = &season.matches[played[at - 1].first];
        const SitePlay* record = &match->players[played[at - 1].second];
        data row;
        row.set("playedAt", utcDateTime(match->playedAt));
        row.set("page", matchSeasonPagePath(match->id));
        row.set("file", match->file);
        row.set("as", season.names[record->name]);
        row.set("rank", str(record->rank));
        row.set("kills", str(record->kills));
        row.set("deaths", str(record->deaths));
        row.set("caps", str(record->caps));
        row.set("flagSaves", str(record->flagSaves));
        row.set("awards", str(record->awardCount));
        row.set("rating", decimal(record->rating.ordinal(), 2));
        rows.push_back(row);
    }
    values.set("playerMatches", rows);
    const std::string path = playerPagePath(player.key);
    if (const std::size_t pages = listPages(played.size()); pages != 0)
        values.set("pager", pagerOf(path.substr(path.rfind('/') + 1), number, pages));
}

}  // namespace

std::size_t listPages(std::size_t rows) {
    return rows <= kListPageRows ? 0 : (rows + kListPageRows - 1) / kListPageRows;
}

bool keepsSeasonJson(std::size_t matches) { return matches <= kListPageRows; }

SitePages::SitePages(const SiteSeason& season, SiteLook look)
    : m_season(season), m_look(std::move(look)) {
    for (const SeasonPlayer& player : season.players) {
        m_byKey.emplace(player.key, &player);
        if (player.matches >= m_look.minMatches) m_leaders.push_back(&player);
    }
    std::stable_sort(m_leaders.begin(), m_leaders.end(), [](const auto* a, const auto* b) {
        return a->rating.ordinal() > b->rating.ordinal();
    });
    m_keyNumbers = keyNumbers(season);
    m_appearances.resize(season.keys.size());
    const std::vector<std::uint32_t> counts = matchCounts(season);
    for (std::size_t key = 0; key < counts.size(); ++key) m_appearances[key].reserve(counts[key]);
    for (std::uint32_t m = 0; m < season.matches.size(); ++m)
        for (std::uint32_t p = 0; p < season.matches[m].players.size(); ++p)
            m_appearances[season.matches[m].players[p].key].emplace_back(m, p);
    // The killer of each victim with the most kills; the first key wins a tie.
    m_nemesis.resize(season.keys.size());
    for (std::size_t killer = 0; killer < season.players.size(); ++killer) {
        const std::string& key = season.players[killer].key;
        const auto own = m_keyNumbers.find(key);  // kills of oneself make no rival
        for (const auto& [victim, count] : season.kills[killer]) {
            if (own != m_keyNumbers.end() && victim == own->second) continue;
            Rival& rival = m_nemesis[victim];
            if (count > rival.count) rival = {key, count};
        }
    }
}

namespace {

// What every page shows in its head and foot.
data frame(const SiteSeason& season, const SiteLook& look, std::string_view root,
           std::string_view pageTitle) {
    data values;
    values.set("root", std::string(root));
    values.set("title", look.title);
    values.set("pageTitlePlain", std::string(pageTitle));
    values.set("matchCount", str(std::int64_t(season.matches.size())));
    values.set("playerCount", str(std::int64_t(season.players.size())));
    values.set("seasonJson", keepsSeasonJson(season.matches.size()));
    if (!season.matches.empty()) {
        values.set("firstDate", utcDate(season.matches.front().playedAt));
        values.set("lastDate", utcDate(season.matches.back().playedAt));
    }
    return values;
}

std::string plain(std::string_view raw) { return stripColourCodes(raw); }

}  // namespace

std::string SitePages::index() const {
    data values = frame(m_season, m_look, "", plain(m_look.title));
    // Only here: on other pages it would change them with every new match.
    values.set("stamp", true);
    values.set("minMatches", str(m_look.minMatches));

    const std::size_t leaders = m_leaders.size();
    values.set("leaders", leaderRows(m_leaders, {0, std::min(leaders, kListPageRows)}));
    if (const std::size_t pages = listPages(leaders); pages != 0) {
        data pager = everyPage(kLeaderboardPage, 0, pages);
        pager.set("pageRows", str(std::int64_t(kListPageRows)));
        values.set("leaderPager", pager);
    }
    if (const std::size_t pages = listPages(m_season.players.size()); pages != 0)
        values.set("playerPager", everyPage(kPlayerListPage, 0, pages));
    else
        values.set("everyone", playerNames(m_season.players, {0, m_season.players.size()}));

    std::array<std::int32_t, kWeaponCount> kills{};
    for (const SeasonPlayer& player : m_season.players)
        for (std::size_t w = 0; w < kills.size(); ++w) kills[w] += player.counters.weapKills[w];
    const std::int32_t version =
        m_season.matches.empty() ? kGameVersionBeta2 : m_season.matches.back().gameVersion;
    values.set("weeksChart", columnChart("weeks", "Matches per week", weekItems(m_season)));
    values.set("weaponsChart", barChart("weapons", "The season's kills by weapon",
                                        weaponItems(kills, version), BarTone::Kills));
    const std::size_t count = m_season.matches.size();
    values.set("matches", matchRows(m_season, {count - std::min(count, kLatestMatches), count}));
    return render(kSiteIndexTemplate, values);
}

std::string SitePages::leaderboardPage(std::size_t number) const {
    data values = frame(m_season, m_look, "",
                        plain(m_look.title) + ": leaderboard, page " + str(std::int64_t(number)));
    values.set("minMatches", str(m_look.minMatches));
    values.set("number", str(std::int64_t(number)));
    values.set("leaders", leaderRows(m_leaders, rowsOf(number, m_leaders.size())));
    values.set("pager", everyPage(kLeaderboardPage, number, leaderboardPages()));
    return render(kSiteLeaderboardTemplate, values);
}

std::string SitePages::playerListPage(std::size_t number) const {
    data values = frame(m_season, m_look, "",
                        plain(m_look.title) + ": players, page " + str(std::int64_t(number)));
    values.set("number", str(std::int64_t(number)));
    values.set("everyone", playerNames(m_season.players, rowsOf(number, m_season.players.size())));
    values.set("pager", everyPage(kPlayerListPage, number, listPages(m_season.players.size())));
    return render(kSitePlayerListTemplate, values);
}

std::string SitePages::matchList() const { return matchListPage(0); }

std::string SitePages::matchListPage(std::size_t number) const {
    std::string title = plain(m_look.title) + ": all matches";
    if (number != 0) title += ", page " + str(std::int64_t(number));
    data values = frame(m_season, m_look, "", title);
    values.set("matches", matchRows(m_season, rowsOf(number, m_season.matches.size())));
    if (const std::size_t pages = listPages(m_season.matches.size()); pages != 0)
        values.set("pager", pagerOf(kMatchListPage, number, pages));
    return render(kSiteMatchesTemplate, values);
}

std::string SitePages::match(std::size_t index) const {
    const SiteMatch& match = m_season.matches.at(index);
    const std::string playedAt = utcDateTime(match.playedAt);
    data values = frame(m_season, m_look, "../", playedAt + ": " + plain(m_look.title));
    values.set("framed", true);
    values.set("playedAt", playedAt);
    values.set("file", match.file);
    values.set("score", scoreHtml(match));
    if (!match.recordedBy.empty()) {
        std::string senders;
        for (const std::string& label : match.recordedBy)
            senders += (senders.empty() ? "" : ", ") + label;
        values.set("recordedBy", senders);
    }
    // Both pages of a match are in the same folder.
    const auto fileName = [](const std::string& path) { return path.substr(path.rfind('/') + 1); };
    values.set("alonePage", fileName(matchPagePath(match.id)));
    if (index > 0)
        values.set("previousPage", fileName(matchSeasonPagePath(m_season.matches[index - 1].id)));
    if (index + 1 < m_season.matches.size())
        values.set("nextPage", fileName(matchSeasonPagePath(m_season.matches[index + 1].id)));

    std::vector<const SitePlay*> best;
    for (const SitePlay& player : match.players) best.push_back(&player);
    std::stable_sort(best.begin(), best.end(),
                     [](const auto* a, const auto* b) { return a->rank > b->rank; });
    data players{data::type::list};
    for (const SitePlay* player : best) {
        data item{"name", m_season.names[player->name]};
        const std::string& key = m_season.keys[player->key];
        if (m_byKey.count(key)) item.set("page", playerPagePath(key));
        players.push_back(item);
    }
    values.set("players", players);
    return render(kSiteMatchTemplate, values);
}

std::string SitePages::player(std::size_t index) const {
    const SeasonPlayer& player = m_season.players.at(index);
    data values = frame(m_season, m_look, "../", plain(player.name) + ": " + plain(m_look.title));
    const PlayerCounters& c = player.counters;
    values.set("name", player.name);
    values.set("namePlain", plain(player.name));
    values.set("key", player.key);
    values.set("rating", decimal(player.rating.ordinal(), 2));
    values.set("awardsWon", str(player.awardsWon));

    data aliases{data::type::list};
    for (const std::string& alias : player.aliases) aliases.push_back(data{"alias", alias});
    values.set("hasAliases", !player.aliases.empty());
    values.set("aliases", aliases);

    const std::pair<std::string_view, std::string> totals[] = {
        {"Rating", decimal(player.rating.ordinal(), 2)},
        {"Mean", decimal(player.rating.mu, 2)},
        {"Deviation", decimal(player.rating.sigma, 2)},
        {"Matches", str(player.matches)},
        {"Rank points", str(player.rank)},
        {"Kills", str(c.kills)},
        {"Deaths", str(c.deaths)},
        {"Kills per death", killsPerDeath(c)},
        {"Suicides", str(c.suicides)},
        {"Team kills", str(c.tks)},
        {"Touches", str(c.touches)},
        {"Captures", str(c.caps)},
        {"Coast to coast", str(c.c2cs)},
        {"Flag saves", str(c.flagSaves)},
        {"Drops", str(c.drops)},
        {"Defenses", str(defenseTotal(c))},
    };
    data totalList{data::type::list};
    for (const auto& [label, value] : totals) {
        data item{"label", std::string(label)};
        item.set("value", value);
        totalList.push_back(item);
    }
    values.set("totals", totalList);

    const std::vector<Appearance>& played = appearances(player.key);
    std::vector<RatingStep> steps;
    std::array<std::int32_t, kAwardCount> awardCounts{};
    for (const auto& [match, at] : played) {
        const SitePlay& record = m_season.matches[match].players[at];
        steps.push_back({record.rating.mu, record.rating.sigma});
        for (std::size_t award = 0; award < awardCounts.size(); ++award)
            awardCounts[award] += (record.awardSet >> award) & 1u;
    }
    setPlayerMatches(values, m_season, player, played, 0);

    data awards{data::type::list};
    for (std::size_t award = 0; award < awardCounts.size(); ++award) {
        if (awardCounts[award] == 0) continue;
        data item{"award", std::string(awardCatalogue()[award].awardName)};
        item.set("count", str(awardCounts[award]));
        awards.push_back(item);
    }
    values.set("awards", awards);

    const std::int32_t version =
        played.empty() ? kGameVersionBeta2 : m_season.matches[played.back().first].gameVersion;
    values.set("ratingChart", ratingChart("rating", "Rating history of " + player.name, steps));
    values.set("killsChart", barChart("kills", "Kills by weapon of " + player.name,
                                      weaponItems(c.weapKills, version), BarTone::Kills));
    values.set("deathsChart", barChart("deaths", "Deaths by weapon of " + player.name,
                                       weaponItems(c.weapDeaths, version), BarTone::Deaths));

    const auto setRival = [&](std::string_view tag, const Rival& rival) {
        if (rival.count == 0) return;
        const auto other = m_byKey.find(rival.key);
        values.set(std::string(tag), other == m_byKey.end() ? rival.key : other->second->name);
        if (other != m_byKey.end())
            values.set(std::string(tag) + "Page", "../" + playerPagePath(rival.key));
        values.set(std::string(tag) + "Count", str(rival.count));
    };
    Rival victim;
    for (const auto& [number, count] : m_season.kills[index])
        if (m_season.keys[number] != player.key && count > victim.count)
            victim = {m_season.keys[number], count};
    setRival("victim", victim);
    if (const auto number = m_keyNumbers.find(player.key); number != m_keyNumbers.end())
        setRival("nemesis", m_nemesis[number->second]);
    return render(kSitePlayerTemplate, values);
}

const std::vector<SitePages::Appearance>& SitePages::appearances(std::string_view key) const {
    static const std::vector<Appearance> kNone;
    const auto number = m_keyNumbers.find(key);
    return number == m_keyNumbers.end() ? kNone : m_appearances[number->second];
}

std::string SitePages::playerMatchPage(std::size_t index, std::size_t number) const {
    const SeasonPlayer& player = m_season.players.at(index);
    data values = frame(m_season, m_look, "../",
                        plain(player.name) + ": matches, page " + str(std::int64_t(number)) +
                            ": " + plain(m_look.title));
    values.set("name", player.name);
    const std::string path = playerPagePath(player.key);
    values.set("playerPage", path.substr(path.rfind('/') + 1));
    setPlayerMatches(values, m_season, player, appearances(player.key), number);
    return render(kSitePlayerMatchesTemplate, values);
}

std::string styleSheet(std::string_view builtInTheme) {
    constexpr std::string_view kOpen = "<style>\n", kClose = "</style>";
    const std::size_t begin = builtInTheme.find(kOpen);
    const std::size_t end = builtInTheme.find(kClose);
    std::string style;
    if (begin != std::string_view::npos && end != std::string_view::npos && begin < end)
        style = builtInTheme.substr(begin + kOpen.size(), end - begin - kOpen.size());
    // Rules that look into descendants (:has) serve the match page's own
    // structures, which these pages lack; on a player page of a long season
    // they cost about a third of its opening time.
    static const std::regex kDescendantRule(R"([^{}]*:has\([^{}]*\{[^{}]*\})");
    return std::regex_replace(style, kDescendantRule, "") + std::string(kSiteStyle);
}

}  // namespace zefa::site
