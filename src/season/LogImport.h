#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "parser/ClassifierCache.h"
#include "season/SeasonStore.h"

namespace zefa::season {

struct LogImportOptions {
    std::optional<std::int32_t> gameVersion{};  // unset: chosen from the log
    std::optional<std::int64_t> playedAt{};     // unset: the file's modification time
    bool keepOverlap = false;
};

// Reads the console log at `path` (with the classifiers of `classifiers`,
// shared by the logs of one import) and hands it to the store under its file
// name. Nullopt with the reason in `whyNot` when the file cannot be read or
// holds no match. Ratings are brought up to date by the store's updateRatings().
[[nodiscard]] std::optional<ImportResult> importLogFile(SeasonStore& store,
                                                        const std::filesystem::path& path,
                                                        const LogImportOptions& options,
                                                        ClassifierCache& classifiers,
                                                        std::string& whyNot);

}  // namespace zefa::season
