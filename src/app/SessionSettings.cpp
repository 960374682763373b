#include "app/SessionSettings.h"

#include <iostream>

#include "resources/UiText.h"

namespace zefa {

namespace {
void tellOnStandardError(const std::string& problem) {
    std::cerr << ui::kProgramName << ": " << problem << "\n";
}
}  // namespace

SessionSettings::SessionSettings()
    : generation(LoadSettings(store_.settings())), recentFiles(LoadRecentFiles(store_.settings())) {
    if (store_.openProblem()) tellOnStandardError(*store_.openProblem());
}

bool SessionSettings::save() {
    const auto problem = store_.write(generation, recentFiles);
    if (problem) tellOnStandardError(*problem);
    return !problem;
}

}  // namespace zefa
