#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "awards/AwardTable.h"
#include "model/Weapons.h"

namespace zefa::cli {

// "-" names standard output.
inline constexpr std::string_view kStandardOutput = "-";

struct Options {
    std::string logFile;
    std::optional<std::string> themeFile;  // unset: the built-in theme
    std::string outputFile{kStandardOutput};
    std::optional<std::int32_t> gameVersion;  // unset: chosen from the log
    std::array<bool, kAwardCount> awards{};
    std::optional<std::string> jsonFile;
    bool listAwards = false;
};

// What the command line asks for: a run, or an exit with this status after
// the parser has printed help, the version or a usage error.
using ParsedCommandLine = std::variant<Options, int>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

[[nodiscard]] ParsedCommandLine parseCommandLine(int argc, const char* const* argv);

// "all", "none" or comma-separated award indexes 0-17, as -a takes them.
[[nodiscard]] std::optional<std::array<bool, kAwardCount>> parseAwardList(std::string_view list);

}  // namespace zefa::cli
