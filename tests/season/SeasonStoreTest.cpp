#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>

#include "season/IsoTime.h"
#include "season/SeasonJson.h"
#include "season/SeasonStore.h"
#include "season/Sqlite.h"
#include "season/StoreSchema.h"
#include "support/ScratchDir.h"

namespace zefa::season {
namespace {

using Outcome = ImportResult::Outcome;

std::vector<std::filesystem::path> seasonLogs() {
    std::vector<std::filesystem::path> logs;
    for (const auto& entry : std::filesystem::directory_iterator(ZEFA_EXAMPLES_DIR "/season"))
        logs.push_back(entry.path());
    std::ranges::sort(logs);
    return logs;
}

// The error `work` throws, if any.
template <typename Work>
std::optional<SeasonError> errorOf(Work work) {
    try {
        work();
    } catch (const SeasonError& error) {
        return error;
    }
    return std::nullopt;
}

class SeasonStoreTest : public ::testing::Test {
protected:
    SeasonStore open(const std::string& name) {
        return SeasonStore::open(dir / name, SeasonStore::OpenMode::CreateIfMissing);
    }

    // Imports the logs, the n-th played on day n, and returns the outcomes.
    std::vector<ImportResult> import(SeasonStore& store, std::vector<std::filesystem::path> logs,
                                     bool keepOverlap = false) {
        std::vector<ImportResult> results;
        const auto all = seasonLogs();
        for (const auto& log : logs) {
            const auto day = std::ranges::find(all, log) - all.begin();
            results.push_back(importBytes(store, test::readFile(log), log.filename().string(),
                                          *parseIsoTime("2026-03-01") + day * 86400, keepOverlap));
        }
        store.updateRatings();
        return results;
    }

    ImportResult importBytes(SeasonStore& store, std::string bytes, const std::string& file,
                             std::int64_t playedAt, bool keepOverlap = false) {
        std::string why;
        const auto match = readMatch(std::move(bytes), std::nullopt, classifiers, why);
        return store.importMatch(*match, file, playedAt, keepOverlap);
    }

    ClassifierCache classifiers;
    test::ScratchDir dir;
};

TEST_F(SeasonStoreTest, EachMatchIsStoredOnceWhateverTheBytesAndTheClient) {
    auto store = open("season.db");
    const auto logs = seasonLogs();
    const auto results = import(store, logs);
    const auto late =
        std::ranges::find_if(
            logs,
            [](const auto& p) { return p.filename().string().find("late") != std::string::npos; }) -
        logs.begin();
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(results[i].outcome,
                  i == static_cast<std::size_t>(late) ? Outcome::SameMatch : Outcome::Stored)
            << logs[i];
    EXPECT_EQ(results[static_cast<std::size_t>(late)].matchId,
              results[static_cast<std::size_t>(late) - 1].matchId);

    EXPECT_EQ(results[static_cast<std::size_t>(late)].recordings, 2);

    const auto again = import(store, {logs[0], logs[static_cast<std::size_t>(late)]});
    EXPECT_EQ(again[0].outcome, Outcome::SameBytes);
    EXPECT_EQ(again[0].matchId, results[0].matchId);
    EXPECT_EQ(again[1].outcome, Outcome::SameBytes);
    EXPECT_EQ(importBytes(store, test::readFile(logs[static_cast<std::size_t>(late)]) + "bye\n",
                          "kept.log", 0, true)
                  .outcome,
              Outcome::Stored);

    const StoredLog stored = store.matchLog(results[3].matchId);
    EXPECT_EQ(stored.bytes, test::readFile(logs[3]));
    EXPECT_EQ(stored.gameVersion, 2);
    EXPECT_EQ(stored.file, logs[3].filename().string());
    const auto missing = errorOf([&] { (void)store.matchLog(999); });
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->kind(), SeasonError::Kind::Refused);
    EXPECT_EQ(missing->reason(), "no such match");
    EXPECT_EQ(missing->file(), dir / "season.db");

