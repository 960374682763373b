#pragma once

#include <string>
#include <string_view>

namespace zefa::season {

// The season player a record of a match belongs to: its stripped name with
// A-Z lowered, so colour codes and case do not split a player; where that is
// empty, the normalised name itself.
[[nodiscard]] std::string playerKey(std::string_view normalisedName, std::string_view strippedName);

// The key of a name typed by a user or read from a rename line: normalised
// and stripped first, as the reader does with every raw name.
[[nodiscard]] std::string playerKeyOfRawName(std::string_view rawName);

}  // namespace zefa::season
