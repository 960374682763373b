// What the store's readers ask for: the snapshot, the leaderboard, the list of matches.
#include <algorithm>
#include <limits>
#include <map>

#include "season/CounterColumns.h"
#include "season/PlackettLuce.h"
#include "season/SeasonTotals.h"
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

// The player each record of a match counts for: records by their id in the
// match, which are few.
using RecordPlayers = std::vector<std::pair<std::int64_t, std::size_t>>;

const std::size_t* recordPlayer(const RecordPlayers& records, std::int64_t record) {
    const auto found = std::ranges::find(records, record, &RecordPlayers::value_type::first);
    return found == records.end() ? nullptr : &found->second;
}

// The order a reading hands the matches over in.
constexpr std::string_view kPlayedOrder = " ORDER BY playedAt, sha256";

// The matches of a window of the season: those played from ?1 on.
constexpr std::string_view kWindow = "playedAt >= ?1";

// The matches of the window starting at `since`, named only, in played order.
std::vector<MatchHeading> matchHeadings(Database& db, std::int64_t since) {
    Statement query = db.prepare("SELECT id, playedAt, sha256, gameVersion FROM match WHERE " +
                                 std::string(kWindow) + std::string(kPlayedOrder));
    query.bind(1, since);
    std::vector<MatchHeading> matches;
    while (query.step())
        matches.push_back({query.integer(0), query.integer(1), std::string(query.text(2)),
                           static_cast<std::int32_t>(query.integer(3))});
    return matches;
}

// The matches in played order, each with its own rows fetched by its id
// (every table of a match's rows is keyed by matchId first), so a reading
// holds one match at a time whatever the season's size.
class MatchRows {
public:
    // The matches `where` picks, its one parameter bound to `value`.
    MatchRows(Database& db, std::string_view where, std::int64_t value)
        : m_matches(db.prepare(
              "SELECT id, file, sha256, playedAt, gameVersion, lineCount, scoreRed, scoreBlue, "
              "scoreGreen, scoreYellow, changeSeq FROM match WHERE " +
              std::string(where) + std::string(kPlayedOrder))),
          m_recordings(db.prepare("SELECT source FROM recording WHERE matchId = ?1 ORDER BY id")),
          m_records(db.prepare("SELECT r.record, k.seasonKey, r.name, r.rank, " +
                               counterColumnNames("r.") +
                               " FROM record r JOIN player_key k ON k.key = r.key "
                               "WHERE r.matchId = ?1 ORDER BY k.seasonKey, r.record")),
          m_kills(db.prepare("SELECT killer, victim, count FROM record_kill WHERE matchId = ?1")),
          m_awards(db.prepare(
              "SELECT award, name, result FROM match_award WHERE matchId = ?1 ORDER BY award")),
          m_winners(db.prepare("SELECT award, record FROM award_winner WHERE matchId = ?1")),
          m_ratings(db.prepare(
              "SELECT seasonKey, mu, sigma FROM season_player_match WHERE matchId = ?1")) {
        m_matches.bind(1, value);
    }

    // The next match with its players, kills and awards; false after the last.
    bool next(SeasonMatch& match) {
        if (!m_matches.step()) return false;
        match.id = m_matches.integer(0);
        match.file = m_matches.text(1);
        match.sha256 = m_matches.text(2);
        match.playedAt = m_matches.integer(3);
        match.gameVersion = static_cast<std::int32_t>(m_matches.integer(4));
        match.lineCount = static_cast<std::int32_t>(m_matches.integer(5));
        for (std::size_t t = 0; t < match.teamScores.size(); ++t)
            match.teamScores[t] =
                static_cast<std::int32_t>(m_matches.integer(6 + static_cast<int>(t)));
        match.changeSeq = m_matches.integer(10);
        readRecordings(match);
        readRecords(match);
        readKills(match);
        readAwards(match);
        return true;
    }

    // The ratings the store keeps. Read last: a rating without records (left
    // by a command that was stopped) adds a player, which would move the
    // players the records point at.
    void readRatings(SeasonMatch& match) {
        m_ratings.bind(1, match.id);
        while (m_ratings.step())
            playerOf(match, m_ratings.text(0)).rating = {m_ratings.real(1), m_ratings.real(2)};
        m_ratings.reset();
    }

private:
    // Its recordings, and the labels of the tokens they came with, in the
    // order stored, each once (a few: no sorting by SQLite for each match).
    void readRecordings(SeasonMatch& match) {
        m_recordings.bind(1, match.id);
        match.recordings = 0;
        while (m_recordings.step()) {
            ++match.recordings;
            const std::string_view source = m_recordings.text(0);
            if (source != kImportedSource &&
                std::ranges::find(match.recordedBy, source) == match.recordedBy.end())
                match.recordedBy.emplace_back(source);
        }
        m_recordings.reset();
    }

