#include "parser/match/CompiledPattern.h"

#include <stdexcept>

#include "parser/match/RequiredLiteral.h"

namespace zefa {

CompiledPattern::CompiledPattern(std::string_view pattern, std::size_t slot)
    : exact_(ExactMatcher::of(pattern)),
      text_(pattern),
      slot_(slot),
      requiredText_(requiredLiteral(pattern)) {
#if ZEFA_PCRE2
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    code_.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                              PCRE2_CASELESS, &errorCode, &errorOffset, nullptr));
    // Without JIT support the interpreter runs the same pattern, only slower.
    if (code_) jitCompiled_ = pcre2_jit_compile(code_.get(), PCRE2_JIT_COMPLETE) == 0;
#else
    if (!exact_) throw std::invalid_argument("pattern needs PCRE2: " + text_);
#endif
}

}  // namespace zefa
