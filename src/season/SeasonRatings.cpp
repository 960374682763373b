// The ratings of the season's players, recomputed from the earliest change on.
#include <array>
#include <map>
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
        "SELECT seasonKey, name, ownName, mu, sigma FROM season_player_match WHERE matchId = ?1");
    Statement forget = m_db.prepare("DELETE FROM season_player_match WHERE matchId = ?1");
    // The season players of a match with their records summed and the awards
    // they won; the names of the player's first record and of its own key's.
    Statement players = m_db.prepare(R"sql(
SELECT k.seasonKey, sum(r.rank), r.name, min(r.record), sum(r.kills), sum(r.deaths), sum(r.caps),
  (SELECT count(DISTINCT w.award) FROM award_winner w
   JOIN record o ON o.matchId = w.matchId AND o.record = w.record JOIN player_key ok ON ok.key = o.key
   WHERE w.matchId = ?1 AND ok.seasonKey = k.seasonKey),
  (SELECT o.name FROM record o WHERE o.matchId = ?1 AND o.key = k.seasonKey ORDER BY o.record LIMIT 1)
FROM record r JOIN player_key k ON k.key = r.key WHERE r.matchId = ?1 GROUP BY k.seasonKey
)sql");
    Statement insert = m_db.prepare(
        "INSERT INTO season_player_match(matchId, seasonKey, name, ownName, mu, sigma, kills, "
        "deaths, caps, rank, awards) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");

    std::map<std::string, Latest, std::less<>> latest;
    std::vector<MatchEntry> entries;
    std::vector<RatedPlayer> rated;
    matches.bindAll(stale.integer(0), stale.text(1));
    while (matches.step()) {
        const std::int64_t id = matches.integer(0);
        if (matches.integer(1) == 0) {
            stored.bind(1, id);
            while (stored.step()) {
                Latest& player = latest[std::string(stored.text(0))];
                player.rating = {stored.real(3), stored.real(4)};
                player.noteName(stored.text(1), stored.integer(2) != 0);
            }
            stored.reset();
            continue;
        }
        forget.bind(1, id).run();
        entries.clear();
        players.bind(1, id);
        while (players.step()) {
            std::string key(players.text(0));
            const auto known = latest.find(key);
            const bool own = !players.isNull(8);
            entries.push_back(
                {std::move(key),
                 std::string(players.text(own ? 8 : 2)),
                 own,
                 {known == latest.end() ? Rating{} : known->second.rating, players.integer(1)},
                 {players.integer(4), players.integer(5), players.integer(6), players.integer(7)}});
        }
        players.reset();
        rated.clear();
        for (const MatchEntry& entry : entries) rated.push_back(entry.player);
        rateMatch(rated);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            Latest& player = latest[entries[i].seasonKey];
            player.rating = rated[i].rating;
            player.noteName(entries[i].name, entries[i].ownName);
            const auto& [kills, deaths, caps, awards] = entries[i].totals;
            insert
                .bindAll(id, std::string_view(entries[i].seasonKey),
                         std::string_view(entries[i].name), std::int64_t{entries[i].ownName},
                         rated[i].rating.mu, rated[i].rating.sigma, kills, deaths, caps,
                         entries[i].player.score, awards)
                .run();
        }
    }

    // The name an admin chose, where there is one.
    m_db.exec("DELETE FROM season_player");
    Statement player = m_db.prepare(
        "INSERT INTO season_player(seasonKey, name, mu, sigma) VALUES (?1, "
        "coalesce((SELECT name FROM player_name WHERE seasonKey = ?1), ?2), ?3, ?4)");
    for (const auto& [key, state] : latest)
        player
            .bindAll(std::string_view(key), std::string_view(state.name), state.rating.mu,
                     state.rating.sigma)
            .run();
    m_db.exec("DELETE FROM store_state WHERE name IN ('staleAt', 'staleSha')");
    transaction.commit();
}

}  // namespace zefa::season
