// Scenario tests on the two example logs in examples/. The expected figures
// were counted from the log lines, not by running this reader: the script
// that writes the logs (scripts/make_example_logs.py) tallies every line it
// writes, and several figures were recounted with grep.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "awards/AwardTable.h"
#include "model/MatchStats.h"
#include "model/Weapons.h"
#include "parser/ParseLog.h"

namespace zefa {
namespace {

// One player's counters, in id order (the order of first appearance).
struct PlayerFigures {
    std::string_view name, strippedName;
    std::int32_t kills, deaths, suicides, tks, tkDeaths, selfGren;
    std::int32_t touches, caps, drops, c2cs, flagSaves;
    std::int32_t rank, mm1;
};

// One entry of an array of the player with id `player`.
struct Entry {
    std::int32_t player, index, value;
};

struct ExampleLog {
    const char* file;
    std::int32_t version;
    std::int32_t lineCount;
    std::size_t chatLines;
    std::string_view firstChatSpeaker, firstChatText;
    std::array<std::int32_t, kTeamCount> teamScores;
    std::int32_t versionLines, otherVersionLines;  // taken by this version's tables / the other's
    std::vector<std::string_view> goneNames;       // renamed away, merged, or never a player
    std::vector<PlayerFigures> players;
    std::vector<Entry> weapKills, weapDeaths, killCount, defenses;
    std::array<std::string_view, kAwardCount> awards;
};

// Beta1H: Tank becomes ^8Panzer; Smurf (id 2) kills the red flag's carrier and
// is merged into ^6Jinx before the flag is returned, so Jinx gets the save;
// Casper, seen only in a dropped rename before, joins after the merge (id 12).
// clang-format off
const ExampleLog kBeta1H{
    "beta1h-ctf.log", kGameVersionBeta1H, 3284, 179, "^1Viper", "lol", {15, 11, -2, -3},
    2175, 2045, {"Smurf", "Tank", "Ghosty", "n^7"},
    {
        {"^1Viper^7", "Viper", 211, 130, 12, 4, 5, 1, 19, 6, 13, 4, 25, 479, 16},
        {"Neo^7", "Neo", 191, 148, 22, 4, 4, 0, 18, 1, 17, 1, 19, 267, 13},
        {"^9Ghost^7", "Ghost", 125, 145, 15, 6, 1, 1, 17, 3, 14, 3, 11, 192, 18},
        {"^4Ice^7Man^7", "IceMan", 161, 133, 17, 5, 3, 1, 16, 4, 12, 2, 12, 272, 14},
        {"^8Panzer^7", "Panzer", 134, 140, 13, 2, 5, 0, 14, 5, 9, 3, 16, 249, 16},
        {"Doc Holliday^7", "Doc Holliday", 121, 154, 13, 3, 1, 1, 14, 0, 14, 0, 11, 68, 10},
        {"Vex^7", "Vex", 124, 147, 13, 2, 2, 3, 15, 4, 11, 1, 12, 157, 10},
        {"Zed^7", "Zed", 173, 163, 13, 2, 6, 1, 20, 2, 18, 2, 12, 238, 15},
        {"^2Moss^7", "Moss", 140, 147, 21, 3, 5, 1, 25, 5, 20, 4, 13, 259, 11},
        {"Ace^7", "Ace", 108, 138, 13, 3, 0, 2, 21, 3, 18, 3, 5, 138, 20},
        {"^5xX^6The^7Unstoppable^5For^7", "xXTheUnstoppableFor", 142, 162, 23, 2, 3, 2, 22, 2, 20,
         1, 6, 97, 11},
        {"^6Jinx^7", "Jinx", 205, 195, 24, 5, 7, 2, 22, 3, 19, 2, 14, 260, 18},
        {"Casper^7", "Casper", 84, 60, 8, 2, 1, 0, 6, 1, 5, 1, 9, 148, 5},
    },
    {{0, kRocketSplash, 69}, {0, kRocketDirect, 57}, {0, kRocketTotal, 126},
     {0, kDestroyedSentry, 5}, {3, kSentryBullet, 59}, {3, kSentryRocket, 15}, {7, kSniperHead, 25},
     {7, kSniperLegs, 24}, {7, kSniperBody, 56}, {7, kSniperTotal, 105}, {7, kDestroyedSentry, 10},
     {11, kMelee, 9}, {11, kPipes, 45}, {12, kFlashGrenade, 14}},
    {{3, kDestroyedSentry, 27}, {10, kDestroyedSentry, 30}, {7, kNapalmGrenade, 11},
     {0, kRocketTotal, 15}},
    // Smurf's column moved into Jinx's: Neo's kills of both, Smurf's suicides
    // among Jinx's own. Casper's column starts clean.
    {{0, 0, 12}, {0, 1, 29}, {11, 11, 24}, {1, 11, 34}, {11, 12, 11}, {1, 12, 0}, {12, 12, 8},
     {11, 0, 1}},
    {{0, kDefendedCarrier, 15}, {0, kKilledEnemyCarrier, 25}, {7, kKilledWhileCapping, 5},
     {1, kDefendedFlag, 10}, {11, kKilledEnemyCarrier, 18}},
    {
        "^1Viper^7 ^*with 211 frags.",
        "^1Viper^7 ^*with a rank of 479.",
        "Zed^7 ^*for destroying an autosentry 10 times.",
        "^9Ghost^7 ^*with 6 teamkills.",
        "^2Moss^7, ^1Viper^7 ^*with 4 coast to coast flag captures.",
        "Casper^7 ^*for only being fragged 60 times.",
        "^6Jinx^7 ^*for comitting suicide 24 times.",
        "^1Viper^7 ^*for capping the flag 6 times.",
        "^1Viper^7 ^*with 25 flag saves.",
        "^5xX^6The^7Unstoppable^5For^7, ^2Moss^7 ^*for dropping the flag 20 times.",
        "^6Jinx^7 ^*with a total of 195 deaths.",
        "^2Moss^7 ^*for touching the flag 25 times.",
        "Vex^7 ^*for sitting on their grenade 3 times.",
        "Zed^7, ^9Ghost^7 ^*for having 25 headshots.",
        "^1Viper^7 ^*for 57 direct rocket kills.",
        "Neo^7, ^1Viper^7 ^*for getting 14% of their kills by grenade.",
        "Doc Holliday^7 ^*with a rank of 68.",
        "Ace^7 ^*for talking a whopping 20 times.",
    },
};

// Beta2: ^1Rook becomes ^1Bishop; Kit (id 2) takes the blue flag from its base,
// is merged into ^5Nova on the way and captures it coast to coast; Wisp joins
// after the merge (id 13). One of Raven's leg shots ends in CRLF.
const ExampleLog kBeta2{
    "beta2-ctf.log", kGameVersionBeta2, 3285, 193, "^5Nova", "need a medic at the ramp",
    {14, 14, -2, -2}, 2162, 1864, {"Kit", "^1Rook", "Guest", "n^7"},
    {
        {"^1Raven^7", "Raven", 179, 153, 16, 8, 6, 1, 23, 4, 19, 3, 22, 351, 12},
        {"^2Kobra^7", "Kobra", 150, 112, 11, 3, 3, 0, 19, 2, 17, 1, 11, 205, 14},
        {"Sasha^7", "Sasha", 126, 124, 14, 1, 5, 2, 18, 4, 14, 2, 12, 195, 19},
        {"^4Bolt^7", "Bolt", 196, 167, 17, 3, 6, 0, 16, 1, 15, 1, 16, 266, 13},
        {"Big Mike^7", "Big Mike", 132, 114, 11, 4, 4, 0, 20, 3, 17, 2, 15, 255, 16},
        {"Iron^7man^7", "Ironman", 125, 143, 10, 6, 0, 1, 20, 2, 18, 2, 10, 177, 23},
        {"^8Echo^7", "Echo", 122, 118, 15, 5, 2, 1, 14, 6, 8, 3, 8, 203, 13},
        {"Pyra^7", "Pyra", 131, 167, 13, 2, 7, 0, 17, 0, 17, 0, 10, 115, 11},
        {"^9Dune^7", "Dune", 129, 124, 19, 2, 4, 1, 9, 1, 8, 1, 11, 125, 11},
        {"Jax^7", "Jax", 136, 154, 7, 4, 3, 0, 19, 3, 16, 1, 12, 137, 7},
        {"^1Bishop^7", "Bishop", 127, 136, 13, 3, 1, 1, 14, 0, 14, 0, 12, 143, 19},
        {"^5Nova^7", "Nova", 170, 180, 15, 6, 7, 0, 19, 6, 13, 5, 11, 302, 18},
        {"^6Mira^7", "Mira", 126, 123, 12, 3, 1, 0, 17, 6, 11, 3, 12, 207, 10},
        {"Wisp^7", "Wisp", 75, 48, 9, 1, 2, 1, 5, 0, 5, 0, 6, 96, 5},
    },
    {{0, kSniperHead, 39}, {0, kSniperLegs, 17}, {0, kSniperBody, 55}, {0, kSniperTotal, 111},
     {3, kRocketSplash, 71}, {3, kRocketDirect, 47}, {3, kRocketTotal, 118},
     {7, kIncendiaryCannon, 56}, {7, kNapalmGrenade, 27}, {11, kMelee, 25}, {11, kNailgun, 63},
     {11, kFlashGrenade, 15}, {11, kInfection, 6}, {9, kDestroyedSentry, 13}},
    {{8, kDestroyedSentry, 38}, {5, kDestroyedSentry, 23}, {0, kSniperLegs, 2},
     {12, kSniperLegs, 4}, {0, kRocketTotal, 9}},
    {{0, 0, 16}, {0, 13, 11}, {11, 11, 15}, {1, 11, 32}, {3, 12, 32}, {1, 13, 1}, {13, 13, 9},
     {12, 0, 20}},
    {{0, kKilledEnemyCarrier, 22}, {11, kDefendedFlag, 13}, {3, kDefendedCarrier, 10},
     {5, kKilledWhileCapping, 3}, {1, kTeamKilledCarrier, 1}},
    {
        "^4Bolt^7 ^*with 196 frags.",
        "^1Raven^7 ^*with a rank of 351.",
        "Jax^7 ^*for destroying an autosentry 13 times.",
        "^1Raven^7 ^*with 8 teamkills.",
        "^5Nova^7 ^*with 5 coast to coast flag captures.",
        "Wisp^7 ^*for only being fragged 48 times.",
        "^9Dune^7 ^*for comitting suicide 19 times.",
        "^6Mira^7, ^8Echo^7, ^5Nova^7 ^*for capping the flag 6 times.",
        "^1Raven^7 ^*with 22 flag saves.",
        "^1Raven^7 ^*for dropping the flag 19 times.",
        "^5Nova^7 ^*with a total of 180 deaths.",
        "^1Raven^7 ^*for touching the flag 23 times.",
        "Sasha^7 ^*for sitting on their grenade 2 times.",
        "^1Raven^7 ^*for having 39 headshots.",
        "^4Bolt^7 ^*for 47 direct rocket kills.",
        "Sasha^7 ^*for getting 19% of their kills by grenade.",
        "Wisp^7 ^*with a rank of 96.",
        "Iron^7man^7 ^*for talking a whopping 23 times.",
    },
};
// clang-format on

std::string examplePath(const ExampleLog& log) {
    return std::string(ZEFA_EXAMPLES_DIR "/") + log.file;
}

class ExampleLogTest : public testing::TestWithParam<const ExampleLog*> {
protected:
    void SetUp() override {
        read_ = parseLog(examplePath(log()), stats_, versionTables(log().version));
    }

