#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "season/IsoTime.h"
#include "season/SeasonJson.h"
#include "season/SeasonStore.h"
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

class SeasonStoreTest : public ::testing::Test {
protected:
    std::unique_ptr<SeasonStore> open(const std::string& name) {
        std::string error;
        auto store = SeasonStore::open(dir / name, SeasonStore::OpenMode::CreateIfMissing, error);
        EXPECT_TRUE(store) << error;
        return store;
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
    const auto results = import(*store, logs);
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

    const auto again = import(*store, {logs[0]});
    EXPECT_EQ(again[0].outcome, Outcome::SameBytes);
    EXPECT_EQ(again[0].matchId, results[0].matchId);
    EXPECT_EQ(import(*store, {logs[static_cast<std::size_t>(late)]}, true)[0].outcome,
              Outcome::Stored);

    const auto stored = store->matchLog(results[3].matchId);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->bytes, test::readFile(logs[3]));
    EXPECT_EQ(stored->gameVersion, 2);
    EXPECT_FALSE(store->matchLog(999));
}

// Ratings and totals depend on the set of matches, not on the order they came
// in; a merge and its unmerge, and a forget and a new import, leave the
// season exactly as it was.
TEST_F(SeasonStoreTest, TheSameMatchesGiveTheSameSeasonWhateverHappenedBetween) {
    auto forward = open("forward.db");
    import(*forward, seasonLogs());
    const std::string season = seasonJson(forward->snapshot());

    // Backwards, the late joiner's recording comes first and is kept instead:
    // it is left out.
    auto backward = open("backward.db");
    auto reversed = seasonLogs();
    std::erase_if(reversed, [](const auto& p) {
        return p.filename().string().find("late") != std::string::npos;
    });
    std::ranges::reverse(reversed);
    import(*backward, reversed);
    auto withoutIds = [](SeasonSnapshot snapshot) {
        for (SeasonMatch& m : snapshot.matches) m.id = 0;
        return seasonJson(snapshot);
    };
    EXPECT_EQ(withoutIds(backward->snapshot()), withoutIds(forward->snapshot()));

    ASSERT_EQ(forward->merge("^1Vip3r", "viper"), "");
    const SeasonSnapshot merged = forward->snapshot();
    const auto viper = std::ranges::find(merged.players, "viper", &SeasonPlayer::key);
    ASSERT_NE(viper, merged.players.end());
    EXPECT_EQ(viper->aliases, std::vector<std::string>{"vip3r"});
    EXPECT_EQ(std::ranges::count(merged.players, "vip3r", &SeasonPlayer::key), 0);
    EXPECT_NE(forward->merge("viper", "vip3r"), "");  // would be a loop
    ASSERT_EQ(forward->unmerge("vip3r"), "");
    EXPECT_EQ(seasonJson(forward->snapshot()), season);

    const std::int64_t first = forward->snapshot().matches.front().id;
    ASSERT_TRUE(forward->forget(first));
    EXPECT_FALSE(forward->forget(first));
    import(*forward, {seasonLogs().front()});
    EXPECT_EQ(withoutIds(forward->snapshot()), withoutIds(backward->snapshot()));

    const SeasonSnapshot later = forward->snapshot(*parseIsoTime("2026-03-05"));
    EXPECT_EQ(later.matches.size(), forward->snapshot().matches.size() - 4);
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
        {"newer.db", "written by a newer zefastats (store version 2, this one reads up to 1)"},
        {"text.db", "not a season store"},
        {"missing/season.db", "No such file or directory"},
    };
    for (const auto& [name, reason] : cases) {
        const std::string before = test::readFile(dir / name);
        std::string error;
        EXPECT_FALSE(SeasonStore::open(dir / name, SeasonStore::OpenMode::CreateIfMissing, error));
        EXPECT_EQ(error, reason) << name;
        EXPECT_EQ(test::readFile(dir / name), before) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
}  // namespace zefa::season
