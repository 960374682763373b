#pragma once

#include <cstdint>
#include <filesystem>

namespace zefa {

// A console log of `lineCount` lines drawn with a fixed seed from every kind
// of line the classifier knows (kills of both message sets, flag runs,
// suicides, environment deaths, defenses, renames, chat) and from noise
// that matches nothing. Written once per process into the temporary directory.
const std::filesystem::path& benchLog(std::int32_t lineCount);

}  // namespace zefa
