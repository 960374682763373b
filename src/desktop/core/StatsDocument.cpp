#include "desktop/core/StatsDocument.h"

#include "desktop/core/MessageText.h"

namespace zefa::desktop {

std::error_code StatsDocument::reservePage(std::string_view suffix) {
    std::error_code error;
    m_page = TemporaryPage::create(suffix, error);
    return error;
}

std::filesystem::path StatsDocument::pagePath() const {
    return m_page ? m_page->path() : std::filesystem::path();
}

RunResult StatsDocument::RunGeneration(const GenerationSettings& settings) {
    // The page file is emptied rather than removed, so that its name stays
    // ours; a run that cannot write a page leaves no earlier page behind.
    std::error_code ignored;
    if (m_page) std::filesystem::resize_file(m_page->path(), 0, ignored);
    // A fresh generator: nothing of the previous run survives.
    m_generator = std::make_unique<StatsGenerator>(GenerationRequest{
        .logFile = m_logFile,
        .themeFile = m_themeFile,
        .outputFile = pagePath(),
        .gameVersion = settings.detectVersion ? std::nullopt
                                              : std::optional(settings.gameVersion),
        .compareVersions = !settings.detectVersion,
        .awards = settings.awardsShown(),
        .fixedTime = m_pageClock,
    });
    const RunResult result = m_generator->Run();
    m_versionReading = VersionReading{m_generator->gameVersion(), settings.detectVersion,
                                      result.otherVersionReadsBetter};
    return result;
}

std::string StatsDocument::problemOf(const RunResult& result) const {
    if (!result.logRead) return fillIn(kLogUnreadable, m_logFile, result.logError.message());
    if (result.page == PageWriter::PageResult::ThemeUnreadable)
        return fillIn(kThemeUnreadable, m_themeFile, result.pageProblem());
    if (result.page != PageWriter::PageResult::Written)
        return fillIn(kPageUnwritable, pagePath().string(), result.pageProblem());
    return {};
}

}  // namespace zefa::desktop
