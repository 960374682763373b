// Scenario tests on the two example logs in examples/. The expected figures
// were counted from the log lines, not by running this reader: the script
// that writes the logs (scripts/make_example_logs.py --expect) tallies every
// line it writes, and several figures were recounted with grep.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "awards/AwardTable.h"
#include "model/MatchStats.h"
#include "model/Weapons.h"
#include "parser/LogInput.h"

namespace zefa {
namespace {

// kills, deaths, suicides, tks, tkDeaths, touches, caps, drops, c2cs,
// flagSaves, rank, mm1, selfGren, grenRatio: the order the script prints.
using Figures = std::array<std::int32_t, 14>;

Figures figures(const PlayerRecord& p) {
    return {p.kills, p.deaths, p.suicides,  p.tks,  p.tkDeaths, p.touches,  p.caps,
            p.drops, p.c2cs,   p.flagSaves, p.rank, p.mm1,      p.selfGren, p.grenRatio};
}

template <std::size_t N>
void add(std::array<std::int32_t, N>& sum, const std::array<std::int32_t, N>& values) {
    for (std::size_t i = 0; i < N; ++i) sum[i] += values[i];
}

struct ExampleLog {
    const char* file;
    std::int32_t version, lineCount;
    std::size_t chatLines;
    std::string_view firstChatSpeaker, firstChatText;
    std::array<std::int32_t, kTeamCount> teamScores;
    std::int32_t versionLines, otherVersionLines;  // taken by this version's tables / the other's
    std::vector<std::string_view> names;           // every player's, in id order
    Figures totals;                                // summed over every player
    std::array<std::int32_t, kWeaponCount> weaponTotals;  // kills by each weapon, and deaths
    std::array<std::int32_t, kDefenseKindCount> defenseTotals;
    std::vector<std::pair<std::int32_t, Figures>> players;  // by id
    std::vector<std::array<std::int32_t, 3>> killCount;     // killer id, victim id, kills
    std::vector<std::pair<std::int32_t, std::string_view>> awards;
};

// Beta1H: Tank becomes ^8Panzer; Smurf (id 2) kills the red flag's carrier and
// is merged into ^6Jinx before the flag is returned, so Jinx gets the save;
// Casper, seen only in a dropped rename before, joins after the merge (id 12).
// clang-format off
const ExampleLog kBeta1H{
    "beta1h-ctf.log", kGameVersionBeta1H, 3284, 179, "^1Viper", "lol", {15, 11, -2, -3},
    2175, 2045,
    {"^1Viper^7", "Neo^7", "^9Ghost^7", "^4Ice^7Man^7", "^8Panzer^7", "Doc Holliday^7", "Vex^7",
     "Zed^7", "^2Moss^7", "Ace^7", "^5xX^6The^7Unstoppable^5For^7", "^6Jinx^7", "Casper^7"},
    {1919, 1862, 207, 43, 43, 229, 39, 190, 27, 165, 2824, 177, 15, 105},
    {235, 134, 101, 129, 138, 205, 26, 170, 97, 19, 53, 23, 105, 57, 29, 184, 50, 38, 96, 22, 31,
     60, 26, 12, 45, 12, 39, 45, 18, 22, 35, 54, 28, 0, 0},
    {75, 3, 171, 21, 7, 50},
    {
        {0, {211, 130, 12, 4, 5, 19, 6, 13, 4, 25, 479, 16, 1, 14}},
        {2, {125, 145, 15, 6, 1, 17, 3, 14, 3, 11, 192, 18, 1, 8}},
        {4, {134, 140, 13, 2, 5, 14, 5, 9, 3, 16, 249, 16, 0, 6}},
        {11, {205, 195, 24, 5, 7, 22, 3, 19, 2, 14, 260, 18, 2, 13}},
        {12, {84, 60, 8, 2, 1, 6, 1, 5, 1, 9, 148, 5, 0, 13}},
    },
    // Smurf's column moved into Jinx's: Neo's kills of both, Smurf's suicides
    // among Jinx's own. Casper's column starts clean.
    {{0, 0, 12}, {0, 1, 29}, {11, 11, 24}, {1, 11, 34}, {11, 12, 11}, {1, 12, 0}, {12, 12, 8},
     {11, 0, 1}},
    {
        {0, "^1Viper^7 ^*with 211 frags."},
        {1, "^1Viper^7 ^*with a rank of 479."},
        {2, "Zed^7 ^*for destroying an autosentry 10 times."},
        {3, "^9Ghost^7 ^*with 6 teamkills."},
        {4, "^2Moss^7, ^1Viper^7 ^*with 4 coast to coast flag captures."},
        {5, "Casper^7 ^*for only being fragged 60 times."},
        {6, "^6Jinx^7 ^*for comitting suicide 24 times."},
        {7, "^1Viper^7 ^*for capping the flag 6 times."},
        {8, "^1Viper^7 ^*with 25 flag saves."},
        {9, "^5xX^6The^7Unstoppable^5For^7, ^2Moss^7 ^*for dropping the flag 20 times."},
        {10, "^6Jinx^7 ^*with a total of 195 deaths."},
        {11, "^2Moss^7 ^*for touching the flag 25 times."},
        {12, "Vex^7 ^*for sitting on their grenade 3 times."},
        {13, "Zed^7, ^9Ghost^7 ^*for having 25 headshots."},
        {14, "^1Viper^7 ^*for 57 direct rocket kills."},
        {15, "Neo^7, ^1Viper^7 ^*for getting 14% of their kills by grenade."},
        {16, "Doc Holliday^7 ^*with a rank of 68."},
        {17, "Ace^7 ^*for talking a whopping 20 times."},
    },
};

// Beta2: ^1Rook becomes ^1Bishop; Kit (id 2) takes the blue flag from its base,
// is merged into ^5Nova on the way and captures it coast to coast; Wisp joins
// after the merge (id 13). One of Raven's leg shots ends in CRLF.
const ExampleLog kBeta2{
    "beta2-ctf.log", kGameVersionBeta2, 3285, 193, "^5Nova", "need a medic at the ramp",
    {14, 14, -2, -2}, 2162, 1864,
    {"^1Raven^7", "^2Kobra^7", "Sasha^7", "^4Bolt^7", "Big Mike^7", "Iron^7man^7", "^8Echo^7",
     "Pyra^7", "^9Dune^7", "Jax^7", "^1Bishop^7", "^5Nova^7", "^6Mira^7", "Wisp^7"},
    {1924, 1863, 182, 51, 51, 230, 38, 192, 24, 168, 2777, 191, 8, 121},
    {186, 111, 75, 147, 128, 204, 17, 173, 78, 13, 50, 9, 96, 61, 29, 195, 68, 34, 93, 16, 39, 60,
     61, 31, 59, 12, 35, 43, 17, 21, 6, 92, 46, 0, 0},
    {72, 1, 176, 15, 8, 57},
    {
        {0, {179, 153, 16, 8, 6, 23, 4, 19, 3, 22, 351, 12, 1, 6}},
        {10, {127, 136, 13, 3, 1, 14, 0, 14, 0, 12, 143, 19, 1, 12}},
        {11, {170, 180, 15, 6, 7, 19, 6, 13, 5, 11, 302, 18, 0, 7}},
        {13, {75, 48, 9, 1, 2, 5, 0, 5, 0, 6, 96, 5, 1, 8}},
    },
    {{0, 0, 16}, {0, 13, 11}, {11, 11, 15}, {1, 11, 32}, {3, 12, 32}, {1, 13, 1}, {13, 13, 9},
     {12, 0, 20}},
    {
        {4, "^5Nova^7 ^*with 5 coast to coast flag captures."},
        {7, "^6Mira^7, ^8Echo^7, ^5Nova^7 ^*for capping the flag 6 times."},
        {17, "Iron^7man^7 ^*for talking a whopping 23 times."},
    },
};
// clang-format on

std::string examplePath(const ExampleLog& log) {
    return std::string(ZEFA_EXAMPLES_DIR "/") + log.file;
}

class ExampleLogTest : public testing::TestWithParam<const ExampleLog*> {
protected:
    void SetUp() override {
        m_read = parseLog(examplePath(log()), m_stats, versionTables(log().version));
    }

