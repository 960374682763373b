#include "season/StoreSite.h"

#include "season/SeasonJson.h"

namespace zefa::season {

SiteReport writeStoreSite(SeasonStore& store, const std::filesystem::path& folder,
                          const SiteOptions& options, std::optional<std::int64_t> since) {
    const SeasonSnapshot snapshot = store.snapshot(since);
    // A log that cannot be read costs its own page only.
    const auto readLog = [&store](std::int64_t id, MatchLog& log, std::string& error) {
        try {
            auto stored = store.matchLog(id);
            if (!stored) return error = "no such match", false;
            log = {std::move(stored->bytes), stored->gameVersion};
            return true;
        } catch (const SqliteError& failure) {
            return error = failure.what(), false;
        }
    };
    const auto writeJson = [&snapshot](std::ostream& out) { writeSeasonJson(out, snapshot); };
    return writeSite(folder, snapshot, writeJson, readLog, options);
}

}  // namespace zefa::season
