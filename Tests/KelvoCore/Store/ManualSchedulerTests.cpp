#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Support/KelvoCore/ManualScheduler.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ManualScheduler, RunsByDeadlineThenByPostingOrder) {
    ManualScheduler clock;
    std::vector<std::string> ran;
    clock.post(0.15, [&] { ran.push_back("retry"); });
    clock.post(0.016, [&] { ran.push_back("coalesce A"); });
    clock.post(0.016, [&] { ran.push_back("coalesce B"); });
    clock.post(0, [&] { ran.push_back("now"); });
    EXPECT_EQ(clock.pendingCount(), 4u);
    EXPECT_EQ(clock.nextDeadline(), 0.0);
    clock.runUntilIdle();
    EXPECT_THAT(ran, ElementsAre("now"));
    clock.advance(0.2);
    EXPECT_THAT(ran, ElementsAre("now", "coalesce A", "coalesce B", "retry"));
    EXPECT_EQ(clock.pendingCount(), 0u);
    EXPECT_EQ(clock.nextDeadline(), std::nullopt);
    EXPECT_DOUBLE_EQ(clock.now(), 0.2);
}

TEST(ManualScheduler, WorkSeesTheClockAtItsDeadlineAndMayPostMore) {
    ManualScheduler clock;
    std::vector<double> times;
    const auto store = clock.scheduler(0.15);
    store([&] {
        times.push_back(clock.now());
        store([&] { times.push_back(clock.now()); });
        clock.post(0, [&] { times.push_back(clock.now()); });
    });
    clock.advance(0.1);
    EXPECT_THAT(times, IsEmpty());
    clock.advance(0.2);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_DOUBLE_EQ(times[0], 0.15);
    EXPECT_DOUBLE_EQ(times[1], 0.15) << "posted for now runs before the later deadline";
    EXPECT_DOUBLE_EQ(times[2], 0.3);
}

TEST(ManualScheduler, DeadlinesAreExactInNanoseconds) {
    ManualScheduler clock;
    bool ran = false;
    clock.post(0.3, [&] { ran = true; });
    clock.advance(0.1);
    clock.advance(0.2);
    EXPECT_TRUE(ran) << "0.1 + 0.2 reaches 0.3";
}

TEST(ManualScheduler, NegativeAndNonFiniteDelaysRunNow) {
    ManualScheduler clock;
    int ran = 0;
    const auto dwell = clock.delayedScheduler();
    dwell(-1, [&] { ++ran; });
    dwell(std::nan(""), [&] { ++ran; });
    clock.runUntilIdle();
    EXPECT_EQ(ran, 2);
}

}  // namespace
}  // namespace kelvo
