#include "season/timeline/TimelineCover.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string_view>
#include <tuple>

namespace zefa::season {

namespace {

// The order the cover takes its first recording in: earliest start, then
// furthest end, then lowest SHA-256.
bool startsBefore(const RecordingWindow& a, const RecordingWindow& b) {
    return std::tuple(a.offset, -a.end(), std::string_view(a.sha256)) <
           std::tuple(b.offset, -b.end(), std::string_view(b.sha256));
}

// Of two recordings that both go on beyond the cover, the better one.
bool reachesFurther(const RecordingWindow& a, const RecordingWindow& b) {
    return std::tuple(-a.end(), std::string_view(a.sha256)) <
           std::tuple(-b.end(), std::string_view(b.sha256));
}

}  // namespace

std::vector<std::size_t> timelineCover(std::span<const RecordingWindow> windows) {
    std::vector<std::size_t> cover;
    if (windows.empty()) return cover;
    std::vector<std::size_t> all(windows.size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    cover.push_back(*std::ranges::min_element(
        all, [&](std::size_t a, std::size_t b) { return startsBefore(windows[a], windows[b]); }));
    for (;;) {
        const RecordingWindow& last = windows[cover.back()];
        std::optional<std::size_t> next;
        for (const std::size_t i : all) {
            const RecordingWindow& w = windows[i];
            if (w.offset >= last.end() || w.end() <= last.end()) continue;
            if (!next || reachesFurther(w, windows[*next])) next = i;
        }
        if (!next) return cover;
        cover.push_back(*next);
    }
}

std::vector<std::vector<std::size_t>> overlappingGroups(std::span<const RecordingWindow> windows) {
    std::vector<std::size_t> byStart(windows.size());
    std::iota(byStart.begin(), byStart.end(), std::size_t{0});
    std::ranges::sort(byStart, startsBefore,
                      [&](std::size_t i) -> const RecordingWindow& { return windows[i]; });
    std::vector<std::vector<std::size_t>> groups;
    std::int64_t reach = 0;
    for (const std::size_t i : byStart) {
        if (groups.empty() || windows[i].offset >= reach) groups.emplace_back();
        groups.back().push_back(i);
        reach = groups.back().size() == 1 ? windows[i].end() : std::max(reach, windows[i].end());
    }
    for (auto& group : groups) std::ranges::sort(group);
    return groups;
}

}  // namespace zefa::season
