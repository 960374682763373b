#pragma once

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 8
#endif
#include <pcre2.h>

#include <memory>
#include <string>
#include <string_view>

namespace zefa {

struct Pcre2CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};

// One log-line pattern compiled once for a whole log: caseless and with no
// other option, JIT-compiled where the platform allows. A pattern that does
// not compile is kept as one that never matches.
class CompiledPattern {
public:
    explicit CompiledPattern(std::string_view pattern);

    [[nodiscard]] const pcre2_code* code() const { return code_.get(); }
    // Lower-case text every match contains; empty when nothing is known.
    [[nodiscard]] std::string_view requiredText() const { return requiredText_; }

private:
    std::unique_ptr<pcre2_code, Pcre2CodeDeleter> code_;
    std::string requiredText_;
};

}  // namespace zefa
