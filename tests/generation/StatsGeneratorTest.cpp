#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

#include "generation/StatsGenerator.h"
#include "support/ScratchDir.h"

namespace zefa {
namespace {

// cli_tests run the generator end to end; these pin what the command line
// cannot reach.
// The message set decides which lines are kills and how the page names the weapon.
TEST(GenerationRun, OnlyVersionTwoSelectsTheNewerMessagesAndWeaponNames) {
    const test::ScratchDir dir;
    test::writeFile(dir / "match.log", "Ann was pummeled by Tom\nAnn was chopped to bits by Tom\n");
    for (const std::int32_t version : {0, 1, 3, 2}) {
        StatsGenerator generator({
            .logFile = dir / "match.log",
            .themeText = "<= PLAYERLOOP =>\n<= WEAPKILLLOOP =>\n<= WEAPON =>\n<= ENDLOOP =>\n<= "
                         "ENDLOOP =>\n",
            .outputFile = dir / "page.html",
            .gameVersion = version,
        });
        EXPECT_TRUE(generator.Run().ok());
        const bool newer = version == kGameVersionBeta2;
        EXPECT_EQ(generator.gameVersion(), newer ? 2 : 1) << version;
        EXPECT_EQ(test::readFile(dir / "page.html"), newer ? "Axe" : "Gauntlet") << version;
    }
}

// One compiled classifier serves every log of a run: reading many logs, of
// both message sets, through one cache gives each exactly what a run of its
// own gives, with a fixed version and with the automatic choice, which notes
// the events its version notes alone.
TEST(GenerationRun, LogsReadThroughSharedClassifiersReadAsAlone) {
    std::vector<std::filesystem::path> logs = {ZEFA_EXAMPLES_DIR "/beta1h-ctf.log",
                                               ZEFA_EXAMPLES_DIR "/beta2-ctf.log"};
    for (const auto& entry : std::filesystem::directory_iterator(ZEFA_EXAMPLES_DIR "/season"))
        logs.push_back(entry.path());
    const auto run = [](const std::filesystem::path& log, std::optional<std::int32_t> version,
                        ClassifierCache* classifiers) {
        StatsGenerator generator({.logFile = log,
                                  .gameVersion = version,
                                  .classifiers = classifiers,
                                  .recordEvents = true});
        EXPECT_TRUE(generator.runWithoutPage().logRead) << log;
        return generator;
    };
    ClassifierCache shared;
    for (const std::optional<std::int32_t> version :
         {std::optional(1), std::optional(2), std::optional<std::int32_t>()}) {
        for (const std::filesystem::path& log : logs) {
            const StatsGenerator alone = run(log, version, nullptr);
            const StatsGenerator sharing = run(log, version, &shared);
            EXPECT_TRUE(sharing.stats() == alone.stats()) << log;
            EXPECT_EQ(sharing.gameVersion(), alone.gameVersion()) << log;
            EXPECT_EQ(sharing.events().lines, alone.events().lines) << log;
            EXPECT_EQ(sharing.events().renames, alone.events().renames) << log;
            // Both message sets read at once note what the chosen one notes alone.
            if (!version) {
                EXPECT_EQ(alone.events().lines,
                          run(log, alone.gameVersion(), nullptr).events().lines)
                    << log;
            }
        }
    }
    const VersionTables* const older[] = {&versionTables(1)};
    EXPECT_EQ(&shared.classifier(older, kDefaultMatchEngine),
              &shared.classifier(older, kDefaultMatchEngine));
}

TEST(GenerationRun, AMissingLogIsReportedAndThePageStillWritten) {
    const test::ScratchDir dir;
    StatsGenerator generator(
        {.logFile = dir / "missing.log",
         .themeText = "<= NUMLINES =>\n<= AWARDSLOOP =>\nnone\n<= ENDLOOP =>\n",
         .outputFile = dir / "page.html"});
    const RunResult result = generator.Run();
    EXPECT_FALSE(result.logRead);
    EXPECT_EQ(result.logError, std::errc::no_such_file_or_directory);
    EXPECT_EQ(test::readFile(dir / "page.html"), "0none");
}

// A stored log is generated from memory: the same statistics, message set and
// page as from the file, across block edges and with a last line without a
// line feed; the page held in memory is the page file's bytes.
TEST(GenerationRun, ALogInMemoryReadsAsTheFileWithItsBytes) {
    const test::ScratchDir dir;
    std::string log = test::readFile(ZEFA_EXAMPLES_DIR "/beta2-ctf.log");
    log += std::string(70000, 'x') + "\nAnn was chopped to bits by Tom";
    test::writeFile(dir / "match.log", log);
    const std::string theme =
        "<= NUMLINES =>\n<= PLAYERLOOP =>\n<= NAME => <= KILLS =>\n<= ENDLOOP =>\n";
    StatsGenerator fromFile({.logFile = dir / "match.log",
                             .themeText = theme,
                             .outputFile = dir / "file.html",
                             .fixedTime = 0});
    StatsGenerator fromText({.logText = log, .themeText = theme, .fixedTime = 0});
    EXPECT_TRUE(fromFile.Run().ok());
    std::ostringstream page;
    EXPECT_TRUE(fromText.Run(page).ok());
    EXPECT_EQ(fromText.gameVersion(), kGameVersionBeta2);
    EXPECT_EQ(fromText.stats(), fromFile.stats());
    EXPECT_EQ(page.str(), test::readFile(dir / "file.html"));
}

// Comparing with the other message set tells which fits the log better and
// leaves the statistics of the chosen set as they are.
TEST(GenerationRun, AFixedVersionCanTellThatTheOtherSetReadsTheLogBetter) {
    const test::ScratchDir dir;
    for (const std::int32_t version : {1, 2}) {
        GenerationRequest request{.logFile = ZEFA_EXAMPLES_DIR "/beta2-ctf.log",
                                  .themeText = "<= NUMLINES =>\n",
                                  .outputFile = dir / "page.html",
                                  .gameVersion = version};
        StatsGenerator alone(request);
        request.compareVersions = true;
        StatsGenerator compared(request);
        EXPECT_EQ(compared.Run().otherVersionReadsBetter, version == 1) << version;
        EXPECT_FALSE(alone.Run().otherVersionReadsBetter);
        EXPECT_EQ(compared.gameVersion(), version);
        EXPECT_EQ(compared.stats(), alone.stats()) << version;
    }
}

}  // namespace
}  // namespace zefa
