#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zefa::season {

// The whole file; nullopt with the reason (strerror) when it cannot be read.
[[nodiscard]] std::optional<std::string> readLogFile(const std::string& path, std::string& reason);

// The SHA-256 of the bytes, 64 lower-case hexadecimal digits.
[[nodiscard]] std::string sha256Hex(std::string_view bytes);

// A log as kept in the store: zstd-compressed.
[[nodiscard]] std::vector<std::byte> compressLog(std::string_view bytes);
// The log again; nullopt when the bytes are not a zstd frame of `size` bytes.
[[nodiscard]] std::optional<std::string> decompressLog(std::span<const std::byte> compressed,
                                                       std::size_t size);

}  // namespace zefa::season
