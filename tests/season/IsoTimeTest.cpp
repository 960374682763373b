#include "season/IsoTime.h"

#include <gtest/gtest.h>

namespace zefa::season {
namespace {

TEST(IsoTimeTest, ReadsIsoTimesAndWritesUtc) {
    EXPECT_EQ(parseIsoTime("2026-03-02T20:00:00Z"), 1772481600);
    EXPECT_EQ(parseIsoTime("2026-03-02 21:30+01:30"), 1772481600);
    EXPECT_EQ(parseIsoTime("2026-03-02"), 1772409600);
    for (const char* bad :
         {"2026-02-30", "2026-3-2", "2026-03-02T25:00", "2026-03-02Tx", "tomorrow", ""})
        EXPECT_FALSE(parseIsoTime(bad)) << bad;
    EXPECT_EQ(formatUtc(1772481600), "2026-03-02T20:00:00Z");
}

}  // namespace
}  // namespace zefa::season
