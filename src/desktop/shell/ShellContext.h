#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "desktop/settings/SessionSettings.h"
#include "desktop/shell/ShellDialogs.h"

namespace zefa::desktop {

// What the windows and documents of one run of the program share.
struct ShellContext {
    SessionSettings& settings;
    std::optional<std::time_t> pageClock;  // the fixed clock of the pages' date and time
    ShellDialogs dialogs;
    int documentsCreated = 0;  // numbers the titles of new documents
    std::string seasonStore;   // the season store chosen last
    std::string siteFolder;    // the folder a season's site was saved to last
};

}  // namespace zefa::desktop
