// The ratings of the season's players, recomputed from the earliest change on.
#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "season/PlackettLuce.h"
#include "season/SqliteSeasonStore.h"

namespace zefa::season {

namespace {

// A season player as of the matches walked so far. Its name is that of its
// own key's latest record; until it has one (a player merged into a key
// that never played itself), that of its latest record.
struct Latest {
    Rating rating;
    std::string name;
    bool ownName = false;

    void noteName(std::string_view matchName, bool own) {
        if (!own && ownName) return;
        name = matchName;
        ownName = own;
    }
};

// A season player of one match with what the leaderboard sums.
struct MatchEntry {
    std::string seasonKey;
    std::string name;  // its own key's first record's, or else its first record's
    bool ownName = false;
    RatedPlayer player;
    std::array<std::int64_t, 4> totals;  // kills, deaths, caps, awards
};

constexpr std::string_view kStalePoint =
    "SELECT a.value, b.value FROM store_state a JOIN store_state b "
    "WHERE a.name = 'staleAt' AND b.name = 'staleSha'";

}  // namespace

bool SqliteSeasonStore::ratingsStale() { return m_db.prepare(kStalePoint).step(); }

// Rates again the matches from the stale point on, in played order, one at
// a time, so memory stays that of one match and the players it touches: a
// player's rating before the stale point is read from its own rows when it
// first plays, and only the season players these matches or the notes name
// are written again. The cost is that of the matches rated and the rows of
// their players, not that of the season.
void SqliteSeasonStore::updateRatings() {
    if (!ratingsStale()) return;  // without taking the write lock
    Transaction transaction(m_db);
    Statement stale = m_db.prepare(kStalePoint);
    if (!stale.step()) return;
    const std::int64_t staleAt = stale.integer(0);
    const std::string staleSha(stale.text(1));
    // Rated from the first match on: every season player is written again.
    Statement earlier = m_db.prepare("SELECT 1 FROM match WHERE (playedAt, sha256) < (?1, ?2)");
    if (!earlier.bindAll(staleAt, std::string_view(staleSha)).step())
        m_db.exec("DELETE FROM season_player");
    earlier.reset();

    Statement matches = m_db.prepare(
        "SELECT id FROM match WHERE (playedAt, sha256) >= (?1, ?2) ORDER BY playedAt, sha256");
    Statement rated = m_db.prepare("SELECT seasonKey FROM season_player_match WHERE matchId = ?1");
    Statement forget = m_db.prepare("DELETE FROM season_player_match WHERE matchId = ?1");
    // A season player's matches before the stale point, in played order.
    Statement before = m_db.prepare(R"sql(
SELECT s.name, s.ownName, s.mu, s.sigma FROM season_player_match s JOIN match m ON m.id = s.matchId
WHERE s.seasonKey = ?1 AND (m.playedAt, m.sha256) < (?2, ?3) ORDER BY m.playedAt, m.sha256
)sql");
    // The season players of a match with their records summed; the names of
    // the player's first record and of its own key's.
    Statement players = m_db.prepare(R"sql(
SELECT k.seasonKey, sum(r.rank), r.name, min(r.record), sum(r.kills), sum(r.deaths), sum(r.caps),
  (SELECT o.name FROM record o WHERE o.matchId = ?1 AND o.key = k.seasonKey ORDER BY o.record LIMIT 1)
FROM record r JOIN player_key k ON k.key = r.key WHERE r.matchId = ?1 GROUP BY k.seasonKey
)sql");
    // The awards of a match by the season players that won or share them: one
    // pass over the match's winners, not one for each of its players.
    Statement winners = m_db.prepare(R"sql(
SELECT k.seasonKey, w.award FROM award_winner w
JOIN record r ON r.matchId = w.matchId AND r.record = w.record JOIN player_key k ON k.key = r.key
WHERE w.matchId = ?1
)sql");
    Statement insert = m_db.prepare(
        "INSERT INTO season_player_match(matchId, seasonKey, name, ownName, mu, sigma, kills, "
        "deaths, caps, rank, awards) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");

    // The season players as of the matches rated so far, each read from its
    // matches before the stale point when first needed; nullopt: none.
    std::map<std::string, std::optional<Latest>, std::less<>> latest;
    const auto playerBefore = [&](const std::string& key) -> std::optional<Latest>& {
        const auto [known, added] = latest.try_emplace(key);
        if (!added) return known->second;
        before.bindAll(std::string_view(key), staleAt, std::string_view(staleSha));
        while (before.step()) {
            Latest& player = known->second ? *known->second : known->second.emplace();
            player.rating = {before.real(2), before.real(3)};
            player.noteName(before.text(0), before.integer(1) != 0);
        }
        before.reset();
        return known->second;
    };
    // Players named by the notes: those of matches gone, or renamed.
    Statement noted = m_db.prepare(
        "SELECT substr(name, 8) FROM store_state WHERE name >= 'player ' AND name < 'player!'");
    while (noted.step()) playerBefore(std::string(noted.text(0)));

    std::vector<MatchEntry> entries;
    std::vector<RatedPlayer> ratings;
    std::map<std::string, std::set<std::int64_t>, std::less<>> awardsWon;
    matches.bindAll(staleAt, std::string_view(staleSha));
    while (matches.step()) {
        const std::int64_t id = matches.integer(0);
        rated.bind(1, id);
        while (rated.step()) playerBefore(std::string(rated.text(0)));
        rated.reset();
        forget.bind(1, id).run();
        entries.clear();
        awardsWon.clear();
        winners.bind(1, id);
        while (winners.step()) awardsWon[std::string(winners.text(0))].insert(winners.integer(1));
        winners.reset();
        players.bind(1, id);
        while (players.step()) {
            std::string key(players.text(0));
            const std::optional<Latest>& known = playerBefore(key);
            const bool own = !players.isNull(7);
            const auto won = awardsWon.find(key);
            const auto awards =
                static_cast<std::int64_t>(won == awardsWon.end() ? 0 : won->second.size());
            entries.push_back(
                {std::move(key),
                 std::string(players.text(own ? 7 : 2)),
                 own,
                 {known ? known->rating : Rating{}, players.integer(1)},
                 {players.integer(4), players.integer(5), players.integer(6), awards}});
        }
        players.reset();
        ratings.clear();
        for (const MatchEntry& entry : entries) ratings.push_back(entry.player);
        rateMatch(ratings);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            std::optional<Latest>& player = latest[entries[i].seasonKey];
            if (!player) player.emplace();
            player->rating = ratings[i].rating;
            player->noteName(entries[i].name, entries[i].ownName);
            const auto& [kills, deaths, caps, awards] = entries[i].totals;
            insert
                .bindAll(id, std::string_view(entries[i].seasonKey),
                         std::string_view(entries[i].name), std::int64_t{entries[i].ownName},
                         ratings[i].rating.mu, ratings[i].rating.sigma, kills, deaths, caps,
                         entries[i].player.score, awards)
                .run();
        }
    }

