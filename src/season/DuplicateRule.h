#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zefa::season {

// A log is a recording of a stored match when a run of its game events is
// one of the match's recordings' too. Shingles are runs of kShingleLength
// consecutive events; a shingle is kept when its hash is 0 modulo
// kShingleSampling, a choice made by the content alone, so a run two logs
// share is kept in both, and where it lies in each tells how their events
// line up. How long and how many were measured on generated matches: see
// docs/season-store.md.
inline constexpr std::size_t kShingleLength = 16;
inline constexpr std::uint64_t kShingleSampling = 8;

// A kept shingle and the index of its first event.
struct Shingle {
    std::uint64_t hash = 0;
    std::int64_t position = 0;
};

// The kept shingles of a sequence of event hashes, by position.
[[nodiscard]] std::vector<Shingle> eventShingles(std::span<const std::uint64_t> events);

}  // namespace zefa::season
