#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

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

// Sets reading together note each set's game events and renames as that set
// reads them alone, also where only one of them takes a line; sets that share
// their events leave there those of the set with the most version lines.
TEST(EventsOfSets, EachSetNotesWhatItReadsAlone) {
    const VersionTables* const both[] = {&versionTables(kGameVersionBeta1H),
                                         &versionTables(kGameVersionBeta2)};
    const std::string lines[] = {"Bob was railed by Tom",  "Bob was pummeled by Tom",
                                 "Ann renamed to Anna",    "Tom was squished",
                                 "Anna was railed by Tom", "Tom killed herself"};
    const auto read = [&lines](std::span<const VersionTables* const> tables, bool shared = false) {
        const Classifier classifier(tables, kDefaultMatchEngine);
        std::vector<MatchStats> stats(tables.size());
        std::vector<MatchStats*> targets;
        for (MatchStats& s : stats) targets.push_back(&s);
        std::vector<MatchEvents> events(tables.size());
        ParserSet parsers(classifier, targets);
        for (std::size_t set = 0; set < tables.size(); ++set)
            parsers.recordEvents(set, &events[shared ? 0 : set]);
        for (const std::string& line : lines) parsers.readLine(line);
        parsers.finishLog();
        return events;
    };
    const std::vector<MatchEvents> together = read(both);
    ASSERT_NE(together[0].lineNumbers, together[1].lineNumbers);
    const MatchEvents shared = read(both, true).front();
    EXPECT_EQ(shared.lineNumbers, together[1].lineNumbers);  // the suicide tips it
    EXPECT_EQ(shared.renames.size(), 1u);
    for (std::size_t set = 0; set < 2; ++set) {
        const MatchEvents alone = read(std::span(&both[set], 1)).front();
        EXPECT_EQ(together[set].lines, alone.lines);
        EXPECT_EQ(together[set].lineNumbers, alone.lineNumbers);
        EXPECT_EQ(together[set].renames, alone.renames);
        for (std::size_t i = 0; i < alone.lines.size(); ++i) {
            const std::string& line = lines[static_cast<std::size_t>(alone.lineNumbers[i]) - 1];
            EXPECT_EQ(alone.lines[i], eventLineHash(line)) << line;
        }
    }
}

}  // namespace
}  // namespace zefa
