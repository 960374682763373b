// What the store's readers ask for: the snapshot, the leaderboard, the list of matches.
#include <algorithm>
#include <limits>
#include <map>
#include <unordered_map>

#include "season/CounterColumns.h"
#include "season/PlackettLuce.h"
#include "season/SqliteSeasonStore.h"

namespace zefa::season {

namespace {

void addKills(KillsByVictim& into, std::string_view victim, std::int32_t kills) {
    const auto at = std::ranges::lower_bound(
        into, victim, {}, [](const auto& entry) { return std::string_view(entry.first); });
    if (at != into.end() && at->first == victim) {
        at->second += kills;
    } else {
        into.emplace(at, std::string(victim), kills);
    }
}

MatchPlayer& playerOf(SeasonMatch& match, std::string_view key) {
    const auto at = std::ranges::lower_bound(match.players, key, {}, &MatchPlayer::key);
    if (at != match.players.end() && at->key == key) return *at;
    MatchPlayer player;
    player.key = key;
    return *match.players.insert(at, std::move(player));
}

// The snapshot's matches by id. The tables read after the matches keep each
// match's rows together, so the last match found is asked for most.
class MatchIndex {
public:
    void add(std::int64_t id, std::size_t place) { m_places.emplace(id, place); }

    [[nodiscard]] const std::size_t* find(std::int64_t id) {
        if (id != m_lastId) {
            const auto found = m_places.find(id);
            m_lastId = id;
            m_last = found == m_places.end() ? nullptr : &found->second;
        }
        return m_last;
    }

private:
    std::unordered_map<std::int64_t, std::size_t> m_places;
    std::int64_t m_lastId = std::numeric_limits<std::int64_t>::min();
    const std::size_t* m_last = nullptr;
};

// The player each record of a match counts for: records by their id in the
// match, which are few.
using RecordPlayers = std::vector<std::pair<std::int64_t, std::size_t>>;

const std::size_t* recordPlayer(const RecordPlayers& records, std::int64_t record) {
    const auto found = std::ranges::find(records, record, &RecordPlayers::value_type::first);
    return found == records.end() ? nullptr : &found->second;
}

void readMatches(Database& db, std::int64_t since, SeasonSnapshot& snapshot, MatchIndex& index) {
    Statement query = db.prepare(
        "SELECT id, file, sha256, playedAt, gameVersion, lineCount, scoreRed, scoreBlue, "
        "scoreGreen, scoreYellow, (SELECT count(*) FROM recording r WHERE r.matchId = m.id), "
        "changeSeq FROM match m WHERE playedAt >= ?1 ORDER BY playedAt, sha256");
    query.bind(1, since);
    while (query.step()) {
        SeasonMatch match;
        match.id = query.integer(0);
        match.file = query.text(1);
        match.sha256 = query.text(2);
        match.playedAt = query.integer(3);
        match.gameVersion = static_cast<std::int32_t>(query.integer(4));
        match.lineCount = static_cast<std::int32_t>(query.integer(5));
        for (std::size_t t = 0; t < match.teamScores.size(); ++t)
            match.teamScores[t] = static_cast<std::int32_t>(query.integer(6 + static_cast<int>(t)));
        match.recordings = static_cast<std::int32_t>(query.integer(10));
        match.changeSeq = query.integer(11);
        index.add(match.id, snapshot.matches.size());
        snapshot.matches.push_back(std::move(match));
    }
}

// The token labels each match's recordings came with, in the order stored.
void readSenders(Database& db, SeasonSnapshot& snapshot, MatchIndex& index) {
    Statement query = db.prepare(
        "SELECT matchId, source FROM recording WHERE source <> ?1 GROUP BY matchId, source "
        "ORDER BY matchId, min(id)");
    query.bind(1, kImportedSource);
    while (query.step()) {
        if (const std::size_t* place = index.find(query.integer(0)))
            snapshot.matches[*place].recordedBy.emplace_back(query.text(1));
    }
}

// Records of one season player in one match are one player: counters summed,
// the name of the first record kept. They come in key order, so each player
// is added after the ones before it.
std::vector<RecordPlayers> readRecords(Database& db, SeasonSnapshot& snapshot, MatchIndex& index) {
    std::vector<RecordPlayers> records(snapshot.matches.size());
    Statement query = db.prepare("SELECT r.matchId, r.record, k.seasonKey, r.name, r.rank, " +
                                 counterColumnNames("r.") +
                                 " FROM record r JOIN player_key k ON k.key = r.key "
                                 "ORDER BY r.matchId, k.seasonKey, r.record");
    while (query.step()) {
        const std::size_t* place = index.find(query.integer(0));
        if (!place) continue;
        std::vector<MatchPlayer>& players = snapshot.matches[*place].players;
        const std::string_view key = query.text(2);
        if (players.empty() || players.back().key != key) {
            players.emplace_back();
            players.back().key = key;
        }
        MatchPlayer& player = players.back();
        if (player.name.empty()) player.name = query.text(3);
        player.rank += static_cast<std::int32_t>(query.integer(4));
        PlayerCounters counters;
        readCounters(query, 5, counters);
        addCounters(player.counters, counters);
        records[*place].emplace_back(query.integer(1), players.size() - 1);
    }
    return records;
}

void readKillsAndAwards(Database& db, SeasonSnapshot& snapshot, MatchIndex& index,
                        const std::vector<RecordPlayers>& records) {
    Statement kills = db.prepare("SELECT matchId, killer, victim, count FROM record_kill");
    while (kills.step()) {
        const std::size_t* place = index.find(kills.integer(0));
        if (!place) continue;
        const std::size_t* killer = recordPlayer(records[*place], kills.integer(1));
        const std::size_t* victim = recordPlayer(records[*place], kills.integer(2));
        if (!killer || !victim) continue;
        std::vector<MatchPlayer>& players = snapshot.matches[*place].players;
        addKills(players[*killer].killsByVictim, players[*victim].key,
                 static_cast<std::int32_t>(kills.integer(3)));
    }
    Statement awards =
        db.prepare("SELECT matchId, award, name, result FROM match_award ORDER BY matchId, award");
    while (awards.step()) {
        const std::size_t* place = index.find(awards.integer(0));
        if (!place) continue;
        snapshot.matches[*place].awards.push_back({static_cast<std::int32_t>(awards.integer(1)),
                                                   std::string(awards.text(2)),
                                                   std::string(awards.text(3))});
    }
    Statement winners = db.prepare("SELECT matchId, award, record FROM award_winner");
    while (winners.step()) {
        const std::size_t* place = index.find(winners.integer(0));
        if (!place) continue;
        const std::size_t* winner = recordPlayer(records[*place], winners.integer(2));
        if (!winner) continue;
        auto& won = snapshot.matches[*place].players[*winner].awards;
        const auto award = static_cast<std::int32_t>(winners.integer(1));
        if (std::ranges::find(won, award) == won.end())
            won.insert(std::ranges::upper_bound(won, award), award);
    }
}

// Read last: a rating without records (left by a command that was stopped)
// adds a player, which would move the players the records point at.
void readRatings(Database& db, SeasonSnapshot& snapshot, MatchIndex& index) {
    Statement ratings = db.prepare("SELECT matchId, seasonKey, mu, sigma FROM season_player_match");
    while (ratings.step()) {
        const std::size_t* place = index.find(ratings.integer(0));
        if (!place) continue;
        playerOf(snapshot.matches[*place], ratings.text(1)).rating = {ratings.real(2),
                                                                      ratings.real(3)};
    }
}

// The ratings of a window of the season as if the store held only its
// matches, which are in played order: each player starts afresh.
void rateMatchesAlone(SeasonSnapshot& snapshot) {
    std::map<std::string, Rating, std::less<>> latest;
    std::vector<RatedPlayer> rated;
    for (SeasonMatch& match : snapshot.matches) {
        rated.clear();
        for (const MatchPlayer& p : match.players) {
            const auto known = latest.find(p.key);
            rated.push_back({known == latest.end() ? Rating{} : known->second, p.rank});
        }
        rateMatch(rated);
        for (std::size_t i = 0; i < rated.size(); ++i) {
            match.players[i].rating = rated[i].rating;
            latest[match.players[i].key] = rated[i].rating;
        }
    }
}

// Season totals over the snapshot's matches, which are in played order.
void sumPlayers(Database& db, SeasonSnapshot& snapshot) {
    std::map<std::string, SeasonPlayer, std::less<>> players;
    for (const SeasonMatch& match : snapshot.matches) {
        for (const MatchPlayer& p : match.players) {
            SeasonPlayer& total = players[p.key];
            total.key = p.key;
            total.name = p.name;
            ++total.matches;
            addCounters(total.counters, p.counters);
            for (const auto& [victim, count] : p.killsByVictim)
                addKills(total.killsByVictim, victim, count);
            total.rank += p.rank;
            total.awardsWon += static_cast<std::int32_t>(p.awards.size());
            total.rating = p.rating;
        }
    }
    // The name the season shows, which the ratings keep.
    Statement names = db.prepare("SELECT seasonKey, name FROM season_player");
    while (names.step()) {
        const auto found = players.find(names.text(0));
        if (found != players.end()) found->second.name = names.text(1);
    }
    Statement aliases = db.prepare(
        "SELECT seasonKey, key FROM player_key WHERE key <> seasonKey ORDER BY seasonKey, key");
    while (aliases.step()) {
        const auto found = players.find(aliases.text(0));
        if (found != players.end()) found->second.aliases.emplace_back(aliases.text(1));
    }
    Statement changes = db.prepare("SELECT seasonKey, changeSeq FROM player_change");
    while (changes.step()) {
        const auto found = players.find(changes.text(0));
        if (found != players.end()) found->second.changeSeq = changes.integer(1);
    }
    for (auto& [key, player] : players) snapshot.players.push_back(std::move(player));
}

// The leaderboard of a window of the season, from its snapshot.
std::vector<LeaderboardRow> windowLeaderboard(const SeasonSnapshot& snapshot,
                                              std::int32_t minMatches) {
    std::vector<LeaderboardRow> rows;
    for (const SeasonPlayer& p : snapshot.players) {
        if (p.matches < minMatches) continue;
        rows.push_back({p.key, p.name, p.matches, p.counters.kills, p.counters.deaths,
                        p.counters.caps, p.rank, p.awardsWon, p.rating});
    }
    std::ranges::sort(rows, [](const LeaderboardRow& a, const LeaderboardRow& b) {
        return std::pair(-a.rating.ordinal(), std::string_view(a.key)) <
               std::pair(-b.rating.ordinal(), std::string_view(b.key));
    });
    return rows;
}

}  // namespace

SeasonSnapshot SqliteSeasonStore::snapshot(std::optional<std::int64_t> since) {
    Transaction reading(m_db,
                        Transaction::Kind::Read);  // one consistent picture while other imports run
    SeasonSnapshot snapshot;
    snapshot.changeSeq = changeSequence();
    MatchIndex index;
    readMatches(m_db, since.value_or(std::numeric_limits<std::int64_t>::min()), snapshot, index);
    readSenders(m_db, snapshot, index);
    const auto records = readRecords(m_db, snapshot, index);
    readKillsAndAwards(m_db, snapshot, index, records);
    if (since) {
        rateMatchesAlone(snapshot);
    } else {
        readRatings(m_db, snapshot, index);
    }
    sumPlayers(m_db, snapshot);
    return snapshot;
}

std::int64_t SqliteSeasonStore::changeSequence() {
    return m_db.queryInteger("SELECT value FROM store_state WHERE name = 'changeSeq'").value_or(0);
}

std::vector<MatchSummary> SqliteSeasonStore::matchSummaries(std::int64_t since,
                                                            std::int64_t first,
                                                            std::int64_t last) {
    Statement query = m_db.prepare(R"sql(
SELECT m.id, m.playedAt, m.file,
  (SELECT count(DISTINCT k.seasonKey) FROM record r JOIN player_key k ON k.key = r.key
   WHERE r.matchId = m.id),
  (SELECT count(*) FROM recording c WHERE c.matchId = m.id)
FROM match m WHERE m.playedAt >= ?1 AND m.id BETWEEN ?2 AND ?3 ORDER BY m.playedAt, m.sha256
)sql");
    query.bindAll(since, first, last);
    std::vector<MatchSummary> matches;
    while (query.step()) {
        matches.push_back({query.integer(0), query.integer(1), std::string(query.text(2)),
                           static_cast<std::int32_t>(query.integer(3)),
                           static_cast<std::int32_t>(query.integer(4))});
    }
    return matches;
}

std::vector<MatchSummary> SqliteSeasonStore::matches(std::optional<std::int64_t> since) {
    return matchSummaries(since.value_or(std::numeric_limits<std::int64_t>::min()),
                          std::numeric_limits<std::int64_t>::min(),
                          std::numeric_limits<std::int64_t>::max());
}

std::vector<LeaderboardRow> SqliteSeasonStore::leaderboard(std::int32_t minMatches,
                                                           std::optional<std::int64_t> since) {
    if (since) return windowLeaderboard(snapshot(since), minMatches);
    // What the leaderboard sums is kept per season player and match when
    // ratings are computed, in key order: one pass, no join with the records.
    Statement query = m_db.prepare(R"sql(
SELECT t.seasonKey, s.name, t.matches, t.kills, t.deaths, t.caps, t.rank, t.awards, s.mu, s.sigma
FROM (
  SELECT seasonKey, count(*) AS matches, sum(kills) AS kills, sum(deaths) AS deaths,
         sum(caps) AS caps, sum(rank) AS rank, sum(awards) AS awards
  FROM season_player_match GROUP BY seasonKey HAVING count(*) >= ?1) t
JOIN season_player s ON s.seasonKey = t.seasonKey
ORDER BY s.mu - 3 * s.sigma DESC, t.seasonKey
)sql");
    query.bind(1, minMatches);
    std::vector<LeaderboardRow> rows;
    while (query.step()) {
        rows.push_back({std::string(query.text(0)),
                        std::string(query.text(1)),
                        static_cast<std::int32_t>(query.integer(2)),
                        query.integer(3),
                        query.integer(4),
                        query.integer(5),
                        query.integer(6),
                        static_cast<std::int32_t>(query.integer(7)),
                        {query.real(8), query.real(9)}});
    }
    return rows;
}

}  // namespace zefa::season