    static const ExampleLog& log() { return *GetParam(); }
    static std::int32_t playerCount() { return static_cast<std::int32_t>(log().players.size()); }
    const PlayerRecord& player(std::int32_t id) {
        static const PlayerRecord kNone{};
        const PlayerRecord* p = stats_.findPlayerById(id);
        EXPECT_NE(p, nullptr) << "no player with id " << id;
        return p ? *p : kNone;
    }

    MatchStats stats_;
    LogReadResult read_;
};

TEST_P(ExampleLogTest, LinesAndChat) {
    ASSERT_TRUE(read_.opened);
    EXPECT_EQ(stats_.lineCount, log().lineCount);
    ASSERT_EQ(stats_.chatSpeakers.size(), log().chatLines);
    ASSERT_EQ(stats_.chatTexts.size(), log().chatLines);
    EXPECT_EQ(stats_.chatSpeakers.front(), log().firstChatSpeaker);
    EXPECT_EQ(stats_.chatTexts.front(), log().firstChatText);
    // Warm-up talk before the first frag is neither listed nor counted.
    for (std::string_view warmUp : {"gl hf", "hi all", "warmup pls", "ready"})
        EXPECT_EQ(std::count(stats_.chatTexts.begin(), stats_.chatTexts.end(), warmUp), 0);
    // Two lines are listed for nobody: the admin's, and a newcomer's before their first event.
    EXPECT_EQ(std::count(stats_.chatSpeakers.begin(), stats_.chatSpeakers.end(), "^3Admin"), 1);
    std::int32_t said = 0;
    for (std::int32_t id = 0; id < playerCount(); ++id) {
        EXPECT_EQ(player(id).mm1, log().players[id].mm1) << log().players[id].name;
        said += player(id).mm1;
    }
    EXPECT_EQ(said + 2, static_cast<std::int32_t>(log().chatLines));
}

TEST_P(ExampleLogTest, PlayersInOrderOfFirstAppearance) {
    ASSERT_EQ(stats_.players.size(), log().players.size());
    std::int32_t id = 0;
    for (const PlayerRecord& p : stats_.players) {
        const PlayerFigures& want = log().players[id];
        EXPECT_EQ(p.id, id);
        EXPECT_EQ(p.name, want.name);
        EXPECT_EQ(p.strippedName, want.strippedName);
        EXPECT_EQ(p.rank, want.rank) << want.name;
        ++id;
    }
    for (std::string_view gone : log().goneNames)
        EXPECT_EQ(stats_.findPlayer(gone, false), nullptr) << gone;
}

TEST_P(ExampleLogTest, Kills) {
    for (std::int32_t id = 0; id < playerCount(); ++id) {
        const PlayerFigures& want = log().players[id];
        const PlayerRecord& p = player(id);
        EXPECT_EQ(p.kills, want.kills) << want.name;
        EXPECT_EQ(p.deaths, want.deaths) << want.name;
        EXPECT_EQ(p.suicides, want.suicides) << want.name;
        EXPECT_EQ(p.tks, want.tks) << want.name;
        EXPECT_EQ(p.tkDeaths, want.tkDeaths) << want.name;
        EXPECT_EQ(p.selfGren, want.selfGren) << want.name;
        EXPECT_EQ(p.weapDeaths[kEnvironment], 0) << want.name;  // suicides count under no weapon
    }
    for (const Entry& e : log().weapKills)
        EXPECT_EQ(player(e.player).weapKills[e.index], e.value) << e.player << "," << e.index;
    for (const Entry& e : log().weapDeaths)
        EXPECT_EQ(player(e.player).weapDeaths[e.index], e.value) << e.player << "," << e.index;
    for (const Entry& e : log().killCount)
        EXPECT_EQ(player(e.player).killsOf(e.index), e.value) << e.player << "," << e.index;
}

TEST_P(ExampleLogTest, FlagRunsAndTeamScores) {
    EXPECT_EQ(stats_.teamScores, log().teamScores);
    for (std::int32_t id = 0; id < playerCount(); ++id) {
        const PlayerFigures& want = log().players[id];
        const PlayerRecord& p = player(id);
        EXPECT_EQ(p.touches, want.touches) << want.name;
        EXPECT_EQ(p.caps, want.caps) << want.name;
        EXPECT_EQ(p.drops, want.drops) << want.name;
        EXPECT_EQ(p.c2cs, want.c2cs) << want.name;
        EXPECT_EQ(p.flagSaves, want.flagSaves) << want.name;
    }
    for (const Entry& e : log().defenses)
        EXPECT_EQ(player(e.player).defenses[e.index], e.value) << e.player << "," << e.index;
}

TEST_P(ExampleLogTest, EachLogFavoursItsOwnVersion) {
    EXPECT_EQ(read_.versionLines, log().versionLines);
    MatchStats other;
    const std::int32_t otherVersion =
        log().version == kGameVersionBeta2 ? kGameVersionBeta1H : kGameVersionBeta2;
    EXPECT_EQ(parseLog(examplePath(log()), other, versionTables(otherVersion)).versionLines,
              log().otherVersionLines);
    EXPECT_GT(read_.versionLines, log().otherVersionLines);
}

TEST_P(ExampleLogTest, Awards) {
    AwardTable awards;
    awards.ComputeAwards(stats_.players);
    for (std::int32_t i = 0; i < kAwardCount; ++i)
        EXPECT_EQ(awards.result(i), log().awards[i]) << awardCatalogue()[i].awardName;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleLogTest, testing::Values(&kBeta1H, &kBeta2),
                         [](const auto& info) {
                             return info.param->version == kGameVersionBeta2 ? "Beta2" : "Beta1H";
                         });

}  // namespace
}  // namespace zefa
