#include "parser/LineMatcher.h"

#include <cstdint>

#include "parser/RequiredLiteral.h"

namespace zefa {

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

LineMatcher::LineMatcher()
    : matchData_(pcre2_match_data_create(kMaxCaptures, nullptr)),
      context_(pcre2_match_context_create(nullptr)),
      jitStack_(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)) {
    if (context_) {
        pcre2_set_match_limit(context_.get(), kMatchLimit);
        pcre2_set_depth_limit(context_.get(), kDepthLimit);
        pcre2_set_heap_limit(context_.get(), kHeapLimitKiB);
        if (jitStack_) pcre2_jit_stack_assign(context_.get(), nullptr, jitStack_.get());
    }
}

void LineMatcher::setSubject(std::string_view line) {
    subject_.assign(line);
    foldCase(subject_, foldedSubject_);
    count_ = 0;
}

bool LineMatcher::test(const CompiledPattern& pattern) {
    count_ = 0;
    // Without the match context nothing would bound the run: refuse instead.
    if (subject_.empty() || !pattern.code() || !matchData_ || !context_) return false;
    if (std::string_view(foldedSubject_).find(pattern.requiredText()) == std::string_view::npos)
        return false;

    const int rc = pcre2_match(pattern.code(), reinterpret_cast<PCRE2_SPTR>(subject_.data()),
                               subject_.size(), 0, 0, matchData_.get(), context_.get());
    // Any error, limits included, is no match. 0: more groups than room, all slots set.
    if (rc < 0) return false;
    const std::size_t set = rc == 0 ? kMaxCaptures : static_cast<std::size_t>(rc);
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(matchData_.get());
    while (count_ < set) {
        const PCRE2_SIZE start = ovector[2 * count_];
        const PCRE2_SIZE end = ovector[2 * count_ + 1];
        if (start == PCRE2_UNSET || end <= start) break;
        captures_[count_++] = std::string_view(subject_).substr(start, end - start);
    }
    return true;
}

std::optional<std::size_t> LineMatcher::firstMatch(std::span<const CompiledPattern> table) {
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (test(table[row])) return row;
    }
    return std::nullopt;
}

std::string_view LineMatcher::capture(std::size_t i) const {
    if (count_ == 0) return {};
    return captures_[i < count_ ? i : 0];
}

}  // namespace zefa