    Database((dir / "season.db").string(), SQLITE_OPEN_READWRITE)
        .prepare("UPDATE recording SET zstd = x'00' WHERE matchId = ?1")
        .bind(1, results[3].matchId)
        .run();
    const auto damaged = errorOf([&] { (void)store.matchLog(results[3].matchId); });
    ASSERT_TRUE(damaged);
    EXPECT_EQ(damaged->kind(), SeasonError::Kind::Failed);
    EXPECT_EQ(damaged->reason(), "the stored log of recording 4 is damaged");
}

// Ratings and totals depend on the set of matches, not on the order they came
// in; a merge and its unmerge, and a forget and a new import, leave the
// season exactly as it was.
TEST_F(SeasonStoreTest, TheSameMatchesGiveTheSameSeasonWhateverHappenedBetween) {
    auto forward = open("forward.db");
    import(forward, seasonLogs());
    const std::string season = seasonJson(forward.snapshot());

    // Backwards, the late joiner's recording comes before the whole one.
    auto backward = open("backward.db");
    auto reversed = seasonLogs();
    std::ranges::reverse(reversed);
    import(backward, reversed);
    auto withoutIds = [](SeasonSnapshot snapshot) {
        for (SeasonMatch& m : snapshot.matches) m.id = 0;
        return seasonJson(snapshot);
    };
    EXPECT_EQ(withoutIds(backward.snapshot()), withoutIds(forward.snapshot()));

    forward.merge("^1Vip3r", "viper");
    const SeasonSnapshot merged = forward.snapshot();
    const auto viper = std::ranges::find(merged.players, "viper", &SeasonPlayer::key);
    ASSERT_NE(viper, merged.players.end());
    EXPECT_EQ(viper->aliases, std::vector<std::string>{"vip3r"});
    EXPECT_EQ(std::ranges::count(merged.players, "vip3r", &SeasonPlayer::key), 0);
    const auto loop = errorOf([&] { forward.merge("viper", "vip3r"); });
    ASSERT_TRUE(loop);
    EXPECT_EQ(loop->kind(), SeasonError::Kind::Refused);
    EXPECT_EQ(loop->reason(), "'viper' and 'vip3r' are one player already");
    forward.unmerge("vip3r");
    EXPECT_EQ(seasonJson(forward.snapshot()), season);
    const auto unmerged = errorOf([&] { forward.unmerge("vip3r"); });
    ASSERT_TRUE(unmerged);
    EXPECT_EQ(unmerged->reason(), "'vip3r' is not merged into anyone");

    const std::int64_t first = forward.snapshot().matches.front().id;
    forward.forget(first);
    const auto forgotten = errorOf([&] { forward.forget(first); });
    ASSERT_TRUE(forgotten);
    EXPECT_EQ(forgotten->kind(), SeasonError::Kind::Refused);
    EXPECT_EQ(forgotten->reason(), "no such match");
    import(forward, {seasonLogs().front()});
    EXPECT_EQ(withoutIds(forward.snapshot()), withoutIds(backward.snapshot()));

    const SeasonSnapshot later = forward.snapshot(*parseIsoTime("2026-03-05"));
    EXPECT_EQ(later.matches.size(), forward.snapshot().matches.size() - 4);
}

// Over a window of the season (`since`), ratings are those of a store that
// holds only the window's matches; a window from before the first match is
// the whole season.
TEST_F(SeasonStoreTest, AWindowIsRatedAsIfTheStoreHeldOnlyItsMatches) {
    const auto logs = seasonLogs();
    auto whole = open("whole.db");
    import(whole, logs);
    auto part = open("part.db");
    import(part, {logs.begin() + 4, logs.end()});
    const auto since = *parseIsoTime("2026-03-05");
    const auto rows = [](const std::vector<LeaderboardRow>& board) {
        std::string text;
        for (const LeaderboardRow& r : board)
            text += r.key + " " + r.name + " " + std::to_string(r.matches) + " " +
                    std::to_string(r.kills) + " " + std::to_string(r.awardsWon) + " " +
                    std::to_string(r.rating.mu) + " " + std::to_string(r.rating.sigma) + "\n";
        return text;
    };
    EXPECT_EQ(rows(whole.leaderboard(0, since)), rows(part.leaderboard(0, std::nullopt)));
    EXPECT_EQ(rows(whole.leaderboard(3, *parseIsoTime("2000-01-01"))),
              rows(whole.leaderboard(3, std::nullopt)));
    auto withoutIds = [](SeasonSnapshot snapshot) {
        for (SeasonMatch& m : snapshot.matches) m.id = 0;
        return seasonJson(snapshot);
    };
    EXPECT_EQ(withoutIds(whole.snapshot(since)), withoutIds(part.snapshot()));
}

// The export written match by match as the store reads them is the document
// of the season kept whole, over the whole season and a window of it.
TEST_F(SeasonStoreTest, TheStreamedSeasonIsTheSeasonKeptWhole) {
    auto store = open("season.db");
    import(store, seasonLogs());
    const std::int64_t evening = *parseIsoTime("2026-03-20");
    for (const auto& [name, source] : {std::pair("joiner", "clan-box"), std::pair("early", "home"),
                                       std::pair("late", "clan-box")}) {
        std::string why;
        const auto recording =
            readMatch(test::readFile(ZEFA_EXAMPLES_DIR "/evening/" + std::string(name) + ".log"),
                      std::nullopt, classifiers, why);
        store.importMatch(*recording, name, evening, false, source);
    }
    store.merge("^1Vip3r", "viper");
    store.rename("moss", "^2Moss");
    store.updateRatings();
    EXPECT_EQ(store.snapshot().matches.back().recordedBy,
              (std::vector<std::string>{"clan-box", "home"}));
    for (const auto since : {std::optional<std::int64_t>(), parseIsoTime("2026-03-05")}) {
        std::ostringstream streamed;
        SeasonJsonSink json(streamed);
        store.readSeason(json, since);
        json.finish();
        EXPECT_EQ(streamed.str(), seasonJson(store.snapshot(since)));
    }
}

// A merged player is shown by INTO's own name, also when ALIAS played last,
// or by the name an admin chose; a player no match has is refused with the
// keys it was likely meant as.
TEST_F(SeasonStoreTest, AMergedPlayerIsShownByItsOwnOrItsChosenName) {
    auto store = open("season.db");
    import(store, seasonLogs());
    const auto shown = [&store](std::string_view key) {
        const SeasonSnapshot snapshot = store.snapshot();
        const auto player = std::ranges::find(snapshot.players, key, &SeasonPlayer::key);
        const auto rows = store.leaderboard(0, std::nullopt);
        const auto row = std::ranges::find(rows, key, &LeaderboardRow::key);
        EXPECT_EQ(row->name, player->name);
        return player->name;
    };
    store.merge("viper", "vip3r");  // viper played after vip3r's last match
    EXPECT_EQ(shown("vip3r"), "^1Vip3r^7");
    EXPECT_EQ(store.rename("^1Viper", "^3The ^1Viper"), "vip3r");
    EXPECT_EQ(shown("vip3r"), "^3The ^1Viper");
    store.rename("vip3r", "");
    EXPECT_EQ(shown("vip3r"), "^1Vip3r^7");

    const std::pair<std::string, std::string> unknown[] = {
        {"Vipr", "no match has a player 'vipr'; the closest: 'vip3r', 'viper', 'ace'"},
        {"^1qqqqqqqqqqqq", "no match has a player 'qqqqqqqqqqqq'; the closest: 'ace', 'doc "
                           "holliday', 'ghost'"},
    };
    for (const auto& [name, reason] : unknown) {
        const auto error = errorOf([&] { store.merge(name, "viper"); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), SeasonError::Kind::Refused);
        EXPECT_EQ(error->reason(), reason);
        EXPECT_EQ(errorOf([&] { store.merge("viper", name); })->reason(), reason);
        EXPECT_EQ(errorOf([&] { store.rename(name, "x"); })->reason(), reason);
    }
}

// A store read without locks notices a writer that changed the file meanwhile
// (a lost read would mix pages of two states), and leaves no file beside it.
TEST_F(SeasonStoreTest, ReadingWithoutLocksNoticesAChangeMeanwhile) {
    const auto logs = seasonLogs();
    {
        auto store = open("season.db");
        import(store, {logs[0]});
    }
    auto reader = SeasonStore::open(dir / "season.db", SeasonStore::OpenMode::ReadOnly);
    EXPECT_EQ(reader.snapshot().matches.size(), 1U);
    EXPECT_FALSE(std::filesystem::exists(dir / "season.db-wal"));
    EXPECT_FALSE(std::filesystem::exists(dir / "season.db-shm"));
    {
        auto writer = open("season.db");
        import(writer, {logs[1]});
    }
    const auto changed = errorOf([&] { (void)reader.snapshot(); });
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->kind(), SeasonError::Kind::Failed);
    EXPECT_EQ(changed->reason(), "changed by another command while this one read it: run it again");
    EXPECT_EQ(SeasonStore::open(dir / "season.db", SeasonStore::OpenMode::ReadOnly)
                  .snapshot()
                  .matches.size(),
              2U);
}

