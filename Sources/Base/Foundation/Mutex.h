#pragma once

#include <mutex>

#include "Base/Foundation/ThreadSafety.h"

/// A lock between threads that the compiler knows as one: the state it guards names it
/// (`GUARDED_BY`), and clang checks that every access holds it. Taken for a scope with
/// `MutexLock`; waited on with `ConditionVariable`.
class CAPABILITY("mutex") Mutex {
  public:
    Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void lock() ACQUIRE() { mutex_.lock(); }
    void unlock() RELEASE() { mutex_.unlock(); }
    /// Takes the lock when it is free; false, without waiting, when another thread holds it.
    bool tryLock() TRY_ACQUIRE(true) { return mutex_.try_lock(); }

  private:
    friend class ConditionVariable;

    std::mutex mutex_;
};