    static const ExampleLog& log() { return *GetParam(); }

    MatchStats m_stats;
    LogReadResult m_read;
};

TEST_P(ExampleLogTest, LinesAndChat) {
    ASSERT_TRUE(m_read.opened);
    EXPECT_EQ(m_stats.lineCount, log().lineCount);
    ASSERT_EQ(m_stats.chatSpeakers.size(), log().chatLines);
    ASSERT_EQ(m_stats.chatTexts.size(), log().chatLines);
    EXPECT_EQ(m_stats.chatSpeakers.front(), log().firstChatSpeaker);
    EXPECT_EQ(m_stats.chatTexts.front(), log().firstChatText);
    // Warm-up talk before the first frag is neither listed nor counted.
    for (std::string_view warmUp : {"gl hf", "hi all", "warmup pls", "ready"})
        EXPECT_EQ(std::count(m_stats.chatTexts.begin(), m_stats.chatTexts.end(), warmUp), 0);
    // Two lines are listed for nobody (the players' mm1 add up to two less):
    // the admin's, and a newcomer's before their first event.
    EXPECT_EQ(std::count(m_stats.chatSpeakers.begin(), m_stats.chatSpeakers.end(), "^3Admin"), 1);
}

TEST_P(ExampleLogTest, PlayersInOrderOfFirstAppearance) {
    std::vector<std::string_view> names;
    for (const PlayerRecord& p : m_stats.players) {
        EXPECT_EQ(p.id, static_cast<std::int32_t>(names.size())) << p.name;
        names.push_back(p.name);
    }
    EXPECT_EQ(names, log().names);  // none for the names renamed away or merged
}

TEST_P(ExampleLogTest, CountersOfThePlayersAndTheMatch) {
    EXPECT_EQ(m_stats.teamScores, log().teamScores);
    Figures totals{};
    std::array<std::int32_t, kWeaponCount> weaponKills{}, weaponDeaths{};
    std::array<std::int32_t, kDefenseKindCount> defenses{};
    std::vector<const PlayerRecord*> byId;  // the list is in id order until sorted
    for (const PlayerRecord& p : m_stats.players) {
        byId.push_back(&p);
        add(totals, figures(p));
        add(weaponKills, p.weapKills);
        add(weaponDeaths, p.weapDeaths);
        add(defenses, p.defenses);
    }
    EXPECT_EQ(totals, log().totals);
    EXPECT_EQ(weaponKills, log().weaponTotals);
    EXPECT_EQ(weaponDeaths, log().weaponTotals);  // suicides count under no weapon
    EXPECT_EQ(defenses, log().defenseTotals);

    for (const auto& [id, want] : log().players) EXPECT_EQ(figures(*byId.at(id)), want) << id;
    for (const auto& [killer, victim, value] : log().killCount)
        EXPECT_EQ(byId.at(killer)->killsOf(victim), value) << killer << "," << victim;
}

TEST_P(ExampleLogTest, EachLogFavoursItsOwnVersion) {
    EXPECT_EQ(m_read.versionLines, log().versionLines);
    MatchStats other;
    const std::int32_t otherVersion =
        log().version == kGameVersionBeta2 ? kGameVersionBeta1H : kGameVersionBeta2;
    EXPECT_EQ(parseLog(examplePath(log()), other, versionTables(otherVersion)).versionLines,
              log().otherVersionLines);
}

TEST_P(ExampleLogTest, AwardsWithTiesAndMergedPlayers) {
    AwardTable awards;
    awards.ComputeAwards(m_stats.players);
    for (std::int32_t i = 0; i < kAwardCount; ++i) EXPECT_TRUE(awards.shown(i)) << i;
    for (const auto& [i, result] : log().awards)
        EXPECT_EQ(awards.result(i), result) << awardCatalogue()[i].awardName;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleLogTest, testing::Values(&kBeta1H, &kBeta2),
                         [](const auto& info) {
                             return info.param->version == kGameVersionBeta2 ? "Beta2" : "Beta1H";
                         });

}  // namespace
}  // namespace zefa
