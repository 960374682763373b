#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zefa::upload {

// The token in the file at `path`: its one word, URL-safe base64 (letters,
// digits, '-', '_', '='), blanks around it ignored. Nullopt with the reason
// when the file cannot be read, other users may read or change it, or it
// holds anything else; the reason never quotes the file's content.
[[nodiscard]] std::optional<std::string> readTokenFile(const std::filesystem::path& path,
                                                       std::string& whyNot);

}  // namespace zefa::upload
