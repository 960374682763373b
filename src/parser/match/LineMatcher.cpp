#include "parser/match/LineMatcher.h"

#include <cstdint>

#include "parser/match/RequiredLiteral.h"

namespace zefa {

#if ZEFA_PCRE2
namespace {

// Game messages need a few hundred steps at most. Only a crafted line, built
// to backtrack and several hundred bytes long, reaches the limit and counts as
// no match; a 4095-byte one gives up after about a millisecond.
constexpr std::uint32_t kMatchLimit = 1'000'000;
constexpr std::uint32_t kDepthLimit = 10'000;
constexpr std::uint32_t kHeapLimitKiB = 16 * 1024;
constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;
constexpr PCRE2_SIZE kJitStackMax = 1024 * 1024;

}  // namespace

LineMatcher::LineMatcher(RowMatcher rows)
    : m_rows(rows),
      m_matchData(pcre2_match_data_create(kMaxCaptures, nullptr)),
      m_context(pcre2_match_context_create(nullptr)) {
    if (m_context) {
        pcre2_set_match_limit(m_context.get(), kMatchLimit);
        pcre2_set_depth_limit(m_context.get(), kDepthLimit);
        pcre2_set_heap_limit(m_context.get(), kHeapLimitKiB);
    }
}

// Made on the first run of the JIT: a megabyte mapped and unmapped again for
// every log read is costly, and with the exact matcher most reads never run it.
void LineMatcher::assignJitStack() {
    if (m_jitStackTried) return;
    m_jitStackTried = true;
    m_jitStack.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
    if (m_jitStack) pcre2_jit_stack_assign(m_context.get(), nullptr, m_jitStack.get());
}
#else
LineMatcher::LineMatcher(RowMatcher) {}
#endif

void LineMatcher::setSubject(std::string_view line) {
    m_subject = line;
    m_candidates = nullptr;
    m_foldedValid = false;
    m_pairsValid = false;
    m_count = 0;
}

void LineMatcher::setSubject(std::string_view line, const CandidateSet& candidates) {
    setSubject(line);
    m_candidates = &candidates;
}

std::string_view LineMatcher::folded() {
    if (!m_foldedValid) {
        foldCase(m_subject, m_foldedSubject);
        // A line read from a log holds no line feed, which spares the
        // matcher looking for one in every test.
        m_hasLineFeed = m_subject.find('\n') != std::string_view::npos;
        m_foldedValid = true;
    }
    return m_foldedSubject;
}

bool LineMatcher::test(const CompiledPattern& pattern) {
    m_count = 0;
    m_gaveUp = false;
    if (m_subject.empty()) return false;
    const bool possible =
        m_candidates ? m_candidates->mayMatch(pattern.slot()) : holds(pattern.requiredText());
    if (!possible) return false;
    const ExactMatcher* exact = pattern.exactMatcher();
#if ZEFA_PCRE2
    if (!exact || m_rows == RowMatcher::Pcre2) return testPcre2(pattern);
#endif
    return testExact(*exact);
}

bool LineMatcher::holds(std::string_view text) {
    const std::string_view line = folded();
    if (!m_pairsValid) {
        m_foldedPairs.assign(line);
        m_pairsValid = true;
    }
    return m_foldedPairs.mayContain(text) && line.find(text) != std::string_view::npos;
}

bool LineMatcher::testExact(const ExactMatcher& exact) {
    ExactMatcher::Match found;
    const std::string_view text = folded();
    if (!(m_hasLineFeed ? exact.match(text, found) : exact.matchLine(text, found))) return false;
    while (m_count < found.count) {
        const ExactMatcher::Span span = found.spans[m_count];
        if (span.end <= span.start) break;
        m_captures[m_count++] = m_subject.substr(span.start, span.end - span.start);
    }
    return true;
}

#if ZEFA_PCRE2
bool LineMatcher::testPcre2(const CompiledPattern& pattern) {
    // Without the match context nothing would bound the run: refuse instead.
    if (!pattern.code() || !m_matchData || !m_context) return false;
    // The JIT entry skips the checks pcre2_match repeats on every call; both
    // run the same compiled code.
    const auto subject = reinterpret_cast<PCRE2_SPTR>(m_subject.data());
    if (pattern.jitCompiled()) assignJitStack();
    const int rc = pattern.jitCompiled()
                       ? pcre2_jit_match(pattern.code(), subject, m_subject.size(), 0, 0,
                                         m_matchData.get(), m_context.get())
                       : pcre2_match(pattern.code(), subject, m_subject.size(), 0, 0,
                                     m_matchData.get(), m_context.get());
    // Any error, limits included, is no match. 0: more groups than room, all slots set.
    if (rc < 0) {
        m_gaveUp = rc != PCRE2_ERROR_NOMATCH;
        return false;
    }
    const std::size_t set = rc == 0 ? kMaxCaptures : static_cast<std::size_t>(rc);
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m_matchData.get());
    while (m_count < set) {
        const PCRE2_SIZE start = ovector[2 * m_count];
        const PCRE2_SIZE end = ovector[2 * m_count + 1];
        if (start == PCRE2_UNSET || end <= start) break;
        m_captures[m_count++] = m_subject.substr(start, end - start);
    }
    return true;
}
#endif

std::optional<std::size_t> LineMatcher::firstMatch(std::span<const CompiledPattern> table) {
    for (std::size_t row = nextCandidate(table, 0); row < table.size();
         row = nextCandidate(table, row + 1)) {
        if (test(table[row])) return row;
    }
    return std::nullopt;
}

// With candidates, the rows they rule out are skipped a word of slots at a
// time; that needs the rows' slots to follow each other, as they do in the
// tables of one pattern list.
std::size_t LineMatcher::nextCandidate(std::span<const CompiledPattern> table,
                                       std::size_t row) const {
    if (!m_candidates || row >= table.size()) return row;
    const std::size_t first = table.front().slot();
    const bool consecutive =
        first < CandidateSet::kCapacity && table.back().slot() - first == table.size() - 1;
    if (!consecutive) return row;
    return m_candidates->next(first + row, first + table.size()) - first;
}

std::string_view LineMatcher::capture(std::size_t i) const {
    if (m_count == 0) return {};
    return m_captures[i < m_count ? i : 0];
}

}  // namespace zefa
