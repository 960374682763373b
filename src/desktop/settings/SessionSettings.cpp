#include "desktop/settings/SessionSettings.h"

#include "desktop/core/MessageText.h"
#include "desktop/core/UserMessage.h"

namespace zefa::desktop {

namespace {
void tellProblem(const std::string& problem) { tellOnStandardError({kAppTitle, problem}); }
}  // namespace

SessionSettings::SessionSettings()
    : generation(LoadSettings(m_store.settings())),
      recentFiles(loadRecentFiles(m_store.settings())) {
    if (m_store.openProblem()) tellProblem(*m_store.openProblem());
}

bool SessionSettings::save() {
    const auto problem = m_store.write(generation, recentFiles);
    if (problem) tellProblem(*problem);
    return !problem;
}

}  // namespace zefa::desktop
