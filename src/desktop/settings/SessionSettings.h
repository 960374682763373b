#pragma once

#include "desktop/core/GenerationSettings.h"
#include "desktop/core/RecentFileList.h"
#include "desktop/settings/SettingsStore.h"

namespace zefa::desktop {

// The settings of one run of the program: read from the user's store when it
// starts and written back, changed or not, when it ends. Problems with the
// store are told on standard error; they never stop the program.
class SessionSettings {
    SettingsStore m_store;  // first: the settings below are read from it

public:
    SessionSettings();

    GenerationSettings generation;
    RecentFileList recentFiles;

    // Writes everything back; false (and told) when the store refused.
    bool save();
};

}  // namespace zefa::desktop
