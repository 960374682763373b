// The ratings of the season's players, recomputed from the earliest change on.
#include <array>
#include <map>
#include <vector>

#include "season/PlackettLuce.h"
#include "season/SqliteSeasonStore.h"

namespace zefa::season {

namespace {

// A season player as of the matches walked so far.
struct Latest {
    Rating rating;
    std::string name;
};

// A season player of one match with what the leaderboard sums.
struct MatchEntry {
    std::string seasonKey;
    std::string name;
    RatedPlayer player;
    std::array<std::int64_t, 4> totals;  // kills, deaths, caps, awards
};

constexpr std::string_view kStalePoint =
    "SELECT a.value, b.value FROM store_state a JOIN store_state b "
    "WHERE a.name = 'staleAt' AND b.name = 'staleSha'";

}  // namespace

bool SqliteSeasonStore::ratingsStale() { return m_db.prepare(kStalePoint).step(); }

// Walks the matches in played order, one at a time, so memory stays that of
// one match and the players however large the store: matches before the
// stale point are read, those from it on rated again.
void SqliteSeasonStore::updateRatings() {
    if (!ratingsStale()) return;  // without taking the write lock
    Transaction transaction(m_db);
    Statement stale = m_db.prepare(kStalePoint);
    if (!stale.step()) return;

    Statement matches = m_db.prepare(
        "SELECT id, (playedAt, sha256) >= (?1, ?2) FROM match ORDER BY playedAt, sha256");
    Statement stored = m_db.prepare(
        "SELECT seasonKey, name, mu, sigma FROM season_player_match WHERE matchId = ?1");
    Statement forget = m_db.prepare("DELETE FROM season_player_match WHERE matchId = ?1");
    // The season players of a match with their records summed and the awards
    // they won; the name is that of the player's first record.
    Statement players = m_db.prepare(R"sql(
SELECT k.seasonKey, sum(r.rank), r.name, min(r.record), sum(r.kills), sum(r.deaths), sum(r.caps),
  (SELECT count(DISTINCT w.award) FROM award_winner w
   JOIN record o ON o.matchId = w.matchId AND o.record = w.record JOIN player_key ok ON ok.key = o.key
   WHERE w.matchId = ?1 AND ok.seasonKey = k.seasonKey)
FROM record r JOIN player_key k ON k.key = r.key WHERE r.matchId = ?1 GROUP BY k.seasonKey
)sql");
    Statement insert = m_db.prepare(
        "INSERT INTO season_player_match(matchId, seasonKey, name, mu, sigma, kills, deaths, caps, "
        "rank, awards) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");

    std::map<std::string, Latest, std::less<>> latest;
    std::vector<MatchEntry> entries;
    std::vector<RatedPlayer> rated;
    matches.bindAll(stale.integer(0), stale.text(1));
    while (matches.step()) {
        const std::int64_t id = matches.integer(0);
        if (matches.integer(1) == 0) {
            stored.bind(1, id);
            while (stored.step())
                latest[std::string(stored.text(0))] = {{stored.real(2), stored.real(3)},
                                                       std::string(stored.text(1))};
            stored.reset();
            continue;
        }
        forget.bind(1, id).run();
        entries.clear();
        players.bind(1, id);
        while (players.step()) {
            std::string key(players.text(0));
            const auto known = latest.find(key);
            entries.push_back(
                {std::move(key),
                 std::string(players.text(2)),
                 {known == latest.end() ? Rating{} : known->second.rating, players.integer(1)},
                 {players.integer(4), players.integer(5), players.integer(6), players.integer(7)}});
        }
        players.reset();
        rated.clear();
        for (const MatchEntry& entry : entries) rated.push_back(entry.player);
        rateMatch(rated);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            latest[entries[i].seasonKey] = {rated[i].rating, entries[i].name};
            const auto& [kills, deaths, caps, awards] = entries[i].totals;
            insert
                .bindAll(id, std::string_view(entries[i].seasonKey),
                         std::string_view(entries[i].name), rated[i].rating.mu,
                         rated[i].rating.sigma, kills, deaths, caps, entries[i].player.score,
                         awards)
                .run();
        }
    }

    m_db.exec("DELETE FROM season_player");
    Statement player = m_db.prepare(
        "INSERT INTO season_player(seasonKey, name, mu, sigma) VALUES (?1, ?2, ?3, ?4)");
    for (const auto& [key, state] : latest)
        player
            .bindAll(std::string_view(key), std::string_view(state.name), state.rating.mu,
                     state.rating.sigma)
            .run();
    m_db.exec("DELETE FROM store_state WHERE name IN ('staleAt', 'staleSha')");
    transaction.commit();
}

}  // namespace zefa::season
