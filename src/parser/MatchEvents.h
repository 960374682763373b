#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parser/LineRule.h"

namespace zefa {

// A 64-bit hash of a line, the same on every build and machine, so it can be stored.
[[nodiscard]] std::uint64_t eventLineHash(std::string_view bytes);

// The eventLineHash of the line being read, made on first need: the table
// sets that read a log together note most event lines each, and hash them once.
class LineHash {
public:
    // A new line.
    void forget() { m_made = false; }
    [[nodiscard]] std::uint64_t of(std::string_view line) {
        if (!m_made) {
            m_hash = eventLineHash(line);
            m_made = true;
        }
        return m_hash;
    }

private:
    std::uint64_t m_hash = 0;
    bool m_made = false;
};

// What a reading notes beside the statistics: the game events in log order,
// which two clients recording one match share whatever else their logs hold,
// and the renames, which hint at one player under two names.
struct MatchEvents {
    // A hash of each kill, suicide, environment death, flag and defense line.
    std::vector<std::uint64_t> lines;
    // The number of each of those lines in the log, counted from 1: where a
    // log that holds the same events can be joined to this one.
    std::vector<std::int32_t> lineNumbers;
    // The raw old and new name of each rename line.
    std::vector<std::pair<std::string, std::string>> renames;

    // Notes the classified line numbered `lineNumber`, hashed by `hash`;
    // `first` and `second` are the rule's first two captures.
    void note(LineRule rule, std::int32_t lineNumber, std::string_view line, LineHash& hash,
              std::string_view first, std::string_view second);
};

}  // namespace zefa
