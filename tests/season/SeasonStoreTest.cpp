#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

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
        ClassifierCache classifiers;
        for (const auto& log : logs) {
            std::string why;
            const auto match = readMatch(test::readFile(log), std::nullopt, classifiers, why);
            const auto day = std::ranges::find(all, log) - all.begin();
            results.push_back(store.importMatch(*match, log.filename().string(),
                                                *parseIsoTime("2026-03-01") + day * 86400,
                                                keepOverlap));
        }
        store.updateRatings();
        return results;
    }

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

    const auto again = import(store, {logs[0]});
    EXPECT_EQ(again[0].outcome, Outcome::SameBytes);
    EXPECT_EQ(again[0].matchId, results[0].matchId);
    EXPECT_EQ(import(store, {logs[static_cast<std::size_t>(late)]}, true)[0].outcome,
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
        .prepare("UPDATE match_log SET zstd = x'00' WHERE matchId = ?1")
        .bind(1, results[3].matchId)
        .run();
    const auto damaged = errorOf([&] { (void)store.matchLog(results[3].matchId); });
    ASSERT_TRUE(damaged);
    EXPECT_EQ(damaged->kind(), SeasonError::Kind::Failed);
    EXPECT_EQ(damaged->reason(),
              "the stored log of match " + std::to_string(results[3].matchId) + " is damaged");
}

// Ratings and totals depend on the set of matches, not on the order they came
// in; a merge and its unmerge, and a forget and a new import, leave the
// season exactly as it was.
TEST_F(SeasonStoreTest, TheSameMatchesGiveTheSameSeasonWhateverHappenedBetween) {
    auto forward = open("forward.db");
    import(forward, seasonLogs());
    const std::string season = seasonJson(forward.snapshot());

    // Backwards, the late joiner's recording comes first and is kept instead:
    // it is left out.
    auto backward = open("backward.db");
    auto reversed = seasonLogs();
    std::erase_if(reversed, [](const auto& p) {
        return p.filename().string().find("late") != std::string::npos;
    });
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

// A store of the first version is brought up to the present one in place
// when it is first opened writable: the same season as a new store's.
TEST_F(SeasonStoreTest, AStoreOfTheFirstVersionIsUpgradedInPlace) {
    const auto logs = seasonLogs();
    std::string season;
    {
        auto store = open("season.db");
        import(store, logs);
        store.merge("viper", "vip3r");
        season = seasonJson(store.snapshot());
    }
    {
        Database first((dir / "season.db").string(), SQLITE_OPEN_READWRITE);
        first.exec(
            "DROP TABLE player_name; ALTER TABLE season_player_match DROP COLUMN ownName; "
            "UPDATE season_player SET name = 'as version 1 left it'; PRAGMA user_version = 1");
    }
    const auto reading = errorOf([&] {
        (void)SeasonStore::open(dir / "season.db", SeasonStore::OpenMode::ReadOnly);
    });
    EXPECT_FALSE(reading) << reading->what();  // this user may write it: upgraded first
    EXPECT_EQ(seasonJson(open("season.db").snapshot()), season);
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
