#include "site/SiteFromStore.h"

#include "season/SeasonJson.h"

namespace zefa::site {

SiteReport updateSiteFromStore(season::SeasonStore& store, const std::filesystem::path& folder,
                               const SiteOptions& options, std::optional<std::int64_t> since) {
    const season::SeasonSnapshot snapshot = store.snapshot(since);
    // A log that cannot be read costs its own page only.
    const auto readLog = [&store](std::int64_t id, season::StoredLog& log, std::string& error) {
        try {
            auto stored = store.matchLog(id);
            if (!stored) return error = "no such match", false;
            log = std::move(*stored);
            return true;
        } catch (const season::SqliteError& failure) {
            return error = failure.what(), false;
        }
    };
    const auto writeJson = [&snapshot](std::ostream& out) {
        season::writeSeasonJson(out, snapshot);
    };
    return updateSite(folder, snapshot, writeJson, readLog, options);
}

}  // namespace zefa::site
