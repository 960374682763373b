#include <gtest/gtest.h>

#include "awards/StatsGenerator.h"
#include "support/ScratchDir.h"

namespace zefa {
namespace {

// cli_tests run the generator end to end; these pin what the command line
// cannot reach.
TEST(GenerationRun, OnlyVersionTwoSelectsTheNewerMessages) {
    for (const std::int32_t version : {0, 1, 3, 2}) {
        StatsGenerator generator;
        generator.SetGameVersion(version);
        EXPECT_EQ(generator.gameVersion(), version == kGameVersionBeta2 ? 2 : 1) << version;
    }
}

TEST(GenerationRun, AMissingLogIsReportedAndThePageStillWritten) {
    const test::ScratchDir dir;
    StatsGenerator generator;
    generator.SetLogFile(dir / "missing.log");
    generator.SetThemeText("<= NUMLINES =>\n<= AWARDSLOOP =>\nnone\n<= ENDLOOP =>\n");
    generator.SetOutputFile(dir / "page.html");
    const RunResult result = generator.Run();
    EXPECT_FALSE(result.logRead);
    EXPECT_EQ(result.logError, std::errc::no_such_file_or_directory);
    EXPECT_EQ(test::readFile(dir / "page.html"), "0none");
}

}  // namespace
}  // namespace zefa
