#include "awards/AwardTable.h"

#include <charconv>
#include <iterator>

#include "awards/SortPlayers.h"
#include "model/Weapons.h"

namespace zefa {

namespace {

constexpr std::string_view kWinnerMarker = "WINNER";
constexpr std::string_view kDataMarker = "DATA";

constexpr bool kHighestWins = true;
constexpr bool kLowestWins = false;
constexpr bool kZeroWins = true;
constexpr bool kZeroLoses = false;

// Every award's message is its winners, a prefix and the value, in that order.
constexpr AwardDefinition award(std::string_view name, SortKey key, std::int32_t index,
                                bool descending, bool allowZero, std::string_view prefix,
                                std::string_view singular, std::string_view plural) {
    return {name,     key,   index, descending, allowZero, {kWinnerMarker, prefix, kDataMarker},
            singular, plural};
}

// clang-format off
constexpr std::array<AwardDefinition, kAwardCount> kCatalogue = {{
    award("AutoAimer Award", kSortByKills, 0, kHighestWins, kZeroWins,
          "^*with ", " frag.", " frags."),
    award("Fragmaster Award", kSortByRank, 0, kHighestWins, kZeroWins,
          "^*with a rank of ", ".", "."),
    award("Autosentry Demolisher Award", kSortByWeapKills, kDestroyedSentry, kHighestWins,
          kZeroLoses,
          "^*for destroying an autosentry ", " time.", " times."),
    award("Friends? We dont't need no stinkin' friends! Award", kSortByTks, 0, kHighestWins,
          kZeroLoses,
          "^*with ", " teamkill.", " teamkills."),
    award("Coaster Award", kSortByC2cs, 0, kHighestWins, kZeroLoses,
          "^*with ", " coast to coast flag capture.", " coast to coast flag captures."),
    award("Sly Fox Award", kSortByDeaths, 0, kLowestWins, kZeroWins,
          "^*for only being fragged ", " time.", " times."),
    award("Dr. Jack Award", kSortBySuicides, 0, kHighestWins, kZeroLoses,
          "^*for comitting suicide ", " time.", " times."),
    award("Touchdown Award", kSortByCaps, 0, kHighestWins, kZeroLoses,
          "^*for capping the flag ", " time.", " times."),
    award("Flag Saves Award", kSortByFlagSaves, 0, kHighestWins, kZeroLoses,
          "^*with ", " flag save.", " flag saves."),
    award("Butterfingers Award", kSortByDrops, 0, kHighestWins, kZeroLoses,
          "^*for dropping the flag ", " time.", " times."),
    award("Cannon Fodder Award", kSortByDeaths, 0, kHighestWins, kZeroWins,
          "^*with a total of ", " death.", " deaths."),
    award("Jack Rabbit Award", kSortByTouches, 0, kHighestWins, kZeroLoses,
          "^*for touching the flag ", " time.", " times."),
    award("Throw the pin, not the grenade! Award", kSortBySelfGren, 0, kHighestWins, kZeroLoses,
          "^*for sitting on their grenade ", " time.", " times."),
    award("Lucky Shot Award", kSortByWeapKills, kSniperHead, kHighestWins, kZeroLoses,
          "^*for having ", " headshot.", " headshots."),
    award("Up Yours! Award", kSortByWeapKills, kRocketDirect, kHighestWins, kZeroLoses,
          "^*for ", " direct rocket kill.", " direct rocket kills."),
    award("All-Gren Award", kSortByGrenRatio, 0, kHighestWins, kZeroLoses,
          "^*for getting ", "% of their kills by grenade.", "% of their kills by grenade."),
    award("Zefa Newbie Award", kSortByRank, 0, kLowestWins, kZeroWins,
          "^*with a rank of ", ".", "."),
    award("Blabbermouth Award", kSortByMm1, 0, kHighestWins, kZeroLoses,
          "^*for talking a whopping ", " time.", " times."),
}};
// clang-format on

bool inCatalogue(std::int32_t i) { return i >= 0 && i < kAwardCount; }
std::size_t slot(std::int32_t i) { return static_cast<std::size_t>(i); }

// The sorted list starts with the winners: every record up to the first one
// whose value differs. All of them are named, however many tie.
void appendWinners(std::string& out, const std::list<PlayerRecord>& players,
                   const AwardDefinition& award, std::int32_t value) {
    std::string_view separator;
    for (const PlayerRecord& p : players) {
        if (playerStatistic(p, award.sortKey, award.sortIndex) != value) break;
        out += separator;
        out += p.name;
        separator = ", ";
    }
    out += ' ';
}

void appendNumber(std::string& out, std::int32_t value) {
    char digits[12];  // "-2147483648" is the longest
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    out.append(digits, end);
}

}  // namespace

const std::array<AwardDefinition, kAwardCount>& awardCatalogue() { return kCatalogue; }

AwardTable::AwardTable() { m_selected.fill(true); }

std::string_view AwardTable::awardName(std::int32_t i) const {
    return inCatalogue(i) ? kCatalogue[slot(i)].awardName : std::string_view();
}

bool AwardTable::selected(std::int32_t i) const { return inCatalogue(i) && m_selected[slot(i)]; }

void AwardTable::setSelected(std::int32_t i, bool selected) {
    if (inCatalogue(i)) m_selected[slot(i)] = selected;
}

const std::string& AwardTable::result(std::int32_t i) const {
    static const std::string kNoResult;
    return inCatalogue(i) ? m_result[slot(i)] : kNoResult;
}

bool AwardTable::shown(std::int32_t i) const { return selected(i) && !result(i).empty(); }

void AwardTable::ComputeAwards(std::list<PlayerRecord>& players) {
    for (std::int32_t i = 0; i < kAwardCount; ++i) {
        if (m_selected[slot(i)]) ComputeAward(players, i);
    }
}

void AwardTable::ComputeAward(std::list<PlayerRecord>& players, std::int32_t i) {
    if (!inCatalogue(i)) return;
    std::string& result = m_result[slot(i)];
    result.clear();
    if (players.empty()) return;

    const AwardDefinition& award = kCatalogue[slot(i)];
    SortPlayers(players, award.sortKey, award.sortIndex, award.descending);
    const std::int32_t value = playerStatistic(players.front(), award.sortKey, award.sortIndex);
    if (value == 0 && !award.allowZero) return;

    for (std::string_view part : award.parts) {
        if (part == kWinnerMarker) {
            appendWinners(result, players, award, value);
        } else if (part == kDataMarker) {
            appendNumber(result, value);
        } else {
            result += part;
        }
    }
    result += value == 1 ? award.singular : award.plural;
}

}  // namespace zefa
