#include "model/MatchStats.h"

#include <algorithm>

#include "model/DefenseKinds.h"
#include "model/NameRules.h"
#include "model/Weapons.h"

namespace zefa {

namespace {

template <std::size_t N>
void addArray(std::array<std::int32_t, N>& into, const std::array<std::int32_t, N>& from) {
    for (std::size_t i = 0; i < N; ++i) into[i] += from[i];
}

// Rank points in 32-bit arithmetic that wraps like the machine's instead of
// overflowing into undefined behaviour on absurd counts.
std::int32_t rankPoints(const PlayerRecord& p) {
    auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
    const auto& d = p.defenses;
    const std::uint32_t flagPlay = u(p.caps) + 4u * u(p.c2cs) + u(d[kDefendedCarrier]) -
                                   u(d[kTeamKilledCarrier]) + 2u * u(d[kKilledWhileCapping]) +
                                   4u * u(d[kKilledCarrierWhileHolding]);
    const std::uint32_t support =
        u(p.touches) + u(p.flagSaves) + 2u * u(d[kKilledEnemyCarrier]) + u(d[kDefendedFlag]);
    const std::uint32_t points =
        5u * flagPlay + 2u * support + u(p.kills) - u(p.deaths) - u(p.suicides) - u(p.tks);
    return static_cast<std::int32_t>(points);
}

template <typename Array>
void fillTotals(Array& byWeapon) {
    byWeapon[kRocketTotal] = byWeapon[kRocketSplash] + byWeapon[kRocketDirect];
    byWeapon[kSniperTotal] = byWeapon[kSniperHead] + byWeapon[kSniperLegs] + byWeapon[kSniperBody];
}

}  // namespace

PlayerRecord* MatchStats::findPlayer(std::string_view rawName, bool create) {
    const NameKey name(rawName);
    const std::string_view key = name.view();
    auto found = std::find_if(players.begin(), players.end(),
                              [key](const PlayerRecord& p) { return p.name == key; });
    if (found != players.end()) return &*found;
    if (!create || players.size() >= kMaxPlayers) return nullptr;

    PlayerRecord& record = players.emplace_back();
    record.strippedName = stripColourCodes(key);
    record.name = std::string(key);
    record.id = static_cast<std::int32_t>(players.size() - 1);
    return &record;
}

PlayerRecord* MatchStats::findPlayerById(std::int32_t id) {
    auto found = std::find_if(players.begin(), players.end(),
                              [id](const PlayerRecord& p) { return p.id == id; });
    return found == players.end() ? nullptr : &*found;
}

void MatchStats::mergeRenamed(PlayerRecord& from, PlayerRecord& into) {
    addCounters(into, from);
    addArray(into.killCount, from.killCount);
    // Kills of the old name are kills of the surviving player: move every
    // player's column of the old record into the survivor's column before the
    // old column disappears, so that no row of the kill matrix loses a kill.
    for (PlayerRecord& p : players) {
        if (&p != &from) p.countKillsOf(into.id, p.killsOf(from.id));
    }
    removePlayer(from);
}

void MatchStats::removePlayer(const PlayerRecord& record) {
    const std::int32_t removed = record.id;
    players.remove_if([&](const PlayerRecord& p) { return &p == &record; });
    for (PlayerRecord& p : players) {
        if (p.id > removed) --p.id;
        if (removed >= 0 && removed < kKillCountColumns) {
            // The removed player's column disappears; the vacated last column
            // is cleared so that a later player does not inherit its counts.
            auto column = p.killCount.begin() + removed;
            std::copy(column + 1, p.killCount.end(), column);
            p.killCount.back() = 0;
        }
    }
}

void MatchStats::renamePlayer(PlayerRecord& record, std::string_view rawName) {
    record.name = normaliseName(rawName);
    record.strippedName = stripColourCodes(record.name);
}

void MatchStats::finish() {
    for (PlayerRecord& p : players) {
        fillTotals(p.weapKills);
        fillTotals(p.weapDeaths);
        p.rank = rankPoints(p);
    }
}

}  // namespace zefa
