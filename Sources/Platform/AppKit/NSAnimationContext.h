#pragma once

#include <functional>

#include "Platform/QuartzCore/CAMediaTimingFunction.h"

/// A group of animated changes: what a window's animator changes inside
/// `runAnimationGroup` moves over the group's duration at its pace, and the completion handler
/// runs on the main queue once every animation of the group has finished.
class NSAnimationContext {
  public:
    static constexpr double defaultDuration = 0.25;

    static void runAnimationGroup(const std::function<void(NSAnimationContext&)>& changes,
                                  std::function<void()> completionHandler = {});
    /// The innermost group being set up; null outside `runAnimationGroup`'s changes.
    static NSAnimationContext* currentContext();

    double duration() const { return duration_; }
    void setDuration(double duration);
    /// Null for an even pace.
    const CAMediaTimingFunctionRef& timingFunction() const { return timing_; }
    void setTimingFunction(CAMediaTimingFunctionRef function) { timing_ = std::move(function); }

  private:
    double duration_ = defaultDuration;
    CAMediaTimingFunctionRef timing_;
};
