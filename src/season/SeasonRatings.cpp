// The ratings of the season's players, recomputed from the earliest change on.
#include <limits>
#include <map>
#include <vector>

#include "season/PlackettLuce.h"
#include "season/SeasonStore.h"

namespace zefa::season {

namespace {

struct MatchEntry {
    std::string seasonKey;
    std::string name;
    RatedPlayer player;
};

}  // namespace

void SeasonStore::updateRatings() {
    constexpr std::string_view kStalePoint =
        "SELECT a.value, b.value FROM store_state a JOIN store_state b "
        "WHERE a.name = 'staleAt' AND b.name = 'staleSha'";
    if (!db_.prepare(kStalePoint).step()) return;  // without taking the write lock
    Transaction transaction(db_);
    Statement stale = db_.prepare(kStalePoint);
    if (!stale.step()) return;
    const std::int64_t fromTime = stale.integer(0);
    const std::string fromSha(stale.text(1));

    // Every player's rating just before the first match to rate.
    std::map<std::string, Rating, std::less<>> ratings;
    Statement before = db_.prepare(
        "SELECT p.seasonKey, p.mu, p.sigma FROM season_player_match p JOIN match m ON m.id = "
        "p.matchId WHERE (m.playedAt, m.sha256) < (?1, ?2) ORDER BY m.playedAt, m.sha256");
    before.bindAll(fromTime, std::string_view(fromSha));
    while (before.step()) ratings[std::string(before.text(0))] = {before.real(1), before.real(2)};

    db_.prepare(
           "DELETE FROM season_player_match WHERE matchId IN (SELECT id FROM match WHERE "
           "(playedAt, sha256) >= (?1, ?2))")
        .bindAll(fromTime, std::string_view(fromSha))
        .run();

    // The season players of each match with their rank points summed; the
    // name is that of the player's first record.
    Statement players = db_.prepare(
        "SELECT m.id, k.seasonKey, sum(r.rank), r.name, min(r.record) FROM match m "
        "JOIN record r ON r.matchId = m.id JOIN player_key k ON k.key = r.key "
        "WHERE (m.playedAt, m.sha256) >= (?1, ?2) GROUP BY m.id, k.seasonKey "
        "ORDER BY m.playedAt, m.sha256, m.id, k.seasonKey");
    Statement insert = db_.prepare(
        "INSERT INTO season_player_match(matchId, seasonKey, name, mu, sigma) "
        "VALUES (?1, ?2, ?3, ?4, ?5)");
    std::vector<MatchEntry> entries;
    std::int64_t matchId = 0;
    const auto rateEntries = [&] {
        std::vector<RatedPlayer> rated;
        for (const MatchEntry& entry : entries) rated.push_back(entry.player);
        rateMatch(rated);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            ratings[entries[i].seasonKey] = rated[i].rating;
            insert.bindAll(matchId, std::string_view(entries[i].seasonKey),
                           std::string_view(entries[i].name), rated[i].rating.mu,
                           rated[i].rating.sigma)
                .run();
        }
        entries.clear();
    };
    players.bindAll(fromTime, std::string_view(fromSha));
    while (players.step()) {
        if (players.integer(0) != matchId && !entries.empty()) rateEntries();
        matchId = players.integer(0);
        std::string key(players.text(1));
        const auto known = ratings.find(key);
        entries.push_back({key, std::string(players.text(3)),
                           {known == ratings.end() ? Rating{} : known->second, players.integer(2)}});
    }
    if (!entries.empty()) rateEntries();

    // Each season player's latest match gives the display name and rating.
    db_.exec(
        "DELETE FROM season_player;"
        "INSERT INTO season_player(seasonKey, name, mu, sigma) "
        "SELECT seasonKey, name, mu, sigma FROM (SELECT p.seasonKey, p.name, p.mu, p.sigma, "
        "row_number() OVER (PARTITION BY p.seasonKey ORDER BY m.playedAt DESC, m.sha256 DESC) "
        "AS latest FROM season_player_match p JOIN match m ON m.id = p.matchId) WHERE latest = 1;"
        "DELETE FROM store_state WHERE name IN ('staleAt', 'staleSha');");
    transaction.commit();
}

}  // namespace zefa::season
