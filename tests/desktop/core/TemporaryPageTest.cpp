#include <gtest/gtest.h>
#include <sys/stat.h>

#include "desktop/core/TemporaryPage.h"
#include "support/ScratchDir.h"

namespace zefa::desktop {
namespace {

namespace fs = std::filesystem;

// The page file is the program's own: exclusive, owner-only, gone with it.
TEST(TemporaryPageFile, IsCreatedForTheOwnerAloneAndRemovedAfterwards) {
    const test::ScratchDir tmp;
    ::setenv("TMPDIR", tmp.path().c_str(), 1);
    fs::path path;
    {
        std::error_code error;
        const auto page = TemporaryPage::create(".html", error);
        ASSERT_TRUE(page) << error.message();
        path = page->path();
        EXPECT_EQ(path.parent_path(), tmp.path());
        EXPECT_TRUE(path.filename().string().starts_with("zefastats"));
        EXPECT_EQ(path.extension(), ".html");
        struct stat info {};
        ASSERT_EQ(::lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        const auto second = TemporaryPage::create(".html", error);
        EXPECT_NE(second->path(), path);
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(tmp.path()));

    ::setenv("TMPDIR", (tmp / "missing").c_str(), 1);
    std::error_code error;
    EXPECT_FALSE(TemporaryPage::create("", error));
    EXPECT_TRUE(error);
    ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace zefa::desktop
