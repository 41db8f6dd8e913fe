#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/ThreadSafety.h"

/// Lets threads wait, holding a `Mutex`, until another changes what that mutex guards. A wait
/// lets the mutex go while it sleeps and holds it again when it returns.
///
/// The waits with a condition call it with the mutex held: write it as a lambda that says so,
/// `[&]() REQUIRES(mutex_) { … }`, and clang checks its body. (Clang cannot see that the mutex
/// the lambda names is the one given here, so it does not check the call itself.)
class ConditionVariable {
  public:
    void notifyOne() { changed_.notify_one(); }
    void notifyAll() { changed_.notify_all(); }

    /// Until notified (or woken spuriously).
    void wait(Mutex& mutex) REQUIRES(mutex);
    /// Until notified or past the deadline; false once the deadline passed.
    bool waitUntil(Mutex& mutex, std::chrono::steady_clock::time_point deadline) REQUIRES(mutex);

    /// Until `ready()` holds.
    template <class Ready>
    void wait(Mutex& mutex, Ready ready) REQUIRES(mutex) NO_THREAD_SAFETY_ANALYSIS {
        holding(mutex, [&](auto& held) {
            changed_.wait(held, ready);
            return true;
        });
    }
    /// Until `ready()` holds or `bound` has passed; what `ready()` gives last.
    template <class Rep, class Period, class Ready>
    bool waitFor(Mutex& mutex, std::chrono::duration<Rep, Period> bound, Ready ready)
        REQUIRES(mutex) NO_THREAD_SAFETY_ANALYSIS {
        return holding(mutex, [&](auto& held) { return changed_.wait_for(held, bound, ready); });
    }
    /// Until `ready()` holds or the deadline has passed; what `ready()` gives last.
    template <class Clock, class Duration, class Ready>
    bool waitUntil(Mutex& mutex, std::chrono::time_point<Clock, Duration> deadline, Ready ready)
        REQUIRES(mutex) NO_THREAD_SAFETY_ANALYSIS {
        return holding(mutex,
                       [&](auto& held) { return changed_.wait_until(held, deadline, ready); });
    }

  private:
    /// Runs the standard wait `wait` on a mutex the caller holds: the standard wait needs it as
    /// a lock of its own, which is adopted here and handed back without letting go.
    template <class Wait>
    static bool holding(Mutex& mutex, Wait wait) {
        std::unique_lock held(mutex.mutex_, std::adopt_lock);
        const bool result = wait(held);
        held.release();
        return result;
    }

    std::condition_variable changed_;
};
