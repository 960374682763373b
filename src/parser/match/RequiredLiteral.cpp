#include "parser/match/RequiredLiteral.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zefa {

namespace {

bool isQuantifier(char c) { return c == '*' || c == '+' || c == '?'; }
bool isAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string requiredLiteral(std::string_view pattern) {
    std::string best;
    std::string run;
    int depth = 0;
    auto endRun = [&] {
        if (run.size() > best.size()) best = run;
        run.clear();
    };
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const bool hasNext = i + 1 < pattern.size();
        const char next = hasNext ? pattern[i + 1] : '\0';
        if (c == '|' || c == '[' || c == '{') return {};
        if (c == '\\') {
            if (!hasNext || isAsciiAlnum(next)) return {};
            ++i;
            if (depth == 0) run += lowerAscii(next);
        } else if (c == '(') {
            if (next == '?' || next == '*') return {};
            endRun();
            ++depth;
        } else if (c == ')') {
            endRun();
            --depth;
        } else if (isQuantifier(c)) {
            if (!run.empty()) run.pop_back();  // the repeated character may be absent
            endRun();
        } else if (c == '.' || c == '^' || c == '$') {
            endRun();
        } else if (depth == 0) {
            run += lowerAscii(c);
        }
    }
    endRun();
    return best;
}

// Eight bytes at a time: a byte from 'A' to 'Z' (high bit clear) gets the
// 0x20 bit; every other byte stays.
void foldCase(std::string_view text, std::string& into) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHigh = 0x80 * kOnes;
    into.resize(text.size());
    const char* from = text.data();
    char* to = into.data();
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, from + i, 8);
        const std::uint64_t low7 = word & ~kHigh;
        const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
        const std::uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * kOnes;
        const std::uint64_t upper = atLeastA & ~aboveZ & ~word & kHigh;
        word |= upper >> 2;
        std::memcpy(to + i, &word, 8);
    }
    for (; i < text.size(); ++i) to[i] = lowerAscii(from[i]);
}

}  // namespace zefa