// A store written before matches had recordings is upgraded in place: the
// same season, each match one recording, found again by its events.
TEST_F(SeasonStoreTest, AStoreOfVersionOneIsUpgradedInPlace) {
    std::filesystem::copy_file(ZEFA_SEASON_FIXTURES "/fixtures/store-v1.db", dir / "old.db");
    auto old = SeasonStore::open(dir / "old.db", SeasonStore::OpenMode::Existing);
    auto fresh = open("fresh.db");
    const auto log = [](const std::string& name) {
        return test::readFile(ZEFA_EXAMPLES_DIR "/season/" + name);
    };
    const std::int64_t week1 = *parseIsoTime("2026-03-02T20:00:00Z");
    const std::int64_t week2 = *parseIsoTime("2026-03-09T20:00:00Z");
    importBytes(fresh, log("match-01.log"), "match-01.log", week1);
    importBytes(fresh, log("match-02.log"), "match-02.log", week1);
    importBytes(fresh, log("match-06.log"), "match-06.log", week2);
    importBytes(fresh, log("match-06_late-joiner.log"), "match-06_late-joiner.log", week2 + 1800,
                true);
    fresh.merge("Ace", "Neo");
    EXPECT_EQ(seasonJson(old.snapshot()), seasonJson(fresh.snapshot()));
    EXPECT_EQ(old.matchLog(1).bytes, log("match-01.log"));
    const auto recordings = old.recordings(3);
    ASSERT_EQ(recordings.size(), 1u);
    EXPECT_EQ(recordings[0].file, "match-06.log");
    EXPECT_EQ(recordings[0].source, "imported");

    const ImportResult grown = importBytes(old, log("match-01.log") + "bye\n", "grown.log", 0);
    EXPECT_EQ(grown.outcome, Outcome::SameMatch);
    EXPECT_EQ(grown.matchId, 1);
    Database db((dir / "old.db").string(), SQLITE_OPEN_READONLY);
    EXPECT_EQ(db.queryInteger("PRAGMA user_version"), kStoreSchemaVersion);
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM recording WHERE firstEvent IS NULL"), 0);
    // Every recording's kept shingles are listed with it, as an import lists them.
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM recording_shingles"),
              db.queryInteger("SELECT count(*) FROM recording"));
    EXPECT_EQ(db.queryInteger("SELECT sum(length(shingles)) / 8 FROM recording_shingles"),
              db.queryInteger("SELECT count(*) FROM event_shingle"));
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM pragma_integrity_check WHERE "
                              "integrity_check <> 'ok'"),
              0);
}