    // Records of one season player in one match are one player: counters
    // summed, the name of the first record kept. They come in key order, so
    // each player is added after the ones before it.
    void readRecords(SeasonMatch& match) {
        m_records.bind(1, match.id);
        m_recordPlayers.clear();
        std::vector<MatchPlayer>& players = match.players;
        while (m_records.step()) {
            const std::string_view key = m_records.text(1);
            if (players.empty() || players.back().key != key) {
                players.emplace_back();
                players.back().key = key;
            }
            MatchPlayer& player = players.back();
            if (player.name.empty()) player.name = m_records.text(2);
            player.rank += static_cast<std::int32_t>(m_records.integer(3));
            PlayerCounters counters;
            readCounters(m_records, 4, counters);
            addCounters(player.counters, counters);
            m_recordPlayers.emplace_back(m_records.integer(0), players.size() - 1);
        }
        m_records.reset();
    }

    void readKills(SeasonMatch& match) {
        m_kills.bind(1, match.id);
        while (m_kills.step()) {
            const std::size_t* killer = recordPlayer(m_recordPlayers, m_kills.integer(0));
            const std::size_t* victim = recordPlayer(m_recordPlayers, m_kills.integer(1));
            if (!killer || !victim) continue;
            addKills(match.players[*killer].killsByVictim, match.players[*victim].key,
                     static_cast<std::int32_t>(m_kills.integer(2)));
        }
        m_kills.reset();
    }

    void readAwards(SeasonMatch& match) {
        m_awards.bind(1, match.id);
        while (m_awards.step()) {
            match.awards.push_back({static_cast<std::int32_t>(m_awards.integer(0)),
                                    std::string(m_awards.text(1)), std::string(m_awards.text(2))});
        }
        m_awards.reset();
        m_winners.bind(1, match.id);
        while (m_winners.step()) {
            const std::size_t* winner = recordPlayer(m_recordPlayers, m_winners.integer(1));
            if (!winner) continue;
            auto& won = match.players[*winner].awards;
            const auto award = static_cast<std::int32_t>(m_winners.integer(0));
            if (std::ranges::find(won, award) == won.end())
                won.insert(std::ranges::upper_bound(won, award), award);
        }
        m_winners.reset();
    }

    Statement m_matches;
    Statement m_recordings;
    Statement m_records;
    Statement m_kills;
    Statement m_awards;
    Statement m_winners;
    Statement m_ratings;
    RecordPlayers m_recordPlayers;  // of the match read last
};

// The ratings of a window of the season as if the store held only its
// matches, which come in played order: each player starts afresh.
class WindowRatings {
public:
    void rate(SeasonMatch& match) {
        m_rated.clear();
        for (const MatchPlayer& p : match.players) {
            const auto known = m_latest.find(p.key);
            m_rated.push_back({known == m_latest.end() ? Rating{} : known->second, p.rank});
        }
        rateMatch(m_rated);
        for (std::size_t i = 0; i < m_rated.size(); ++i) {
            match.players[i].rating = m_rated[i].rating;
            m_latest.insert_or_assign(match.players[i].key, m_rated[i].rating);
        }
    }

private:
    std::map<std::string, Rating, std::less<>> m_latest;
    std::vector<RatedPlayer> m_rated;
};

// What the season shows of its players beyond their matches: display names
// (which the ratings keep), aliases and change numbers, by key.
std::vector<PlayerDescription> describePlayers(Database& db) {
    std::map<std::string, PlayerDescription, std::less<>> players;
    const auto of = [&players](std::string_view key) -> PlayerDescription& {
        auto at = players.find(key);
        if (at == players.end()) {
            at = players.emplace(key, PlayerDescription()).first;
            at->second.key = key;
        }
        return at->second;
    };
    Statement names = db.prepare("SELECT seasonKey, name FROM season_player");
    while (names.step()) of(names.text(0)).name = names.text(1);
    Statement aliases = db.prepare(
        "SELECT seasonKey, key FROM player_key WHERE key <> seasonKey ORDER BY seasonKey, key");
    while (aliases.step()) of(aliases.text(0)).aliases.emplace_back(aliases.text(1));
    Statement changes = db.prepare("SELECT seasonKey, changeSeq FROM player_change");
    while (changes.step()) of(changes.text(0)).changeSeq = changes.integer(1);
    std::vector<PlayerDescription> described;
    described.reserve(players.size());
    for (auto& [key, description] : players) described.push_back(std::move(description));
    return described;
}

