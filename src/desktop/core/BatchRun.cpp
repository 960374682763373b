#include "desktop/core/BatchRun.h"

#include "desktop/core/MessageText.h"
#include "desktop/core/PageCopy.h"
#include "desktop/core/StatsDocument.h"

namespace zefa::desktop {

bool runBatch(const std::filesystem::path& logFile, const GenerationSettings& settings,
              RecentFileList& recentFiles, std::optional<std::time_t> pageClock,
              const MessageSink& tell) {
    const auto fail = [&tell](std::string text) {
        tell({kAppTitle, std::move(text)});
        return false;
    };
    if (settings.themeFile.empty() || settings.outFile.empty()) {
        tell({kErrorCaption, std::string(kNeedsInteractiveRun)});
        return false;
    }

    const std::string logName = logFile.string();
    const auto remark = [&tell](std::string text) {
        tell({kAppTitle, std::move(text), false, true});
    };
    if (std::error_code error; std::filesystem::is_regular_file(logFile, error) &&
                               std::filesystem::file_size(logFile, error) == 0 && !error) {
        remark(fillIn(kEmptyLogKept, logName, settings.outFile));
        return true;
    }

    StatsDocument document(pageClock);
    document.setLogFile(logName);
    document.setThemeFile(settings.themeFile);
    if (const std::error_code error = document.reservePage(""))
        return fail(fillIn(kPageUnwritable, TemporaryPage::directoryName(), error.message()));
    if (std::string problem = document.problemOf(document.RunGeneration(settings));
        !problem.empty())
        return fail(std::move(problem));

    const PageCopyResult copy = copyPage(document.pagePath(), settings.outFile);
    if (!copy.ok()) return fail(copy.problem(document.pagePath(), settings.outFile));
    recentFiles.add(settings.outFile);
    const VersionReading& reading = *document.versionReading();
    if (reading.detected) remark(fillIn(kVersionUsed, logName, reading.description()));
    if (reading.otherReadsBetter)
        remark(fillIn(kOtherVersionBetter, logName, versionName(reading.otherVersion())));
    return true;
}

}  // namespace zefa::desktop
