#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zefa {

// Index of MatchStats::teamScores.
enum TeamIndex : std::int32_t { kRed = 0, kBlue = 1, kGreen = 2, kYellow = 3 };
inline constexpr std::int32_t kTeamCount = 4;

struct Team {
    std::string_view displayText;  // with its colour code, as the page shows it
    std::string_view word;         // what the classifier looks for, lower case
};

inline constexpr std::array<Team, kTeamCount> kTeams = {{
    {"^1RED", "red"},
    {"^4BLUE", "blue"},
    {"^2GREEN", "green"},
    {"^3YELLOW", "yellow"},
}};

}  // namespace zefa
