#pragma once

#include <array>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "parser/ParserSet.h"
#include "parser/PatternSet.h"
#include "parser/PatternTables.h"
#include "parser/match/LineMatcher.h"
#include "support/PrintedPattern.h"

namespace zefa::test {

inline const VersionTables* const kBothSets[] = {&versionTables(kGameVersionBeta1H),
                                                 &versionTables(kGameVersionBeta2)};

using Captures = std::array<std::string_view, LineMatcher::kMaxCaptures>;

inline Captures capturesOf(const LineMatcher& m) {
    Captures all;
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = m.capture(i);
    return all;
}

inline std::string flipCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The plain texts of a pattern, in order: what lies between its groups.
inline std::vector<std::string> literalsOf(std::string_view pattern) {
    std::vector<std::string> literals;
    const std::string marked = printedPattern(pattern, [](int) { return std::string(1, '\0'); });
    std::string run;
    for (char c : marked + '\0') {
        if (c != '\0') {
            run += c;
        } else if (!run.empty()) {
            literals.push_back(run);
            run.clear();
        }
    }
    return literals;
}

// Lines for every row of both message sets, to hold the engines against
// each other: as printed, in other letter cases, near misses (a byte
// dropped or replaced by NUL, CR, LF, a high byte or the other case),
// literals repeated ("the the flag flag") or overlapping each other inside
// the names, long and crafted lines, high bytes in names, and lines drawn at
// random from the literals of the set.
inline std::vector<std::string> patternLines() {
    using namespace std::string_literals;
    std::vector<std::string> lines = {
        "x",
        ":",
        ": ",
        "^7: ^2",
        std::string(4095, ' '),
        std::string(4095, ':'),
        "\xC9ve\xFF took the \xE9 flag",
        "a\0b was railed by c"s,
        "\r\n\t\x7F",
    };
    std::mt19937 random(20261207);
    for (const VersionTables* tables : kBothSets) {
        const PatternSet set(*tables);
        std::vector<std::string> pieces;
        for (const CompiledPattern& pattern : set.all()) {
            const std::vector<std::string> literals = literalsOf(pattern.text());
            pieces.insert(pieces.end(), literals.begin(), literals.end());
            auto printed = [&](auto group) { return printedPattern(pattern.text(), group); };
            for (std::string_view name : {"^1Red^7 Team", "\xC9t\xE9", ""}) {
                const std::string line = printed([name](int) { return std::string(name); });
                lines.push_back(line);
                lines.push_back(flipCase(line));
                constexpr std::array<char, 4> kOthers = {'\0', '\r', '\n', '\xD9'};
                for (std::size_t i = 0; i < line.size(); ++i) {
                    lines.push_back(line.substr(0, i) + line.substr(i + 1));
                    std::string changed = line;
                    changed[i] = kOthers[i % kOthers.size()];
                    lines.push_back(changed);
                    changed[i] = flipCase(std::string(1, line[i]))[0];
                    lines.push_back(changed);
                }
            }
            // Each name holds the literals around it, whole, doubled or cut,
            // so that earlier and later occurrences compete.
            for (std::size_t k = 0; k < literals.size(); ++k) {
                const std::string& lit = literals[k];
                const std::string half = lit.substr(0, lit.size() / 2);
                const std::string tail = lit.substr(lit.size() / 2);
                for (const std::string& name :
                     {lit, lit + lit, tail + half, half, tail + lit + half, lit + " " + lit}) {
                    lines.push_back(printed([&name](int) { return name; }));
                    lines.push_back(printed([&name](int g) { return g % 2 ? name : "Bob"; }));
                }
            }
            std::string doubled = printed([](int) { return std::string("Bob"); });
            for (const std::string& lit : literals) {
                const std::size_t at = doubled.find(lit);
                if (at != std::string::npos) doubled.insert(at, lit);
            }
            lines.push_back(doubled);
            const std::string line = printed([](int) { return std::string("Bob"); });
            std::string longLine = line;
            while (longLine.size() + line.size() < kMaxLineLength) longLine += line;
            lines.push_back(longLine);
            lines.push_back(std::string(kMaxLineLength - line.size(), '\xFF') + line);
        }
        std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
        std::uniform_int_distribution<int> count(1, 6);
        for (int i = 0; i < 2000; ++i) {
            std::string line;
            for (int n = count(random); n > 0; --n) {
                std::string piece = pieces[pick(random)];
                if (random() % 3 == 0) piece = flipCase(piece);
                if (random() % 4 == 0) piece.erase(random() % piece.size(), 1);
                line += piece;
                if (random() % 2 == 0) line += "x";
            }
            lines.push_back(line);
        }
    }
    return lines;
}

inline std::string repeat(std::string_view part, std::size_t length) {
    std::string line;
    while (line.size() + part.size() <= length) line += part;
    return line;
}

// Lines of at most 4095 bytes crafted to make a backtracking engine try
// every split of the line; none matches.
inline std::vector<std::string> craftedLines() {
    return {
        "returned " + repeat("the ", 2000) + repeat("flag ", 2085),
        "returned cross " + repeat("the ", 1000) + repeat(" ", 1000) + repeat("cross ", 2075),
        "^ " + repeat("a capped a ^7CP", 4090),
        "rag " + repeat("a snagged b's c", 4090),
        "cluster " + repeat("a spammed b self with c", 4085),
        "Team " + repeat("The a flag has been captured, Nice job b c", 4090),
    };
}

}  // namespace zefa::test