    // The players touched, with the name an admin chose where there is one;
    // those left without a match go.
    Statement player = m_db.prepare(
        "INSERT OR REPLACE INTO season_player(seasonKey, name, mu, sigma) VALUES (?1, "
        "coalesce((SELECT name FROM player_name WHERE seasonKey = ?1), ?2), ?3, ?4)");
    Statement gone = m_db.prepare("DELETE FROM season_player WHERE seasonKey = ?1");
    for (const auto& [key, state] : latest) {
        if (!state) {
            gone.bind(1, key).run();
            continue;
        }
        player
            .bindAll(std::string_view(key), std::string_view(state->name), state->rating.mu,
                     state->rating.sigma)
            .run();
    }
    m_db.exec(
        "DELETE FROM store_state WHERE name IN ('staleAt', 'staleSha') OR "
        "(name >= 'player ' AND name < 'player!')");
    transaction.commit();
}

// Notes the season players of a match, which a change of the match may leave
// with other ratings or none: updateRatings() writes them again.
void SqliteSeasonStore::notePlayersOf(std::int64_t matchId) {
    m_db.prepare(
            "INSERT OR IGNORE INTO store_state(name, value) "
            "SELECT 'player ' || seasonKey, 1 FROM season_player_match WHERE matchId = ?1")
        .bind(1, matchId)
        .run();
}

}  // namespace zefa::season
