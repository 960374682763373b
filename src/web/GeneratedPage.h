#pragma once

#include <cstdint>
#include <string>

#include "generation/GenerationRequest.h"

namespace zefa::web {

// The page and the statistics as `zefastats` writes them for the same
// inputs, or the reason there are none.
struct GeneratedPage {
    std::string error;  // empty on success; otherwise page and json are empty
    std::string page;
    std::string json;
    std::int32_t gameVersion = 0;  // the message set used
};

// One generation asked for by the browser page: the log and the theme arrive
// as text in memory (an unset one reads as empty), the page stays there.
[[nodiscard]] GeneratedPage generatePage(GenerationRequest request);

}  // namespace zefa::web
