#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "parser/match/CandidateSet.h"
#include "parser/match/CompiledPattern.h"
#include "parser/match/LineBigrams.h"
#include "parser/match/MatchEngine.h"

namespace zefa {

#if ZEFA_PCRE2
struct Pcre2MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct Pcre2MatchContextDeleter {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct Pcre2JitStackDeleter {
    void operator()(pcre2_jit_stack* stack) const { pcre2_jit_stack_free(stack); }
};
#endif

// Tests one line against patterns and hands out the captures of the latest
// test. The exact matcher and PCRE2 give the same captures; a PCRE2 run is
// bounded, so a pattern that would take it too long or too much memory on a
// crafted line counts as not matching. The line is not copied: it must
// outlive the tests and their captures.
class LineMatcher {
public:
    static constexpr std::size_t kMaxCaptures = 5;  // the whole match and four groups

    // Patterns without an exact matcher are run by PCRE2 with either matcher.
    explicit LineMatcher(RowMatcher rows = RowMatcher::Exact);

    // An empty line matches nothing. Before matching, a test looks for the
    // pattern's required text in a lower-cased copy of the line, made once.
    void setSubject(std::string_view line);
    // Only patterns whose slot is among the candidates are run; the
    // candidates must include every pattern that can match the line.
    void setSubject(std::string_view line, const CandidateSet& candidates);
    [[nodiscard]] std::string_view subject() const { return m_subject; }

    // Unanchored, leftmost match. Captures are collected from the whole match
    // upward while set and non-empty, so an empty group ends the collection.
    bool test(const CompiledPattern& pattern);
    // Index of the first pattern that matches, its captures kept.
    [[nodiscard]] std::optional<std::size_t> firstMatch(std::span<const CompiledPattern> table);

    // Whether the latest test ended at one of PCRE2's limits, undecided,
    // rather than failing to match.
    [[nodiscard]] bool gaveUp() const { return m_gaveUp; }

    // Capture i of the latest test; capture 0 when i was not collected, empty
    // when the test failed or collected nothing. Valid until the next setSubject.
    [[nodiscard]] std::string_view capture(std::size_t i) const;

private:
    [[nodiscard]] std::size_t nextCandidate(std::span<const CompiledPattern> table,
                                            std::size_t row) const;
    [[nodiscard]] std::string_view folded();
    // The lower-cased line holds `text`; its pairs of bytes rule most texts out first.
    [[nodiscard]] bool holds(std::string_view text);
    bool testExact(const ExactMatcher& exact);
#if ZEFA_PCRE2
    bool testPcre2(const CompiledPattern& pattern);
    void assignJitStack();
#endif

    std::string_view m_subject;
    const CandidateSet* m_candidates = nullptr;
    std::string m_foldedSubject;  // the subject in lower case, made on first need
    bool m_foldedValid = false;
    bool m_hasLineFeed = false;
    LineBigrams m_foldedPairs;  // its pairs of bytes, made on first need
    bool m_pairsValid = false;
#if ZEFA_PCRE2
    RowMatcher m_rows;  // without PCRE2 every row is matched exactly
    std::unique_ptr<pcre2_match_data, Pcre2MatchDataDeleter> m_matchData;
    std::unique_ptr<pcre2_match_context, Pcre2MatchContextDeleter> m_context;
    std::unique_ptr<pcre2_jit_stack, Pcre2JitStackDeleter> m_jitStack;
    bool m_jitStackTried = false;
#endif
    std::array<std::string_view, kMaxCaptures> m_captures{};
    std::size_t m_count = 0;
    bool m_gaveUp = false;
};

}  // namespace zefa
