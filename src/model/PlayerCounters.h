#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace zefa {

inline constexpr std::int32_t kWeaponCount = 35;
inline constexpr std::int32_t kDefenseKindCount = 6;

// What a player's play adds up to: the counters of one record of a match,
// and of a season player summed over records and matches. Signed 32-bit, as
// the page and the awards print them.
struct PlayerCounters {
    std::int32_t mm1 = 0;
    std::int32_t selfGren = 0;
    std::int32_t kills = 0;
    std::int32_t deaths = 0;
    std::int32_t suicides = 0;
    std::int32_t tks = 0;
    std::int32_t tkDeaths = 0;
    std::int32_t touches = 0;
    std::int32_t caps = 0;
    std::int32_t drops = 0;
    std::int32_t c2cs = 0;
    std::int32_t flagSaves = 0;
    std::array<std::int32_t, kWeaponCount> weapKills{};      // by weapon id
    std::array<std::int32_t, kWeaponCount> weapDeaths{};     // by weapon id
    std::array<std::int32_t, kDefenseKindCount> defenses{};  // by defense kind

    bool operator==(const PlayerCounters&) const = default;
};

// One counter under its name in `zefastats --json`, in the season's JSON and
// as a column of the season store.
template <typename Value>
struct CounterField {
    using Type = Value;
    static constexpr bool kSingle = std::is_same_v<Value, std::int32_t>;  // not an array
    std::string_view name;
    Value PlayerCounters::*member;
};

using WeaponCounts = std::array<std::int32_t, kWeaponCount>;
using DefenseCounts = std::array<std::int32_t, kDefenseKindCount>;

// Every counter once, in the order the season store's columns and the
// season's JSON give them: the single counters, then the arrays.
inline constexpr std::tuple kPlayerCounters{
    CounterField<std::int32_t>{"mm1", &PlayerCounters::mm1},
    CounterField<std::int32_t>{"selfGren", &PlayerCounters::selfGren},
    CounterField<std::int32_t>{"kills", &PlayerCounters::kills},
    CounterField<std::int32_t>{"deaths", &PlayerCounters::deaths},
    CounterField<std::int32_t>{"suicides", &PlayerCounters::suicides},
    CounterField<std::int32_t>{"tks", &PlayerCounters::tks},
    CounterField<std::int32_t>{"tkDeaths", &PlayerCounters::tkDeaths},
    CounterField<std::int32_t>{"touches", &PlayerCounters::touches},
    CounterField<std::int32_t>{"caps", &PlayerCounters::caps},
    CounterField<std::int32_t>{"drops", &PlayerCounters::drops},
    CounterField<std::int32_t>{"c2cs", &PlayerCounters::c2cs},
    CounterField<std::int32_t>{"flagSaves", &PlayerCounters::flagSaves},
    CounterField<WeaponCounts>{"weapKills", &PlayerCounters::weapKills},
    CounterField<WeaponCounts>{"weapDeaths", &PlayerCounters::weapDeaths},
    CounterField<DefenseCounts>{"defenses", &PlayerCounters::defenses},
};

// Calls `visit(field)` for each entry of kPlayerCounters, in its order.
template <typename Visit>
constexpr void forEachCounter(Visit&& visit) {
    std::apply([&visit](const auto&... field) { (visit(field), ...); }, kPlayerCounters);
}

// A counter left out of the table would be left out of the store and the JSON.
static_assert(
    [] {
        std::size_t bytes = 0;
        forEachCounter(
            [&bytes]<typename Field>(const Field&) { bytes += sizeof(typename Field::Type); });
        return bytes;
    }() == sizeof(PlayerCounters),
    "every member of PlayerCounters is in kPlayerCounters");

// Adds every counter of `from` to the same counter of `into`.
inline void addCounters(PlayerCounters& into, const PlayerCounters& from) {
    forEachCounter([&]<typename Field>(const Field& field) {
        auto& sum = into.*field.member;
        const auto& part = from.*field.member;
        if constexpr (Field::kSingle) {
            sum += part;
        } else {
            for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += part[i];
        }
    });
}

}  // namespace zefa
