#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

#include "ParsedMatch.h"
#include "PatternLines.h"
#include "parser/Classifier.h"
#include "parser/match/LineMatcher.h"
#include "parser/ParserSet.h"
#include "parser/LogInput.h"
#include "parser/match/RequiredLiteral.h"
#include "support/ScratchDir.h"

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

TEST(LineMatcher, RequiredLiteralIsTheLongestPlainTopLevelRun) {
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

// Lines built to make the patterns try every split of a long subject; the
// test timeout guards that they end, by every engine.
TEST(HostileLines, WorstCaseLinesEndAndMatchNothing) {
    using test::repeat;
    const VersionTables* const beta2[] = {&versionTables(kGameVersionBeta2)};
    for (MatchEngine engine : {MatchEngine::Plain, MatchEngine::Prefilter,
                               MatchEngine::PrefilterPcre2, MatchEngine::Exact}) {
        const Classifier classifier(beta2, engine);
        MatchStats stats;
        MatchStats* const target[] = {&stats};
        ParserSet parsers(classifier, target);
        for (const std::string& line : test::craftedLines()) parsers.readLine(line);
        parsers.readLine(repeat(" renamed to ", 4095));
        EXPECT_EQ(parsers.parser(0).linesTakenBy(LineRule::None), 6);
        EXPECT_EQ(parsers.parser(0).linesTakenBy(LineRule::Rename), 1);
        EXPECT_TRUE(stats.players.empty());
    }

    test::ParsedMatch m;

    // Long lines, high bytes and carriage returns inside still match; no case above 0x7F.
    m.lines({repeat("noise ", 3000) + "Bob was railed by Tom", "\xC9ve\r was railed by T\x7F\xFFm",
             "\xE9ve\r was railed by Tom"});
    EXPECT_EQ(m["Tom"].kills, 2);
    EXPECT_EQ(m["T\x7F\xFFm"].kills, 1);
    EXPECT_EQ(m.stats.players.size(), 5u);
}

// Lines of 4096 bytes and more are counted but not classified, and reading
// goes on; a line is cut at its first NUL byte.
TEST(ParserSet, CountsEveryLineAndClassifiesTheUsableOnes) {
    using namespace std::string_literals;
    const test::ScratchDir dir;
    test::writeFile(dir / "match.log",
                    "Bob ate Tom's rocket\r\n"s + "\r\n" + "\n" + std::string(4096, 'x') + "\n" +
                        std::string(4095 - 21, 'x') + "Dan was railed by Tom\n" +
                        std::string(100'000, 'y') + "Eve was railed by Tom\n" +
                        "Ann was railed by Tom\0: hidden chat\n"s + "Cid was railed by Tom");
    MatchStats stats;
    const LogReadResult result =
        parseLog(dir / "match.log", stats, versionTables(kGameVersionBeta2));
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(stats.lineCount, 8);
    EXPECT_EQ(result.versionLines, 4);
    const PlayerRecord* tom = stats.findPlayer("Tom", false);  // not "Tom\r"
    ASSERT_NE(tom, nullptr);
    EXPECT_EQ(tom->kills, 4);
    EXPECT_EQ(tom->weapKills[kRocketTotal], 1);  // finished

    // A missing log reads as empty, and says so.
    MatchStats none;
    EXPECT_FALSE(parseLog(dir / "missing.log", none, versionTables(1)).opened);
    EXPECT_FALSE(parseLog(dir.path(), none, versionTables(2)).opened);
    EXPECT_EQ(none.lineCount, 0);
}

}  // namespace
}  // namespace zefa
