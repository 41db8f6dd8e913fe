#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"

namespace {

/// Whether another thread finds the mutex taken (it lets go at once of a mutex it won).
bool takenElsewhere(Mutex& mutex) {
    bool taken = false;
    std::thread([&] {
        if (mutex.tryLock()) {
            mutex.unlock();
        } else {
            taken = true;
        }
    }).join();
    return taken;
}

TEST(MutexLock, HoldsTheMutexForItsScope) {
    Mutex mutex;
    {
        MutexLock lock(mutex);
        EXPECT_TRUE(takenElsewhere(mutex));
    }
    EXPECT_FALSE(takenElsewhere(mutex));
}

TEST(MutexLock, LetsGoInBetweenAndTakesTheMutexAgain) {
    Mutex mutex;
    MutexLock lock(mutex);
    lock.unlock();
    EXPECT_FALSE(takenElsewhere(mutex));
    lock.lock();
    EXPECT_TRUE(takenElsewhere(mutex));
}

TEST(MutexLock, LeftWithoutTheMutexDoesNotLetGoOfAnotherThreadsHold) {
    Mutex mutex;
    Mutex step;  // the other thread holds `mutex` until the test lets go of `step`
    std::thread holder;
    {
        MutexLock lock(mutex);
        lock.unlock();
        step.lock();  // once `mutex` is let go: no thread holds the two in the other order
        holder = std::thread([&] {
            MutexLock held(mutex);
            MutexLock waiting(step);
        });
        while (!takenElsewhere(mutex))
            std::this_thread::yield();
    }
    EXPECT_TRUE(takenElsewhere(mutex));
    step.unlock();
    holder.join();
    EXPECT_FALSE(takenElsewhere(mutex));
}

TEST(MutexLock, TakesOverAMutexWonWithTryLockAndLetsItGo) {
    Mutex mutex;
    if (!mutex.tryLock()) FAIL() << "a free mutex was refused";
    {
        MutexLock lock(mutex, std::adopt_lock);
        EXPECT_TRUE(takenElsewhere(mutex));
    }
    EXPECT_FALSE(takenElsewhere(mutex));
}

}  // namespace
