#include "parser/match/CompiledPattern.h"

#include <stdexcept>

#include "parser/match/RequiredLiteral.h"

namespace zefa {

CompiledPattern::CompiledPattern(std::string_view pattern, std::size_t slot)
    : m_exact(ExactMatcher::of(pattern)),
      m_text(pattern),
      m_slot(slot),
      m_requiredText(requiredLiteral(pattern)) {
#if ZEFA_PCRE2
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    m_code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                               PCRE2_CASELESS, &errorCode, &errorOffset, nullptr));
    // Without JIT support the interpreter runs the same pattern, only slower.
    if (m_code) m_jitCompiled = pcre2_jit_compile(m_code.get(), PCRE2_JIT_COMPLETE) == 0;
#else
    if (!m_exact) throw std::invalid_argument("pattern needs PCRE2: " + m_text);
#endif
}

}  // namespace zefa
