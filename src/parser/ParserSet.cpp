#include "parser/ParserSet.h"

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

ParserSet::ParserSet(const Classifier& classifier, std::span<MatchStats* const> stats) {
    m_parsers.reserve(stats.size());
    for (std::size_t set = 0; set < stats.size(); ++set) {
        m_parsers.emplace_back(*stats[set], classifier.patterns(set),
                               rowMatcherOf(classifier.engine()));
    }
#if ZEFA_PREFILTER
    if (const LinePrefilter* prefilter = classifier.prefilter()) m_scanner.emplace(*prefilter);
#endif
}

void ParserSet::readLine(std::string_view rawLine) {
#if ZEFA_PREFILTER
    if (m_scanner) {
        takeLine(rawLine, m_scanner->scan(rawLine));
        return;
    }
#endif
    for (LogParser& parser : m_parsers) parser.countLine();
    const std::optional<std::string_view> line = usableLine(rawLine);
    if (!line || line->empty()) return;
    m_lineHash.forget();
    for (LogParser& parser : m_parsers) parser.classifyLine(*line);
}

void ParserSet::readLines(std::string_view block) {
#if ZEFA_PREFILTER
    if (m_scanner) {
        m_scanner->scanLines(block, *this);
        return;
    }
#endif
    for (std::size_t lf = block.find('\n'); lf != std::string_view::npos; lf = block.find('\n')) {
        readLine(block.substr(0, lf));
        block.remove_prefix(lf + 1);
    }
}

#if ZEFA_PREFILTER
// The candidates were found in the raw line, which holds the classified part
// at its start: any row that can match that part is among them.
void ParserSet::takeLine(std::string_view rawLine, const CandidateSet& candidates) {
    for (LogParser& parser : m_parsers) parser.countLine();
    const std::optional<std::string_view> line = usableLine(rawLine);
    if (!line || line->empty()) return;
    m_lineHash.forget();
    for (LogParser& parser : m_parsers) parser.classifyLine(*line, candidates);
}
#endif

void ParserSet::finishLog() {
    for (LogParser& parser : m_parsers) parser.finishLog();
}

}  // namespace zefa
