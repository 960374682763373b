#include "parser/match/ExactMatcher.h"

#include <cstring>

#include "parser/match/RequiredLiteral.h"

namespace zefa {

namespace {

// Where the last occurrence of `literal` (not empty) that ends at or before
// `end` starts; npos when there is none. Looks for the literal's last and
// first bytes: a tight backward loop over a short line, a comparison only
// where both are.
std::size_t lastOccurrence(std::string_view text, std::string_view literal, std::size_t end) {
    const std::size_t size = literal.size();
    const char first = literal.front();
    const char last = literal.back();
    for (std::size_t stop = end; stop >= size; --stop) {
        const char* at = text.data() + stop - size;
        if (text[stop - 1] == last && *at == first && std::memcmp(at, literal.data(), size) == 0)
            return stop - size;
    }
    return std::string_view::npos;
}

}  // namespace

std::optional<ExactMatcher> ExactMatcher::of(std::string_view pattern) {
    ExactMatcher matcher;
    bool inLiteral = false;
    const bool fits = parse(
        pattern,
        [&](char c) {
            if (!inLiteral) matcher.m_literals.emplace_back();
            matcher.m_literals.back() += lowerAscii(c);
            inLiteral = true;
        },
        [&] {
            if (matcher.m_literals.empty()) {
                matcher.m_leadingGroup = true;
            } else {
                matcher.m_trailingGroup = true;  // until a literal follows
            }
            inLiteral = false;
        });
    if (!fits) return std::nullopt;
    // A group between two literals is neither leading nor trailing: only the
    // last group seen can trail, and only when no literal came after it.
    matcher.m_trailingGroup = matcher.m_trailingGroup && !inLiteral;
    return matcher;
}

bool ExactMatcher::match(std::string_view folded, Match& found) const {
    // "." stops at a line feed, so a match lies inside one line of the
    // subject, and the first line that holds one holds the leftmost.
    std::size_t start = 0;
    for (;;) {
        const std::size_t lf = folded.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? folded.size() : lf;
        if (matchLine(folded.substr(start, end - start), start, found)) return true;
        if (lf == std::string_view::npos) return false;
        start = lf + 1;
    }
}

bool ExactMatcher::matchLine(std::string_view line, std::size_t offset, Match& found) const {
    const std::size_t n = m_literals.size();
    std::array<std::size_t, kMaxLiterals> at;  // each set before it is read
    // Right to left: each literal at its last occurrence that ends where the
    // next one starts or before. A leading literal is placed apart.
    std::size_t limit = line.size();
    const std::size_t placedFirst = m_leadingGroup ? 0 : 1;
    for (std::size_t i = n; i-- > placedFirst;) {
        at[i] = lastOccurrence(line, m_literals[i], limit);
        if (at[i] == std::string_view::npos) return false;
        limit = at[i];
    }
    if (!m_leadingGroup && n > 0) {
        at[0] = line.find(m_literals[0]);
        if (at[0] == std::string_view::npos || at[0] + m_literals[0].size() > limit) return false;
    }

    auto endOf = [&](std::size_t i) { return at[i] + m_literals[i].size(); };
    const std::size_t matchStart = m_leadingGroup || n == 0 ? 0 : at[0];
    const std::size_t matchEnd = n == 0            ? (m_leadingGroup ? line.size() : 0)
                                 : m_trailingGroup ? line.size()
                                                   : endOf(n - 1);
    found.count = 0;
    auto add = [&](std::size_t start, std::size_t end) {
        if (found.count < kMaxSpans) found.spans[found.count++] = {offset + start, offset + end};
    };
    add(matchStart, matchEnd);
    if (m_leadingGroup) add(0, n == 0 ? line.size() : at[0]);
    for (std::size_t i = 0; i + 1 < n; ++i) add(endOf(i), at[i + 1]);
    if (m_trailingGroup && n > 0) add(endOf(n - 1), line.size());
    return true;
}

}  // namespace zefa
