#pragma once

#include <ctime>
#include <filesystem>
#include <optional>

#include "desktop/core/GenerationSettings.h"
#include "desktop/core/RecentFileList.h"
#include "desktop/core/UserMessage.h"

namespace zefa::desktop {

// Generates the page of `logFile` with the stored theme, game version and
// awards and puts it in place of the stored output file, which then heads the
// recent-file list. Changes no setting. Anything that goes wrong is told to
// `tell` and leaves the output file as it was; the result says whether the
// page was written. An empty log (the game empties its log at every start)
// leaves the output file as it is and counts as done. The message set used
// is remarked on when it was detected or fits the log worse than the other.
bool runBatch(const std::filesystem::path& logFile, const GenerationSettings& settings,
              RecentFileList& recentFiles, std::optional<std::time_t> pageClock,
              const MessageSink& tell);

}  // namespace zefa::desktop
