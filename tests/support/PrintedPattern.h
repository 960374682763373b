#pragma once

#include <string>
#include <string_view>

namespace zefa::test {

// A log-line pattern as the game would print it: each "(.*)" group replaced
// by group(i) for the i-th group, escaped characters as themselves.
template <typename Group>
std::string printedPattern(std::string_view pattern, Group group) {
    std::string text;
    int groups = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.substr(i, 4) == "(.*)") {
            text += group(groups++);
            i += 3;
        } else if (pattern[i] == '\\' && i + 1 < pattern.size()) {
            text += pattern[++i];
        } else {
            text += pattern[i];
        }
    }
    return text;
}

}  // namespace zefa::test
