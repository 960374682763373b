#include "site/SitePages.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace zefa::site {
namespace {

TEST(SitePagesTest, StyleSheetKeepsTheThemesLookButNotItsRulesOnDescendants) {
    const std::string style =
        styleSheet(test::readFile(std::filesystem::path(ZEFA_THEMES_DIR) / "default.thm"));
    EXPECT_NE(style.find(".color1 {\n  color: #ff5c5c;\n}"), std::string::npos);
    EXPECT_NE(style.find("@media print {"), std::string::npos);
    EXPECT_NE(style.find(".legend .suicide {"), std::string::npos);
    EXPECT_EQ(style.find(":has("), std::string::npos);
    EXPECT_EQ(style.find("<"), std::string::npos);
}

}  // namespace
}  // namespace zefa::site
