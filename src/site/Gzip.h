#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zefa::site {

// Match pages of a league's site are kept gzip-compressed (about a tenth of
// their size), to be served as they are to browsers, which all accept gzip.
// The stream carries no name and no time, so equal pages compress to equal
// bytes and a rebuild finds them unchanged.
[[nodiscard]] std::string gzip(std::string_view bytes);

// The bytes a gzip stream holds; nullopt when it is not a whole, sound gzip
// stream or would grow beyond `limit` bytes.
[[nodiscard]] std::optional<std::string> gunzip(std::string_view stream, std::size_t limit);

}  // namespace zefa::site
