#include "record/LogFollower.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>

#include "support/ScratchDir.h"

namespace zefa::record {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

// Hands out spools s1.log, s2.log, ... and keeps what ended.
class Sessions final : public SessionSink {
public:
    explicit Sessions(fs::path folder) : m_folder(std::move(folder)) {}
    std::optional<fs::path> beginSession(const fs::path&) override {
        return m_folder / ("s" + std::to_string(++m_begun) + ".log");
    }
    void endSession(const fs::path&, const fs::path& spool, std::uint64_t size) override {
        ended[spool.filename().string()] = size;
    }
    std::map<std::string, std::uint64_t> ended;

private:
    fs::path m_folder;
    int m_begun = 0;
};

void append(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

class LogFollowerTest : public ::testing::Test {
protected:
    std::string spool(int n) const { return readFile(dir / ("s" + std::to_string(n) + ".log")); }
    LogCheck look() { return follower.check(); }

    test::ScratchDir dir;
    fs::path log = dir / "qconsole.log";
    Sessions sessions{dir.path()};
    LogFollower follower{log, std::nullopt, sessions};
};

TEST_F(LogFollowerTest, CopiesEveryByteAsTheLogGrowsAndNothingBeforeTheFirst) {
    EXPECT_EQ(look().copied, 0u);  // not there yet
    writeFile(log, "");
    EXPECT_EQ(look().copied, 0u);
    EXPECT_FALSE(fs::exists(dir / "s1.log"));  // a session without bytes leaves no spool
    const std::string binary("kill\0\xff\x01\r\n", 9);
    append(log, "first line\n");
    look();
    append(log, binary);
    append(log, "half a li");
    EXPECT_EQ(look().copied, 9u + 9u);
    EXPECT_EQ(spool(1), "first line\n" + binary + "half a li");
    EXPECT_TRUE(sessions.ended.empty());
}

// How the old session ends and what the old spool holds then: the bytes a
// replaced or removed file gained before it went are copied from it.
struct SessionEnd {
    const char* how;
    void (*end)(const fs::path& log);
    const char* oldSpool;
};

const SessionEnd kSessionEnds[] = {
    {"emptied", [](const fs::path& log) { writeFile(log, "new\n"); }, "old 1\nold 2\n"},
    {"emptied and written past the old length",
     [](const fs::path& log) { writeFile(log, "a new session's first line\n"); }, "old 1\nold 2\n"},
    {"replaced by a rename",
     [](const fs::path& log) {
         append(log, "old 3\n");
         writeFile(log.parent_path() / "next", "new\n");
         fs::rename(log.parent_path() / "next", log);
     },
     "old 1\nold 2\nold 3\n"},
    {"removed",
     [](const fs::path& log) {
         append(log, "old 3\n");
         fs::remove(log);
     },
     "old 1\nold 2\nold 3\n"},
};

TEST(LogFollowerSessionTest, EachWayASessionEndsMakesItsSpoolFinalAndTheNextOneBegins) {
    for (const SessionEnd& end : kSessionEnds) {
        SCOPED_TRACE(end.how);
        const test::ScratchDir dir;
        const fs::path log = dir / "qconsole.log";
        Sessions sessions(dir.path());
        LogFollower follower(log, std::nullopt, sessions);
        writeFile(log, "old 1\n");
        (void)follower.check();
        append(log, "old 2\n");
        (void)follower.check();
        end.end(log);
        (void)follower.check();
        if (!fs::exists(log)) {
            writeFile(log, "new\n");
            (void)follower.check();
        }
        EXPECT_EQ(sessions.ended, (std::map<std::string, std::uint64_t>{
                                      {"s1.log", std::string(end.oldSpool).size()}}));
        EXPECT_EQ(readFile(dir / "s1.log"), end.oldSpool);
        EXPECT_EQ(readFile(dir / "s2.log"), readFile(log));
    }
}

TEST_F(LogFollowerTest, ALogThatBecomesAFolderEndsItsSessionAndIsNamed) {
    writeFile(log, "old\n");
    look();
    fs::remove(log);
    fs::create_directory(log);
    EXPECT_EQ(look().problem, "it is a folder");
    EXPECT_EQ(sessions.ended.size(), 1u);
}

// After a restart the log continues the spool when it begins with all of it.
TEST(LogFollowerRestartTest, TakesUpTheSpoolOnlyWhenTheLogBeginsWithAllOfIt) {
    struct Restart {
        const char* spool;
        const char* log;
        bool continued;
    };
    for (const Restart restart : {Restart{"line 1\nline", "line 1\nline 2\n", true},
                                  Restart{"", "line 1\n", true},  // named, no byte written yet
                                  Restart{"line 1\nline", "line 1\nLINE 2\n", false},
                                  Restart{"line 1\nline 2\n", "line 1\n", false}}) {
        SCOPED_TRACE(restart.log);
        const test::ScratchDir dir;
        const fs::path spool = dir / "kept.log";
        if (*restart.spool) writeFile(spool, restart.spool);
        writeFile(dir / "qconsole.log", restart.log);
        Sessions sessions(dir.path());
        LogFollower follower(dir / "qconsole.log", spool, sessions);
        (void)follower.check();
        EXPECT_EQ(readFile(spool), restart.continued ? restart.log : restart.spool);
        EXPECT_EQ(sessions.ended.count("kept.log"), restart.continued ? 0u : 1u);
        if (!restart.continued) {
            EXPECT_EQ(readFile(dir / "s1.log"), restart.log);
        }
    }
}

}  // namespace
}  // namespace zefa::record
