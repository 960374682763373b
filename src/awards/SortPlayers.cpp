#include "awards/SortPlayers.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace zefa {

namespace {

// The scalar fields, indexed by their sort key (1 to 15).
constexpr std::array<std::int32_t PlayerRecord::*, kSortByFlagSaves + 1> kScalarFields = {
    nullptr,  // the name key has no integer field
    &PlayerRecord::id,
    &PlayerRecord::rank,
    &PlayerRecord::mm1,
    &PlayerRecord::selfGren,
    &PlayerRecord::kills,
    &PlayerRecord::deaths,
    &PlayerRecord::suicides,
    &PlayerRecord::tks,
    &PlayerRecord::tkDeaths,
    &PlayerRecord::touches,
    &PlayerRecord::caps,
    &PlayerRecord::grenRatio,
    &PlayerRecord::drops,
    &PlayerRecord::c2cs,
    &PlayerRecord::flagSaves,
};

template <std::size_t N>
std::int32_t entry(const std::array<std::int32_t, N>& values, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < N
               ? values[static_cast<std::size_t>(index)]
               : 0;
}

bool comparesNames(std::int32_t sortKey) {
    return sortKey < kSortById || sortKey > kSortByDefenses;
}

// Only A to Z fold; every other byte, including those above 127, compares as is.
unsigned char foldCase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

bool nameLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return foldCase(x) < foldCase(y); });
}

}  // namespace

std::int32_t playerStatistic(const PlayerRecord& player, std::int32_t sortKey,
                             std::int32_t sortIndex) {
    switch (sortKey) {
        case kSortByKillCount:
            return player.killsOf(sortIndex);
        case kSortByWeapKills:
            return entry(player.weapKills, sortIndex);
        case kSortByWeapDeaths:
            return entry(player.weapDeaths, sortIndex);
        case kSortByDefenses:
            return entry(player.defenses, sortIndex);
        default:
            return comparesNames(sortKey)
                       ? 0
                       : player.*kScalarFields[static_cast<std::size_t>(sortKey)];
    }
}

void SortPlayers(std::list<PlayerRecord>& players, std::int32_t sortKey, std::int32_t sortIndex,
                 bool descending) {
    if (players.size() < 2) return;

    auto less = [&](const PlayerRecord& a, const PlayerRecord& b) {
        return comparesNames(sortKey) ? nameLess(a.strippedName, b.strippedName)
                                      : playerStatistic(a, sortKey, sortIndex) <
                                            playerStatistic(b, sortKey, sortIndex);
    };
    if (!descending) {
        players.sort(less);
        return;
    }
    // Equal keys must come out in the reverse of their previous order: a stable
    // sort of the reversed list by a strict "greater than" gives exactly that.
    players.reverse();
    players.sort([&](const PlayerRecord& a, const PlayerRecord& b) { return less(b, a); });
}

}  // namespace zefa
