#pragma once

#include <string>

namespace zefa::site {

// The Content-Security-Policy that lets a browser do what the site's pages
// need and nothing more: their own style sheet, the inline styles of the
// match pages' theme, the leaderboard's one inline script (by its hash), the
// match pages in the frames of their season pages; no connection, no plugin,
// no form, nothing from elsewhere.
[[nodiscard]] std::string sitePagePolicy();

}  // namespace zefa::site
