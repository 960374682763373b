#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parser/LineRule.h"

namespace zefa {

// What a reading notes beside the statistics: the game events in log order,
// which two clients recording one match share whatever else their logs hold,
// and the renames, which hint at one player under two names.
struct MatchEvents {
    // A hash of each kill, suicide, environment death, flag and defense line.
    std::vector<std::uint64_t> lines;
    // The raw old and new name of each rename line.
    std::vector<std::pair<std::string, std::string>> renames;

    // Notes a classified line; `first` and `second` are the rule's first two captures.
    void note(LineRule rule, std::string_view line, std::string_view first,
              std::string_view second);
};

// A 64-bit hash of a line, the same on every build and machine, so it can be stored.
[[nodiscard]] std::uint64_t eventLineHash(std::string_view bytes);

}  // namespace zefa
