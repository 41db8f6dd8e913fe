#pragma once

#include <condition_variable>
#include <mutex>

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
    std::mutex mutex_;
    std::condition_variable changed_;
    long value_;
};
