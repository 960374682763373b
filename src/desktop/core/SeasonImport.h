#pragma once

#include <cstdint>
#include <filesystem>

#include "desktop/core/UserMessage.h"

namespace zefa::desktop {

// Stores the console log `logFile`, read with the message set `gameVersion`
// and played when the file was last written, in the season store at `store`
// (made when missing), unless the store holds its match already; what became
// of it in words for the user.
[[nodiscard]] UserMessage storeInSeason(const std::filesystem::path& store,
                                        const std::filesystem::path& logFile,
                                        std::int32_t gameVersion);

}  // namespace zefa::desktop
