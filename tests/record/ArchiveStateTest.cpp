#include "record/ArchiveState.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace zefa::record {
namespace {

TEST(ArchiveStateTest, ReadsBackWhatItWroteAndRefusesWhatItDidNot) {
    const test::ScratchDir dir;
    const auto path = dir / "state.json";
    std::string whyNot;
    EXPECT_EQ(loadArchiveState(path, whyNot), ArchiveState{});  // a new archive

    const ArchiveState state{{{"/home/a/qconsole.log", "2026-03-01_20-15-03_qconsole.log", 4096},
                              {"/mnt/b/q \"2\".log", "", 0}},
                             {"2026-02-28_19-00-00_qconsole.log"},
                             {"2026-02-27_18-00-00_qconsole.log"}};
    ASSERT_FALSE(saveArchiveState(path, state));
    EXPECT_EQ(loadArchiveState(path, whyNot), state);

    for (const std::string damaged :
         {"", "[]", R"({"version": 2, "logs": [], "toImport": []})",
          R"({"version": 1, "logs": [{"log": "/a"}], "toImport": []})",
          R"({"version": 1, "logs": [], "toImport": [], "toSend": 3})"}) {
        SCOPED_TRACE(damaged);
        test::writeFile(path, damaged);
        whyNot.clear();
        EXPECT_FALSE(loadArchiveState(path, whyNot));
        EXPECT_FALSE(whyNot.empty());
    }
}

}  // namespace
}  // namespace zefa::record
