#pragma once

#include <string>
#include <string_view>

namespace zefa {

// The longest run of plain characters, lower-cased (ASCII), that every match
// of the pattern must contain; empty when none can be proven. A subject that
// lacks it, compared case-folded, cannot match, so the costly regular
// expression run can be skipped. Only top-level characters count: a
// character followed by a quantifier is optional, and patterns with
// alternation, classes, counted repeats, escape sequences other than escaped
// punctuation, or group options give nothing.
[[nodiscard]] std::string requiredLiteral(std::string_view pattern);

// ASCII lower case; other bytes are kept. Caseless matching of 8-bit
// non-UTF patterns folds exactly these letters.
[[nodiscard]] constexpr char lowerAscii(char c) {
    // Without a branch, so that folding a line compiles to vector code.
    const bool upper = static_cast<unsigned char>(c - 'A') < 26;
    return static_cast<char>(c | (upper << 5));
}
void foldCase(std::string_view text, std::string& into);

}  // namespace zefa
