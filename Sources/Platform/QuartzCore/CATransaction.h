#pragma once

#include <functional>

#include "Platform/QuartzCore/CAMediaTimingFunction.h"

/// Groups changes of layers: whether they animate implicitly, with which duration and pace,
/// and a block to run once every animation added inside has finished. Transactions nest; each
/// thread has its own. Outside `begin` and `commit` a change belongs to the implicit
/// transaction, which ends with the current turn of the main loop.
class CATransaction {
  public:
    static constexpr double defaultAnimationDuration = 0.25;

    static void begin();
    /// Ends the innermost transaction; its completion block runs (on the main queue) when the
    /// animations added inside it have finished, or at once when there were none.
    static void commit();

    static bool disableActions();
    static void setDisableActions(bool disable);
    static double animationDuration();
    static void setAnimationDuration(double duration);
    /// Null for the pace of the implicit animations' default.
    static CAMediaTimingFunctionRef animationTimingFunction();
    static void setAnimationTimingFunction(CAMediaTimingFunctionRef function);
    static void setCompletionBlock(std::function<void()> block);

    /// Counts an animation that starts now towards the innermost explicit transaction's
    /// completion; the returned function says it has finished (it does nothing after the
    /// first call, and nothing at all outside an explicit transaction).
    static std::function<void()> registerAnimation();
};
