#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zefa::season {

// One recording of a match's timeline cover (TimelineCover.h): its bytes and
// its game events, and where those lie among the match's events.
struct CoverRecording {
    std::string_view bytes;
    std::span<const std::uint64_t> events;     // hash of each game event line
    std::span<const std::int32_t> eventLines;  // its line in `bytes`, counted from 1
    std::int64_t offset = 0;
};

// Bytes [begin, end) of the cover's recording number `recording`.
struct TimelinePart {
    std::size_t recording = 0;
    std::size_t begin = 0;
    std::size_t end = 0;

    bool operator==(const TimelinePart&) const = default;
};

// The parts of the log a match is read from, one per cover recording in its
// order: each recording's lines up to and with the last game event it shares
// with the next one (the last of the shared span where both hold the same
// line, else the last of the span), the next one's lines from the line after
// that event on. So each recording keeps its own chat and local messages up
// to the splice, the next one its own after it, and every game event is there
// once. The first part begins with its log, the last ends with its log.
[[nodiscard]] std::vector<TimelinePart> spliceTimeline(std::span<const CoverRecording> cover);

// The log the parts' bytes make, in order; a part that does not end with a
// line feed is given one when another part follows.
[[nodiscard]] std::string joinTimeline(std::span<const std::string_view> parts);

}  // namespace zefa::season
