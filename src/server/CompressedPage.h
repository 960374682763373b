#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "server/SiteFiles.h"

namespace zefa::server {

// A page the site keeps gzip-compressed goes out as it is to a client that
// takes gzip (every browser does), and plain to one that does not.

// Whether an Accept-Encoding header's value takes gzip: "gzip" or "*" listed
// without a zero weight.
[[nodiscard]] bool acceptsGzip(std::string_view acceptEncoding);

// The plain bytes of a compressed page; nullopt when they cannot be read or
// the file is not a sound gzip stream.
[[nodiscard]] std::optional<std::string> plainPage(const SiteFile& file);

}  // namespace zefa::server
