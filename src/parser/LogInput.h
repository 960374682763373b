#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

#include "model/MatchStats.h"
#include "parser/ClassifierCache.h"
#include "parser/MatchEvents.h"
#include "parser/PatternTables.h"
#include "parser/match/MatchEngine.h"

namespace zefa {

struct LogReadResult {
    bool opened = false;  // the log could be opened and read to its end
    // Lines taken by the version tables (kills, suicides, environment
    // deaths): how well the log fits the chosen game version.
    std::int32_t versionLines = 0;
    std::error_code error;  // why the log could not be read, when it could not
};

// One table set to read a log with, and the statistics it fills.
struct LogTarget {
    MatchStats& stats;
    const VersionTables& tables;
    // Where the game events and renames are noted, if anywhere. Targets that
    // share one get those of the target that reads best: the most version
    // lines, the first on a tie.
    MatchEvents* events = nullptr;
};

// Reads the console log line by line into `stats` and finishes it. A log
// that cannot be opened reads as an empty one.
LogReadResult parseLog(const std::filesystem::path& logPath, MatchStats& stats,
                       const VersionTables& tables, MatchEngine engine = kDefaultMatchEngine);
// The same for several table sets in one pass over the file: each target's
// statistics are those a reading with its tables alone gives. One result
// per target, in order.
std::vector<LogReadResult> parseLog(const std::filesystem::path& logPath,
                                    std::span<const LogTarget> targets,
                                    MatchEngine engine = kDefaultMatchEngine);

// The same for a log held in memory (a stored log, a log handed over by a
// browser): every line is read exactly as from a file with these bytes.
LogReadResult parseLogText(std::string_view text, MatchStats& stats, const VersionTables& tables,
                           MatchEngine engine = kDefaultMatchEngine);
std::vector<LogReadResult> parseLogText(std::string_view text, std::span<const LogTarget> targets,
                                        MatchEngine engine = kDefaultMatchEngine);

// The same with the classifier taken from `classifiers`, compiled there on
// first need: a run that reads many logs compiles the patterns once.
std::vector<LogReadResult> parseLog(const std::filesystem::path& logPath,
                                    std::span<const LogTarget> targets,
                                    ClassifierCache& classifiers,
                                    MatchEngine engine = kDefaultMatchEngine);
std::vector<LogReadResult> parseLogText(std::string_view text, std::span<const LogTarget> targets,
                                        ClassifierCache& classifiers,
                                        MatchEngine engine = kDefaultMatchEngine);

}  // namespace zefa
