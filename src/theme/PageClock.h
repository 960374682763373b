#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace zefa {

// Seconds since 1970 of a page's DATE and TIME, 64 bits wide in every build:
// the browser build's time_t has 32, which end in January 2038.
using PageSeconds = std::int64_t;

// The local calendar time of `seconds`, or of now when unset; none when the
// calendar cannot hold it. The browser build asks the browser's own clock
// and time zone.
[[nodiscard]] std::optional<std::tm> localPageTime(std::optional<PageSeconds> seconds);

}  // namespace zefa
