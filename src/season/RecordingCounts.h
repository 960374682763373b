#pragma once

#include <cstdint>
#include <unordered_map>

namespace zefa::season {

class Database;

// How many recordings (logs of the same match) the store keeps of each
// match; a match the map leaves out has one. The store keeps one log a
// match, so every match has one until a `recording` table holds more.
[[nodiscard]] std::unordered_map<std::int64_t, std::int32_t> recordingCounts(Database& db);

}  // namespace zefa::season
