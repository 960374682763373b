#include <gtest/gtest.h>
#include <utime.h>

#include "season/ImportPlan.h"
#include "season/IsoTime.h"
#include "support/ScratchDir.h"

namespace zefa::season {
namespace {

namespace fs = std::filesystem;

TEST(ImportPlanTest, PlayedAtTakesATimeForAllAndOnePerFile) {
    PlayedAtTimes times;
    std::string why;
    EXPECT_TRUE(addPlayedAt(times, "2026-03-01", why));
    EXPECT_TRUE(addPlayedAt(times, "me@home.log@2026-03-02T20:00Z", why));
    EXPECT_EQ(times.all, parseIsoTime("2026-03-01"));
    ASSERT_EQ(times.perFile.size(), 1U);
    EXPECT_EQ(times.perFile[0].first, "me@home.log");  // the time follows the last '@'
    EXPECT_EQ(times.perFile[0].second, parseIsoTime("2026-03-02T20:00Z"));

    const std::pair<const char*, const char*> refused[] = {
        {"2026-03-03", "gives the time of every log twice"},
        {"./me@home.log@2026-03-03", "gives the time of './me@home.log' twice"},
        {"@2026-03-03", "takes TIME or FILE@TIME, with a time such as 2026-03-01T20:00:00Z"},
        {"a.log@yesterday", "takes TIME or FILE@TIME, with a time such as 2026-03-01T20:00:00Z"},
    };
    for (const auto& [text, reason] : refused) {
        why.clear();
        EXPECT_FALSE(addPlayedAt(times, text, why)) << text;
        EXPECT_EQ(why, reason) << text;
    }
}

class ImportPlanFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "logs/sub");
        fs::create_directories(dir / "other");
        for (const char* name : {"logs/b.log", "logs/a.txt", "logs/.hidden.log", "logs/sub/c.log",
                                 "other/b.log", "single.log"})
            test::writeFile(dir / name, "x\n");
        test::writeFile(dir / "logs/empty.log", "");
    }
    std::vector<std::string> paths(const ImportPlan& plan) const {
        std::vector<std::string> names;
        for (const PlannedLog& log : plan.logs)
            names.push_back(log.path.lexically_relative(dir.path()).string());
        return names;
    }
    void setModified(const std::string& name, std::int64_t time) const {
        const utimbuf times{time, time};
        utime((dir / name).c_str(), &times);
    }
    test::ScratchDir dir;
};

// A folder gives its regular files, not hidden, not those of its subfolders.
TEST_F(ImportPlanFolderTest, AFolderGivesTheLogsInIt) {
    const ImportPlan plan =
        planImport({(dir / "logs").string(), (dir / "single.log").string()}, {});
    EXPECT_EQ(paths(plan), (std::vector<std::string>{"logs/a.txt", "logs/b.log", "logs/empty.log",
                                                     "single.log"}));
    EXPECT_TRUE(plan.logs[2].empty);
    EXPECT_FALSE(plan.logs[1].empty);
    EXPECT_TRUE(plan.usageError.empty());
    const ImportPlan none = planImport({(dir / "none").string()}, {});
    EXPECT_EQ(paths(none), std::vector<std::string>{"none"});
    EXPECT_FALSE(none.logs[0].playedAt);  // the import says it is missing
}

TEST_F(ImportPlanFolderTest, EachLogGetsItsOwnTimeOrTheCommandsOrItsFilesTime) {
    setModified("single.log", 1000);
    PlayedAtTimes times;
    times.perFile = {{"a.txt", 7}, {dir / "logs/b.log", 8}};
    ImportPlan plan = planImport({(dir / "logs").string(), (dir / "single.log").string()}, times);
    EXPECT_EQ(plan.logs[0].playedAt, 7);
    EXPECT_EQ(plan.logs[1].playedAt, 8);
    EXPECT_EQ(plan.logs[3].playedAt, 1000);
    EXPECT_TRUE(plan.logs[3].fromModificationTime);
    EXPECT_FALSE(plan.logs[0].fromModificationTime);
    times.all = 9;
    EXPECT_EQ(planImport({(dir / "single.log").string()}, times).logs[0].playedAt, 9);

    const std::pair<PlayedAtTimes, std::string> wrong[] = {
        {{{}, {{"b.log", 1}}}, "--played-at: 'b.log' names 2 logs; give its folder too"},
        {{{}, {{"c.log", 1}}}, "--played-at: 'c.log' is none of the logs"},
    };
    for (const auto& [given, error] : wrong) {
        plan = planImport({(dir / "logs").string(), (dir / "other").string()}, given);
        EXPECT_EQ(plan.usageError, error);
    }
}

// Most logs modified in one second is what a copy or a checkout leaves.
TEST_F(ImportPlanFolderTest, NotesWhenMostLogsShareOneModificationTime) {
    for (const char* name : {"logs/b.log", "logs/a.txt", "other/b.log"}) setModified(name, 5000);
    setModified("single.log", 6000);
    const std::vector<std::string> all = {(dir / "logs").string(), (dir / "other").string(),
                                          (dir / "single.log").string()};
    const auto shared = sharedModificationTime(planImport(all, {}).logs);
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->time, 5000);
    EXPECT_EQ(shared->logs, 3U);
    EXPECT_EQ(shared->of, 4U);  // the empty log has no match to time
    PlayedAtTimes times;
    times.perFile = {{dir / "logs/a.txt", 1}, {dir / "other/b.log", 2}};
    EXPECT_FALSE(sharedModificationTime(planImport(all, times).logs));
}

}  // namespace
}  // namespace zefa::season
