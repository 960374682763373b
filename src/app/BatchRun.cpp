#include "app/BatchRun.h"

#include <cstdlib>

#include "app/PageCopy.h"
#include "app/StatsDocument.h"
#include "resources/UiText.h"

namespace zefa {

namespace {

std::string temporaryDirectoryName() {
    const char* directory = std::getenv("TMPDIR");
    return directory != nullptr && *directory != '\0' ? directory : "/tmp";
}

// The first thing the run could not do, in words; empty when it did all.
std::string runProblem(const RunResult& result, const StatsDocument& document) {
    if (!result.logRead)
        return ui::fillIn(ui::kLogUnreadable, document.logFile(), result.logError.message());
    if (result.page == PageWriter::PageResult::ThemeUnreadable)
        return ui::fillIn(ui::kThemeUnreadable, document.themeFile(), result.pageProblem());
    if (result.page != PageWriter::PageResult::Written)
        return ui::fillIn(ui::kPageUnwritable, document.pagePath().string(), result.pageProblem());
    return {};
}

std::string copyProblem(const PageCopyResult& copy, const std::filesystem::path& page,
                        const std::string& target) {
    if (copy.readError) return ui::fillIn(ui::kPageUnreadable, page.string(), copy.readError.message());
    return ui::fillIn(ui::kPageUnwritable, target, copy.writeError.message());
}

}  // namespace

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
        return fail(ui::fillIn(ui::kPageUnwritable, temporaryDirectoryName(), error.message()));
    if (std::string problem = runProblem(document.RunGeneration(settings), document);
        !problem.empty())
        return fail(std::move(problem));

    const PageCopyResult copy = copyPage(document.pagePath(), settings.outFile);
    if (!copy.ok()) return fail(copyProblem(copy, document.pagePath(), settings.outFile));
    recentFiles.add(settings.outFile);
    return true;
}

}  // namespace zefa
