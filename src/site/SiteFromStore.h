#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "season/SeasonStore.h"
#include "site/SiteUpdate.h"

namespace zefa::site {

// Brings the site of the store's season (the matches played at or after
// `since`) in `folder` up to date, its match pages made from the logs the
// store keeps; see updateSite. A log the store cannot give costs its own page
// only; the season itself read from the store throws season::SeasonError
// when the store fails.
[[nodiscard]] SiteReport updateSiteFromStore(season::SeasonStore& store,
                                             const std::filesystem::path& folder,
                                             const SiteOptions& options,
                                             std::optional<std::int64_t> since = std::nullopt);

}  // namespace zefa::site
