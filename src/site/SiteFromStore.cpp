#include "site/SiteFromStore.h"

#include "season/SeasonJson.h"
#include "site/FolderListing.h"
#include "site/SiteChanges.h"
#include "site/SitePaths.h"

namespace zefa::site {

namespace {

// The site in `folder` when it shows the store as it stands, with every file
// it recorded still there: its pages, counted as kept. Looked at in the
// record's text and one listing of the folders, so that it costs little at
// a league's size.
std::optional<SiteReport> unchangedSite(season::SeasonStore& store,
                                        const std::filesystem::path& folder,
                                        const SiteOptions& options) {
    if (!unfitFolder(folder).empty()) return std::nullopt;
    const std::optional<std::string> text = SiteRecord::readText(folder);
    if (!text) return std::nullopt;
    SiteRecord index;  // the index's line alone: what the whole site was made from
    SiteRecord::forEachFile(*text, [&](std::string_view page, std::string_view inputs) {
        if (page == kIndexPage) index.add(page, inputs);
        return page != kIndexPage;
    });
    if (!SiteChanges::current(index, store.changeSequence(), options)) return std::nullopt;
    const FolderListing present(folder);
    SiteReport report;
    bool whole = true;
    std::size_t at = 0;
    // The record lists its files in order (else this finds one missing, and
    // the site is looked at as a whole).
    SiteRecord::forEachFile(*text, [&](std::string_view page, std::string_view) {
        whole = present.containsNext(page, at);
        // The pages, as a run counts them.
        report.kept += page.ends_with(".html") || page.ends_with(".html.gz");
        return whole;
    });
    if (!whole) return std::nullopt;
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
