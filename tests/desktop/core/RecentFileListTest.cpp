#include <gtest/gtest.h>

#include "desktop/core/RecentFileList.h"

namespace zefa::desktop {
namespace {

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndAtMostFour) {
    RecentFileList files({"/b", "", "/a", "/b", "/c", "/d", "/e"});
    EXPECT_EQ(files.entries(), (std::vector<std::string>{"/b", "/a", "/c", "/d"}));
    files.add("/c");
    EXPECT_EQ(files.entries(), (std::vector<std::string>{"/c", "/b", "/a", "/d"}));
    files.add("/new");
    EXPECT_EQ(files.entries(), (std::vector<std::string>{"/new", "/c", "/b", "/a"}));
}

}  // namespace
}  // namespace zefa::desktop