// One evening on a server (examples/evening): the server's own log and the
// recordings of clients that were there for some of it.
class EveningTest : public SeasonStoreTest {
protected:
    static std::string log(const std::string& name) {
        return test::readFile(ZEFA_EXAMPLES_DIR "/evening/" + name + ".log");
    }

    // The season of the logs stored in this order in a new store, without
    // what tells the logs apart; the store's one match must be read from a
    // log with the server's game events, each once.
    std::string season(const std::vector<std::string>& logs) {
        auto store = open("evening" + std::to_string(++m_stores) + ".db");
        for (std::size_t i = 0; i < logs.size(); ++i)
            importBytes(store, logs[i], "r" + std::to_string(i) + ".log", kPlayedAt);
        store.updateRatings();
        SeasonSnapshot snapshot = store.snapshot();
        EXPECT_EQ(snapshot.matches.size(), 1u);
        if (snapshot.matches.size() != 1) return {};
        SeasonMatch& match = snapshot.matches.front();
        EXPECT_EQ(match.recordings, static_cast<std::int32_t>(logs.size()));
        std::string why;
        EXPECT_EQ(
            readMatch(store.matchLog(match.id).bytes, std::nullopt, classifiers, why)->events.lines,
            m_serverEvents);
        match.id = match.lineCount = match.recordings = 0;
        match.file = match.sha256 = "";
        return seasonJson(snapshot);
    }

    void SetUp() override {
        std::string why;
        m_serverEvents = readMatch(log("server"), std::nullopt, classifiers, why)->events.lines;
        m_server = season({log("server")});
    }

    static constexpr std::int64_t kPlayedAt = 1773693000;
    std::vector<std::uint64_t> m_serverEvents;
    std::string m_server;  // the season of the server's log alone
    int m_stores = 0;
};

TEST_F(EveningTest, OverlappingRecordingsInAnyOrderAreTheServersMatch) {
    // Left early, in the middle, joined late: each shares events with the next.
    std::vector<std::string> three = {log("early"), log("middle"), log("late")};
    std::ranges::sort(three);
    do {
        EXPECT_EQ(season(three), m_server);
    } while (std::ranges::next_permutation(three).found);

    std::vector<std::string> four = {log("early"), log("middle"), log("late"), log("full")};
    std::ranges::sort(four);
    do {
        EXPECT_EQ(season(four), m_server);
    } while (std::ranges::next_permutation(four).found);

    // Two that overlap in part, and a late joiner before the whole evening.
    EXPECT_EQ(season({log("early"), log("joiner")}), m_server);
    EXPECT_EQ(season({log("joiner"), log("early")}), m_server);
    EXPECT_EQ(season({log("joiner"), log("full")}), m_server);
    EXPECT_EQ(season({log("late"), log("full")}), m_server);
}

