#include <gtest/gtest.h>

#include <cstdint>

#include "parser/PatternTables.h"

namespace zefa {
namespace {

// What each version's message tables take is pinned by the example logs.
TEST(PatternTables, VersionsNameTheMeleeWeaponApart) {
    EXPECT_EQ(versionTables(kGameVersionBeta2).weaponNames[kMelee], "Axe");
    for (std::int32_t version : {0, 1, 3})
        EXPECT_EQ(versionTables(version).weaponNames[kMelee], "Gauntlet");
}

}  // namespace
}  // namespace zefa
