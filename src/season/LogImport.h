#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "parser/ClassifierCache.h"
#include "season/ImportPlan.h"
#include "season/SeasonStore.h"

namespace zefa::season {

struct LogImportOptions {
    std::optional<std::int32_t> gameVersion{};  // unset: chosen from the log
    std::optional<std::int64_t> playedAt{};     // unset: the file's modification time
    bool keepOverlap = false;
};

// A log read for the store, ready to be handed to it.
struct ReadLog {
    MatchReading reading;
    std::string file;  // its file name, without the folder
    std::int64_t playedAt = 0;
};

// Reads the console log at `path` (with the classifiers of `classifiers`,
// shared by the logs of one thread of an import). Nullopt with the reason in
// `whyNot` when the file cannot be read or holds no match.
[[nodiscard]] std::optional<ReadLog> readLogForImport(const std::filesystem::path& path,
                                                      const LogImportOptions& options,
                                                      ClassifierCache& classifiers,
                                                      std::string& whyNot);

// Reads the console log at `path` and hands it to the store under its file
// name. Nullopt with the reason in `whyNot` when the file cannot be read or
// holds no match. Ratings are brought up to date by the store's updateRatings().
[[nodiscard]] std::optional<ImportResult> importLogFile(SeasonStore& store,
                                                        const std::filesystem::path& path,
                                                        const LogImportOptions& options,
                                                        ClassifierCache& classifiers,
                                                        std::string& whyNot);

// What became of one log of importLogFiles(): `result`, or not stored for
// `whyNot` (an empty log: neither read nor stored, `whyNot` empty).
struct LogOutcome {
    std::optional<ImportResult> result;
    std::string whyNot;
};
using ReportImport = std::function<void(std::size_t log, const LogOutcome& outcome)>;

// Imports the logs, each at its own time (`options.playedAt` is not read):
// up to `threads` of them are read at once while this thread stores them in
// their order, many to a transaction, so the store holds what importLogFile()
// of each in turn would leave. `report` hears of each log in that order once
// the transaction that holds it is committed: a kill never loses a log it
// heard of. A failure is thrown once the logs before the one that failed are
// stored and reported. Ratings are brought up to date by the store's
// updateRatings().
void importLogFiles(SeasonStore& store, std::span<const PlannedLog> logs,
                    const LogImportOptions& options, unsigned threads, const ReportImport& report);

}  // namespace zefa::season
