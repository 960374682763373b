#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zefa::site {

// Text from a log as HTML element content: colour codes become the page
// writer's font elements, everything special in HTML is escaped.
[[nodiscard]] std::string htmlText(std::string_view raw);

// Text from a log for attributes and SVG labels: colour codes dropped, the
// rest escaped, so no markup of any kind comes out.
[[nodiscard]] std::string plainText(std::string_view raw);

// "YYYY-MM-DD" and "YYYY-MM-DD HH:MM" of seconds since the epoch, UTC.
[[nodiscard]] std::string utcDate(std::int64_t seconds);
[[nodiscard]] std::string utcDateTime(std::int64_t seconds);

// Fixed point with the given number of decimals.
[[nodiscard]] std::string decimal(double value, int decimals);

}  // namespace zefa::site
