#include "app/SessionSettings.h"

#include "app/BatchRun.h"
#include "resources/UiText.h"

namespace zefa {

namespace {
void tellProblem(const std::string& problem) { tellOnStandardError({ui::kAppTitle, problem}); }
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

}  // namespace zefa
