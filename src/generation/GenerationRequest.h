#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "awards/AwardTable.h"
#include "parser/ClassifierCache.h"
#include "parser/match/MatchEngine.h"
#include "theme/PageClock.h"

namespace zefa {

// Everything one generation run is asked for, in one value.
struct GenerationRequest {
    // The console log, or its bytes held in memory, which are read instead
    // of the file exactly as a file with these bytes.
    std::filesystem::path logFile{};
    std::optional<std::string> logText{};
    // The theme, or its text held in memory (a built-in one) instead.
    std::filesystem::path themeFile{};
    std::optional<std::string> themeText{};
    // The page file that StatsGenerator::Run() writes.
    std::filesystem::path outputFile{};
    // 2 selects the Beta2-or-newer messages, every other value the older
    // set. Unset: the log is read with both, and the one that recognises
    // more kill, suicide and environment-death lines is kept (a tie keeps
    // the older).
    std::optional<std::int32_t> gameVersion{};
    // With a fixed game version, the log is also read with the other
    // message set (in the same pass) to tell whether that fits it better.
    bool compareVersions = false;
    std::array<bool, kAwardCount> awards = allAwards();  // the awards computed and shown
    // The clock of the page's date and time; unset: the time of the run.
    std::optional<PageSeconds> fixedTime{};
    // The classifiers to read with, which outlive the run: a program that
    // generates from many logs compiles them once. Null: the run compiles
    // its own.
    ClassifierCache* classifiers = nullptr;
    // How the log's lines are classified: every engine reads the same.
    MatchEngine engine = kDefaultMatchEngine;
    // Also notes the game events and renames of the log (StatsGenerator::events()).
    bool recordEvents = false;

    static constexpr std::array<bool, kAwardCount> allAwards() {
        std::array<bool, kAwardCount> all{};
        all.fill(true);
        return all;
    }
};

}  // namespace zefa
