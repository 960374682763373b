#include <gtest/gtest.h>

#include "awards/StatsGenerator.h"
#include "support/ScratchDir.h"

namespace zefa {
namespace {

// One page per run: the number of lines read, then the award names, or the
// awards loop's empty form.
constexpr std::string_view kTheme =
    "<= NUMLINES =>\n"
    "<= AWARDSLOOP =>\n"
    "<= AWARDNAME =>\n"
    "none\n"
    "<= ENDLOOP =>\n";

struct GeneratedPage {
    test::ScratchDir dir;
    StatsGenerator generator;
    RunResult result;
    std::string page;

    GeneratedPage(const std::string& log, std::optional<std::int32_t> version,
                  bool allAwards = true) {
        test::writeFile(dir / "match.log", log);
        generator.SetLogFile(dir / (log.empty() ? "missing.log" : "match.log"));
        generator.SetThemeText(std::string(kTheme));
        generator.SetOutputFile(dir / "page.html");
        if (version) {
            generator.SetGameVersion(*version);
        } else {
            generator.SetAutoGameVersion();
        }
        for (std::int32_t i = 0; i < kAwardCount; ++i) generator.awards().setSelected(i, allAwards);
        result = generator.Run();
        page = test::readFile(dir / "page.html");
    }
};

// Only the newer message set knows this kill; both know the railgun.
const std::string kBeta2Kill = "Ann gets her legs blown off by Tom\n";
const std::string kSharedKill = "Ann was railed by Tom\n";

TEST(GenerationRun, VersionTwoAloneSelectsTheNewerMessages) {
    for (const std::int32_t version : {0, 1, 3, 2}) {
        const GeneratedPage run(kBeta2Kill, version);
        const bool newer = version == kGameVersionBeta2;
        EXPECT_EQ(run.generator.gameVersion(), newer ? 2 : 1);
        EXPECT_EQ(run.generator.stats().players.size(), newer ? 2u : 0u) << version;
    }
}

TEST(GenerationRun, AutomaticVersionKeepsTheSetThatRecognisesMore) {
    EXPECT_EQ(GeneratedPage(kSharedKill + kBeta2Kill, std::nullopt).generator.gameVersion(), 2);
    const GeneratedPage tie(kSharedKill, std::nullopt);
    EXPECT_EQ(tie.generator.gameVersion(), 1);
    EXPECT_EQ(tie.generator.stats().players.size(), 2u);
}

TEST(GenerationRun, WritesThePageFromTheFinishedStatistics) {
    GeneratedPage run(kSharedKill + kSharedKill, kGameVersionBeta2);
    EXPECT_TRUE(run.result.ok());
        EXPECT_NE(run.page.find("2AutoAimer AwardnoneFragmaster Awardnone"), std::string::npos);
    EXPECT_GE(run.generator.writer().elapsedMs, 0);
}

TEST(GenerationRun, MissingLogAndNoAwardsStillWriteThePage) {
    const GeneratedPage missing("", kGameVersionBeta1H);
    EXPECT_FALSE(missing.result.logRead);
    EXPECT_EQ(missing.result.logError, std::errc::no_such_file_or_directory);
    EXPECT_EQ(missing.page, "0none");

    const GeneratedPage unselected(kSharedKill, kGameVersionBeta1H, false);
    EXPECT_TRUE(unselected.result.ok());
    EXPECT_EQ(unselected.page, "1none");
}

}  // namespace
}  // namespace zefa
