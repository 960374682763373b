#include "desktop/settings/SessionSettings.h"

#include "desktop/core/MessageText.h"
#include "desktop/core/UserMessage.h"

namespace zefa::desktop {

namespace {
void tellProblem(const std::string& problem) { tellOnStandardError({kAppTitle, problem}); }
}  // namespace

SessionSettings::SessionSettings()
    : generation(LoadSettings(store_.settings())), recentFiles(LoadRecentFiles(store_.settings())) {
    if (store_.openProblem()) tellProblem(*store_.openProblem());
}

bool SessionSettings::save() {
    const auto problem = store_.write(generation, recentFiles);
    if (problem) tellProblem(*problem);
    return !problem;
}

}  // namespace zefa::desktop
