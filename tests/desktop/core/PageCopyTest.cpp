#include <gtest/gtest.h>

#include "desktop/core/PageCopy.h"
#include "support/ScratchDir.h"

namespace zefa::desktop {
namespace {

namespace fs = std::filesystem;

TEST(PageCopying, CopiesByteForByteAndReplacesTheTargetOnlyWhenComplete) {
    const test::ScratchDir dir;
    std::string page(2500, '\0');
    for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<char>(i * 7);
    test::writeFile(dir / "page", page);
    test::writeFile(dir / "real.html", "earlier");
    fs::create_symlink("real.html", dir / "link.html");

    EXPECT_TRUE(copyPage(dir / "page", (dir / "link.html").string()).ok());
    EXPECT_EQ(test::readFile(dir / "real.html"), page);
    EXPECT_TRUE(fs::is_symlink(dir / "link.html"));

    const PageCopyResult unreadable = copyPage(dir / "missing", (dir / "real.html").string());
    EXPECT_EQ(unreadable.readError, std::errc::no_such_file_or_directory);
    const PageCopyResult unwritable = copyPage(dir / "page", (dir / "no" / "x.html").string());
    EXPECT_EQ(unwritable.writeError, std::errc::no_such_file_or_directory);
    EXPECT_EQ(test::readFile(dir / "real.html"), page);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 3) << "no stray files";
}

}  // namespace
}  // namespace zefa::desktop
