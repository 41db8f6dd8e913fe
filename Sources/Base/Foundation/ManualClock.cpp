#include "Base/Foundation/ManualClock.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/QueueContext.h"
#include "Base/Foundation/SignalDelivery.h"

namespace {

std::atomic<ManualClock*>& activeClock() {
    static std::atomic<ManualClock*> clock{nullptr};
    return clock;
}

}  // namespace

ManualClock::ManualClock() : driver_(std::this_thread::get_id()) {
    ManualClock* expected = nullptr;
    if (!activeClock().compare_exchange_strong(expected, this)) {
        std::fputs("ManualClock: a second manual clock while one is in force\n", stderr);
        std::abort();
    }
    install(this);
}

ManualClock::~ManualClock() {
    install(nullptr);
    activeClock().store(nullptr);
    // Work still waiting goes with the clock, as it would go with the process; its captures
    // are dropped after the lock is let go.
    TimedWorkList leftOver;
    {
        MutexLock lock(mutex_);
        leftOver = work_.takeAll();
    }
}

DispatchTime ManualClock::now() const {
    MutexLock lock(mutex_);
    return now_;
}

double ManualClock::secondsSince1970() const {
    return startSecondsSince1970 + secondsBetween(startTime, now());
}

ManualClock* ManualClock::active() {
    return activeClock().load(std::memory_order_acquire);
}

void ManualClock::post(TimedWorkList::QueueTag queue, DispatchTime deadline,
                       DispatchWorkItem item) {
    {
        MutexLock lock(mutex_);
        work_.add(deadline, std::move(item), queue);
    }
    posted_.notifyAll();
}

bool ManualClock::runOneDue() {
    std::optional<TimedWorkList::Entry> entry;
    {
        MutexLock lock(mutex_);
        entry = work_.takeDue(now_);
    }
    if (!entry) return false;
    QueueContext::run(*entry);
    return true;
}

void ManualClock::runUntilIdle() {
    do {
        SignalDelivery::deliverPending();
    } while (runOneDue());
}

void ManualClock::elapse(double seconds) {
    if (!(seconds > 0)) return;
    MutexLock lock(mutex_);
    now_ = now_ + seconds;
}

void ManualClock::advance(double seconds) {
    const DispatchTime target = now() + seconds;
    runUntilIdle();
    while (true) {
        {
            MutexLock lock(mutex_);
            const auto next = work_.nextDeadline();
            if (!next || *next > target) break;
            if (*next > now_) now_ = *next;
        }
        runUntilIdle();
    }
    {
        MutexLock lock(mutex_);
        // A call that answered late may have carried the clock past the target already.
        if (target > now_) now_ = target;
    }
    runUntilIdle();
}

std::size_t ManualClock::pendingCount() const {
    MutexLock lock(mutex_);
    return work_.count();
}

std::optional<DispatchTime> ManualClock::nextDeadline() const {
    MutexLock lock(mutex_);
    return work_.nextDeadline();
}

bool ManualClock::waitForPending(std::size_t count, double boundSeconds) const {
    MutexLock lock(mutex_);
    return posted_.waitFor(mutex_, std::chrono::duration<double>(boundSeconds),
                           [&]() REQUIRES(mutex_) { return work_.count() >= count; });
}

void ManualClock::runQueueUntil(TimedWorkList::QueueTag queue, const std::function<bool()>& done) {
    while (!done()) {
        std::optional<TimedWorkList::Entry> entry;
        {
            MutexLock lock(mutex_);
            entry = work_.takeDue(now_, queue);
        }
        if (!entry) return;
        QueueContext::run(*entry);
    }
}
