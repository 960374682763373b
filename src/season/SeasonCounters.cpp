#include "season/SeasonCounters.h"

#include <algorithm>

namespace zefa::season {

std::array<std::span<std::int32_t>, 3> counterArrays(PlayerCounters& counters) {
    return {counters.weapKills, counters.weapDeaths, counters.defenses};
}

std::array<std::span<const std::int32_t>, 3> counterArrays(const PlayerCounters& counters) {
    return {counters.weapKills, counters.weapDeaths, counters.defenses};
}

PlayerCounters countersOf(const PlayerRecord& record) {
    PlayerCounters counters;
    for (const CounterField& field : kCounterFields) counters.*field.counter = record.*field.record;
    counters.weapKills = record.weapKills;
    counters.weapDeaths = record.weapDeaths;
    counters.defenses = record.defenses;
    return counters;
}

void addCounters(PlayerCounters& into, const PlayerCounters& from) {
    for (const CounterField& field : kCounterFields) into.*field.counter += from.*field.counter;
    const auto sums = counterArrays(into);
    const auto parts = counterArrays(from);
    for (std::size_t a = 0; a < sums.size(); ++a)
        std::ranges::transform(sums[a], parts[a], sums[a].begin(), std::plus<>());
}

void addKills(KillsByVictim& into, std::string_view victim, std::int32_t kills) {
    const auto at = std::ranges::lower_bound(into, victim, {}, [](const auto& entry) {
        return std::string_view(entry.first);
    });
    if (at != into.end() && at->first == victim) {
        at->second += kills;
    } else {
        into.emplace(at, std::string(victim), kills);
    }
}

std::vector<std::byte> packIntegers(std::span<const std::int32_t> values) {
    std::vector<std::byte> bytes;
    bytes.reserve(values.size() * 4);
    for (const std::int32_t value : values) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(std::byte(bits >> shift));
    }
    return bytes;
}

void unpackIntegers(std::span<const std::byte> bytes, std::span<std::int32_t> values) {
    for (std::size_t i = 0; i < values.size() && (i + 1) * 4 <= bytes.size(); ++i) {
        std::uint32_t bits = 0;
        for (int b = 3; b >= 0; --b) bits = bits << 8 | std::to_integer<std::uint32_t>(bytes[i * 4 + b]);
        values[i] = static_cast<std::int32_t>(bits);
    }
}

}  // namespace zefa::season