TEST_F(EveningTest, ALogImportedAgainAfterItGrewIsOneMatch) {
    // Cut in the middle of a line, and again while it held a few events only.
    const std::string full = log("full");
    const std::string half = full.substr(0, full.size() / 2 + 7);
    ASSERT_NE(half.back(), '\n');
    std::string why;
    const auto tenth = readMatch(full, std::nullopt, classifiers, why)->events.lineNumbers[9];
    std::size_t end = 0;
    for (std::int32_t line = 0; line < tenth; ++line) end = full.find('\n', end) + 1;
    const std::string start = full.substr(0, end);
    ASSERT_EQ(readMatch(start, std::nullopt, classifiers, why)->events.lines.size(), 10u);
    EXPECT_EQ(season({half, full}), m_server);
    EXPECT_EQ(season({full, half}), m_server);
    EXPECT_EQ(season({start, full}), m_server);
    EXPECT_EQ(season({full, start}), m_server);
}

TEST_F(EveningTest, ForgettingARecordingReadsItsMatchAgainFromTheOthers) {
    auto store = open("forget.db");
    for (const char* name : {"early", "middle", "late"})
        importBytes(store, log(name), std::string(name) + ".log", kPlayedAt);
    const auto recordings = store.recordings(1);
    ASSERT_EQ(recordings.size(), 3u);
    EXPECT_EQ(recordings[1].file, "middle.log");

    // Without the middle one, the others share no event: two matches.
    const RecordingForgotten middle = store.forgetRecording(recordings[1].sha256.substr(0, 12));
    EXPECT_EQ(middle.recordingsLeft, 1);
    ASSERT_EQ(middle.splitOff.size(), 1u);
    store.updateRatings();
    EXPECT_EQ(store.snapshot().matches.size(), 2u);
    EXPECT_EQ(store.matchLog(middle.matchId).bytes, log("early"));
    EXPECT_EQ(store.matchLog(middle.splitOff[0]).bytes, log("late"));
    // A forgotten recording's shingles go with it; the others' stay, listed.
    Database db((dir / "forget.db").string(), SQLITE_OPEN_READONLY);
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM event_shingle WHERE recordingId NOT IN "
                              "(SELECT id FROM recording)"),
              0);
    EXPECT_EQ(db.queryInteger("SELECT sum(length(shingles)) / 8 FROM recording_shingles"),
              db.queryInteger("SELECT count(*) FROM event_shingle"));

    const RecordingForgotten last = store.forgetRecording(recordings[2].sha256);
    EXPECT_EQ(last.recordingsLeft, 0);
    EXPECT_EQ(errorOf([&] { (void)store.recordings(last.matchId); })->reason(), "no such match");
    for (const std::string& sha : {recordings[2].sha256, std::string()})
        EXPECT_EQ(errorOf([&] { store.forgetRecording(sha); })->reason(), "no such recording");
    store.forget(middle.matchId);
    EXPECT_TRUE(store.snapshot().matches.empty());
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM event_shingle"), 0);
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM recording_shingles"), 0);
}

// A file that is no store of this program is refused and left as it was.
TEST_F(SeasonStoreTest, RefusesWhatIsNoStoreOfItsOwnAndLeavesItAlone) {
    {
        Database foreign((dir / "foreign.db").string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        foreign.exec("CREATE TABLE t(x)");
        Database newer((dir / "newer.db").string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        newer.exec("PRAGMA application_id = " + std::to_string(kStoreApplicationId));
        newer.exec("PRAGMA user_version = " + std::to_string(kStoreSchemaVersion + 1));
    }
    test::writeFile(dir / "text.db", std::string(5000, 'x'));
    const std::pair<std::string, std::string> cases[] = {
        {"foreign.db", "not a season store"},
        {"newer.db", "written by a newer zefastats (store version " +
                         std::to_string(kStoreSchemaVersion + 1) + ", this one reads up to " +
                         std::to_string(kStoreSchemaVersion) + ")"},
        {"text.db", "not a season store"},
        {"missing/season.db", "No such file or directory"},
    };
    for (const auto& [name, reason] : cases) {
        const std::string before = test::readFile(dir / name);
        const auto error = errorOf([&] { (void)open(name); });
        ASSERT_TRUE(error) << name;
        EXPECT_EQ(error->kind(), SeasonError::Kind::Unusable) << name;
        EXPECT_EQ(error->reason(), reason) << name;
        EXPECT_EQ(error->file(), dir / name);
        EXPECT_EQ(test::readFile(dir / name), before) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
}  // namespace zefa::season
