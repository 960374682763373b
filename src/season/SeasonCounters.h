#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/PlayerRecord.h"
#include "season/SeasonSnapshot.h"

namespace zefa::season {

// A single counter, named as in `zefastats --json` and as its column in the store.
struct CounterField {
    std::string_view name;
    std::int32_t PlayerCounters::*counter;
    std::int32_t PlayerRecord::*record;
};

inline constexpr std::array<CounterField, 12> kCounterFields = {{
    {"mm1", &PlayerCounters::mm1, &PlayerRecord::mm1},
    {"selfGren", &PlayerCounters::selfGren, &PlayerRecord::selfGren},
    {"kills", &PlayerCounters::kills, &PlayerRecord::kills},
    {"deaths", &PlayerCounters::deaths, &PlayerRecord::deaths},
    {"suicides", &PlayerCounters::suicides, &PlayerRecord::suicides},
    {"tks", &PlayerCounters::tks, &PlayerRecord::tks},
    {"tkDeaths", &PlayerCounters::tkDeaths, &PlayerRecord::tkDeaths},
    {"touches", &PlayerCounters::touches, &PlayerRecord::touches},
    {"caps", &PlayerCounters::caps, &PlayerRecord::caps},
    {"drops", &PlayerCounters::drops, &PlayerRecord::drops},
    {"c2cs", &PlayerCounters::c2cs, &PlayerRecord::c2cs},
    {"flagSaves", &PlayerCounters::flagSaves, &PlayerRecord::flagSaves},
}};

// The three counter arrays in that order: weapKills, weapDeaths, defenses.
inline constexpr std::array<std::string_view, 3> kCounterArrayNames = {"weapKills", "weapDeaths",
                                                                       "defenses"};
[[nodiscard]] std::array<std::span<std::int32_t>, 3> counterArrays(PlayerCounters& counters);
[[nodiscard]] std::array<std::span<const std::int32_t>, 3> counterArrays(
    const PlayerCounters& counters);

[[nodiscard]] PlayerCounters countersOf(const PlayerRecord& record);
void addCounters(PlayerCounters& into, const PlayerCounters& from);
void addKills(KillsByVictim& into, std::string_view victim, std::int32_t kills);

// An array as stored: little-endian 32-bit integers, one after the other.
[[nodiscard]] std::vector<std::byte> packIntegers(std::span<const std::int32_t> values);
// Reads what packIntegers wrote; entries beyond the bytes stay as they are.
void unpackIntegers(std::span<const std::byte> bytes, std::span<std::int32_t> values);

}  // namespace zefa::season
