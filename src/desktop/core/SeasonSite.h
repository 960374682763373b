#pragma once

#include <filesystem>
#include <string>

#include "desktop/core/UserMessage.h"
#include "site/SiteUpdate.h"

namespace zefa::desktop {

// Brings the site of the season store at `store` in `folder` up to date (see
// site::updateSite); what went wrong, in words for the user, in `problem`
// (empty when nothing did).
site::SiteReport updateSeasonSite(const std::filesystem::path& store,
                                  const std::filesystem::path& folder,
                                  const site::SiteOptions& options, std::string& problem);

// File > Save Site As...: the site of the season store at `store` written
// into `folder`, a folder of the user's; what became of it in words.
[[nodiscard]] UserMessage saveSeasonSite(const std::filesystem::path& store,
                                         const std::filesystem::path& folder,
                                         const site::SiteOptions& options);

}  // namespace zefa::desktop
