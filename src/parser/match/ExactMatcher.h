#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zefa {

// The matcher of a log-line pattern made only of literal texts and "(.*)"
// groups: it needs no regular-expression engine, yet finds exactly the match
// a backtracking engine finds (unanchored, leftmost, greedy, caseless for
// ASCII letters, "." never crossing a line feed). Every group lies between
// two literals, or before the first or after the last one.
//
// Why a closed form exists: greedy groups push every literal as far right
// as the rest of the pattern allows, so the literals are placed right to
// left, each at its last occurrence ending before the next one. A leading
// group anchors the match at the start; a leading literal takes its first
// occurrence that leaves room for the rest.
class ExactMatcher {
public:
    // Captures: the whole match and the groups, as the backtracking engine's
    // match positions would give them.
    static constexpr std::size_t kMaxSpans = 5;
    // Literals beyond this many put a pattern outside the shape.
    static constexpr std::size_t kMaxLiterals = 16;

    struct Span {
        std::size_t start = 0;
        std::size_t end = 0;
    };
    struct Match {
        std::array<Span, kMaxSpans> spans{};
        std::size_t count = 0;  // the whole match and as many groups as fit
    };

    // Whether the pattern has the shape; usable at compile time, so a table
    // of patterns can be checked when the program is built.
    [[nodiscard]] static constexpr bool fits(std::string_view pattern);
    // The matcher of a pattern of that shape; none for any other pattern.
    [[nodiscard]] static std::optional<ExactMatcher> of(std::string_view pattern);

    // Matches `folded`, the subject with ASCII letters in lower case; the
    // positions are the same in the subject itself.
    [[nodiscard]] bool match(std::string_view folded, Match& found) const;
    // The same for a subject known to hold no line feed.
    [[nodiscard]] bool matchLine(std::string_view folded, Match& found) const {
        return matchLine(folded, 0, found);
    }

private:
    ExactMatcher() = default;
    [[nodiscard]] bool matchLine(std::string_view line, std::size_t offset, Match& found) const;

    // Calls literalChar(c) for each literal character (escapes resolved) and
    // group() for each group; false when the pattern is outside the shape.
    template <typename LiteralChar, typename Group>
    static constexpr bool parse(std::string_view pattern, LiteralChar literalChar, Group group);

    std::vector<std::string> m_literals;  // lower case, none empty
    bool m_leadingGroup = false;
    bool m_trailingGroup = false;
};

template <typename LiteralChar, typename Group>
constexpr bool ExactMatcher::parse(std::string_view pattern, LiteralChar literalChar, Group group) {
    constexpr std::string_view kGroup = "(.*)";
    constexpr std::string_view kSpecial = ".^$*+?()[]{}|\\";
    bool afterGroup = false;
    std::size_t literals = 0;
    bool inLiteral = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (pattern.substr(i, kGroup.size()) == kGroup) {
            if (afterGroup) return false;  // two groups in a row
            afterGroup = true;
            inLiteral = false;
            group();
            i += kGroup.size() - 1;
            continue;
        }
        if (c == '\\') {
            // An escaped character other than a letter or digit is that character.
            if (i + 1 == pattern.size()) return false;
            c = pattern[++i];
            const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                               (c >= 'A' && c <= 'Z');
            if (alnum) return false;
        } else if (kSpecial.find(c) != std::string_view::npos) {
            return false;
        }
        if (!inLiteral && ++literals > kMaxLiterals) return false;
        inLiteral = true;
        afterGroup = false;
        literalChar(c);
    }
    return true;
}

constexpr bool ExactMatcher::fits(std::string_view pattern) {
    return parse(pattern, [](char) {}, [] {});
}

}  // namespace zefa
