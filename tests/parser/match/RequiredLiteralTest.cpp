#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "parser/match/RequiredLiteral.h"

namespace zefa {
namespace {

TEST(RequiredLiteral, IsTheLongestPlainTopLevelRun) {
    const std::pair<const char*, const char*> cases[] = {
        {"(.*) \\((.*)\\) has the SPAZ-BALL", ") has the spaz-ball"},
        {"(.*)\\^7: \\^2(.*)", "^7: ^2"},
        {"(.*)rag (.*)returned", "returned"},
        {"xyzw?ab", "xyz"},       // a quantified character is optional
        {"(long text)ab", "ab"},  // groups are skipped
        {"ab|cdef", ""},
        {"[ab]cd", ""},
        {"a{2}bc", ""},
        {"\\x41bc", ""},
        {"(?x) a b", ""},
    };
    for (const auto& [pattern, literal] : cases)
        EXPECT_EQ(requiredLiteral(pattern), literal) << pattern;
    std::string folded;
    foldCase("AbZ\xC9@[", folded);
    EXPECT_EQ(folded, "abz\xC9@[");  // ASCII letters only
    std::string every;  // every byte, eight at a time and one by one
    for (int c = 0; c < 256 + 7; ++c) every += static_cast<char>(c % 256);
    foldCase(every, folded);
    for (std::size_t i = 0; i < every.size(); ++i) {
        const char c = every[i];
        EXPECT_EQ(folded[i], c >= 'A' && c <= 'Z' ? c + 'a' - 'A' : c) << i;
    }
}

}  // namespace
}  // namespace zefa
