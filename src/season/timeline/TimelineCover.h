#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zefa::season {

// Where a recording's game events lie among its match's: `events` events
// from `offset` on, the match's events counted from the first one any of its
// recordings holds.
struct RecordingWindow {
    std::int64_t offset = 0;
    std::int64_t events = 0;
    std::string sha256;  // decides between recordings with the same window

    [[nodiscard]] std::int64_t end() const { return offset + events; }
};

// The recordings a match's timeline is read from, as indexes into `windows`
// in the order of their events: the one that starts first (of those, the one
// reaching furthest), then, as long as some recording goes on beyond the last
// one taken and begins before its end, the one of those reaching furthest.
// Equal windows go to the lower SHA-256, so the cover depends on the windows
// alone, not on their order. Empty when `windows` is.
[[nodiscard]] std::vector<std::size_t> timelineCover(std::span<const RecordingWindow> windows);

// The windows in groups that share events with each other, directly or
// through others of the group; groups in the order of their first event,
// each group's indexes ascending.
[[nodiscard]] std::vector<std::vector<std::size_t>> overlappingGroups(
    std::span<const RecordingWindow> windows);

}  // namespace zefa::season
