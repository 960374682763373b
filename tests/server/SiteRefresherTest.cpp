#include "server/SiteRefresher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace zefa::server {
namespace {

// Requests made while a rebuild runs are taken in by one next rebuild, and
// two rebuilds never overlap.
TEST(SiteRefresherTest, RequestsDuringARebuildMakeOneMoreRebuild) {
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> rebuilds{0};
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    {
        SiteRefresher refresher([&] {
            if (running.fetch_add(1) > 0) overlapped = true;
            if (rebuilds.fetch_add(1) == 0) {
                started.set_value();
                released.wait();
            }
            running.fetch_sub(1);
        });
        refresher.request();
        started.get_future().wait();
        for (int upload = 0; upload < 50; ++upload) refresher.request();
        release.set_value();
    }  // ends after the rebuild asked for
    EXPECT_EQ(rebuilds, 2);
    EXPECT_FALSE(overlapped);
}

}  // namespace
}  // namespace zefa::server
