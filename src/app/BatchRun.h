#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/GenerationSettings.h"
#include "app/RecentFileList.h"

namespace zefa {

// A message for the user: a message box where there is a display, a line on
// standard error where there is none.
struct UserMessage {
    std::string_view caption;
    std::string text;
    bool problem = true;  // false for news the user may simply acknowledge
    bool aside = false;   // a remark for standard error, never a message box
};
using MessageSink = std::function<void(const UserMessage&)>;

// The message as one line on standard error, after the program's name.
void tellOnStandardError(const UserMessage& message);

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

}  // namespace zefa
