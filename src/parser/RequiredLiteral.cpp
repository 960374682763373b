#include "parser/RequiredLiteral.h"

#include <cstddef>

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

void foldCase(std::string_view text, std::string& into) {
    into.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) into[i] = lowerAscii(text[i]);
}

}  // namespace zefa
