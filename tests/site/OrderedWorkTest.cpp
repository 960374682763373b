#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "site/OrderedWork.h"

namespace zefa::site {
namespace {

// The state a job runs with, which knows the thread that made it.
struct ThreadState {
    std::thread::id owner = std::this_thread::get_id();
};

struct Done {
    int job = 0;
    bool ownState = false;
    std::thread::id ranOn;
};

TEST(OrderedWorkTest, ResultsComeInTheOrderOfTheJobsWithFewInFlight) {
    for (const unsigned threads : {1U, 3U}) {
        std::vector<Done> taken;
        int given = 0;
        std::size_t mostInFlight = 0;
        OrderedWork<ThreadState, Done> work(threads, [&](Done&& done) {
            // Given and not yet taken, this one among them.
            mostInFlight = std::max(mostInFlight, std::size_t(given) + 1 - taken.size());
            taken.push_back(done);
        });
        for (; given < 300; ++given) {
            // Uneven jobs, so that later ones finish first.
            const int spin = given % 7 == 0 ? 20000 : 10;
            work.add([job = given, spin](ThreadState& state) {
                volatile int busy = 0;
                for (int i = 0; i < spin; ++i) busy = busy + i;
                return Done{job, state.owner == std::this_thread::get_id(),
                            std::this_thread::get_id()};
            });
        }
        work.finish();
        ASSERT_EQ(taken.size(), 300U) << threads;
        for (int i = 0; i < 300; ++i) {
            EXPECT_EQ(taken[std::size_t(i)].job, i) << threads;
            EXPECT_TRUE(taken[std::size_t(i)].ownState) << threads;
            // One thread: on the thread that gives the jobs; more: on their own.
            EXPECT_EQ(taken[std::size_t(i)].ranOn == std::this_thread::get_id(), threads == 1);
        }
        EXPECT_LE(mostInFlight, 2 * threads + 1) << threads;
    }
}

}  // namespace
}  // namespace zefa::site
