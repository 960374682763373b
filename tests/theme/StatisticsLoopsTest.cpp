#include <gtest/gtest.h>

#include "model/DefenseKinds.h"
#include "theme/RenderPage.h"
#include "theme/StatisticsLoops.h"

namespace zefa {
namespace {

using test::addPlayer;
using test::renderPage;

std::string repeated(std::string_view lines, int times) {
    std::string text;
    while (times-- > 0) text += lines;
    return text;
}

TEST(PlayerLoop, ItemTagsReplaceTheirLineAndNestedLoopsShowTheCurrentPlayer) {
    MatchStats stats;
    PlayerRecord& bob = addPlayer(stats, "^1<Bob>");
    addPlayer(stats, "al").killCount = {2, 5};
    bob.tkDeaths = 2;
    EXPECT_EQ(renderPage(stats,
                         "<= PLAYERLOOP =>\n<= COUNTER =>\n<td><= ID =>:<= KILLS =></td>\n"
                         "<= TOTALDEATHS =>\n<= STRIPPEDNAME =>\n<= NAME =>\n|\n"
                         "<= KILLCNTLOOP =>\n <= COUNT =>\n<= ENDLOOP =>\n<= ENDLOOP =>\n"),
              "102&lt;Bob&gt;<font class=\"color1\">&lt;Bob&gt;</font>|"
              "<font class=\"suicide\">0</font>0210alal|2<font class=\"suicide\">5</font>");
    bob.kills = 3;
    bob.weapKills[kRocketDirect] = 1;
    bob.weapKills[kGrenade] = 2;
    bob.weapDeaths[kDestroyedSentry] = 1;  // no deaths: the share shows as 0.00
    bob.defenses[kDefendedFlag] = 7;
    EXPECT_EQ(renderPage(stats,
                         "<= PLAYERLOOP =>\n<= WEAPKILLLOOP =>\n<= COUNTER =>\n"
                         "<= EFFICIENCY =>\n<= WEAPON =>;\n<= ENDLOOP =>\n<= WEAPDEATHLOOP =>\n"
                         "<= COUNT =>\n<= EFFICIENCY =>\n<= ENDLOOP =>\n<= DEFENSESLOOP =>\n"
                         "<= COUNT =>\n<= ENDLOOP =>\n/\n<= ENDLOOP =>\n"),
              "333.33Rocket Launcher (Direct)866.67Grenade10.00000007/000000/");
}

TEST(PlayerLoop, PlayersAndTheirVictimsComeInNameOrder) {
    MatchStats stats;
    for (const char* name : {"Zed", "^2ann", "Al"}) addPlayer(stats, name).killCount = {1, 2, 3};
    EXPECT_EQ(renderPage(stats,
                         "<= PLAYERLOOP =>\n<= STRIPPEDNAME =>\n<= KILLCNTLOOP =>\n<= COUNT =>\n"
                         "<= ENDLOOP =>\n<= ENDLOOP =>\n"),
              "Al<font class=\"suicide\">3</font>21ann3<font class=\"suicide\">2</font>1"
              "Zed32<font class=\"suicide\">1</font>");
}

TEST(Loops, TopLevelDefensesChatAndEmptyPasses) {
    MatchStats stats;
    const std::string defenses =
        "<= DEFENSESLOOP =>\n<= COUNTER =>\n<= COUNT =>\n<= NAME =>;\n.\n<= ENDLOOP =>\n";
    std::string names;
    for (std::size_t i = 0; i < kDefenseKindNames.size(); ++i) {
        names += std::to_string(i + 1) + std::string(kDefenseKindNames[i]) + ".";
    }
    EXPECT_EQ(renderPage(stats, defenses), names + ".");  // and the empty pass: no players
    const std::string chat =
        "<= MM1LOOP =>\n<= COUNTER =>\n<= NAME =>\n: <= MESSAGE =>\n<= TITLE =>\n<= ENDLOOP =>\n";
    EXPECT_EQ(renderPage(stats, chat), "1There were no MM1 messages.Zefa Stats");
    stats.chatSpeakers = {"^2Al", "Bo"};
    stats.chatTexts = {"hi & bye"};
    EXPECT_EQ(renderPage(stats, chat),
              "1<font class=\"color2\">Al</font>hi &amp; byeZefa Stats2BoZefa Stats");
    addPlayer(stats, "x");
    EXPECT_EQ(renderPage(stats, defenses), names);
}

TEST(Loops, FlagLoopsShowOnlyPlayersWithFlagsInTieOrder) {
    MatchStats stats;
    for (const char* name : {"p", "q", "r", "s"}) addPlayer(stats, name);
    const std::string touches =
        "<= FLAGTOUCHLOOP =>\n<= NAME =>\n<= TOUCHES =>\n<= COUNTER =>\n<= ENDLOOP =>\n";
    EXPECT_EQ(renderPage(stats, touches + "<= FLAGCAPLOOP =>\ntext\n<= CAPS =>\n<= ENDLOOP =>\n"),
              "text");
    // Two descending sorts over equal counts left the list as it was: p q r s.
    const std::int32_t touchCounts[] = {5, 5, 3, 0};
    for (PlayerRecord& p : stats.players) p.touches = touchCounts[p.id];
    EXPECT_EQ(renderPage(stats, touches), "q5p5r3");
}

TEST(Loops, AwardCounterCountsShownAwards) {
    MatchStats stats;
    addPlayer(stats, "Al").kills = 1;
    AwardTable awards;
    for (std::int32_t i = 0; i < kAwardCount; ++i) awards.setSelected(i, i % 5 == 0 || i == 7);
    awards.ComputeAwards(stats.players);
    awards.setSelected(5, false);  // its result stays hidden
    EXPECT_EQ(renderPage(stats,
                         "<= AWARDSLOOP =>\n<= COUNTER =>\n<= AWARDNAME =>\n<= WINNER =>\n"
                         "<= ENDLOOP =>\n",
                         awards),
              "1AutoAimer AwardAl <font class=\"colorstar\">with 1 frag.</font>"
              "2Cannon Fodder AwardAl <font class=\"colorstar\">with a total of 0 deaths.</font>");
    EXPECT_EQ(renderPage(stats, "<= AWARDSLOOP =>\n-\n<= ENDLOOP =>\n", AwardTable()), "-");
}

TEST(Loops, TheEndOfTheThemeEndsEveryLaterPass) {
    MatchStats stats;
    addPlayer(stats, "a").touches = 1;
    addPlayer(stats, "b");
    EXPECT_EQ(renderPage(stats, "<= PLAYERLOOP =>\n<= NAME =>\n<= ENDLOOP =>"), "a");
    EXPECT_EQ(renderPage(stats, "<= PLAYERLOOP =>\n<= NAME =>\nx\n"), "ax");  // no ENDLOOP
    EXPECT_EQ(renderPage(stats, "<= PLAYERLOOP =>\n<= NAME =>\nx"), "a");
    // The not-shown last item b ends its pass at the nested ENDLOOP.
    stats.chatTexts = {"hi"};
    EXPECT_EQ(renderPage(stats,
                         "<= FLAGTOUCHLOOP =>\n<= NAME =>\n<= MM1LOOP =>\n<= MESSAGE =>\n"
                         "<= ENDLOOP =>\ntail\n<= ENDLOOP =>\nafter\n"),
              "ahitailtailafter");
}

TEST(Nesting, PlayerWalkFollowsReSortsAndVisitsEachPlayerOnce) {
    MatchStats stats;
    for (const char* name : {"A", "B", "C"}) addPlayer(stats, name);
    // One flag touch sort per shown weapon, each flipping the tied players:
    // after C the list reads C B A, and B and A were visited already.
    stats.players.back().weapKills[kKnife] = 1;
    EXPECT_EQ(renderPage(stats,
                         "<= PLAYERLOOP =>\n<= NAME =>\n<= WEAPKILLLOOP =>\n"
                         "<= FLAGTOUCHLOOP =>\n<= ENDLOOP =>\n<= ENDLOOP =>\n<= ENDLOOP =>\n"),
              "ABC");
}

TEST(Nesting, AtMost64LoopsRunAndWorkIsBudgeted) {
    MatchStats stats;
    addPlayer(stats, "toucher").touches = 1;
    stats.chatSpeakers = {"speaker"};
    stats.chatTexts = {"hi"};
    const std::string inner = "<= FLAGTOUCHLOOP =>\n<= NAME =>\n" + repeated("<= ENDLOOP =>\n", 65);
    EXPECT_EQ(renderPage(stats, repeated("<= MM1LOOP =>\n", 63) + inner), "toucher");
    // The 65th loop tag is dropped: its body belongs to the 64th loop.
    EXPECT_EQ(renderPage(stats, repeated("<= MM1LOOP =>\n", 64) + inner), "speaker");

    // 3^64 passes are cut short; 75 players with a kill matrix are far from that.
    const auto result = [](MatchStats& match, const std::string& theme) {
        std::ostringstream out;
        return PageWriter().WritePage(match, AwardTable(), theme, out, weaponNames(1));
    };
    addPlayer(stats, "b");
    addPlayer(stats, "c");
    const std::string nested = repeated("<= PLAYERLOOP =>\n", 64) + repeated("<= ENDLOOP =>\n", 64);
    EXPECT_EQ(result(stats, nested), PageWriter::PageResult::TooLarge);
    MatchStats full;
    for (int i = 0; i < 75; ++i) addPlayer(full, "p" + std::to_string(i)).weapKills.fill(1);
    EXPECT_EQ(
        result(full, repeated("<= PLAYERLOOP =>\n<= KILLCNTLOOP =>\n<td>\n<= COUNT =>\n"
                              "<= ENDLOOP =>\n<= WEAPKILLLOOP =>\n<= WEAPON =>\n<= ENDLOOP =>\n"
                              "<= ENDLOOP =>\n",
                              8)),
        PageWriter::PageResult::Written);
}

}  // namespace
}  // namespace zefa
