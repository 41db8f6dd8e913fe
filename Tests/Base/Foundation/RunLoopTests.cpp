#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "Base/Foundation/CFRunLoop.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/DispatchSemaphore.h"
#include "Base/Foundation/ManualClock.h"
#include "Base/Foundation/NSThread.h"

namespace {

constexpr double bound = 10;  // seconds of real time a hand-over may take at most

// A thread running its own run loop, as the event stream keeps one.
class RunLoopThread {
  public:
    RunLoopThread() : thread_([this] { body(); }) {
        thread_.setName("com.example.run-loop-test");
        thread_.start();
        ready_.wait();
    }
    ~RunLoopThread() {
        CFRunLoopStop(loop_);
        EXPECT_TRUE(thread_.waitUntilFinished(bound));
    }

    CFRunLoopRef loop() const { return loop_; }
    const NSThread& thread() const { return thread_; }

  private:
    void body() {
        loop_ = CFRunLoopGetCurrent();
        ready_.signal();
        CFRunLoopRun();
    }

    CFRunLoopRef loop_;
    DispatchSemaphore ready_{0};
    NSThread thread_;
};

TEST(RunLoop, PerformedBlocksRunInOrderOnTheLoopsThread) {
    RunLoopThread worker;
    std::vector<int> order;
    std::string threadName;
    DispatchSemaphore done(0);
    CFRunLoopPerformBlock(worker.loop(), kCFRunLoopDefaultMode, [&] {
        threadName = NSThread::currentName();
        order.push_back(1);
    });
    CFRunLoopPerformBlock(worker.loop(), kCFRunLoopDefaultMode, [&] {
        order.push_back(2);
        done.signal();
    });
    CFRunLoopWakeUp(worker.loop());
    ASSERT_EQ(done.wait(bound), DispatchTimeoutResult::success);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(threadName, "com.example.run-loop-test");
}

TEST(RunLoop, StopEndsTheRunAndAStopBeforeTheRunEndsItAtOnce) {
    DispatchSemaphore stopped(0);
    std::atomic<bool> returned{false};
    NSThread thread([&] {
        CFRunLoopStop(CFRunLoopGetCurrent());
        CFRunLoopRun();  // returns at once
        returned = true;
        stopped.signal();
    });
    thread.start();
    ASSERT_EQ(stopped.wait(bound), DispatchTimeoutResult::success);
    EXPECT_TRUE(returned);
    EXPECT_TRUE(thread.waitUntilFinished(bound));
    EXPECT_TRUE(thread.isFinished());
}

TEST(RunLoop, SignalledSourcePerformsOnItsLoopUntilRemoved) {
    RunLoopThread worker;
    std::atomic<int> performed{0};
    DispatchSemaphore ran(0);
    const auto source = CFRunLoopSourceCreate([&] {
        ++performed;
        ran.signal();
    });
    CFRunLoopAddSource(worker.loop(), source, kCFRunLoopDefaultMode);
    EXPECT_TRUE(CFRunLoopContainsSource(worker.loop(), source, kCFRunLoopDefaultMode));
    CFRunLoopSourceSignal(source);
    ASSERT_EQ(ran.wait(bound), DispatchTimeoutResult::success);

    CFRunLoopRemoveSource(worker.loop(), source, kCFRunLoopDefaultMode);
    EXPECT_FALSE(CFRunLoopContainsSource(worker.loop(), source, kCFRunLoopDefaultMode));
    CFRunLoopSourceSignal(source);
    // A block behind the signal proves the loop had its chance to perform the source.
    DispatchSemaphore flushed(0);
    CFRunLoopPerformBlock(worker.loop(), kCFRunLoopDefaultMode, [&] { flushed.signal(); });
    CFRunLoopWakeUp(worker.loop());
    ASSERT_EQ(flushed.wait(bound), DispatchTimeoutResult::success);
    EXPECT_EQ(performed, 1);
}

TEST(RunLoop, InvalidatedSourceNeverPerformsAgain) {
    ManualClock clock;
    int performed = 0;
    const auto source = CFRunLoopSourceCreate([&] { ++performed; });
    CFRunLoopAddSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes);
    CFRunLoopSourceSignal(source);
    CFRunLoopSourceInvalidate(source);
    clock.runUntilIdle();
    EXPECT_EQ(performed, 0);
    EXPECT_FALSE(CFRunLoopSourceIsValid(source));
    EXPECT_FALSE(CFRunLoopContainsSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes));
}

TEST(RunLoop, MainRunLoopWorkRunsOnTheMainQueue) {
    ManualClock clock;
    std::vector<std::string> ran;
    const auto source = CFRunLoopSourceCreate([&] { ran.push_back("source"); });
    CFRunLoopAddSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes);
    EXPECT_EQ(CFRunLoopGetCurrent(), CFRunLoopGetMain());
    CFRunLoopPerformBlock(CFRunLoopGetMain(), kCFRunLoopDefaultMode,
                          [&] { ran.push_back("block"); });
    CFRunLoopSourceSignal(source);
    CFRunLoopSourceSignal(source);  // merges with the first
    EXPECT_TRUE(ran.empty());
    clock.runUntilIdle();
    EXPECT_EQ(ran, (std::vector<std::string>{"block", "source"}));
    CFRunLoopRemoveSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes);
}

TEST(RunLoop, MainRunOnTheManualClockGoesThroughVirtualTimeUntilStopped) {
    ManualClock clock;
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 3,
                                     [] { CFRunLoopStop(CFRunLoopGetMain()); });
    CFRunLoopRun();
    EXPECT_DOUBLE_EQ(secondsBetween(ManualClock::startTime, clock.now()), 3);
}

TEST(NSThread, CarriesItsNameToTheSystemCutToFifteenBytes) {
    std::string systemName;
    std::string ownName;
    bool onMain = true;
    NSThread thread([&] {
        char name[16] = {};
        pthread_getname_np(pthread_self(), name, sizeof name);
        systemName = name;
        ownName = NSThread::currentName();
        onMain = NSThread::isMainThread();
    });
    thread.setName("com.skarvelt.kelvo.ax-events");
    thread.start();
    thread.start();  // once only
    ASSERT_TRUE(thread.waitUntilFinished(bound));
    EXPECT_EQ(systemName, "com.skarvelt.ke");
    EXPECT_EQ(ownName, "com.skarvelt.kelvo.ax-events");
    EXPECT_FALSE(onMain);
    EXPECT_TRUE(NSThread::isMainThread());
}

TEST(DispatchSemaphore, CountsSignalsAcrossThreads) {
    DispatchSemaphore semaphore(0);
    EXPECT_EQ(semaphore.wait(0), DispatchTimeoutResult::timedOut);
    NSThread thread([&] {
        semaphore.signal();
        semaphore.signal();
    });
    thread.start();
    EXPECT_EQ(semaphore.wait(bound), DispatchTimeoutResult::success);
    EXPECT_EQ(semaphore.wait(bound), DispatchTimeoutResult::success);
    EXPECT_EQ(semaphore.wait(0), DispatchTimeoutResult::timedOut);
    EXPECT_TRUE(thread.waitUntilFinished(bound));
}

}  // namespace
