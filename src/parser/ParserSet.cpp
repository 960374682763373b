#include "parser/ParserSet.h"

#include <algorithm>
#include <cassert>
#include <iterator>

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

ParserSet::ParserSet(const Classifier& classifier, std::span<MatchStats* const> stats)
    : m_events(stats.size(), nullptr), m_renames(stats.size()) {
    m_parsers.reserve(stats.size());
    for (std::size_t set = 0; set < stats.size(); ++set) {
        m_parsers.emplace_back(*stats[set], classifier.patterns(set),
                               rowMatcherOf(classifier.engine()));
    }
#if ZEFA_PREFILTER
    if (const LinePrefilter* prefilter = classifier.prefilter()) m_scanner.emplace(*prefilter);
#endif
}

void ParserSet::recordEvents(std::size_t set, MatchEvents* events) {
    assert(set < kMaxEventSets);
    m_events[set] = events;
    m_parsers[set].recordRenames(events ? &m_renames[set] : nullptr);
    const auto first = std::find_if(m_events.begin(), m_events.end(),
                                    [](const MatchEvents* e) { return e != nullptr; });
    if (first == m_events.end()) return;
    m_allSet = static_cast<std::size_t>(first - m_events.begin());
    m_allFrom = (*first)->lines.size();
}

void ParserSet::expectBytes(std::size_t bytes) {
    if (m_events[m_allSet] == nullptr) return;
    // Room for a game event every 40 bytes, more than logs hold: it
    // costs address space only, as pages never written are never mapped.
    const std::size_t events = bytes / 40;
    MatchEvents& all = *m_events[m_allSet];
    all.lines.reserve(all.lines.size() + events);
    all.lineNumbers.reserve(all.lineNumbers.size() + events);
    m_eventTakenBy.reserve(m_eventTakenBy.size() + events);
}

void ParserSet::readLine(std::string_view rawLine) {
#if ZEFA_PREFILTER
    if (m_scanner) {
        takeLine(rawLine, m_scanner->scan(rawLine));
        return;
    }
#endif
    classify(rawLine, nullptr);
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
    classify(rawLine, &candidates);
}
#endif

void ParserSet::classify(std::string_view rawLine, const CandidateSet* candidates) {
    ++m_lineCount;
    for (LogParser& parser : m_parsers) parser.countLine();
    const std::optional<std::string_view> line = usableLine(rawLine);
    if (!line || line->empty()) return;
    std::uint8_t takenBy = 0;
    for (std::size_t set = 0; set < m_parsers.size(); ++set) {
        LogParser& parser = m_parsers[set];
        const LineRule taken =
            candidates ? parser.classifyLine(*line, *candidates) : parser.classifyLine(*line);
        if (m_events[set] && isGameEvent(taken)) takenBy |= static_cast<std::uint8_t>(1U << set);
    }
    if (takenBy != 0) noteEvent(*line, takenBy);
}

void ParserSet::noteEvent(std::string_view line, std::uint8_t takenBy) {
    MatchEvents& all = *m_events[m_allSet];
    all.lines.push_back(eventLineHash(line));
    all.lineNumbers.push_back(m_lineCount);
    m_eventTakenBy.push_back(takenBy);
}

void ParserSet::finishLog() {
    for (LogParser& parser : m_parsers) parser.finishLog();
    handOutEvents();
}

std::size_t ParserSet::giverOf(std::size_t set) const {
    // The first of the most version lines: a later set must have more.
    std::size_t best = m_events.size();
    for (std::size_t other = 0; other < m_events.size(); ++other) {
        if (m_events[other] != m_events[set]) continue;
        if (best == m_events.size() ||
            m_parsers[other].versionLines() > m_parsers[best].versionLines())
            best = other;
    }
    return best;
}

void ParserSet::handOutEvents() {
    const auto takenBy = [](std::size_t set) {
        return [bit = 1U << set](std::uint8_t by) { return (by & bit) != 0; };
    };
    MatchEvents* const all = m_events[m_allSet];
    std::size_t allGiver = m_allSet;
    for (std::size_t set = 0; set < m_events.size(); ++set) {
        MatchEvents* const events = m_events[set];
        if (!events || giverOf(set) != set) continue;
        std::move(m_renames[set].begin(), m_renames[set].end(),
                  std::back_inserter(events->renames));
        if (events == all) {
            allGiver = set;  // its lines last: they are the others' source
            continue;
        }
        const auto takes = takenBy(set);
        const auto firstNoted = static_cast<std::ptrdiff_t>(m_allFrom);
        if (std::all_of(m_eventTakenBy.begin(), m_eventTakenBy.end(), takes)) {
            events->lines.insert(events->lines.end(), all->lines.begin() + firstNoted,
                                 all->lines.end());
            events->lineNumbers.insert(events->lineNumbers.end(),
                                       all->lineNumbers.begin() + firstNoted,
                                       all->lineNumbers.end());
            continue;
        }
        for (std::size_t i = 0; i < m_eventTakenBy.size(); ++i) {
            if (!takes(m_eventTakenBy[i])) continue;
            events->lines.push_back(all->lines[m_allFrom + i]);
            events->lineNumbers.push_back(all->lineNumbers[m_allFrom + i]);
        }
    }
    if (!all) return;
    // The events that hold the noted lines keep, in place, those their set took.
    const auto takes = takenBy(allGiver);
    std::size_t kept = m_allFrom;
    for (std::size_t i = 0; i < m_eventTakenBy.size(); ++i) {
        if (!takes(m_eventTakenBy[i])) continue;
        all->lines[kept] = all->lines[m_allFrom + i];
        all->lineNumbers[kept] = all->lineNumbers[m_allFrom + i];
        ++kept;
    }
    all->lines.resize(kept);
    all->lineNumbers.resize(kept);
    m_eventTakenBy.clear();
}

}  // namespace zefa
