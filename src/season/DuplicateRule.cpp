#include "season/DuplicateRule.h"

#include <array>

namespace zefa::season {

namespace {

// A bijective 64-bit mix (the finaliser of MurmurHash3), so runs that differ
// in one event hash apart.
constexpr std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}

constexpr std::uint64_t kSeed = 0x9e3779b97f4a7c15ULL;

constexpr std::uint64_t step(std::uint64_t hash, std::uint64_t event) {
    return mix(hash ^ event) + kSeed;
}

std::uint64_t combine(std::span<const std::uint64_t> run) {
    std::uint64_t hash = kSeed;
    for (const std::uint64_t event : run) hash = step(hash, event);
    return hash;
}

// Shingles starting at neighbouring events are hashed side by side: each hash
// is a chain of dependent multiplies, and independent chains overlap.
constexpr std::size_t kLanes = 8;

}  // namespace

std::vector<Shingle> eventShingles(std::span<const std::uint64_t> events) {
    std::vector<Shingle> shingles;
    if (events.size() < kShingleLength) return shingles;
    const auto keep = [&shingles](std::uint64_t shingle, std::size_t at) {
        if (shingle % kShingleSampling == 0)
            shingles.push_back({shingle, static_cast<std::int64_t>(at)});
    };
    const std::size_t starts = events.size() - kShingleLength + 1;
    std::size_t at = 0;
    for (; at + kLanes <= starts; at += kLanes) {
        std::array<std::uint64_t, kLanes> hashes{};
        hashes.fill(kSeed);
        for (std::size_t i = 0; i < kShingleLength; ++i) {
            for (std::size_t lane = 0; lane < kLanes; ++lane)
                hashes[lane] = step(hashes[lane], events[at + lane + i]);
        }
        for (std::size_t lane = 0; lane < kLanes; ++lane) keep(hashes[lane], at + lane);
    }
    for (; at < starts; ++at) keep(combine(events.subspan(at, kShingleLength)), at);
    return shingles;
}

}  // namespace zefa::season
