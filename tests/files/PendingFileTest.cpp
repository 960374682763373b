#include "files/PendingFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/ScratchDir.h"

namespace zefa {
namespace {

namespace fs = std::filesystem;

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::size_t entries(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// A new file is there whole, with the usual permissions, once committed, and
// not at all before or when never committed.
TEST(PendingFileTest, ANewFileAppearsWholeOnCommitAndNeverBefore) {
    const test::ScratchDir dir;
    const fs::path target = dir / "page.html";
    std::error_code error;
    {
        const auto abandoned = PendingFile::create(target.string(), error);
        ASSERT_TRUE(abandoned) << error.message();
        writeText(abandoned->path(), "half");
    }
    EXPECT_EQ(entries(dir.path()), 0U);

    const auto pending = PendingFile::create(target.string(), error);
    ASSERT_TRUE(pending) << error.message();
    writeText(pending->path(), "the page");
    EXPECT_FALSE(fs::exists(target));
    ASSERT_FALSE(pending->commit());
    EXPECT_EQ(test::readFile(target), "the page");
    EXPECT_EQ(entries(dir.path()), 1U);

    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0666 & ~mask));
}

// A file replaced keeps its permissions; one abandoned, or a run killed while
// writing it, leaves the earlier file as it was and no other.
TEST(PendingFileTest, AReplacedFileKeepsItsPermissionsAndNothingIsLeftBeside) {
    const test::ScratchDir dir;
    const fs::path target = dir / "page.html";
    writeText(target, "earlier");
    fs::permissions(target, fs::perms(0640));
    std::error_code error;
    {
        const auto abandoned = PendingFile::create(target.string(), error);
        ASSERT_TRUE(abandoned) << error.message();
        writeText(abandoned->path(), "half");
        EXPECT_EQ(entries(dir.path()), 1U);
    }
    EXPECT_EQ(test::readFile(target), "earlier");
    const auto pending = PendingFile::create(target.string(), error);
    ASSERT_TRUE(pending) << error.message();
    writeText(pending->path(), "later");
    ASSERT_FALSE(pending->commit());
    EXPECT_EQ(test::readFile(target), "later");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(entries(dir.path()), 1U);
}

// A file that took the name between the start and the commit, or a link to
// nowhere that held it, is replaced as an earlier file would be.
TEST(PendingFileTest, ANameTakenMeanwhileIsReplaced) {
    const test::ScratchDir dir;
    for (const bool danglingLink : {false, true}) {
        const fs::path target = dir / (danglingLink ? "linked.html" : "page.html");
        if (danglingLink) fs::create_symlink(dir / "nowhere" / "x.html", target);
        std::error_code error;
        const auto pending = PendingFile::create(target.string(), error);
        ASSERT_TRUE(pending) << error.message();
        if (!danglingLink) writeText(target, "another run's page");
        writeText(pending->path(), "this run's page");
        ASSERT_FALSE(pending->commit()) << danglingLink;
        EXPECT_FALSE(fs::is_symlink(target)) << danglingLink;
        EXPECT_EQ(test::readFile(target), "this run's page") << danglingLink;
    }
    EXPECT_EQ(entries(dir.path()), 2U);  // no name left behind
}

}  // namespace
}  // namespace zefa
