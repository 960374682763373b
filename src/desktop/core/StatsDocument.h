#pragma once

#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "generation/StatsGenerator.h"
#include "desktop/core/GenerationSettings.h"
#include "desktop/core/TemporaryPage.h"
#include "desktop/core/VersionReading.h"

namespace zefa::desktop {

// What a document is made of, without its windows: the console log and theme
// it is generated from, the page file it is generated into, and the generator
// of its last run, which owns that run's statistics.
class StatsDocument {
public:
    // `pageClock`: the fixed clock of the page's date and time, if any.
    explicit StatsDocument(std::optional<std::time_t> pageClock = std::nullopt)
        : m_pageClock(pageClock) {}

    [[nodiscard]] const std::string& logFile() const { return m_logFile; }
    [[nodiscard]] const std::string& themeFile() const { return m_themeFile; }
    void setLogFile(std::string path) { m_logFile = std::move(path); }
    void setThemeFile(std::string path) { m_themeFile = std::move(path); }

    // Creates the page file in the temporary directory; every run writes over it.
    [[nodiscard]] std::error_code reservePage(std::string_view suffix);
    // Empty until the page file is reserved.
    [[nodiscard]] std::filesystem::path pagePath() const;

    // Generates the page from the log and theme with the settings' game
    // version (or the one detected from the log) and awards; the previous
    // run's generator goes.
    RunResult RunGeneration(const GenerationSettings& settings);
    // The first thing a run of this document could not do, in words for the
    // user; empty when it did everything.
    [[nodiscard]] std::string problemOf(const RunResult& result) const;
    // Null until the first run.
    [[nodiscard]] const StatsGenerator* generator() const { return m_generator.get(); }
    // The message set of the last run; nothing before the first.
    [[nodiscard]] const std::optional<VersionReading>& versionReading() const {
        return m_versionReading;
    }

private:
    std::string m_logFile;
    std::string m_themeFile;
    std::unique_ptr<TemporaryPage> m_page;
    std::unique_ptr<StatsGenerator> m_generator;
    std::optional<VersionReading> m_versionReading;
    std::optional<std::time_t> m_pageClock;
};

}  // namespace zefa::desktop
