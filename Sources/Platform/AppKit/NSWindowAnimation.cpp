#include <algorithm>
#include <cmath>

#include "Base/Foundation/DispatchQueue.h"
#include "Platform/AppKit/NSAnimationContext.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/QuartzCore/CAAnimation.h"
#include "Platform/QuartzCore/CATransaction.h"

void NSWindowAnimator::setAlphaValue(double alpha) {
    const NSAnimationContext* group = NSAnimationContext::currentContext();
    if (!group || group->duration() <= 0) return window_.setAlphaValue(alpha);
    window_.animateAlphaValue(alpha, group->duration(), group->timingFunction(),
                              CATransaction::registerAnimation());
}

double NSWindow::alphaValue() const {
    if (!alphaAnimation_) return alpha_;
    const AlphaAnimation& a = *alphaAnimation_;
    const double progress = std::clamp((CACurrentMediaTime() - a.begin) / a.duration, 0.0, 1.0);
    const double paced = a.timing ? a.timing->valueAt(progress) : progress;
    return a.from + (a.to - a.from) * paced;
}

void NSWindow::animateAlphaValue(double alpha, double duration, CAMediaTimingFunctionRef timing,
                                 std::function<void()> done) {
    if (!std::isfinite(alpha)) {
        if (done) done();
        return;
    }
    const double from = alphaValue();
    endAlphaAnimation();
    if (!(duration > 0) || !std::isfinite(duration)) {
        alpha_ = alpha;
        sync();
        if (done) done();
        return;
    }
    alpha_ = alpha;
    alphaAnimation_ = AlphaAnimation{from,   alpha, CACurrentMediaTime(), duration,
                                     timing, done,  ++alphaGeneration_};
    stepAlphaAnimation(alphaGeneration_);
}

void NSWindow::stepAlphaAnimation(std::uint64_t generation) {
    if (!alphaAnimation_ || alphaAnimation_->generation != generation) return;
    const double remaining =
        alphaAnimation_->begin + alphaAnimation_->duration - CACurrentMediaTime();
    if (remaining <= 0) {
        endAlphaAnimation();
        sync();
        return;
    }
    sync();
    DispatchQueue::main().asyncAfter(
        DispatchTime::now() + std::min(animationFrameInterval, remaining),
        [alive = std::weak_ptr<bool>(alive_), this, generation] {
            if (alive.lock()) stepAlphaAnimation(generation);
        });
}

void NSWindow::endAlphaAnimation() {
    if (!alphaAnimation_) return;
    const std::function<void()> done = std::move(alphaAnimation_->done);
    alphaAnimation_.reset();
    if (done) done();
}
