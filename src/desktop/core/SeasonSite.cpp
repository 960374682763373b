#include "desktop/core/SeasonSite.h"

#include <optional>

#include "desktop/core/MessageText.h"
#include "site/SiteFromStore.h"

namespace zefa::desktop {

site::SiteReport updateSeasonSite(const std::filesystem::path& store,
                                  const std::filesystem::path& folder,
                                  const site::SiteOptions& options, std::string& problem) {
    site::SiteReport report;
    std::optional<season::SeasonStore> seasonStore;
    try {
        seasonStore = season::SeasonStore::open(store, season::SeasonStore::OpenMode::ReadOnly);
    } catch (const season::SeasonError& error) {
        problem = fillIn(kSeasonUnusable, store.string(), error.reason());
        return report;
    }
    try {
        report = site::updateSiteFromStore(*seasonStore, folder, options);
    } catch (const season::SeasonError& error) {
        problem = fillIn(kSeasonFailed, store.string(), error.reason());
        return report;
    }
    if (!report.refused.empty()) {
        problem = fillIn(kSeasonSiteRefused, folder.string(), report.refused);
    } else if (!report.ok()) {
        std::string lines;
        for (const std::string& line : report.problems) lines += "\n" + line;
        problem = fillIn(kSeasonPagesMissing, store.string(), lines);
    }
    return report;
}

UserMessage saveSeasonSite(const std::filesystem::path& store, const std::filesystem::path& folder,
                           const site::SiteOptions& options) {
    std::string problem;
    const site::SiteReport report = updateSeasonSite(store, folder, options, problem);
    if (!problem.empty()) return {kAppTitle, problem};
    const std::string counts = std::to_string(report.written) + " pages written, " +
                               std::to_string(report.kept) + " kept, " +
                               std::to_string(report.removed) + " removed";
    return {kAppTitle, fillIn(kSeasonSiteSaved, folder.string(), counts), false};
}

}  // namespace zefa::desktop
