#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zefa::season {

// Two logs are one match recorded by two clients when they share their game
// events in order. Shingles are runs of kShingleLength consecutive events; a
// shingle is kept when its hash is 0 modulo kShingleSampling, a choice made by
// the content alone, so a shingle two logs share is kept in both. How many
// events, how long and how much shared were measured on generated matches:
// see docs/season-store.md.
inline constexpr std::size_t kShingleLength = 16;
inline constexpr std::uint64_t kShingleSampling = 8;
// Logs with fewer events are told apart by their bytes only.
inline constexpr std::size_t kMinimumEvents = 16;
// The share of the smaller log's kept shingles found in the other log.
inline constexpr double kSameMatchShare = 0.5;

// The kept shingles of a sequence of event hashes, each once, in ascending order.
[[nodiscard]] std::vector<std::uint64_t> eventShingles(std::span<const std::uint64_t> events);

// A hash of the whole sequence: equal sequences have equal hashes.
[[nodiscard]] std::uint64_t eventsHash(std::span<const std::uint64_t> events);

// Whether `shared` kept shingles of two logs with `first` and `second` kept
// shingles make them one match.
[[nodiscard]] bool sameMatchByShingles(std::size_t shared, std::size_t first, std::size_t second);

}  // namespace zefa::season
