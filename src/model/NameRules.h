#pragma once

#include <string>
#include <string_view>

namespace zefa {

// The key under which a raw player name is stored: leading "^3" and "^7"
// codes and a trailing "^7" are dropped, the rest is cut to 27 characters,
// a trailing "^*" is dropped and "^7" appended. Names of fewer than two
// characters after the leading codes are kept as they are.
[[nodiscard]] std::string normaliseName(std::string_view raw);

// The text without colour codes: a caret and the character after it vanish.
[[nodiscard]] std::string stripColourCodes(std::string_view text);

}  // namespace zefa
