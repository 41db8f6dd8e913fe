#include "Base/Foundation/ConditionVariable.h"

// The mutex is held on entry and again on return; the standard wait needs it as a lock of its
// own, which is adopted here and handed back without letting go.

void ConditionVariable::wait(Mutex& mutex) {
    std::unique_lock held(mutex.mutex_, std::adopt_lock);
    changed_.wait(held);
    held.release();
}

bool ConditionVariable::waitUntil(Mutex& mutex, std::chrono::steady_clock::time_point deadline) {
    std::unique_lock held(mutex.mutex_, std::adopt_lock);
    const bool notified = changed_.wait_until(held, deadline) == std::cv_status::no_timeout;
    held.release();
    return notified;
}