void describePlayers(Database& db, SeasonTotals& totals) {
    for (const PlayerDescription& description : describePlayers(db))
        if (SeasonPlayer* player = totals.find(description.key)) describe(*player, description);
}

// The season kept whole.
class SnapshotSink final : public SeasonSink {
public:
    void match(SeasonMatch&& match) override { snapshot.matches.push_back(std::move(match)); }
    void player(SeasonPlayer&& player) override { snapshot.players.push_back(std::move(player)); }

    SeasonSnapshot snapshot;
};

// The leaderboard of a window of the season: its players alone.
class LeaderboardSink final : public SeasonSink {
public:
    explicit LeaderboardSink(std::int32_t minMatches) : m_minMatches(minMatches) {}

    void match(SeasonMatch&&) override {}
    void player(SeasonPlayer&& p) override {
        if (p.matches < m_minMatches) return;
        rows.push_back({std::move(p.key), std::move(p.name), p.matches, p.counters.kills,
                        p.counters.deaths, p.counters.caps, p.rank, p.awardsWon, p.rating});
    }

    std::vector<LeaderboardRow> rows;

private:
    std::int32_t m_minMatches;
};

}  // namespace

std::int64_t SqliteSeasonStore::readSeason(SeasonSink& sink, std::optional<std::int64_t> since) {
    Transaction reading(m_db,
                        Transaction::Kind::Read);  // one consistent picture while other imports run
    const std::int64_t changeSeq = changeSequence();
    const std::int64_t from = since.value_or(std::numeric_limits<std::int64_t>::min());
    if (sink.wantsHeadings()) sink.headings(matchHeadings(m_db, from));
    SeasonTotals totals;
    {
        MatchRows rows(m_db, kWindow, from);
        WindowRatings window;
        SeasonMatch match;
        while (rows.next(match)) {
            if (since) {
                window.rate(match);
            } else {
                rows.readRatings(match);
            }
            totals.add(match);
            sink.match(std::move(match));
            match = {};
        }
    }
    describePlayers(m_db, totals);
    totals.emit([&sink](SeasonPlayer&& player) { sink.player(std::move(player)); });
    return changeSeq;
}

std::optional<SeasonChanges> SqliteSeasonStore::readChanges(std::int64_t since,
                                                            std::size_t limit) {
    Transaction reading(m_db, Transaction::Kind::Read);
    SeasonChanges changes;
    changes.changeSeq = changeSequence();
    Statement unchanged = m_db.prepare(
        "SELECT count(*), sum(id), sum(changeSeq) FROM match WHERE changeSeq <= ?1");
    unchanged.bind(1, since);
    if (unchanged.step())
        changes.unchanged = {unchanged.integer(0), unchanged.integer(1), unchanged.integer(2)};
    MatchRows rows(m_db, "changeSeq > ?1", since);
    SeasonMatch match;
    while (rows.next(match)) {
        if (changes.matches.size() == limit) return std::nullopt;
        rows.readRatings(match);
        changes.matches.push_back(std::move(match));
        match = {};
    }
    changes.players = describePlayers(m_db);
    return changes;
}

SeasonSnapshot SqliteSeasonStore::snapshot(std::optional<std::int64_t> since) {
    SnapshotSink sink;
    sink.snapshot.changeSeq = readSeason(sink, since);
    return std::move(sink.snapshot);
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
    if (since) {
        LeaderboardSink window(minMatches);
        readSeason(window, since);
        std::ranges::sort(window.rows, [](const LeaderboardRow& a, const LeaderboardRow& b) {
            return std::pair(-a.rating.ordinal(), std::string_view(a.key)) <
                   std::pair(-b.rating.ordinal(), std::string_view(b.key));
        });
        return std::move(window.rows);
    }
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
