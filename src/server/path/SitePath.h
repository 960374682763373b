#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zefa::server {

// The path part of a request's target: what comes before '?' or '#'.
[[nodiscard]] std::string_view targetPath(std::string_view target);

// The file of the site that a request's target (as the client sent it,
// percent-encoded, perhaps with a query) names, relative to the site's
// folder: "/" is "index.html", "/players/viper.html" is "players/viper.html",
// a folder ("/matches/") its index.html. Nullopt for every target that could
// name anything else: not beginning with '/', a bad or encoded NUL or control
// byte, a backslash, an empty, "." or ".." segment or one beginning with '.'
// (the site's own record), however encoded, or longer than a file name may be.
[[nodiscard]] std::optional<std::string> sitePath(std::string_view target);

}  // namespace zefa::server
