#include "site/SiteFromStore.h"

#include "season/SeasonJson.h"
#include "site/SiteChanges.h"

namespace zefa::site {

namespace {

// The site in `folder` when it shows the store as it stands, with every file
// it recorded still there: its pages, counted as kept.
std::optional<SiteReport> unchangedSite(season::SeasonStore& store,
                                        const std::filesystem::path& folder,
                                        const SiteOptions& options) {
    if (!unfitFolder(folder).empty()) return std::nullopt;
    const std::optional<SiteRecord> earlier = SiteRecord::read(folder);
    if (!earlier || !SiteChanges::current(*earlier, store.changeSequence(), options))
        return std::nullopt;
    SiteReport report;
    std::error_code error;
    for (const auto& [page, inputs] : earlier->files()) {
        if (!std::filesystem::exists(folder / page, error)) return std::nullopt;
        report.kept += page.ends_with(".html");  // the pages, as a run counts them
    }
    return report;
}

}  // namespace

SiteReport updateSiteFromStore(season::SeasonStore& store, const std::filesystem::path& folder,
                               const SiteOptions& options) {
    if (auto unchanged = unchangedSite(store, folder, options)) return *unchanged;
    const season::SeasonSnapshot snapshot = store.snapshot(options.since);
    const auto readLog = [&store](std::int64_t id) { return store.matchLog(id); };
    const auto writeJson = [&snapshot](std::ostream& out) {
        season::writeSeasonJson(out, snapshot);
    };
    return updateSite(folder, snapshot, writeJson, readLog, options);
}

}  // namespace zefa::site
