#pragma once

#include <string>

#include "season/SeasonStore.h"

namespace zefa::cli {

// What became of a log handed to the store, as `season import` and `record`
// say it: "stored as match 12", "already stored as match 12", ...
[[nodiscard]] std::string importWords(const season::ImportResult& result);

}  // namespace zefa::cli
