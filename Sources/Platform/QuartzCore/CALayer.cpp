#include "Platform/QuartzCore/CALayer.h"

#include <algorithm>
#include <cmath>

#include "Base/Foundation/DispatchQueue.h"
#include "Platform/QuartzCore/CATransaction.h"

/// An animation as the layer runs it: its copy, when it began and ends in media time, the work
/// that ends it, and what is told when it stops.
struct CALayer::Running {
    std::string key;
    CAAnimationRef animation;
    std::uint64_t id = 0;
    double begin = 0;
    double end = 0;
    DispatchWorkItem ending{[] {}};
    std::function<void()> transactionDone;
    bool stopped = false;
};

namespace {

bool isUniformScale(const CATransform3D& t) {
    CATransform3D scale = CATransform3DMakeScale(t.m11, t.m11, t.m33);
    scale.m41 = t.m41;
    scale.m42 = t.m42;
    scale.m43 = t.m43;
    return t == scale && t.m22 == t.m11;
}

CAAnimatedValues animatedPart(const CALayerValues& values) {
    return {values.opacity, values.transform};
}

}  // namespace

CALayer::CALayer() = default;

CALayer::~CALayer() {
    for (const CALayerRef& layer : sublayers_)
        layer->superlayer_ = nullptr;
    for (Running& running : animations_)
        running.ending.cancel();
}

void CALayer::changed() {
    if (onChange_) onChange_();
}

void CALayer::setBounds(const CGRect& bounds) {
    values_.bounds = bounds.standardized();
    changed();
}

void CALayer::setPosition(CGPoint position) {
    if (!std::isfinite(position.x) || !std::isfinite(position.y)) return;
    values_.position = position;
    changed();
}

void CALayer::setAnchorPoint(CGPoint anchor) {
    if (!std::isfinite(anchor.x) || !std::isfinite(anchor.y)) return;
    values_.anchorPoint = anchor;
    changed();
}

CGRect CALayer::frame() const {
    const CGSize size = values_.bounds.size;
    return CGRect(values_.position.x - values_.anchorPoint.x * size.width,
                  values_.position.y - values_.anchorPoint.y * size.height, size.width,
                  size.height);
}

void CALayer::setFrame(const CGRect& frame) {
    const CGRect f = frame.standardized();
    if (!std::isfinite(f.minX()) || !std::isfinite(f.minY()) || !std::isfinite(f.width()) ||
        !std::isfinite(f.height()))
        return;
    values_.bounds.size = f.size;
    values_.position = {f.minX() + values_.anchorPoint.x * f.width(),
                        f.minY() + values_.anchorPoint.y * f.height()};
    changed();
}

void CALayer::setTransform(const CATransform3D& transform) {
    const CAAnimatedValues before = animatedPart(presentationValues());
    values_.transform = transform;
    animateChange("transform", before);
    changed();
}

void CALayer::setOpacity(float opacity) {
    if (!std::isfinite(opacity)) return;
    const CAAnimatedValues before = animatedPart(presentationValues());
    values_.opacity = opacity;
    animateChange("opacity", before);
    changed();
}

void CALayer::setHidden(bool hidden) {
    values_.hidden = hidden;
    changed();
}

void CALayer::setBackgroundColor(CGColorRef color) {
    values_.backgroundColor = std::move(color);
    changed();
}

void CALayer::setBorderColor(CGColorRef color) {
    values_.borderColor = std::move(color);
    changed();
}

void CALayer::setBorderWidth(double width) {
    if (!std::isfinite(width)) return;
    values_.borderWidth = width;
    changed();
}

void CALayer::setCornerRadius(double radius) {
    if (!std::isfinite(radius)) return;
    values_.cornerRadius = radius;
    changed();
}

void CALayer::setCornerCurve(CALayerCornerCurve curve) {
    values_.cornerCurve = curve;
    changed();
}

void CALayer::setMasksToBounds(bool masks) {
    values_.masksToBounds = masks;
    changed();
}

void CALayer::setShadowColor(CGColorRef color) {
    values_.shadowColor = std::move(color);
    changed();
}

void CALayer::setShadowOpacity(float opacity) {
    if (!std::isfinite(opacity)) return;
    values_.shadowOpacity = opacity;
    changed();
}

void CALayer::setShadowRadius(double radius) {
    if (!std::isfinite(radius) || radius < 0) return;
    values_.shadowRadius = radius;
    changed();
}

void CALayer::setShadowOffset(CGSize offset) {
    if (!std::isfinite(offset.width) || !std::isfinite(offset.height)) return;
    values_.shadowOffset = offset;
    changed();
}

void CALayer::setContents(CGImageRef image) {
    values_.contents = std::move(image);
    changed();
}

void CALayer::addSublayer(const CALayerRef& layer) {
    if (!layer || layer.get() == this) return;
    // A layer cannot hold one of its own superlayers.
    for (const CALayer* up = superlayer_; up; up = up->superlayer_)
        if (up == layer.get()) return;
    const CALayerRef kept = layer;
    kept->removeFromSuperlayer();
    sublayers_.push_back(kept);
    kept->superlayer_ = this;
}

