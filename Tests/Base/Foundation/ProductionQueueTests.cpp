// The queues on the monotonic clock, with their own threads: what the program itself runs.
// Nothing here sleeps; every wait is on a condition with a generous bound.
#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Base/Foundation/CFRunLoop.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/DispatchSemaphore.h"
#include "Base/Foundation/ManualClock.h"
#include "Support/Base/ThreadCount.h"

namespace {

constexpr double bound = 10;
using kelvo::testing::threadCount;

void stopMainLoopLater() {
    DispatchQueue::main().async([] { CFRunLoopStop(CFRunLoopGetMain()); });
}

TEST(ProductionMainQueue, RunsWorkInOrderUntilStopped) {
    std::vector<int> ran;
    DispatchQueue::main().async([&] { ran.push_back(1); });
    DispatchQueue::main().async([&] { ran.push_back(2); });
    stopMainLoopLater();
    DispatchQueue::main().async([&] { ran.push_back(3); });  // after the stop: next run
    CFRunLoopRun();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    stopMainLoopLater();
    CFRunLoopRun();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(ProductionMainQueue, OtherThreadsWakeTheLoopAndSyncWaitsForTheAnswer) {
    std::atomic<int> answer{0};
    std::thread caller([&] {
        DispatchQueue::main().sync([&] { answer = 7; });
        stopMainLoopLater();
    });
    CFRunLoopRun();
    caller.join();
    EXPECT_EQ(answer, 7);
}

TEST(ProductionMainQueue, DelayedWorkRunsAfterItsDeadlineAndCancelledWorkDoesNot) {
    const DispatchTime start = DispatchTime::now();
    DispatchTime ranAt{};
    bool cancelledRan = false;
    const DispatchWorkItem cancelled([&] { cancelledRan = true; });
    DispatchQueue::main().asyncAfter(start + 0.001, cancelled);
    cancelled.cancel();
    DispatchQueue::main().asyncAfter(start + 0.002, [&] {
        ranAt = DispatchTime::now();
        CFRunLoopStop(CFRunLoopGetMain());
    });
    CFRunLoopRun();
    EXPECT_GE(ranAt, start + 0.002);
    EXPECT_FALSE(cancelledRan);
}

TEST(ProductionSerialQueue, KeepsEachSendersOrderOnItsOwnNamedThread) {
    const DispatchQueue queue("test.production.queue", DispatchQoS::utility);
    constexpr int senders = 4;
    constexpr int perSender = 1000;
    std::vector<std::vector<int>> received(senders);  // touched only on the queue
    std::string threadName;
    std::vector<std::thread> threads;
    for (int s = 0; s < senders; ++s) {
        threads.emplace_back([&, s] {
            for (int i = 0; i < perSender; ++i)
                queue.async([&, s, i] { received[s].push_back(i); });
        });
    }
    for (auto& thread : threads)
        thread.join();
    queue.sync([&] {
        char name[16] = {};
        pthread_getname_np(pthread_self(), name, sizeof name);
        threadName = name;
    });
    for (const auto& list : received) {
        ASSERT_EQ(list.size(), static_cast<std::size_t>(perSender));
        for (int i = 0; i < perSender; ++i)
            EXPECT_EQ(list[i], i);
    }
    EXPECT_EQ(threadName, "test.production");
}

TEST(ProductionSerialQueue, DelayedWorkRunsEvenAfterTheQueueIsReleased) {
    DispatchSemaphore ran(0);
    {
        const DispatchQueue queue("test.released");
        queue.asyncAfter(DispatchTime::now() + 0.001, [&] { ran.signal(); });
    }
    EXPECT_EQ(ran.wait(bound), DispatchTimeoutResult::success);
}

TEST(ProductionSerialQueue, AReleasedQueueWithNothingLeftEndsItsThreadBeforeReleaseReturns) {
    const std::size_t before = threadCount();
    {
        DispatchQueue queue("dev.kelvo.test.idle");
        DispatchSemaphore ran(0);
        queue.async([&] { ran.signal(); });
        ASSERT_EQ(ran.wait(bound), DispatchTimeoutResult::success);
        const DispatchWorkItem later([] {});
        queue.asyncAfter(DispatchTime::now() + 3600, later);
        later.cancel();
    }
    // Threads of earlier tests may end meanwhile, never start.
    EXPECT_LE(threadCount(), before);
}

TEST(ProductionSerialQueue, RealTimeWorkRunsOnTimeWhileAManualClockIsInstalled) {
    DispatchQueue queue("dev.kelvo.test.real");
    DispatchSemaphore ran(0);
    queue.asyncAfter(DispatchTime::now() + 0.05, [&] { ran.signal(); });
    // Virtual time stands still; the queue's thread neither waits for it nor spins on it.
    const ManualClock clock;
    EXPECT_EQ(ran.wait(bound), DispatchTimeoutResult::success);
}

TEST(ProductionSerialQueue, SyncFromOneQueueOntoAnotherWorks) {
    const DispatchQueue outer("test.outer");
    const DispatchQueue inner("test.inner");
    bool innerRan = false;
    bool outerWasCurrent = false;
    outer.sync([&] {
        inner.sync([&] { innerRan = inner.isCurrent(); });
        outerWasCurrent = outer.isCurrent();
    });
    EXPECT_TRUE(innerRan);
    EXPECT_TRUE(outerWasCurrent);
}

TEST(ProductionSerialQueue, CancelledWorkMayPostToItsQueueWhileItsCapturesGo) {
    const DispatchQueue queue("test.cancelled");
    struct PostsWhenDropped {
        PostsWhenDropped(DispatchQueue q, std::atomic<int>* p) : queue(std::move(q)), posted(p) {}
        DispatchQueue queue;
        std::atomic<int>* posted;
        ~PostsWhenDropped() {
            queue.async([count = posted] { ++*count; });
        }
    };
    std::atomic<int> posted{0};
    {
        const auto owner = std::make_shared<PostsWhenDropped>(queue, &posted);
        const DispatchWorkItem item([owner] {});
        queue.async(item);
        item.cancel();
    }
    queue.sync([] {});  // the cancelled item was taken before this one
    queue.sync([] {});  // and what its captures posted ran before this one
    EXPECT_EQ(posted, 1);
}

TEST(ProductionSerialQueueDeathTest, SyncOntoItselfEndsTheProcessInsteadOfHanging) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            const DispatchQueue queue("test.self");
            queue.sync([&] { queue.sync([] {}); });
        },
        "would never return");
}

}  // namespace
