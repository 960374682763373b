#include "season/timeline/TimelineSplice.h"

#include <algorithm>

namespace zefa::season {

namespace {

// The offset just after line `line` (counted from 1) and its line feed; the
// end of the bytes when the log ends before.
std::size_t afterLine(std::string_view bytes, std::int32_t line) {
    std::size_t at = 0;
    for (std::int32_t i = 0; i < line; ++i) {
        const std::size_t lf = bytes.find('\n', at);
        if (lf == std::string_view::npos) return bytes.size();
        at = lf + 1;
    }
    return at;
}

// The event both recordings hold where the timeline goes from `a` to `b`, as
// a position among the match's events: `b` begins inside `a` and ends after it.
std::int64_t splicePoint(const CoverRecording& a, const CoverRecording& b) {
    const std::int64_t first = b.offset;
    const std::int64_t last = a.offset + static_cast<std::int64_t>(a.events.size()) - 1;
    for (std::int64_t at = last; at >= first; --at) {
        if (a.events[static_cast<std::size_t>(at - a.offset)] ==
            b.events[static_cast<std::size_t>(at - b.offset)])
            return at;
    }
    return last;
}

std::int32_t lineOf(const CoverRecording& recording, std::int64_t event) {
    return recording.eventLines[static_cast<std::size_t>(event - recording.offset)];
}

}  // namespace

std::vector<TimelinePart> spliceTimeline(std::span<const CoverRecording> cover) {
    std::vector<TimelinePart> parts;
    std::size_t begin = 0;
    for (std::size_t i = 0; i + 1 < cover.size(); ++i) {
        const std::int64_t event = splicePoint(cover[i], cover[i + 1]);
        parts.push_back({i, begin, afterLine(cover[i].bytes, lineOf(cover[i], event))});
        begin = afterLine(cover[i + 1].bytes, lineOf(cover[i + 1], event));
    }
    if (!cover.empty()) parts.push_back({cover.size() - 1, begin, cover.back().bytes.size()});
    return parts;
}

std::string joinTimeline(std::span<const std::string_view> parts) {
    std::string log;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        log += parts[i];
        if (i + 1 < parts.size() && !parts[i].empty() && !parts[i].ends_with('\n')) log += '\n';
    }
    return log;
}

}  // namespace zefa::season
