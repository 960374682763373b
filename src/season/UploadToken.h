#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zefa::season {

// A token the season server takes uploads with: 192 random bits written as
// 32 characters of URL-safe base64. The store keeps only its hash.
[[nodiscard]] std::string newUploadToken();

// What the store keeps of a token: its SHA-256, 64 hexadecimal digits.
[[nodiscard]] std::string uploadTokenHash(std::string_view token);

// Why a token's label cannot be used (it names the sender on the season's
// pages, which are ISO-8859-1, and in the request log); nullopt when it can:
// 1 to 64 characters of printable ASCII, and not "imported", which names the
// recordings stored by `season import`.
[[nodiscard]] std::optional<std::string> unfitTokenLabel(std::string_view label);

}  // namespace zefa::season
