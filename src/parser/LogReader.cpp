#include "parser/LogReader.h"

namespace zefa {

namespace {

// What of a raw line is classified: nothing of a line too long, else the
// text before its first NUL byte without one closing carriage return.
std::optional<std::string_view> usableLine(std::string_view rawLine) {
    if (rawLine.size() > kMaxLineLength) return std::nullopt;
    std::string_view line = rawLine.substr(0, rawLine.find('\0'));
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

LogReader::LogReader(const Classifier& classifier, std::span<MatchStats* const> stats) {
    parsers_.reserve(stats.size());
    for (std::size_t set = 0; set < stats.size(); ++set) {
        parsers_.emplace_back(*stats[set], classifier.patterns(set));
    }
#if ZEFA_PREFILTER
    if (const LinePrefilter* prefilter = classifier.prefilter()) scanner_.emplace(*prefilter);
#endif
}

void LogReader::readLine(std::string_view rawLine) {
    for (LogParser& parser : parsers_) parser.countLine();
    const std::optional<std::string_view> line = usableLine(rawLine);
    if (!line || line->empty()) return;
#if ZEFA_PREFILTER
    if (scanner_) {
        const CandidateSet& candidates = scanner_->scan(*line);
        for (LogParser& parser : parsers_) parser.classifyLine(*line, candidates);
        return;
    }
#endif
    for (LogParser& parser : parsers_) parser.classifyLine(*line);
}

void LogReader::finishLog() {
    for (LogParser& parser : parsers_) parser.finishLog();
}

}  // namespace zefa
