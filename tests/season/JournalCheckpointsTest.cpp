#include <gtest/gtest.h>

#include <filesystem>

#include "season/JournalCheckpoints.h"
#include "support/ScratchDir.h"

namespace zefa::season {
namespace {

// What a writer commits reaches the store's own file by the other thread's
// copy; the journal would keep it until the writer's 1,000th page.
TEST(JournalCheckpointsTest, CommitsReachTheStoreFileOnTheOtherThread) {
    const test::ScratchDir dir;
    const std::filesystem::path path = dir / "s.db";
    Database writer(path.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    writer.exec("PRAGMA journal_mode = WAL");
    writer.exec("CREATE TABLE t (x BLOB)");
    const std::uintmax_t before = std::filesystem::file_size(path);
    {
        const JournalCheckpoints checkpoints(writer, path);
        writer.exec("INSERT INTO t VALUES (zeroblob(1 << 20))");
    }  // waits for the copy asked for
    EXPECT_GE(std::filesystem::file_size(path), before + (1 << 20));
}

}  // namespace
}  // namespace zefa::season
