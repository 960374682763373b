#include "server/RateLimiter.h"

#include <gtest/gtest.h>

namespace zefa::server {
namespace {

// A burst, then turns at the rate; each key on its own.
TEST(RateLimiterTest, ABurstThenTheRateForEachKey) {
    RateLimiter limiter(3, 60);  // three at once, then one a second
    for (int turn = 0; turn < 3; ++turn) EXPECT_TRUE(limiter.take("Viper", 100.0));
    EXPECT_FALSE(limiter.take("Viper", 100.0));
    EXPECT_EQ(limiter.secondsUntilTurn("Viper", 100.0), 1);
    EXPECT_TRUE(limiter.take("Zed", 100.0));
    EXPECT_FALSE(limiter.take("Viper", 100.5));
    EXPECT_TRUE(limiter.take("Viper", 101.0));
    EXPECT_TRUE(limiter.allows("Viper", 1000.0));
    for (int turn = 0; turn < 3; ++turn) EXPECT_TRUE(limiter.take("Viper", 1000.0));
    EXPECT_FALSE(limiter.allows("Viper", 1000.0));
}

}  // namespace
}  // namespace zefa::server
