#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace zefa {

// The whole theme file as bytes, or nothing with the reason it could not be
// read (a directory opens but fails at the first read).
[[nodiscard]] std::optional<std::string> readThemeFile(const std::filesystem::path& path,
                                                       std::error_code& error);

}  // namespace zefa
