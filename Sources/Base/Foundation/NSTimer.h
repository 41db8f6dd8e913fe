#pragma once

#include <functional>
#include <memory>

#include "Base/Foundation/DispatchTime.h"
#include "Base/Foundation/DispatchWorkItem.h"

class NSTimer;
using NSTimerRef = std::shared_ptr<NSTimer>;

/// A timer of the main run loop: its block runs on the main queue once the interval has passed
/// on the runtime's clock and, for a repeating timer, every interval after that. A repeating
/// timer that is held up fires once for the fire dates it missed and keeps to its schedule
/// afterwards. The run loop keeps a scheduled timer until it is invalidated (or, for one that
/// does not repeat, has fired).
class NSTimer : public std::enable_shared_from_this<NSTimer> {
  public:
    /// The shortest interval; a shorter one, or one that is not a number, becomes this.
    static constexpr double minimumInterval = 0.0001;

    static NSTimerRef scheduledTimerWithTimeInterval(double interval, bool repeats,
                                                     std::function<void(NSTimer&)> block);
    ~NSTimer();
    NSTimer(const NSTimer&) = delete;
    NSTimer& operator=(const NSTimer&) = delete;

    /// Stops the timer for good and lets go of its block; a block that is running finishes.
    void invalidate();
    bool isValid() const { return valid_; }
    double timeInterval() const { return interval_; }
    bool repeats() const { return repeats_; }

  private:
    NSTimer(double interval, bool repeats, std::function<void(NSTimer&)> block);
    void scheduleAt(DispatchTime fireDate);
    void fire();

    double interval_;
    bool repeats_;
    std::function<void(NSTimer&)> block_;
    bool valid_ = true;
    DispatchTime fireDate_;
    DispatchWorkItem pending_{[] {}};
};
