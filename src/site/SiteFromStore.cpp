#include "site/SiteFromStore.h"

#include "season/SeasonJson.h"

namespace zefa::site {

SiteReport updateSiteFromStore(season::SeasonStore& store, const std::filesystem::path& folder,
                               const SiteOptions& options, std::optional<std::int64_t> since) {
    const season::SeasonSnapshot snapshot = store.snapshot(since);
    const auto readLog = [&store](std::int64_t id) { return store.matchLog(id); };
    const auto writeJson = [&snapshot](std::ostream& out) {
        season::writeSeasonJson(out, snapshot);
    };
    return updateSite(folder, snapshot, writeJson, readLog, options);
}

}  // namespace zefa::site
