#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <thread>

#include "Base/Foundation/Clock.h"
#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/TimedWorkList.h"

/// Virtual time for tests. While one exists it is the process clock, and the work of every
/// dispatch queue (the main queue and serial queues alike) waits in its one list instead of
/// running on its own thread: the test thread runs it by calling `runUntilIdle()` or
/// `advance(by)`, in deadline order and, for equal deadlines, in the order it was handed over,
/// from whichever thread that was. Signals that arrived are delivered at every step.
///
/// Make it before the objects under test and keep it for the whole test; only one exists at a
/// time. Run loops of other threads are not driven by it: they run on their own threads.
class ManualClock final : public Clock {
  public:
    /// The virtual clock starts at one second of uptime and at this date (2026-01-01 00:00 UTC).
    static constexpr double startSecondsSince1970 = 1767225600.0;
    static constexpr DispatchTime startTime{1'000'000'000};

    ManualClock();
    ~ManualClock() override;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    DispatchTime now() const override;
    double secondsSince1970() const override;

    /// Runs everything due now, including what that work posts for now.
    void runUntilIdle();
    /// Moves the clock forward by `seconds`, stopping at every deadline within the span to run
    /// what falls due there; ends exactly `seconds` later with everything due then run.
    void advance(double seconds);
    /// Moves the clock forward by `seconds` without running anything: the time a caller spends
    /// blocked in a call that answers late. What fell due meanwhile runs at the next
    /// `runUntilIdle` or `advance`, late, as work does behind a blocked thread.
    void elapse(double seconds);
    /// Scheduled work that has neither run nor been cancelled.
    std::size_t pendingCount() const;
    std::optional<DispatchTime> nextDeadline() const;
    /// Waits (in real time, at most `boundSeconds`) until at least `count` items are pending,
    /// for work that another thread is about to hand over. True when they arrived.
    bool waitForPending(std::size_t count, double boundSeconds = 10) const;

    /// The clock in force, if it is a manual one.
    static ManualClock* active();

    // For the queues.
    void post(TimedWorkList::QueueTag queue, DispatchTime deadline, DispatchWorkItem item);
    /// Runs, on the calling thread, the due work of `queue` until `done()` holds; used by
    /// `sync` from the test thread.
    void runQueueUntil(TimedWorkList::QueueTag queue, const std::function<bool()>& done);
    /// The thread that made the clock, which stands for the main thread.
    std::thread::id driverThread() const { return driver_; }

  private:
    bool runOneDue();

    mutable Mutex mutex_;
    mutable ConditionVariable posted_;
    DispatchTime now_ GUARDED_BY(mutex_) = startTime;
    TimedWorkList work_ GUARDED_BY(mutex_);
    std::thread::id driver_;
};
