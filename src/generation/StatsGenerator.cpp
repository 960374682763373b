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

StatsGenerator::StatsGenerator(GenerationRequest request)
    : request_(std::move(request)),
      gameVersion_(request_.gameVersion == kGameVersionBeta2 ? kGameVersionBeta2
                                                             : kGameVersionBeta1H) {
    for (std::int32_t i = 0; i < kAwardCount; ++i)
        awards_.setSelected(i, request_.awards[static_cast<std::size_t>(i)]);
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

std::vector<LogReadResult> StatsGenerator::parse(std::span<const LogTarget> targets) const {
    ClassifierCache ownClassifiers;
    ClassifierCache& classifiers = request_.classifiers ? *request_.classifiers : ownClassifiers;
    return request_.logText ? parseLogText(*request_.logText, targets, classifiers)
                            : parseLog(request_.logFile, targets, classifiers);
}

LogReadResult StatsGenerator::readLog(RunResult& result) {
    MatchEvents* const events = request_.recordEvents ? &events_ : nullptr;
    const bool autoVersion = !request_.gameVersion;
    if (!autoVersion && !request_.compareVersions) {
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
    if (autoVersion)
        gameVersion_ =
            newer.versionLines > older.versionLines ? kGameVersionBeta2 : kGameVersionBeta1H;
    const bool beta2 = gameVersion_ == kGameVersionBeta2;
    result.otherVersionReadsBetter =
        !autoVersion &&
        (beta2 ? older.versionLines > newer.versionLines : newer.versionLines > older.versionLines);
    if (!beta2) return older;
    stats_ = std::move(beta2Stats);
    events_ = std::move(beta2Events);
    return newer;
}

RunResult StatsGenerator::runWithoutPage() {
    RunResult result;
    const LogReadResult read = readLog(result);
    result.logRead = read.opened;
    result.logError = read.error;
    awards_.ComputeAwards(stats_.players);
    return result;
}

RunResult StatsGenerator::prepare() {
    const auto start = std::chrono::steady_clock::now();
    RunResult result = runWithoutPage();
    writer_ = PageWriter(stats_.lineCount, millisecondsSince(start), request_.fixedTime);
    return result;
}

RunResult StatsGenerator::Run() {
    RunResult result = prepare();
    const WeaponNames& names = weaponNames(gameVersion_);
    result.page = request_.themeText
                      ? writer_.WritePage(stats_, awards_, std::string_view(*request_.themeText),
                                          request_.outputFile, names)
                      : writer_.WritePage(stats_, awards_, request_.themeFile, request_.outputFile,
                                          names, result.themeError);
    return result;
}

RunResult StatsGenerator::Run(std::ostream& page) {
    RunResult result = prepare();
    result.page = request_.themeText
                      ? writer_.WritePage(stats_, awards_, std::string_view(*request_.themeText),
                                          page, weaponNames(gameVersion_))
                      : PageWriter::PageResult::ThemeUnreadable;
    return result;
}

}  // namespace zefa
