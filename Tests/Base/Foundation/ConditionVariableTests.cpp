// Real threads on real time: the waits that should end are bounded generously, and the ones
// that should run out wait a few milliseconds.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"

namespace {

using namespace std::chrono_literals;

constexpr auto bound = 10s;
constexpr auto shortWait = 20ms;

/// A flag that another thread raises, under the mutex, and notifies.
struct Flag {
    Mutex mutex;
    ConditionVariable changed;
    bool raised GUARDED_BY(mutex) = false;
    /// How often a waiter looked at the flag.
    int looks GUARDED_BY(mutex) = 0;

    /// The condition to wait for, looked at with the mutex held.
    auto isRaised() {
        return [this]() REQUIRES(mutex) { return raised; };
    }

    std::thread raiseOnAnotherThread() {
        return std::thread([this] {
            {
                MutexLock lock(mutex);
                raised = true;
            }
            changed.notifyAll();
        });
    }
};

TEST(ConditionVariable, WaitsUntilTheConditionHoldsAndReturnsHoldingTheMutex) {
    Flag flag;
    MutexLock lock(flag.mutex);
    // The raiser needs the mutex, so the wait must let go of it while it sleeps.
    std::thread raiser = flag.raiseOnAnotherThread();
    flag.changed.wait(flag.mutex, flag.isRaised());
    EXPECT_TRUE(flag.raised);
    EXPECT_TRUE(flag.changed.waitFor(flag.mutex, bound, flag.isRaised()));
    lock.unlock();
    raiser.join();
}

TEST(ConditionVariable, BoundedWaitsSayWhetherTheConditionCameInTime) {
    Flag flag;
    MutexLock lock(flag.mutex);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(flag.changed.waitFor(flag.mutex, shortWait, flag.isRaised()));
    EXPECT_GE(std::chrono::steady_clock::now() - start, shortWait);
    EXPECT_FALSE(flag.changed.waitUntil(flag.mutex, std::chrono::steady_clock::now() + shortWait,
                                        flag.isRaised()));
    std::thread raiser = flag.raiseOnAnotherThread();
    EXPECT_TRUE(flag.changed.waitUntil(flag.mutex, std::chrono::steady_clock::now() + bound,
                                       flag.isRaised()));
    lock.unlock();
    raiser.join();
}

TEST(ConditionVariable, AWaitWithoutConditionEndsAtItsDeadlineOrWhenNotified) {
    Flag flag;
    MutexLock lock(flag.mutex);
    const auto start = std::chrono::steady_clock::now();
    // A wait woken spuriously goes on to the same deadline; a few such wakes at most.
    for (int wakes = 0; flag.changed.waitUntil(flag.mutex, start + shortWait); ++wakes)
        ASSERT_LT(wakes, 100);
    EXPECT_GE(std::chrono::steady_clock::now() - start, shortWait);
    std::thread raiser = flag.raiseOnAnotherThread();
    while (!flag.raised) {
        ASSERT_TRUE(flag.changed.waitUntil(flag.mutex, std::chrono::steady_clock::now() + bound));
    }
    lock.unlock();
    raiser.join();
}

TEST(ConditionVariable, ANotificationWhileTheConditionFailsDoesNotEndTheWait) {
    Flag flag;
    MutexLock lock(flag.mutex);
    std::thread nudger([&] {
        {
            MutexLock held(flag.mutex);  // the waiter sleeps by now
            flag.changed.notifyAll();
        }
        // The flag goes up once the waiter has looked at it again and gone back to sleep.
        const auto end = std::chrono::steady_clock::now() + bound;
        while (std::chrono::steady_clock::now() < end) {
            MutexLock held(flag.mutex);
            if (flag.looks >= 2) break;
        }
        MutexLock held(flag.mutex);
        flag.raised = true;
        flag.changed.notifyAll();
    });
    flag.changed.wait(flag.mutex, [&]() REQUIRES(flag.mutex) {
        ++flag.looks;
        return flag.raised;
    });
    EXPECT_TRUE(flag.raised);
    lock.unlock();
    nudger.join();
}

}  // namespace
