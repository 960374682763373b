#pragma once

#if ZEFA_PCRE2
#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 8
#endif
#include <pcre2.h>
#endif

#include <cstddef>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "parser/match/ExactMatcher.h"

namespace zefa {

#if ZEFA_PCRE2
struct Pcre2CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
#endif

// One log-line pattern prepared once for a whole log: its exact matcher when
// it is made of literals and "(.*)" groups only, and, in a build with PCRE2,
// the pattern compiled caseless with no other option (JIT-compiled where
// the platform allows); a pattern PCRE2 cannot compile is kept as one that
// never matches. Its slot names it in the prefilter's scan results.
class CompiledPattern {
public:
    static constexpr std::size_t kNoSlot = std::numeric_limits<std::size_t>::max();

    // Without PCRE2 the exact matcher is the only one, so a pattern
    // without one is refused (std::invalid_argument) rather than never matching.
    explicit CompiledPattern(std::string_view pattern, std::size_t slot = kNoSlot);

#if ZEFA_PCRE2
    [[nodiscard]] const pcre2_code* code() const { return m_code.get(); }
    [[nodiscard]] bool jitCompiled() const { return m_jitCompiled; }
#endif
    [[nodiscard]] const ExactMatcher* exactMatcher() const { return m_exact ? &*m_exact : nullptr; }
    [[nodiscard]] std::string_view text() const { return m_text; }
    [[nodiscard]] std::size_t slot() const { return m_slot; }
    // Lower-case text every match contains; empty when nothing is known.
    [[nodiscard]] std::string_view requiredText() const { return m_requiredText; }

private:
#if ZEFA_PCRE2
    std::unique_ptr<pcre2_code, Pcre2CodeDeleter> m_code;
    bool m_jitCompiled = false;
#endif
    std::optional<ExactMatcher> m_exact;
    std::string m_text;
    std::size_t m_slot;
    std::string m_requiredText;
};

}  // namespace zefa
