#include "season/DuplicateRule.h"

#include <algorithm>

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

std::uint64_t combine(std::span<const std::uint64_t> run) {
    std::uint64_t hash = 0x9e3779b97f4a7c15ULL;
    for (const std::uint64_t event : run) hash = mix(hash ^ event) + 0x9e3779b97f4a7c15ULL;
    return hash;
}

}  // namespace

std::vector<std::uint64_t> eventShingles(std::span<const std::uint64_t> events) {
    std::vector<std::uint64_t> shingles;
    if (events.size() < kMinimumEvents) return shingles;
    for (std::size_t at = 0; at + kShingleLength <= events.size(); ++at) {
        const std::uint64_t shingle = combine(events.subspan(at, kShingleLength));
        if (shingle % kShingleSampling == 0) shingles.push_back(shingle);
    }
    std::ranges::sort(shingles);
    const auto repeated = std::ranges::unique(shingles);
    shingles.erase(repeated.begin(), repeated.end());
    return shingles;
}

std::uint64_t eventsHash(std::span<const std::uint64_t> events) { return combine(events); }

bool sameMatchByShingles(std::size_t shared, std::size_t first, std::size_t second) {
    const std::size_t smaller = std::min(first, second);
    return smaller > 0 && static_cast<double>(shared) >= kSameMatchShare * static_cast<double>(smaller);
}

}  // namespace zefa::season
