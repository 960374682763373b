#include <gtest/gtest.h>

#include <algorithm>

#include "season/timeline/TimelineCover.h"

namespace zefa::season {
namespace {

// The names of the windows the cover takes, in its order.
std::string coverOf(const std::vector<std::pair<char, RecordingWindow>>& named) {
    std::vector<RecordingWindow> windows;
    for (const auto& [name, window] : named) windows.push_back(window);
    std::string names;
    for (const std::size_t i : timelineCover(windows)) names += named[i].first;
    return names;
}

TEST(TimelineCoverTest, TakesTheFewestRecordingsThatReachFurthestWhateverTheirOrder) {
    // Left early, in the middle, joined late, a visitor inside the middle one,
    // and two with one window (the lower SHA-256 is read).
    std::vector<std::pair<char, RecordingWindow>> evening = {
        {'e', {0, 45, "e"}}, {'m', {30, 50, "m"}}, {'l', {65, 35, "l"}}, {'v', {40, 30, "v"}}};
    const auto name = &std::pair<char, RecordingWindow>::first;
    std::ranges::sort(evening, {}, name);
    do {
        EXPECT_EQ(coverOf(evening), "eml");
    } while (std::ranges::next_permutation(evening, {}, name).found);

    EXPECT_EQ(coverOf({{'e', {0, 45, "e"}}, {'f', {0, 100, "f"}}, {'l', {65, 35, "l"}}}), "f");
    EXPECT_EQ(coverOf({{'x', {0, 100, "b"}}, {'y', {0, 100, "a"}}}), "y");
    EXPECT_EQ(coverOf({{'a', {0, 10, "a"}}, {'b', {10, 10, "b"}}}), "a");
    EXPECT_EQ(coverOf({}), "");
}

TEST(TimelineCoverTest, GroupsRecordingsThatShareEvents) {
    const std::vector<RecordingWindow> windows = {
        {50, 30, "c"}, {0, 40, "a"}, {10, 20, "b"}, {40, 10, "d"}, {79, 5, "e"}};
    EXPECT_EQ(overlappingGroups(windows),
              (std::vector<std::vector<std::size_t>>{{1, 2}, {3}, {0, 4}}));
    EXPECT_TRUE(overlappingGroups({}).empty());
}

}  // namespace
}  // namespace zefa::season
