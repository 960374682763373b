#include <gtest/gtest.h>

#include <string>

#include "parser/Classifier.h"
#include "parser/ParsedMatch.h"
#include "parser/ParserSet.h"
#include "parser/PatternLines.h"

namespace zefa {
namespace {

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

// The sets share each line's hash: every set notes the hash of the line it
// took, whichever set hashed it first.
TEST(EventsOfSets, EachSetNotesTheHashesOfItsOwnEventLines) {
    const VersionTables* const both[] = {&versionTables(kGameVersionBeta1H),
                                         &versionTables(kGameVersionBeta2)};
    const Classifier classifier(both, kDefaultMatchEngine);
    MatchStats older;
    MatchStats newer;
    MatchStats* const targets[] = {&older, &newer};
    MatchEvents events[2];
    ParserSet parsers(classifier, targets);
    parsers.recordEvents(0, &events[0]);
    parsers.recordEvents(1, &events[1]);
    const std::string lines[] = {"Bob was railed by Tom", "Tom was railed by Bob",
                                 "Bob was gibbed by Tom's rocket", "Ann was railed by Tom"};
    for (const std::string& line : lines) parsers.readLine(line);
    for (const MatchEvents& noted : events) {
        ASSERT_FALSE(noted.lines.empty());
        for (std::size_t i = 0; i < noted.lines.size(); ++i) {
            const std::size_t line = static_cast<std::size_t>(noted.lineNumbers[i]) - 1;
            EXPECT_EQ(noted.lines[i], eventLineHash(lines[line])) << lines[line];
        }
    }
}

}  // namespace
}  // namespace zefa
