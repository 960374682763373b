#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zefa::season {

// "YYYY-MM-DD", optionally followed by "THH:MM" or "THH:MM:SS" (a space may
// stand for the T) and a zone, "Z" or "+HH:MM"/"-HH:MM". Without a zone the
// time is UTC, so a store's order does not depend on where it is read.
// Seconds since the epoch; nullopt when the text is not such a time.
[[nodiscard]] std::optional<std::int64_t> parseIsoTime(std::string_view text);

// "YYYY-MM-DDTHH:MM:SSZ".
[[nodiscard]] std::string formatUtc(std::int64_t seconds);

}  // namespace zefa::season
