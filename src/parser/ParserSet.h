#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/MatchStats.h"
#include "parser/Classifier.h"
#include "parser/LogParser.h"

namespace zefa {

// Longer lines are counted but never classified.
inline constexpr std::size_t kMaxLineLength = 4095;

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
    // The parsers hold the address of the line's hash.
    ParserSet(const ParserSet&) = delete;
    ParserSet& operator=(const ParserSet&) = delete;

    // One line as read from the file, without its line feed.
    void readLine(std::string_view rawLine);
    // Whole lines, each ended by a line feed.
    void readLines(std::string_view block);
    // Credits the flag savers still listed and finishes every statistics.
    void finishLog();

    [[nodiscard]] const LogParser& parser(std::size_t set) const { return m_parsers[set]; }
    void recordEvents(std::size_t set, MatchEvents* events) {
        m_parsers[set].recordEvents(events, &m_lineHash);
    }

private:
#if ZEFA_PREFILTER
    void takeLine(std::string_view rawLine, const CandidateSet& candidates) override;
#endif

    std::vector<LogParser> m_parsers;
    LineHash m_lineHash;  // of the line being read
#if ZEFA_PREFILTER
    std::optional<LinePrefilter::Scanner> m_scanner;
#endif
};

}  // namespace zefa
