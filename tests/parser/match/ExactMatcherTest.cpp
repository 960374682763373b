// The exact matcher must give PCRE2's captures on every row: PCRE2 is the
// reference it is held against.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "parser/PatternLines.h"
#include "parser/match/ExactMatcher.h"
#include "parser/match/LineMatcher.h"

namespace zefa {
namespace {

using test::Captures;
using test::capturesOf;

TEST(ExactMatcher, EveryRowHasTheShapeAndNothingElseHasIt) {
    for (const VersionTables* tables : test::kBothSets) {
        const PatternSet set(*tables);
        for (const CompiledPattern& pattern : set.all())
            EXPECT_NE(pattern.exactMatcher(), nullptr) << pattern.text();
    }
    const std::pair<std::string_view, bool> cases[] = {
        {"(.*) \\((.*)\\) has the SPAZ-BALL", true}, {"The Spaz-Ball has returned", true},
        {"(.*)", true},       {"a(.*)(.*)b", false}, {"a.b", false},   {"a\\d", false},
        {"(a)|(b)c", false},  {"a*", false},         {"a\\", false},   {"[ab]", false},
    };
    for (const auto& [pattern, fits] : cases) {
        EXPECT_EQ(ExactMatcher::fits(pattern), fits) << pattern;
        EXPECT_EQ(ExactMatcher::of(pattern).has_value(), fits) << pattern;
    }
}

// Worked by hand, so that they hold in a build without PCRE2 too.
TEST(ExactMatcher, GreedyGroupsTakeTheLastOccurrences) {
    LineMatcher m(RowMatcher::Exact);
    m.setSubject("x the the flag flag returned returned");
    ASSERT_TRUE(m.test(CompiledPattern("(.*)the (.*)flag (.*)returned")));
    EXPECT_EQ(capturesOf(m), (Captures{"x the the flag flag returned returned", "x the ",
                                       "flag ", "returned ", m.capture(0)}));
    m.setSubject("a The Spaz-Ball has returned The spaz-ball has returned");
    ASSERT_TRUE(m.test(CompiledPattern("The Spaz-Ball has returned")));
    EXPECT_EQ(m.capture(0), "The Spaz-Ball has returned");
    // A leading literal takes its first place that leaves room for the rest.
    m.setSubject("The The a flag has been captured, Nice job b Team c Team");
    ASSERT_TRUE(m.test(CompiledPattern("The (.*) flag has been captured, Nice job (.*) (.*)Team")));
    EXPECT_EQ(m.capture(0), m.subject());
    EXPECT_EQ(m.capture(1), "The a");
    EXPECT_EQ(m.capture(2), "b Team c");
    EXPECT_EQ(m.capture(3), m.capture(0));  // empty: not collected
    m.setSubject("Bob was railed by\nTom was railed by Ann");  // "." stops at a line feed
    ASSERT_TRUE(m.test(CompiledPattern("(.*) was railed by (.*)")));
    EXPECT_EQ(m.capture(0), "Tom was railed by Ann");
    EXPECT_EQ(m.capture(1), "Tom");
    EXPECT_EQ(m.capture(2), "Ann");
}

#if ZEFA_PCRE2
// Every pattern of both sets on every generated line: the same verdict and
// the same captures. Where PCRE2 gives up at its limits, which counts as no
// match, the exact matcher finds none either.
TEST(ExactMatcher, CapturesAreThoseOfPcre2OnEveryRow) {
    LineMatcher exact(RowMatcher::Exact);
    LineMatcher pcre2(RowMatcher::Pcre2);
    const PatternSet sets[] = {PatternSet(*test::kBothSets[0]), PatternSet(*test::kBothSets[1])};
    std::size_t matches = 0;
    std::size_t undecided = 0;
    for (const std::string& line : test::patternLines()) {
        exact.setSubject(line);
        pcre2.setSubject(line);
        for (const PatternSet& set : sets) {
            for (const CompiledPattern& pattern : set.all()) {
                const bool matched = pcre2.test(pattern);
                const bool exactMatched = exact.test(pattern);
                if (pcre2.gaveUp()) {
                    // Long lines of the other return rows' literals, which
                    // lack one of this row's: no match either way.
                    EXPECT_FALSE(exactMatched) << pattern.text() << " on " << line;
                    ++undecided;
                    continue;
                }
                ASSERT_EQ(exactMatched, matched) << pattern.text() << " on " << line;
                ASSERT_EQ(capturesOf(exact), capturesOf(pcre2)) << pattern.text() << " on " << line;
                matches += matched ? 1 : 0;
            }
        }
    }
    EXPECT_GT(matches, 20'000u);
    EXPECT_LE(undecided, 16u);
}
#endif

}  // namespace
}  // namespace zefa
