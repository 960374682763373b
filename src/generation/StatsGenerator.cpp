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
    : m_request(std::move(request)),
      m_gameVersion(m_request.gameVersion == kGameVersionBeta2 ? kGameVersionBeta2
                                                               : kGameVersionBeta1H) {
    for (std::int32_t i = 0; i < kAwardCount; ++i)
        m_awards.setSelected(i, m_request.awards[static_cast<std::size_t>(i)]);
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
    ClassifierCache& classifiers = m_request.classifiers ? *m_request.classifiers : ownClassifiers;
    return m_request.logText
               ? parseLogText(*m_request.logText, targets, classifiers, m_request.engine)
               : parseLog(m_request.logFile, targets, classifiers, m_request.engine);
}

LogReadResult StatsGenerator::readLog(RunResult& result) {
    MatchEvents* const events = m_request.recordEvents ? &m_events : nullptr;
    const bool autoVersion = !m_request.gameVersion;
    if (!autoVersion && !m_request.compareVersions) {
        const LogTarget target{m_stats, versionTables(m_gameVersion), events};
        return parse(std::span(&target, 1)).front();
    }

    // Both message sets in one pass over the log. The events are those of
    // the version read with: the one asked for, or the one that reads best,
    // which the reading picks by the same rule as below.
    MatchStats beta2Stats;
    const bool askedBeta2 = !autoVersion && m_gameVersion == kGameVersionBeta2;
    const LogTarget targets[] = {
        {m_stats, versionTables(kGameVersionBeta1H), autoVersion || !askedBeta2 ? events : nullptr},
        {beta2Stats, versionTables(kGameVersionBeta2),
         autoVersion || askedBeta2 ? events : nullptr}};
    const std::vector<LogReadResult> read = parse(targets);
    const LogReadResult& older = read[0];
    const LogReadResult& newer = read[1];
    if (autoVersion)
        m_gameVersion =
            newer.versionLines > older.versionLines ? kGameVersionBeta2 : kGameVersionBeta1H;
    const bool beta2 = m_gameVersion == kGameVersionBeta2;
    result.otherVersionReadsBetter =
        !autoVersion &&
        (beta2 ? older.versionLines > newer.versionLines : newer.versionLines > older.versionLines);
    if (!beta2) return older;
    m_stats = std::move(beta2Stats);
    return newer;
}

RunResult StatsGenerator::runWithoutPage() {
    RunResult result;
    const LogReadResult read = readLog(result);
    result.logRead = read.opened;
    result.logError = read.error;
    m_awards.ComputeAwards(m_stats.players);
    return result;
}

RunResult StatsGenerator::prepare() {
    const auto start = std::chrono::steady_clock::now();
    RunResult result = runWithoutPage();
    m_writer = PageWriter(m_stats.lineCount, millisecondsSince(start), m_request.fixedTime);
    return result;
}

RunResult StatsGenerator::Run() {
    RunResult result = prepare();
    const WeaponNames& names = weaponNames(m_gameVersion);
    result.page =
        m_request.themeText
            ? m_writer.WritePage(m_stats, m_awards, std::string_view(*m_request.themeText),
                                 m_request.outputFile, names)
            : m_writer.WritePage(m_stats, m_awards, m_request.themeFile, m_request.outputFile,
                                 names, result.themeError);
    return result;
}

RunResult StatsGenerator::Run(std::ostream& page) {
    RunResult result = prepare();
    result.page = m_request.themeText ? m_writer.WritePage(m_stats, m_awards,
                                                           std::string_view(*m_request.themeText),
                                                           page, weaponNames(m_gameVersion))
                                      : PageWriter::PageResult::ThemeUnreadable;
    return result;
}

}  // namespace zefa
