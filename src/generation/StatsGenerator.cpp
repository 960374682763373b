#include "generation/StatsGenerator.h"

#include <cerrno>
#include <chrono>
#include <cstring>

namespace zefa {

namespace {

std::int32_t millisecondsSince(std::chrono::steady_clock::time_point start) {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<std::int32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace

void StatsGenerator::SetGameVersion(std::int32_t version) {
    gameVersion_ = version == kGameVersionBeta2 ? kGameVersionBeta2 : kGameVersionBeta1H;
    autoVersion_ = false;
}

std::string RunResult::pageProblem() const {
    switch (page) {
        case PageWriter::PageResult::Written:
            return {};
        case PageWriter::PageResult::TooLarge:
            return "the theme expands into a page beyond the size limit";
        case PageWriter::PageResult::ThemeUnreadable:
            return themeError ? themeError.message() : "the theme could not be read";
        case PageWriter::PageResult::OutputUnwritable:
            break;
    }
    return std::strerror(EIO);
}

void StatsGenerator::SetAwardSelection(const std::array<bool, kAwardCount>& selected) {
    for (std::int32_t i = 0; i < kAwardCount; ++i)
        awards_.setSelected(i, selected[static_cast<std::size_t>(i)]);
}

std::vector<LogReadResult> StatsGenerator::parse(std::span<const LogTarget> targets) const {
    ClassifierCache ownClassifiers;
    ClassifierCache& classifiers = classifiers_ ? *classifiers_ : ownClassifiers;
    return logText_ ? parseLogText(*logText_, targets, classifiers)
                    : parseLog(logPath_, targets, classifiers);
}

LogReadResult StatsGenerator::readLog(RunResult& result) {
    MatchEvents* const events = recordEvents_ ? &events_ : nullptr;
    if (!autoVersion_ && !compareVersions_) {
        const LogTarget target{stats_, versionTables(gameVersion_), events};
        return parse(std::span(&target, 1)).front();
    }

    // Both message sets in one pass over the log.
    MatchStats beta2Stats;
    MatchEvents beta2Events;
    const LogTarget targets[] = {
        {stats_, versionTables(kGameVersionBeta1H), events},
        {beta2Stats, versionTables(kGameVersionBeta2), events ? &beta2Events : nullptr}};
    const std::vector<LogReadResult> read = parse(targets);
    const LogReadResult& older = read[0];
    const LogReadResult& newer = read[1];
    if (autoVersion_)
        gameVersion_ = newer.versionLines > older.versionLines ? kGameVersionBeta2
                                                               : kGameVersionBeta1H;
    const bool beta2 = gameVersion_ == kGameVersionBeta2;
    result.otherVersionReadsBetter =
        !autoVersion_ && (beta2 ? older.versionLines > newer.versionLines
                                : newer.versionLines > older.versionLines);
    if (!beta2) return older;
    stats_ = std::move(beta2Stats);
    events_ = std::move(beta2Events);
    return newer;
}

RunResult StatsGenerator::RunWithoutPage() {
    RunResult result;
    const LogReadResult read = readLog(result);
    result.logRead = read.opened;
    result.logError = read.error;
    awards_.ComputeAwards(stats_.players);
    return result;
}

RunResult StatsGenerator::prepare() {
    const auto start = std::chrono::steady_clock::now();
    RunResult result = RunWithoutPage();
    writer_ = PageWriter(stats_.lineCount, millisecondsSince(start), fixedTime_);
    return result;
}

RunResult StatsGenerator::Run() {
    RunResult result = prepare();
    const WeaponNames& names = weaponNames(gameVersion_);
    result.page = themeText_ ? writer_.WritePage(stats_, awards_, std::string_view(*themeText_),
                                                 outputPath_, names)
                             : writer_.WritePage(stats_, awards_, themePath_, outputPath_, names,
                                                 result.themeError);
    return result;
}

RunResult StatsGenerator::Run(std::ostream& page) {
    RunResult result = prepare();
    result.page = themeText_ ? writer_.WritePage(stats_, awards_, std::string_view(*themeText_),
                                                 page, weaponNames(gameVersion_))
                             : PageWriter::PageResult::ThemeUnreadable;
    return result;
}

}  // namespace zefa
