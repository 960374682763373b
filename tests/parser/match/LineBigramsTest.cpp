#include <gtest/gtest.h>

#include "parser/match/LineBigrams.h"

namespace zefa {
namespace {

// Never rules out a text the line holds; forgets the previous line.
TEST(LineBigrams, RulesOutOnlyTextsWithAPairTheLineLacks) {
    LineBigrams pairs;
    pairs.assign("ann ate tom's rocket\xE9");
    for (const char* text : {"ate", "'s rocket", "t\xE9", "x", "", "ann ate tom's rocket\xE9"})
        EXPECT_TRUE(pairs.mayContain(text)) << text;
    for (const char* text : {"was", "ate bob", "rocketr"})
        EXPECT_FALSE(pairs.mayContain(text)) << text;
    pairs.assign("was");
    EXPECT_TRUE(pairs.mayContain("was"));
    EXPECT_FALSE(pairs.mayContain("ate"));
}

}  // namespace
}  // namespace zefa
