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
    m_generator = std::make_unique<StatsGenerator>();
    m_generator->SetLogFile(m_logFile);
    m_generator->SetOutputFile(pagePath());
    m_generator->SetThemeFile(m_themeFile);
    m_generator->SetAwardSelection(settings.awardsShown());
    m_generator->SetGameVersion(settings.gameVersion);
    if (settings.detectVersion) {
        m_generator->SetAutoGameVersion();
    } else {
        m_generator->SetCompareVersions();
    }
    m_generator->SetFixedTime(m_pageClock);
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
