#pragma once

#include <mutex>

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/ThreadSafety.h"

/// Holds a mutex from its construction to the end of its scope. It may let the mutex go in
/// between (for work that must not run under it) and take it again.
class SCOPED_CAPABILITY MutexLock {
  public:
    explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
    /// Takes over a mutex the caller holds already (one it won with `tryLock`).
    MutexLock(Mutex& mutex, std::adopt_lock_t) REQUIRES(mutex) : mutex_(mutex) {}
    ~MutexLock() RELEASE() {
        if (held_) mutex_.unlock();
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    void unlock() RELEASE() {
        held_ = false;
        mutex_.unlock();
    }
    void lock() ACQUIRE() {
        mutex_.lock();
        held_ = true;
    }

  private:
    Mutex& mutex_;
    bool held_ = true;
};
