#pragma once

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "model/MatchStats.h"
#include "parser/PatternTables.h"

namespace zefa {

struct LogReadResult {
    bool opened = false;  // the log could be opened and read to its end
    // Lines taken by the version tables (kills, suicides, environment
    // deaths): how well the log fits the chosen game version.
    std::int32_t versionLines = 0;
    std::error_code error;  // why the log could not be read, when it could not
};

// Reads the console log line by line into `stats` and finishes it. A log
// that cannot be opened reads as an empty one.
LogReadResult parseLog(const std::filesystem::path& logPath, MatchStats& stats,
                       const VersionTables& tables);

}  // namespace zefa
