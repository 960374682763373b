#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "season/LogImport.h"
#include "season/Sqlite.h"
#include "support/ScratchDir.h"

namespace zefa::season {
namespace {

namespace fs = std::filesystem;

// The example season and the evening's recordings of one match (which join,
// so the order they are stored in counts), each played an hour after the
// one before.
std::vector<PlannedLog> exampleLogs() {
    std::vector<PlannedLog> logs;
    for (const char* folder : {"/season", "/evening"}) {
        std::vector<fs::path> paths;
        for (const auto& entry : fs::directory_iterator(fs::path(ZEFA_EXAMPLES_DIR) += folder))
            paths.push_back(entry.path());
        std::ranges::sort(paths);
        for (const fs::path& path : paths)
            logs.push_back({path, 1'772'323'200 + 3600 * std::int64_t(logs.size())});
    }
    return logs;
}

// Every row of every table, but the time each recording was stored at.
std::vector<std::string> rowsOf(const fs::path& path) {
    Database db(path.string(), SQLITE_OPEN_READWRITE);
    db.exec("UPDATE recording SET storedAt = 0");
    std::vector<std::string> rows;
    Statement tables = db.prepare("SELECT name FROM sqlite_schema WHERE type = 'table'");
    while (tables.step()) {
        const std::string table(tables.text(0));
        Statement all = db.prepare("SELECT * FROM \"" + table + "\"");
        while (all.step()) {
            std::string row = table;
            for (int i = 0; i < all.columns(); ++i) row.append("|").append(all.text(i));
            rows.push_back(std::move(row));
        }
    }
    std::ranges::sort(rows);
    return rows;
}

TEST(LogImportTest, ThreadsThatReadLeaveTheRowsOfOneByOneImports) {
    const test::ScratchDir dir;
    const std::vector<PlannedLog> logs = exampleLogs();
    {
        SeasonStore store =
            SeasonStore::open(dir / "one.db", SeasonStore::OpenMode::CreateIfMissing);
        ClassifierCache classifiers;
        std::string whyNot;
        for (const PlannedLog& log : logs)
            ASSERT_TRUE(
                importLogFile(store, log.path, {.playedAt = log.playedAt}, classifiers, whyNot));
        store.updateRatings();
    }
    for (const unsigned threads : {1U, 3U}) {
        const fs::path path = dir / ("threads" + std::to_string(threads) + ".db");
        SeasonStore store = SeasonStore::open(path, SeasonStore::OpenMode::CreateIfMissing);
        importLogFiles(store, logs, {}, threads, [](std::size_t, const LogOutcome&) {});
        store.updateRatings();
        EXPECT_EQ(rowsOf(path), rowsOf(dir / "one.db")) << threads << " threads";
    }
}

// A log is reported, in the logs' order, once another connection sees it
// (the match a log was stored as may be joined into another by a later log
// of the same transaction: its recording stays).
TEST(LogImportTest, ReportsEachLogInOrderOnceCommitted) {
    const test::ScratchDir dir;
    std::vector<PlannedLog> logs = exampleLogs();
    test::writeFile(dir / "empty.log", "");
    logs.insert(logs.begin() + 2, {dir / "empty.log", 0, false, true});
    logs.insert(logs.begin() + 4, {dir / "missing.log", 0});
    SeasonStore store = SeasonStore::open(dir / "s.db", SeasonStore::OpenMode::CreateIfMissing);
    Database reader((dir / "s.db").string(), SQLITE_OPEN_READONLY);
    std::size_t next = 0;
    std::int64_t recordings = 0;
    importLogFiles(store, logs, {}, 2, [&](std::size_t log, const LogOutcome& outcome) {
        EXPECT_EQ(log, next++);
        EXPECT_EQ(outcome.result.has_value(), log != 2 && log != 4) << log;
        if (log == 4) {
            EXPECT_NE(outcome.whyNot, "");
        }
        if (!outcome.result) return;
        ++recordings;
        Statement seen = reader.prepare("SELECT count(*) FROM recording");
        seen.step();
        EXPECT_GE(seen.integer(0), recordings) << log;
    });
    EXPECT_EQ(next, logs.size());
}

// A log that fails on the way into the store (spliced with a stored
// recording whose bytes are damaged) leaves no row, and the logs before it
// in its transaction are stored and reported as one by one; none after it.
TEST(LogImportTest, AFailedLogLeavesTheLogsBeforeItAsOneByOne) {
    const test::ScratchDir dir;
    const std::vector<PlannedLog> season = exampleLogs();
    const PlannedLog middle{fs::path(ZEFA_EXAMPLES_DIR) / "evening/middle.log", 1'772'323'200};
    const auto damagedStore = [&](const fs::path& path) {
        ClassifierCache classifiers;
        std::string whyNot;
        SeasonStore store = SeasonStore::open(path, SeasonStore::OpenMode::CreateIfMissing);
        EXPECT_TRUE(importLogFile(store, fs::path(ZEFA_EXAMPLES_DIR) / "evening/early.log", {},
                                  classifiers, whyNot));
        Database(path.string(), SQLITE_OPEN_READWRITE).exec("UPDATE recording SET zstd = x'00'");
    };
    damagedStore(dir / "one.db");
    {
        SeasonStore store = SeasonStore::open(dir / "one.db", SeasonStore::OpenMode::Existing);
        ClassifierCache classifiers;
        std::string whyNot;
        for (const PlannedLog& log : std::span(season).first(2))
            ASSERT_TRUE(
                importLogFile(store, log.path, {.playedAt = log.playedAt}, classifiers, whyNot));
    }
    damagedStore(dir / "batch.db");
    const std::vector<PlannedLog> logs = {season[0], season[1], middle, season[2]};
    std::vector<std::size_t> reported;
    {
        SeasonStore store = SeasonStore::open(dir / "batch.db", SeasonStore::OpenMode::Existing);
        EXPECT_THROW(importLogFiles(store, logs, {}, 2,
                                    [&](std::size_t log, const LogOutcome& outcome) {
                                        EXPECT_TRUE(outcome.result) << log;
                                        reported.push_back(log);
                                    }),
                     SeasonError);
    }
    EXPECT_EQ(reported, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(rowsOf(dir / "batch.db"), rowsOf(dir / "one.db"));
}

}  // namespace
}  // namespace zefa::season
