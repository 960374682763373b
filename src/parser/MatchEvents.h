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

// Whether a line the rule takes is a game event: a kill, suicide,
// environment death, flag or defense line.
[[nodiscard]] constexpr bool isGameEvent(LineRule rule) {
    switch (rule) {
        case LineRule::Kill:
        case LineRule::FlagPickup:
        case LineRule::FlagCapture:
        case LineRule::FlagReturn:
        case LineRule::Suicide:
        case LineRule::EnvironmentDeath:
        case LineRule::Defense:
            return true;
        default:
            return false;
    }
}

// The raw old and new name of each rename line, in log order.
using RenameList = std::vector<std::pair<std::string, std::string>>;

// What a reading notes beside the statistics: the game events in log order,
// which two clients recording one match share whatever else their logs hold,
// and the renames, which hint at one player under two names.
struct MatchEvents {
    // A hash of each kill, suicide, environment death, flag and defense line.
    std::vector<std::uint64_t> lines;
    // The number of each of those lines in the log, counted from 1: where a
    // log that holds the same events can be joined to this one.
    std::vector<std::int32_t> lineNumbers;
    RenameList renames;
};

}  // namespace zefa
