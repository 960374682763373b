#pragma once

#include <cstdint>
#include <filesystem>

#include "desktop/core/UserMessage.h"

namespace zefa::desktop {

// What became of a console log given to a season store.
struct SeasonImportOutcome {
    UserMessage told;     // in words for the user
    bool stored = false;  // the store holds one match more
};

// Stores the console log `logFile`, read with the message set `gameVersion`
// and played when the file was last written, in the season store at `store`
// (made when missing), unless the store holds its match already.
[[nodiscard]] SeasonImportOutcome storeInSeason(const std::filesystem::path& store,
                                                const std::filesystem::path& logFile,
                                                std::int32_t gameVersion);

}  // namespace zefa::desktop
