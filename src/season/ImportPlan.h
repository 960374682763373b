#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zefa::season {

// When the matches of one import were played, as `--played-at` gives them:
// "TIME" for every log without a time of its own, "FILE@TIME" for one log.
// The time follows the last '@', as no time holds one, so a file name may
// itself hold '@'.
struct PlayedAtTimes {
    std::optional<std::int64_t> all;
    std::vector<std::pair<std::filesystem::path, std::int64_t>> perFile;
};

// Adds one `--played-at` text; false with the reason in `whyNot` when it is
// no time, or gives a time a second time.
bool addPlayedAt(PlayedAtTimes& times, std::string_view text, std::string& whyNot);

// One log of an import.
struct PlannedLog {
    std::filesystem::path path;
    std::optional<std::int64_t> playedAt;  // unset: the file cannot be looked at
    bool fromModificationTime = false;     // no `--played-at` gave it
    bool empty = false;                    // zero bytes, as the game leaves it when it starts
};

struct ImportPlan {
    std::vector<PlannedLog> logs;
    std::vector<std::string> unreadableFolders;  // "'FOLDER': reason"
    std::string usageError;                      // a FILE@TIME that names no single log
};

// The logs the arguments name: a file as it is; a folder, the regular files
// in it (not in its subfolders) whose names do not begin with '.', in name
// order. Each gets its time: its FILE@TIME, where FILE is the log's path or,
// without a folder, its file name; else TIME; else its modification time.
[[nodiscard]] ImportPlan planImport(const std::vector<std::string>& arguments,
                                    const PlayedAtTimes& times);

// Most logs timed by their modification time at one second, as a copy or a
// checkout leaves them: that time, how many logs share it, of how many.
struct SharedTime {
    std::int64_t time = 0;
    std::size_t logs = 0;
    std::size_t of = 0;
};
[[nodiscard]] std::optional<SharedTime> sharedModificationTime(const std::vector<PlannedLog>& logs);

}  // namespace zefa::season
