#pragma once

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"

enum class DispatchTimeoutResult { success, timedOut };

/// A counting semaphore between threads.
class DispatchSemaphore {
  public:
    explicit DispatchSemaphore(long value);

    void signal();
    void wait();
    /// Waits at most `boundSeconds` of real time. The bound is real even on a manual clock: the
    /// thread that would move virtual time on may be the one waiting here.
    DispatchTimeoutResult wait(double boundSeconds);

  private:
    Mutex mutex_;
    ConditionVariable changed_;
    long value_ GUARDED_BY(mutex_);
};
