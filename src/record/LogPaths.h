#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zefa::record {

// The logs to follow as absolute paths, each once; nullopt with the message
// when one cannot be followed at all (a folder, not a regular file, not
// readable, or in a folder that does not exist). A log that is not there
// yet is followed: the game makes it.
[[nodiscard]] std::optional<std::vector<std::filesystem::path>> followableLogs(
    const std::vector<std::filesystem::path>& given, std::string& whyNot);

}  // namespace zefa::record
