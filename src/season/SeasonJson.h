#pragma once

#include <string>

#include "season/SeasonSnapshot.h"

namespace zefa::season {

// The season as one JSON document (`zefastats season export`). Texts from
// logs are raw bytes read as ISO-8859-1, as in `zefastats --json`.
[[nodiscard]] std::string seasonJson(const SeasonSnapshot& snapshot);

}  // namespace zefa::season
