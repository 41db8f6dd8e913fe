#include "Base/Foundation/DispatchSemaphore.h"

#include <chrono>

DispatchSemaphore::DispatchSemaphore(long value) : value_(value) {}

void DispatchSemaphore::signal() {
    // Notified under the lock: a waiter that returns may destroy the semaphore at once.
    std::lock_guard lock(mutex_);
    ++value_;
    changed_.notify_one();
}

void DispatchSemaphore::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return value_ > 0; });
    --value_;
}

DispatchTimeoutResult DispatchSemaphore::wait(double boundSeconds) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::duration<double>(boundSeconds),
                           [&] { return value_ > 0; })) {
        return DispatchTimeoutResult::timedOut;
    }
    --value_;
    return DispatchTimeoutResult::success;
}
