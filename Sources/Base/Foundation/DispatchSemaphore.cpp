#include "Base/Foundation/DispatchSemaphore.h"

#include <chrono>

#include "Base/Foundation/MutexLock.h"

DispatchSemaphore::DispatchSemaphore(long value) : value_(value) {}

void DispatchSemaphore::signal() {
    // Notified under the lock: a waiter that returns may destroy the semaphore at once.
    MutexLock lock(mutex_);
    ++value_;
    changed_.notifyOne();
}

void DispatchSemaphore::wait() {
    MutexLock lock(mutex_);
    changed_.wait(mutex_, [&]() REQUIRES(mutex_) { return value_ > 0; });
    --value_;
}

DispatchTimeoutResult DispatchSemaphore::wait(double boundSeconds) {
    MutexLock lock(mutex_);
    if (!changed_.waitFor(mutex_, std::chrono::duration<double>(boundSeconds),
                          [&]() REQUIRES(mutex_) { return value_ > 0; })) {
        return DispatchTimeoutResult::timedOut;
    }
    --value_;
    return DispatchTimeoutResult::success;
}
