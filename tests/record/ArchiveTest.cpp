#include "record/Archive.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace zefa::record {
namespace {

TEST(ArchiveTest, OneRecorderAtATimeAndLeftoversOfAKilledStateWriteRemoved) {
    const test::ScratchDir dir;
    std::string whyNot;
    {
        const auto first = Archive::open(dir / "recordings", whyNot);
        ASSERT_TRUE(first) << whyNot;
        test::writeFile(first->statePath(), "{}");
        test::writeFile(first->statePath().parent_path() / ".zefastats.Ab12Cd", "half");
        EXPECT_FALSE(Archive::open(dir / "recordings", whyNot));
        EXPECT_EQ(whyNot, "another recorder is using it");
    }
    const auto again = Archive::open(dir / "recordings", whyNot);
    ASSERT_TRUE(again);
    EXPECT_TRUE(std::filesystem::exists(again->statePath()));
    EXPECT_FALSE(std::filesystem::exists(again->statePath().parent_path() / ".zefastats.Ab12Cd"));
}

TEST(ArchiveTest, NamesSpoolsByTimeAndLogAndNeverTwice) {
    const test::ScratchDir dir;
    std::string whyNot;
    const auto archive = Archive::open(dir.path(), whyNot);
    ::setenv("TZ", "UTC", 1);
    const std::time_t began = 1772396103;  // 2026-03-01 20:15:03 UTC
    const auto name = [&](const std::vector<std::string>& taken) {
        return archive->newSpool("/home/a/qconsole.log", began, taken).filename().string();
    };
    EXPECT_EQ(name({}), "2026-03-01_20-15-03_qconsole.log");
    test::writeFile(dir / "2026-03-01_20-15-03_qconsole.log", "");
    EXPECT_EQ(name({"2026-03-01_20-15-03_qconsole_2.log"}), "2026-03-01_20-15-03_qconsole_3.log");
}

}  // namespace
}  // namespace zefa::record
