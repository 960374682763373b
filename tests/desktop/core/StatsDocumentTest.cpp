#include <gtest/gtest.h>

#include "desktop/core/StatsDocument.h"
#include "support/ScratchDir.h"

namespace zefa::desktop {
namespace {

namespace fs = std::filesystem;

TEST(Document, EveryRunStartsAfreshIntoTheSamePageFile) {
    const test::ScratchDir dir;
    test::writeFile(dir / "one.log", "Ann was railed by Tom\nAnn was railed by Tom\n");
    test::writeFile(dir / "two.log", "Bob was railed by Eve\n");
    test::writeFile(dir / "list.thm",
                    "<= NUMLINES =>\n<= PLAYERLOOP =>\n<= STRIPPEDNAME =>\n<= ENDLOOP =>\n");
    StatsDocument document(0);
    ASSERT_FALSE(document.reservePage(".html"));
    const fs::path page = document.pagePath();
    document.setThemeFile((dir / "list.thm").string());
    GenerationSettings settings;

    document.setLogFile((dir / "one.log").string());
    EXPECT_TRUE(document.RunGeneration(settings).ok());
    EXPECT_EQ(test::readFile(page), "2AnnTom");
    document.setLogFile((dir / "two.log").string());
    settings.gameVersion = 3;
    EXPECT_TRUE(document.RunGeneration(settings).ok());
    EXPECT_EQ(document.pagePath(), page);
    EXPECT_EQ(test::readFile(page), "1BobEve");
    EXPECT_EQ(document.generator()->stats().players.size(), 2u);
    EXPECT_EQ(document.generator()->gameVersion(), 1) << "only 2 is the newer set";

    document.setThemeFile((dir / "missing.thm").string());
    const RunResult failed = document.RunGeneration(settings);
    EXPECT_EQ(failed.page, PageWriter::PageResult::ThemeUnreadable);
    EXPECT_EQ(failed.pageProblem(), "No such file or directory");
    EXPECT_EQ(test::readFile(page), "") << "no earlier page may survive a failed run";
}

}  // namespace
}  // namespace zefa::desktop
