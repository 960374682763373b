#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "awards/AwardTable.h"
#include "model/MatchStats.h"
#include "parser/ParseLog.h"
#include "theme/PageWriter.h"

namespace zefa {

// What a generation run could not do. The page is written whatever happens;
// the caller decides what to report.
struct RunResult {
    bool logRead = false;
    std::error_code logError;    // why the log could not be read
    std::error_code themeError;  // why the theme file could not be read
    PageWriter::PageResult page = PageWriter::PageResult::Written;
    // With a fixed game version and SetCompareVersions: the other message set
    // recognises more kill, suicide and environment-death lines of the log.
    bool otherVersionReadsBetter = false;

    [[nodiscard]] bool ok() const { return logRead && page == PageWriter::PageResult::Written; }
    // Why the page is not complete, in words; empty when it is.
    [[nodiscard]] std::string pageProblem() const;
};

// Everything one generation run needs: read the log, compute the awards,
// write the page. A generator is configured, run once and then only read.
class StatsGenerator {
public:
    void SetLogFile(std::filesystem::path path) { logPath_ = std::move(path); }
    // A log held in memory instead of a log file; read exactly as a file with
    // these bytes.
    void SetLogText(std::string text) { logText_ = std::move(text); }
    void SetThemeFile(std::filesystem::path path) { themePath_ = std::move(path); }
    void SetOutputFile(std::filesystem::path path) { outputPath_ = std::move(path); }
    // A theme held in memory (the built-in one) instead of a theme file.
    void SetThemeText(std::string text) { themeText_ = std::move(text); }
    // 2 selects the Beta2-or-newer messages, every other value the older set.
    void SetGameVersion(std::int32_t version);
    // Reads the log with both message sets and keeps the one that recognises
    // more kill, suicide and environment-death lines (a tie keeps the older).
    void SetAutoGameVersion() { autoVersion_ = true; }
    // With a fixed version, also reads the log with the other message set
    // (in the same pass) to tell whether it fits the log better.
    void SetCompareVersions() { compareVersions_ = true; }
    void SetAwardSelection(const std::array<bool, kAwardCount>& selected);
    // The clock of the page's date and time; unset: the time of the run.
    void SetFixedTime(std::optional<PageSeconds> time) { writer_.fixedTime = time; }

    // Reads with the classifiers of `classifiers`, which outlives the run:
    // a program that generates from many logs compiles them once. Unset: the
    // run compiles its own.
    void SetClassifiers(ClassifierCache& classifiers) { classifiers_ = &classifiers; }

    // Also notes the game events and renames of the log (see events()).
    void SetRecordEvents(bool record) { recordEvents_ = record; }

    RunResult Run();
    // The same run with the page written onto `page` instead of the output
    // file (a page held in memory); needs the theme as text.
    RunResult Run(std::ostream& page);
    // Reads the log and computes the awards, writing no page.
    RunResult RunWithoutPage();

    [[nodiscard]] AwardTable& awards() { return awards_; }
    [[nodiscard]] const MatchStats& stats() const { return stats_; }
    [[nodiscard]] MatchStats& stats() { return stats_; }
    // The message set used; after Run also for the automatic choice.
    [[nodiscard]] std::int32_t gameVersion() const { return gameVersion_; }
    // The events under the message set used; empty unless recorded.
    [[nodiscard]] const MatchEvents& events() const { return events_; }
    [[nodiscard]] MatchEvents& events() { return events_; }

private:
    [[nodiscard]] std::vector<LogReadResult> parse(std::span<const LogTarget> targets) const;
    LogReadResult readLog(RunResult& result);
    // Reads the log and computes the awards: everything before the page.
    RunResult prepare();

    AwardTable awards_;
    MatchStats stats_;
    std::filesystem::path themePath_;
    std::filesystem::path logPath_;
    std::optional<std::string> logText_;
    std::filesystem::path outputPath_;
    std::optional<std::string> themeText_;
    std::int32_t gameVersion_ = kGameVersionBeta1H;
    bool autoVersion_ = false;
    bool compareVersions_ = false;
    bool recordEvents_ = false;
    ClassifierCache* classifiers_ = nullptr;  // not owned
    MatchEvents events_;
    PageWriter writer_;
};

}  // namespace zefa
