#include "Platform/QuartzCore/CAAnimation.h"

#include <algorithm>
#include <cmath>

#include "Base/Foundation/DispatchTime.h"

namespace {

std::optional<double> valueOf(const std::string& keyPath, const CAAnimatedValues& values) {
    if (keyPath == "opacity") return values.opacity;
    if (keyPath == "transform.scale") return values.transform.m11;
    return std::nullopt;
}

void setValue(const std::string& keyPath, double value, CAAnimatedValues& values) {
    if (!std::isfinite(value)) return;
    if (keyPath == "opacity") {
        values.opacity = static_cast<float>(value);
    } else if (keyPath == "transform.scale") {
        values.transform.m11 = value;
        values.transform.m22 = value;
        values.transform.m33 = value;
    }
}

}  // namespace

double CACurrentMediaTime() {
    return static_cast<double>(DispatchTime::now().uptimeNanoseconds) / 1e9;
}

void CAAnimation::setDuration(double duration) {
    if (std::isfinite(duration) && duration >= 0) duration_ = duration;
}

void CAAnimation::setBeginTime(double time) {
    if (std::isfinite(time)) beginTime_ = time;
}

void CAAnimation::apply(double localTime, CAAnimatedValues& values,
                        const CAAnimatedValues& model) const {
    if (std::isnan(localTime)) return;
    const bool fillsBackwards =
        fillMode_ == CAMediaTimingFillMode::backwards || fillMode_ == CAMediaTimingFillMode::both;
    const bool fillsForwards =
        fillMode_ == CAMediaTimingFillMode::forwards || fillMode_ == CAMediaTimingFillMode::both;
    if (localTime < 0 && !fillsBackwards) return;
    if (localTime > duration_ && !fillsForwards) return;
    const double progress =
        duration_ > 0 ? std::clamp(localTime / duration_, 0.0, 1.0) : (localTime < 0 ? 0.0 : 1.0);
    applyAt(progress, values, model);
}

std::shared_ptr<CABasicAnimation> CABasicAnimation::animationWithKeyPath(std::string keyPath) {
    return std::make_shared<CABasicAnimation>(std::move(keyPath));
}

CAAnimationRef CABasicAnimation::copy() const {
    return std::make_shared<CABasicAnimation>(*this);
}

void CABasicAnimation::applyAt(double progress, CAAnimatedValues& values,
                               const CAAnimatedValues& model) const {
    const auto shown = valueOf(keyPath_, values);
    if (!shown) return;
    const double from = from_.value_or(*shown);
    const double to = to_.value_or(*valueOf(keyPath_, model));
    const double paced = timingFunction() ? timingFunction()->valueAt(progress) : progress;
    setValue(keyPath_, from + (to - from) * paced, values);
}

CAAnimationRef CAAnimationGroup::copy() const {
    auto group = std::make_shared<CAAnimationGroup>(*this);
    group->setAnimations(animations_);
    return group;
}

void CAAnimationGroup::setAnimations(std::vector<CAAnimationRef> animations) {
    animations_.clear();
    for (const CAAnimationRef& animation : animations)
        if (animation) animations_.push_back(animation->copy());
}

void CAAnimationGroup::applyAt(double progress, CAAnimatedValues& values,
                               const CAAnimatedValues& model) const {
    const double paced = timingFunction() ? timingFunction()->valueAt(progress) : progress;
    const double groupTime = paced * duration();
    for (const CAAnimationRef& animation : animations_)
        animation->apply(groupTime - animation->beginTime(), values, model);
}
