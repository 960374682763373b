#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "season/SeasonStore.h"
#include "season/SiteWriter.h"

namespace zefa::season {

// Writes the site of the store's season (the matches played at or after
// `since`) into `folder`, its match pages made from the logs the store keeps;
// see writeSite. Failures of SQLite while reading the season are thrown as
// SqliteError.
[[nodiscard]] SiteReport writeStoreSite(SeasonStore& store, const std::filesystem::path& folder,
                                        const SiteOptions& options,
                                        std::optional<std::int64_t> since = std::nullopt);

}  // namespace zefa::season
