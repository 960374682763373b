#include "record/ImportRunner.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <cstdlib>

namespace zefa::record {
namespace {

ImportOutcome runToEnd(ImportRunner& runner, const std::string& spool) {
    std::string whyNot;
    EXPECT_TRUE(runner.start(spool, whyNot)) << whyNot;
    for (;;) {
        pollfd said{runner.descriptor(), POLLIN, 0};
        ::poll(&said, 1, 10000);
        if (auto outcome = runner.collect()) return *outcome;
    }
}

TEST(ImportRunnerTest, BringsBackTheChildsOutcomeOrWhyItHasNone) {
    ImportRunner runner([](const std::filesystem::path& spool) -> ImportOutcome {
        if (spool == "throws") throw std::runtime_error("database disk image is malformed");
        if (spool == "dies") std::abort();
        return {ImportOutcome::Kind::Refused, "no player in " + spool.string()};
    });
    const ImportOutcome refused = runToEnd(runner, "a.log");
    EXPECT_EQ(refused.kind, ImportOutcome::Kind::Refused);
    EXPECT_EQ(refused.words, "no player in a.log");
    EXPECT_FALSE(runner.busy());

    const ImportOutcome thrown = runToEnd(runner, "throws");
    EXPECT_EQ(thrown.kind, ImportOutcome::Kind::Failed);
    EXPECT_EQ(thrown.words, "database disk image is malformed");

    const ImportOutcome died = runToEnd(runner, "dies");
    EXPECT_EQ(died.kind, ImportOutcome::Kind::Failed);
    EXPECT_NE(died.words.find("ended by a signal"), std::string::npos) << died.words;
}

}  // namespace
}  // namespace zefa::record
