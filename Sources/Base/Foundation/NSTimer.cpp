#include "Base/Foundation/NSTimer.h"

#include <cmath>

#include "Base/Foundation/DispatchQueue.h"

NSTimer::NSTimer(double interval, bool repeats, std::function<void(NSTimer&)> block)
    : interval_(std::isnan(interval) || interval < minimumInterval ? minimumInterval : interval),
      repeats_(repeats),
      block_(std::move(block)) {}

NSTimer::~NSTimer() {
    pending_.cancel();
}

NSTimerRef NSTimer::scheduledTimerWithTimeInterval(double interval, bool repeats,
                                                   std::function<void(NSTimer&)> block) {
    NSTimerRef timer(new NSTimer(interval, repeats, std::move(block)));
    timer->scheduleAt(DispatchTime::now() + timer->interval_);
    return timer;
}

void NSTimer::scheduleAt(DispatchTime fireDate) {
    // An interval too long for the clock never comes.
    if (!std::isfinite(interval_)) return;
    fireDate_ = fireDate;
    // The run loop holds the timer while it is scheduled.
    pending_ = DispatchWorkItem([timer = shared_from_this()] { timer->fire(); });
    DispatchQueue::main().asyncAfter(fireDate, pending_);
}

void NSTimer::fire() {
    // The work that is running holds the timer; the timer lets go of that work.
    pending_ = DispatchWorkItem([] {});
    if (!valid_) return;
    if (repeats_) {
        DispatchTime next = fireDate_ + interval_;
        const DispatchTime now = DispatchTime::now();
        while (next <= now)
            next = next + interval_;
        scheduleAt(next);
    } else {
        valid_ = false;
    }
    // The block may invalidate the timer, or let go of the last reference but this one.
    const auto keep = shared_from_this();
    if (block_) block_(*this);
    if (!valid_) block_ = {};
}

void NSTimer::invalidate() {
    valid_ = false;
    pending_.cancel();
    pending_ = DispatchWorkItem([] {});
    block_ = {};
}
