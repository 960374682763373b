#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/MatchStats.h"
#include "parser/Classifier.h"
#include "parser/LogParser.h"
#include "parser/MatchEvents.h"

namespace zefa {

// Longer lines are counted but never classified.
inline constexpr std::size_t kMaxLineLength = 4095;
// The table sets whose game events can be recorded, from the first.
inline constexpr std::size_t kMaxEventSets = 8;

// Reads the lines of one log into one parser per table set of a classifier,
// each filling its own statistics. Every line is cut to the part that is
// classified once, and with the prefilter scanned once, for all the sets.
class ParserSet
#if ZEFA_PREFILTER
    : private LineSink
#endif
{
public:
    // One MatchStats per table set of the classifier, in the same order.
    ParserSet(const Classifier& classifier, std::span<MatchStats* const> stats);
    // The parsers hold the addresses of the set's rename lists.
    ParserSet(const ParserSet&) = delete;
    ParserSet& operator=(const ParserSet&) = delete;

    // One line as read from the file, without its line feed.
    void readLine(std::string_view rawLine);
    // Whole lines, each ended by a line feed.
    void readLines(std::string_view block);
    // Credits the flag savers still listed, finishes every statistics and
    // hands each set that records events the game events it took.
    void finishLog();

    [[nodiscard]] const LogParser& parser(std::size_t set) const { return m_parsers[set]; }
    // Notes in `events`, before the log is read, the game events and renames
    // that set `set`, one of the first kMaxEventSets, takes; they are there
    // once the log is finished. Sets given the same `events` leave there
    // those of the one whose parser has the most version lines (the first
    // on a tie).
    void recordEvents(std::size_t set, MatchEvents* events);
    // Makes room for the events of a log of `bytes` bytes before it is read:
    // a large log's lists then grow without being copied again and again.
    void expectBytes(std::size_t bytes);

private:
#if ZEFA_PREFILTER
    void takeLine(std::string_view rawLine, const CandidateSet& candidates) override;
#endif

    // One line read, with the prefilter's candidates or with none.
    void classify(std::string_view rawLine, const CandidateSet* candidates);
    // The line's game event, if any set that records events took it as one.
    void noteEvent(std::string_view line, std::uint8_t takenBy);
    // Gives each recording set's events the noted event lines it took and its renames.
    void handOutEvents();
    // The set whose lines `set`'s events get: of the sets given the same, the one that reads best.
    [[nodiscard]] std::size_t giverOf(std::size_t set) const;

    std::vector<LogParser> m_parsers;
    std::vector<MatchEvents*> m_events;  // by set; null where none are recorded
    // The game event lines of every recording set are noted once, in the
    // events of the first from `m_allFrom` on, with the sets that took each
    // (a bit by set): the sets take most event lines alike.
    std::size_t m_allSet = 0;
    std::size_t m_allFrom = 0;
    std::vector<std::uint8_t> m_eventTakenBy;
    std::vector<RenameList> m_renames;  // by set
    std::int32_t m_lineCount = 0;
#if ZEFA_PREFILTER
    std::optional<LinePrefilter::Scanner> m_scanner;
#endif
};

}  // namespace zefa
