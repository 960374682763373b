#include <gtest/gtest.h>

#include "season/timeline/TimelineSplice.h"

namespace zefa::season {
namespace {

// A recording of game events `first` to `last` of a match whose event i is
// the line "event i": its own chat line before each event, and `tail` after
// the last. Events are hashed as their number.
struct Recording {
    Recording(int first, int last, const std::string& who, const std::string& tail = "") {
        offset = first;
        for (int i = first; i <= last; ++i) {
            bytes += who + ": hi\nevent " + std::to_string(i) + "\n";
            events.push_back(static_cast<std::uint64_t>(i));
            lines.push_back(2 * (i - first) + 2);
        }
        bytes += tail;
    }
    [[nodiscard]] CoverRecording cover() const { return {bytes, events, lines, offset}; }

    std::string bytes;
    std::vector<std::uint64_t> events;
    std::vector<std::int32_t> lines;
    std::int64_t offset = 0;
};

std::string splice(const std::vector<const Recording*>& recordings) {
    std::vector<CoverRecording> cover;
    for (const Recording* r : recordings) cover.push_back(r->cover());
    std::vector<std::string_view> parts;
    for (const TimelinePart& part : spliceTimeline(cover))
        parts.push_back(cover[part.recording].bytes.substr(part.begin, part.end - part.begin));
    return joinTimeline(parts);
}

TEST(TimelineSpliceTest, EachRecordingKeepsItsLinesUpToTheLastEventItSharesWithTheNext) {
    const Recording a(0, 4, "a", "a left\n");
    const Recording b(3, 7, "b");
    const Recording c(6, 9, "c", "c: bye");
    EXPECT_EQ(splice({&a, &b, &c}),
              "a: hi\nevent 0\na: hi\nevent 1\na: hi\nevent 2\na: hi\nevent 3\na: hi\nevent 4\n"
              "b: hi\nevent 5\nb: hi\nevent 6\nb: hi\nevent 7\n"
              "c: hi\nevent 8\nc: hi\nevent 9\nc: bye");
    EXPECT_EQ(splice({&a}), a.bytes);
}

TEST(TimelineSpliceTest, ALastEventCutShortIsLeftToTheRecordingThatHoldsItWhole) {
    // A log read while its last line was being written: the line reads as
    // another event, and without a line feed.
    Recording cut(0, 3, "a");
    cut.bytes += "a: hi\nevent 4 half";
    cut.events.push_back(99);
    cut.lines.push_back(10);
    const Recording whole(2, 6, "b");
    EXPECT_EQ(splice({&cut, &whole}),
              "a: hi\nevent 0\na: hi\nevent 1\na: hi\nevent 2\na: hi\nevent 3\n"
              "b: hi\nevent 4\nb: hi\nevent 5\nb: hi\nevent 6\n");

    // Nothing shared line for line: the splice falls on the last event, and
    // the part it ends is given its line feed.
    Recording odd(0, 1, "a");
    odd.bytes += "event x";
    odd.events.push_back(98);
    odd.lines.push_back(5);
    const Recording next(2, 3, "b");
    EXPECT_EQ(splice({&odd, &next}), "a: hi\nevent 0\na: hi\nevent 1\nevent x\nb: hi\nevent 3\n");
}

}  // namespace
}  // namespace zefa::season