void CALayer::removeFromSuperlayer() {
    if (!superlayer_) return;
    auto& siblings = superlayer_->sublayers_;
    std::erase_if(siblings, [this](const CALayerRef& layer) { return layer.get() == this; });
    superlayer_ = nullptr;
}

CAAnimationRef CALayer::actionForKey(const std::string& key) const {
    if (CATransaction::disableActions()) return nullptr;
    if (delegate_) {
        if (auto answer = delegate_->actionForLayer(*this, key)) return *answer;
    }
    if (const auto found = actions_.find(key); found != actions_.end()) return found->second;
    if (key != "opacity" && key != "transform") return nullptr;
    // Without a word from anyone, the change animates over the transaction's duration.
    auto animation =
        CABasicAnimation::animationWithKeyPath(key == "transform" ? "transform.scale" : key);
    animation->setDuration(CATransaction::animationDuration());
    animation->setTimingFunction(
        CATransaction::animationTimingFunction()
            ? CATransaction::animationTimingFunction()
            : CAMediaTimingFunction::named(CAMediaTimingFunctionName::systemDefault));
    return animation;
}

void CALayer::animateChange(const std::string& key, const CAAnimatedValues& before) {
    const CAAnimationRef action = actionForKey(key);
    if (!action) return;
    const CAAnimationRef animation = action->copy();
    if (auto* basic = dynamic_cast<CABasicAnimation*>(animation.get())) {
        // A transform animates here only while it is a scale, through its scale.
        if (key == "transform" &&
            (basic->keyPath() != "transform.scale" || !isUniformScale(before.transform) ||
             !isUniformScale(values_.transform)))
            return;
        if (!basic->fromValue())
            basic->setFromValue(key == "opacity" ? double(before.opacity) : before.transform.m11);
    }
    addAnimation(animation, key);
}

void CALayer::addAnimation(const CAAnimationRef& animation, std::string key) {
    if (!animation) return;
    const CAAnimationRef copy = animation->copy();
    if (copy->duration() == 0) copy->setDuration(CATransaction::animationDuration());
    const std::uint64_t id = nextAnimationID_++;
    if (key.empty()) key = "animation " + std::to_string(id);
    removeAnimation(key);
    const double now = CACurrentMediaTime();
    Running running;
    running.key = key;
    running.animation = copy;
    running.id = id;
    running.begin = copy->beginTime() > 0 ? copy->beginTime() : now;
    running.end = running.begin + copy->duration();
    running.transactionDone = CATransaction::registerAnimation();
    running.ending = DispatchWorkItem([alive = std::weak_ptr<bool>(alive_), this, id] {
        if (alive.lock()) finish(id);
    });
    DispatchQueue::main().asyncAfter(DispatchTime::now() + std::max(0.0, running.end - now),
                                     running.ending);
    animations_.push_back(std::move(running));
    changed();
}

void CALayer::finish(std::uint64_t id) {
    const auto found = std::find_if(animations_.begin(), animations_.end(),
                                    [id](const Running& r) { return r.id == id; });
    if (found == animations_.end()) return;
    Running running = *found;
    if (running.animation->isRemovedOnCompletion()) {
        animations_.erase(found);
        changed();
    } else {
        found->stopped = true;
    }
    stop(std::move(running), true);
}

void CALayer::stop(Running running, bool finished) {
    running.ending.cancel();
    if (running.stopped) return;
    if (const auto& didStop = running.animation->didStop()) {
        if (finished) {
            didStop(true);
        } else {
            DispatchQueue::main().async([didStop] { didStop(false); });
        }
    }
    running.transactionDone();
}

void CALayer::removeAnimation(const std::string& key) {
    const auto found = std::find_if(animations_.begin(), animations_.end(),
                                    [&](const Running& r) { return r.key == key; });
    if (found == animations_.end()) return;
    Running running = std::move(*found);
    animations_.erase(found);
    stop(std::move(running), false);
    changed();
}

void CALayer::removeAllAnimations() {
    while (!animations_.empty())
        removeAnimation(animations_.front().key);
}

CAAnimationRef CALayer::animationForKey(const std::string& key) const {
    for (const Running& running : animations_)
        if (running.key == key) return running.animation;
    return nullptr;
}

std::vector<std::string> CALayer::animationKeys() const {
    std::vector<std::string> keys;
    for (const Running& running : animations_)
        keys.push_back(running.key);
    return keys;
}

CALayerValues CALayer::presentationValues() const {
    CALayerValues shown = values_;
    if (animations_.empty()) return shown;
    const double now = CACurrentMediaTime();
    const CAAnimatedValues model = animatedPart(values_);
    CAAnimatedValues animated = model;
    for (const Running& running : animations_) {
        // One whose end has come but whose removal has not run yet is gone already.
        if (now >= running.end && running.animation->isRemovedOnCompletion()) continue;
        running.animation->apply(now - running.begin, animated, model);
    }
    shown.opacity = animated.opacity;
    shown.transform = animated.transform;
    return shown;
}

CALayerRef CALayer::presentation() const {
    auto copy = std::make_shared<CALayer>();
    copy->values_ = presentationValues();
    for (const CALayerRef& layer : sublayers_) {
        const CALayerRef shown = layer->presentation();
        shown->superlayer_ = copy.get();
        copy->sublayers_.push_back(shown);
    }
    return copy;
}
