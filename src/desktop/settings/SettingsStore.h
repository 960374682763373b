#pragma once

#include <QSettings>
#include <memory>
#include <optional>
#include <string>

#include "desktop/core/GenerationSettings.h"
#include "desktop/core/RecentFileList.h"

namespace zefa::desktop {

// Reads the settings; a value that is absent or not of its type gives its
// default, and a store that cannot be read gives the defaults.
[[nodiscard]] GenerationSettings LoadSettings(const QSettings& store);
// Sets every value, changed or not; they reach the disk when the store syncs.
void SaveSettings(const GenerationSettings& settings, QSettings& store);

[[nodiscard]] RecentFileList loadRecentFiles(QSettings& store);
void saveRecentFiles(const RecentFileList& files, QSettings& store);

// The user's settings store "Zefa Stats/Zefa Stats 2": a file under
// $XDG_CONFIG_HOME on Linux, the registry key "Software\Zefa Stats\Zefa Stats 2"
// of the current user on Windows.
class SettingsStore {
public:
    // A damaged store is moved aside (".damaged"), so that writing the
    // defaults later cannot destroy what the user may still want to recover.
    SettingsStore();

    // What went wrong while opening, in words, for the user.
    [[nodiscard]] const std::optional<std::string>& openProblem() const { return m_openProblem; }
    [[nodiscard]] QSettings& settings() { return *m_store; }

    // Writes every setting and the recent-file list to the disk; the problem
    // in words when they could not be written.
    [[nodiscard]] std::optional<std::string> write(const GenerationSettings& settings,
                                                   const RecentFileList& recentFiles);

private:
    std::unique_ptr<QSettings> m_store;
    std::optional<std::string> m_openProblem;
};

}  // namespace zefa::desktop
