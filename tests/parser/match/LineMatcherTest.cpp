#include <gtest/gtest.h>

#include <stdexcept>

#include "parser/match/LineMatcher.h"

namespace zefa {
namespace {

TEST(LineMatcher, CapturesFollowTheCollectionRules) {
    LineMatcher m;
    const CompiledPattern kill("(.*) was railed by (.*)");
    m.setSubject("x BOB WAS RAILED BY TOM");  // letter case is ignored, no anchoring
    ASSERT_TRUE(m.test(kill));
    EXPECT_EQ(m.capture(0), "x BOB WAS RAILED BY TOM");
    EXPECT_EQ(m.capture(1), "x BOB");
    EXPECT_EQ(m.capture(2), "TOM");
    EXPECT_EQ(m.capture(3), m.capture(0));  // not collected: the whole match
    m.setSubject(" was railed by Tom");     // an empty first group ends the collection
    ASSERT_TRUE(m.test(kill));
    EXPECT_EQ(m.capture(2), " was railed by Tom");
#if ZEFA_PCRE2
    m.setSubject("xbc");  // so does an unset one
    ASSERT_TRUE(m.test(CompiledPattern("(a)|(b)c")));
    EXPECT_EQ(m.capture(2), "bc");
#endif

    m.setSubject("nothing here");
    EXPECT_FALSE(m.test(kill));
    EXPECT_EQ(m.capture(0), "");
    m.setSubject("");
    EXPECT_FALSE(m.test(CompiledPattern("(.*)")));
#if ZEFA_PCRE2
    m.setSubject("abc");
    EXPECT_FALSE(m.test(CompiledPattern("(.*")));  // does not compile: never matches
#else
    EXPECT_THROW(CompiledPattern("(.*"), std::invalid_argument);  // no engine could run it
#endif
}

}  // namespace
}  // namespace zefa
