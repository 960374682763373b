#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ParsedMatch.h"

namespace zefa {
namespace {

using test::Counts;
using test::ParsedMatch;

TEST(Classifier, RulesAreTriedInOrder) {
    const std::pair<const char*, LineRule> cases[] = {
        {"Bob: Tom was railed by Ann", LineRule::Chat},  // ": " hides every later rule
        {"No, Bob, you're supposed to throw it", LineRule::SelfGrenade},
        {"Bob renamed to Rob", LineRule::Rename},
        {"n^7's autosentry has been destroyed by Bob!", LineRule::OwnerlessSentry},
        {"N^7's autosentry has been destroyed by Bob!", LineRule::Kill},  // the prefix is exact
        {"BOB WAS RAILED BY TOM", LineRule::Kill},
        {"Bob took the flag", LineRule::FlagPickup},
        {"Bob has captured the blue flag", LineRule::FlagCapture},
        {"Ann is outside", LineRule::FlagCapture},  // " is out" anywhere
        {"The red flag has been returned", LineRule::FlagReturn},
        {"Bob blew himself up", LineRule::Suicide},
        {"Bob killed himself", LineRule::EnvironmentDeath},
        {"Bob defends the red flag", LineRule::Defense},
        {"Bob entered the game", LineRule::None},
        {"", LineRule::None},
    };
    ParsedMatch m;
    for (const auto& [line, rule] : cases) EXPECT_EQ(m.parser.classifyLine(line), rule) << line;
    EXPECT_EQ(m.stats.findPlayer("n^7", false), nullptr);
    EXPECT_EQ(m["Bob"].weapKills[kDestroyedSentry], 1);
    EXPECT_EQ(m["TOM"].weapKills[kRailgun], 1);
}

TEST(Classifier, VersionsDifferInTheirOwnTables) {
    EXPECT_EQ(versionTables(2).weaponNames[kMelee], "Axe");
    for (std::int32_t version : {0, 1, 3})
        EXPECT_EQ(versionTables(version).weaponNames[kMelee], "Gauntlet");
    EXPECT_EQ(versionTables(1).kills[22].pattern, "(.*) was pummeled by (.*)");

    const char* const lines[] = {"Ann gets her legs blown off by Tom", "Ann was pummeled by Tom",
                                 "Ann killed herself", "Ann blew herself up"};
    const std::vector<LineRule> beta1H = {LineRule::None, LineRule::Kill, LineRule::None,
                                          LineRule::None};
    const std::vector<LineRule> beta2 = {LineRule::Kill, LineRule::None, LineRule::EnvironmentDeath,
                                         LineRule::Suicide};
    for (const auto& [version, expected] : {std::pair{1, beta1H}, std::pair{2, beta2}}) {
        ParsedMatch m(version);
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(m.parser.classifyLine(lines[i]), expected[i]) << version << ": " << lines[i];
        EXPECT_EQ(m["Tom"].weapKills[version == 2 ? kSniperLegs : kMelee], 1);
    }
}

TEST(Classifier, ChatCountsOnlyOnceTheMatchStarted) {
    ParsedMatch m;
    m.lines({"Bob^7: ^2hi all", "Bob renamed to Bob2", "Ann defends the red base"});
    EXPECT_FALSE(m.parser.started());  // renames and defenses do not start the match
    m.lines({"Bob was railed by Tom", "Bob^7: ^2gg", "Zed^7: ^2who?", "Tom: plain talk"});
    EXPECT_TRUE(m.parser.started());
    EXPECT_EQ(m.stats.chatSpeakers, (std::vector<std::string>{"Bob", "Zed"}));
    EXPECT_EQ(m.stats.chatTexts, (std::vector<std::string>{"gg", "who?"}));
    EXPECT_EQ(m["Bob"].mm1, 1);
    EXPECT_EQ(m.stats.findPlayer("Zed", false), nullptr);  // listed, counted for nobody
}

TEST(Classifier, RenamesRenameOrMerge) {
    ParsedMatch m;
    m.lines({"Bob was railed by Tom", "Bob renamed to Rob", "Ghost renamed to Tom",
             "^7Rob renamed to Rob^7"});
    EXPECT_EQ(m["Rob"].id, 1);
    EXPECT_EQ(m.counts("Rob"), (Counts{.deaths = 1}));
    EXPECT_EQ(m.stats.players.size(), 2u);
    m.lines({"Tom renamed to Rob"});  // Rob takes Tom's counters; the ids close up
    ASSERT_EQ(m.stats.players.size(), 1u);
    EXPECT_EQ(m["Rob"].id, 0);
    EXPECT_EQ(m.counts("Rob"), (Counts{.kills = 1, .deaths = 1}));
}

TEST(Classifier, MergeRemapsFlagCarriersAndSavers) {
    ParsedMatch m;
    m.lines({"No, Ann, you're supposed", "No, Bob, you're supposed", "No, Cid, you're supposed",
             "Cid took the blue flag", "Cid was railed by Bob", "Dan took the red flag"});
    ASSERT_EQ(m.parser.flagSavers()[kBlueFlag], std::vector<std::int32_t>{1});
    m.lines({"Bob renamed to Ann"});  // Bob (1) goes; Cid 2 -> 1, Dan 3 -> 2
    EXPECT_EQ(m.parser.flagSavers()[kBlueFlag], std::vector<std::int32_t>{0});
    EXPECT_EQ(m.parser.flagCarrier()[kRedFlag], m["Dan"].id);
    m.lines({"The blue flag has been returned", "Dan has captured the red flag"});
    EXPECT_EQ(m["Ann"].flagSaves, 1);
    EXPECT_EQ(m["Cid"].flagSaves, 0);
    EXPECT_EQ(m["Dan"].c2cs, 1);
    EXPECT_EQ(m.stats.teamScores[kBlue], 1);
}

}  // namespace
}  // namespace zefa
