#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "awards/AwardTable.h"
#include "theme/PageClock.h"

namespace zefa::web {

// One generation asked for by the browser page: everything arrives in memory.
struct PageRequest {
    std::string log;
    std::string theme;
    std::array<bool, kAwardCount> awards = allAwards();
    std::int32_t gameVersion = 0;      // 1 or 2; 0 detects the message set from the log
    std::optional<PageSeconds> clock;  // the page's date and time; unset: now

    static std::array<bool, kAwardCount> allAwards() {
        std::array<bool, kAwardCount> all{};
        all.fill(true);
        return all;
    }
};

// The page and the statistics as `zefastats` writes them for the same
// inputs, or the reason there are none.
struct GeneratedPage {
    std::string error;  // empty on success; otherwise page and json are empty
    std::string page;
    std::string json;
    std::int32_t gameVersion = 0;  // the message set used
};

[[nodiscard]] GeneratedPage generatePage(PageRequest request);

}  // namespace zefa::web
