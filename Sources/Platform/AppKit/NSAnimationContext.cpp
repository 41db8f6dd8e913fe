#include "Platform/AppKit/NSAnimationContext.h"

#include <cmath>
#include <vector>

#include "Platform/QuartzCore/CATransaction.h"

namespace {

thread_local std::vector<NSAnimationContext*> groups;

}  // namespace

void NSAnimationContext::runAnimationGroup(const std::function<void(NSAnimationContext&)>& changes,
                                           std::function<void()> completionHandler) {
    // A group is a transaction: its completion waits for the animations begun inside it.
    CATransaction::begin();
    CATransaction::setCompletionBlock(std::move(completionHandler));
    NSAnimationContext context;
    groups.push_back(&context);
    if (changes) changes(context);
    groups.pop_back();
    CATransaction::commit();
}

NSAnimationContext* NSAnimationContext::currentContext() {
    return groups.empty() ? nullptr : groups.back();
}

void NSAnimationContext::setDuration(double duration) {
    if (std::isfinite(duration) && duration >= 0) duration_ = duration;
}
