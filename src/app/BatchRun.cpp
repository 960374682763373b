#include "app/BatchRun.h"

#include "app/PageCopy.h"
#include "app/StatsDocument.h"
#include "resources/UiText.h"

namespace zefa {

bool runBatch(const std::filesystem::path& logFile, const GenerationSettings& settings,
              RecentFileList& recentFiles, std::optional<std::time_t> pageClock,
              const MessageSink& tell) {
    const auto fail = [&tell](std::string text) {
        tell({ui::kAppTitle, std::move(text)});
        return false;
    };
    if (settings.themeFile.empty() || settings.outFile.empty()) {
        tell({ui::kErrorCaption, std::string(ui::kNeedsInteractiveRun)});
        return false;
    }

    StatsDocument document(pageClock);
    document.setLogFile(logFile.string());
    document.setThemeFile(settings.themeFile);
    if (const std::error_code error = document.reservePage(""))
        return fail(ui::fillIn(ui::kPageUnwritable, TemporaryPage::directoryName(), error.message()));
    if (std::string problem = document.problemOf(document.RunGeneration(settings));
        !problem.empty())
        return fail(std::move(problem));

    const PageCopyResult copy = copyPage(document.pagePath(), settings.outFile);
    if (!copy.ok()) return fail(copy.problem(document.pagePath(), settings.outFile));
    recentFiles.add(settings.outFile);
    return true;
}

}  // namespace zefa
