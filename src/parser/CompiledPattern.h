#pragma once

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 8
#endif
#include <pcre2.h>

#include <cstddef>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace zefa {

struct Pcre2CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};

// One log-line pattern compiled once for a whole log: caseless and with no
// other option, JIT-compiled where the platform allows. A pattern that does
// not compile is kept as one that never matches. Its slot names it in the
// prefilter's scan results.
class CompiledPattern {
public:
    static constexpr std::size_t kNoSlot = std::numeric_limits<std::size_t>::max();

    explicit CompiledPattern(std::string_view pattern, std::size_t slot = kNoSlot);

    [[nodiscard]] const pcre2_code* code() const { return code_.get(); }
    [[nodiscard]] bool jitCompiled() const { return jitCompiled_; }
    [[nodiscard]] std::string_view text() const { return text_; }
    [[nodiscard]] std::size_t slot() const { return slot_; }
    // Lower-case text every match contains; empty when nothing is known.
    [[nodiscard]] std::string_view requiredText() const { return requiredText_; }

private:
    std::unique_ptr<pcre2_code, Pcre2CodeDeleter> code_;
    bool jitCompiled_ = false;
    std::string text_;
    std::size_t slot_;
    std::string requiredText_;
};

}  // namespace zefa
