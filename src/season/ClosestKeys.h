#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zefa::season {

// The edit distance of two keys: the fewest bytes inserted, deleted or
// replaced to turn one into the other.
[[nodiscard]] std::size_t editDistance(std::string_view a, std::string_view b);

// At most `count` keys of `known` nearest to `key`, nearest first, keys
// equally near in byte order: the keys a mistyped key was likely meant as.
[[nodiscard]] std::vector<std::string> closestKeys(std::string_view key,
                                                   std::vector<std::string> known,
                                                   std::size_t count);

}  // namespace zefa::season
