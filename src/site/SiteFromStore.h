#pragma once

#include <filesystem>

#include "season/SeasonStore.h"
#include "site/SiteUpdate.h"

namespace zefa::site {

// Brings the site of the store's season (the matches played at or after
// `options.since`) in `folder` up to date, its match pages made from the logs
// the store keeps; see updateSite. When nothing changed in the store since
// the site was made with the same options, it reads the store's change number
// alone and writes nothing. The season is read a match at a time and kept
// slim (SiteSeason); the matches whose data files are to be written are kept
// whole while they are a page's worth, else read again, on a thread of
// their own beside the pages (SeasonStore::reader). A log the store
// cannot give costs its own page only; the season itself read from the store
// throws season::SeasonError when the store fails.
[[nodiscard]] SiteReport updateSiteFromStore(season::SeasonStore& store,
                                             const std::filesystem::path& folder,
                                             const SiteOptions& options);

}  // namespace zefa::site
