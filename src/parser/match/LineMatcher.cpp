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
    : rows_(rows),
      matchData_(pcre2_match_data_create(kMaxCaptures, nullptr)),
      context_(pcre2_match_context_create(nullptr)),
      jitStack_(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)) {
    if (context_) {
        pcre2_set_match_limit(context_.get(), kMatchLimit);
        pcre2_set_depth_limit(context_.get(), kDepthLimit);
        pcre2_set_heap_limit(context_.get(), kHeapLimitKiB);
        if (jitStack_) pcre2_jit_stack_assign(context_.get(), nullptr, jitStack_.get());
    }
}
#else
LineMatcher::LineMatcher(RowMatcher) {}
#endif

void LineMatcher::setSubject(std::string_view line) {
    subject_ = line;
    candidates_ = nullptr;
    foldedValid_ = false;
    pairsValid_ = false;
    count_ = 0;
}

void LineMatcher::setSubject(std::string_view line, const CandidateSet& candidates) {
    setSubject(line);
    candidates_ = &candidates;
}

std::string_view LineMatcher::folded() {
    if (!foldedValid_) {
        foldCase(subject_, foldedSubject_);
        // A line read from a log holds no line feed, which spares the
        // matcher looking for one in every test.
        hasLineFeed_ = subject_.find('\n') != std::string_view::npos;
        foldedValid_ = true;
    }
    return foldedSubject_;
}

bool LineMatcher::test(const CompiledPattern& pattern) {
    count_ = 0;
    gaveUp_ = false;
    if (subject_.empty()) return false;
    const bool possible =
        candidates_ ? candidates_->mayMatch(pattern.slot()) : holds(pattern.requiredText());
    if (!possible) return false;
    const ExactMatcher* exact = pattern.exactMatcher();
#if ZEFA_PCRE2
    if (!exact || rows_ == RowMatcher::Pcre2) return testPcre2(pattern);
#endif
    return testExact(*exact);
}

bool LineMatcher::holds(std::string_view text) {
    const std::string_view line = folded();
    if (!pairsValid_) {
        foldedPairs_.assign(line);
        pairsValid_ = true;
    }
    return foldedPairs_.mayContain(text) && line.find(text) != std::string_view::npos;
}

bool LineMatcher::testExact(const ExactMatcher& exact) {
    ExactMatcher::Match found;
    const std::string_view text = folded();
    if (!(hasLineFeed_ ? exact.match(text, found) : exact.matchLine(text, found))) return false;
    while (count_ < found.count) {
        const ExactMatcher::Span span = found.spans[count_];
        if (span.end <= span.start) break;
        captures_[count_++] = subject_.substr(span.start, span.end - span.start);
    }
    return true;
}

#if ZEFA_PCRE2
bool LineMatcher::testPcre2(const CompiledPattern& pattern) {
    // Without the match context nothing would bound the run: refuse instead.
    if (!pattern.code() || !matchData_ || !context_) return false;
    // The JIT entry skips the checks pcre2_match repeats on every call; both
    // run the same compiled code.
    const auto subject = reinterpret_cast<PCRE2_SPTR>(subject_.data());
    const int rc = pattern.jitCompiled() ? pcre2_jit_match(pattern.code(), subject, subject_.size(),
                                                           0, 0, matchData_.get(), context_.get())
                                         : pcre2_match(pattern.code(), subject, subject_.size(), 0,
                                                       0, matchData_.get(), context_.get());
    // Any error, limits included, is no match. 0: more groups than room, all slots set.
    if (rc < 0) {
        gaveUp_ = rc != PCRE2_ERROR_NOMATCH;
        return false;
    }
    const std::size_t set = rc == 0 ? kMaxCaptures : static_cast<std::size_t>(rc);
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(matchData_.get());
    while (count_ < set) {
        const PCRE2_SIZE start = ovector[2 * count_];
        const PCRE2_SIZE end = ovector[2 * count_ + 1];
        if (start == PCRE2_UNSET || end <= start) break;
        captures_[count_++] = subject_.substr(start, end - start);
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
    if (!candidates_ || row >= table.size()) return row;
    const std::size_t first = table.front().slot();
    const bool consecutive =
        first < CandidateSet::kCapacity && table.back().slot() - first == table.size() - 1;
    if (!consecutive) return row;
    return candidates_->next(first + row, first + table.size()) - first;
}

std::string_view LineMatcher::capture(std::size_t i) const {
    if (count_ == 0) return {};
    return captures_[i < count_ ? i : 0];
}

}  // namespace zefa
