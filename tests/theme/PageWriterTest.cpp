#include <gtest/gtest.h>

#include "support/ScratchDir.h"
#include "theme/PageWriter.h"
#include "theme/RenderPage.h"

namespace zefa {
namespace {

using namespace std::string_literals;
using test::renderPage;

TEST(TopLevelTags, OnlyWholeLinesAreTagsAndLineEndsGo) {
    MatchStats stats;
    test::addPlayer(stats, "Ann");
    const std::pair<std::string, std::string> cases[] = {
        {"<= TITLE =>\n <= TITLE =>\n<= title =>\nal\nbe\n\nx\0y\n<= VERSION =>"s,
         "Zefa Stats <= TITLE =>albex2.1.5"},
        {"<= AUTHOR =>\n",
         "<a href=\"mailto:crew@zefastats.example\"><font class=\"color4\">Zefa</font>"
         "<font class=\"color7\">Stats </font><font class=\"color1\">Crew</font></a>"},
        // A nested loop's tag is unknown here; its body is read as top-level lines.
        {"<= WEAPKILLLOOP =>\n<b>^2x</b>\n<= ENDLOOP =>\n<= NOSUCHTAG =>\n",
         "<b><font class=\"color2\">x</b></font>"},
        {std::string(10000, 'w') + "\nx", std::string(10000, 'w') + "x"},
        {"<= TITLE =>\r\n<= PLAYERLOOP =>\r\n<= NAME =>\r\n<= ENDLOOP =>\r\n", "Zefa StatsAnn"},
        // The top level drops one more CR; loop bodies keep it.
        {"a\r\r\n<= PLAYERLOOP =>\nb\r\r\n<= TITLE =>\r\r\n<= ENDLOOP =>\n", "ab\r"},
    };
    for (const auto& [theme, page] : cases) EXPECT_EQ(renderPage(stats, theme), page) << theme;
}

TEST(TopLevelTags, MatchValues) {
    MatchStats stats;
    stats.teamScores = {3, 5, -7, 0};
    const PageWriter writer(42, 1234, std::nullopt);
    EXPECT_EQ(renderPage(stats,
                         "<= TEAMNAME1 =>\n<= TEAMNAME4 =>\n<= TEAMSCORE1 =>\n<= TEAMSCORE2 =>\n"
                         "<= TEAMSCORE3 =>\n<= TEAMSCORE4 =>\n<= WINORLOSS =>\n<= NUMLINES =>\n"
                         "<= DURATION =>\n",
                         AwardTable(), writer),
              "<font class=\"color1\">RED</font><font class=\"color3\">YELLOW</font>35-70"
              " was defeated by 421.23");
    stats.teamScores = {3, 3};
    EXPECT_EQ(renderPage(stats, "<= WINORLOSS =>\n<= DURATION =>"), " tied -0.00");
    stats.teamScores = {3, -4};
    EXPECT_EQ(renderPage(stats, "<= WINORLOSS =>"), " defeated ");  // DATE and TIME: cli_tests
}

TEST(PageFiles, ReportsWhatCouldNotBeReadOrWritten) {
    using Result = PageWriter::PageResult;
    const test::ScratchDir dir;
    const auto theme = dir / "theme.thm", page = dir / "page.html";
    test::writeFile(theme, "<= TITLE =>\nline\n");
    const auto write = [&page](const std::filesystem::path& from, const std::filesystem::path& to) {
        MatchStats stats;
        std::error_code themeError;
        const Result result =
            PageWriter().WritePage(stats, AwardTable(), from, to, weaponNames(1), themeError);
        EXPECT_EQ(result == Result::ThemeUnreadable, static_cast<bool>(themeError));
        return std::pair(result, test::readFile(page));
    };
    EXPECT_EQ(write(theme, page), std::pair(Result::Written, "Zefa Statsline"s));
    EXPECT_EQ(write(dir / "missing.thm", page), std::pair(Result::ThemeUnreadable, ""s));
    EXPECT_EQ(write(dir.path(), page), std::pair(Result::ThemeUnreadable, ""s));
    EXPECT_EQ(write(theme, dir / "no" / "page.html").first, Result::OutputUnwritable);
}

}  // namespace
}  // namespace zefa
