#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/QuartzCore/CAMediaTimingFunction.h"
#include "Platform/QuartzCore/CATransform3D.h"

/// The media time: seconds on the runtime's clock (virtual time under a manual clock).
double CACurrentMediaTime();

/// What an animation shows outside its active time: nothing (the model value), its last value
/// after it, its first value before it, or both.
enum class CAMediaTimingFillMode { removed, forwards, backwards, both };

/// The values of a layer that animations change.
struct CAAnimatedValues {
    float opacity = 1;
    CATransform3D transform;
};

class CAAnimation;
using CAAnimationRef = std::shared_ptr<CAAnimation>;

/// An animation of a layer's values over time. A layer copies the animation it is given, so
/// changing it afterwards changes nothing already running.
class CAAnimation {
  public:
    virtual ~CAAnimation() = default;
    virtual CAAnimationRef copy() const = 0;

    /// Seconds; 0 takes the transaction's duration when the animation is added.
    double duration() const { return duration_; }
    void setDuration(double duration);
    /// Media time at which it starts; 0 means when it is added. Inside a group, seconds into
    /// the group.
    double beginTime() const { return beginTime_; }
    void setBeginTime(double time);
    /// Null for an even pace.
    const CAMediaTimingFunctionRef& timingFunction() const { return timing_; }
    void setTimingFunction(CAMediaTimingFunctionRef function) { timing_ = std::move(function); }
    CAMediaTimingFillMode fillMode() const { return fillMode_; }
    void setFillMode(CAMediaTimingFillMode mode) { fillMode_ = mode; }
    bool isRemovedOnCompletion() const { return removedOnCompletion_; }
    void setRemovedOnCompletion(bool removed) { removedOnCompletion_ = removed; }
    /// Told on the main queue when the animation stops: finished at its end time, or not
    /// finished when it was removed or replaced before.
    void setDidStop(std::function<void(bool finished)> didStop) { didStop_ = std::move(didStop); }
    const std::function<void(bool)>& didStop() const { return didStop_; }

    /// Changes `values` as the animation shows them `localTime` seconds after its beginning
    /// (negative before it); `model` holds the layer's own values.
    void apply(double localTime, CAAnimatedValues& values, const CAAnimatedValues& model) const;

  protected:
    /// Applies the animation at `progress` (0 to 1) of its duration, timing already applied
    /// to the progress for basic animations and to the time for groups.
    virtual void applyAt(double progress, CAAnimatedValues& values,
                         const CAAnimatedValues& model) const = 0;

  private:
    double duration_ = 0;
    double beginTime_ = 0;
    CAMediaTimingFunctionRef timing_;
    CAMediaTimingFillMode fillMode_ = CAMediaTimingFillMode::removed;
    bool removedOnCompletion_ = true;
    std::function<void(bool)> didStop_;
};

/// One value moving from `fromValue` to `toValue`: "opacity", or "transform.scale" (the
/// transform's scale in x and y, its translation kept). Without a start it moves from the value
/// shown when it begins; without an end, to the layer's own value.
class CABasicAnimation : public CAAnimation {
  public:
    explicit CABasicAnimation(std::string keyPath) : keyPath_(std::move(keyPath)) {}
    static std::shared_ptr<CABasicAnimation> animationWithKeyPath(std::string keyPath);
    CAAnimationRef copy() const override;

    const std::string& keyPath() const { return keyPath_; }
    std::optional<double> fromValue() const { return from_; }
    void setFromValue(std::optional<double> value) { from_ = value; }
    std::optional<double> toValue() const { return to_; }
    void setToValue(std::optional<double> value) { to_ = value; }

  protected:
    void applyAt(double progress, CAAnimatedValues& values,
                 const CAAnimatedValues& model) const override;

  private:
    std::string keyPath_;
    std::optional<double> from_;
    std::optional<double> to_;
};

/// Animations run together on one time line: each child's begin time is counted from the
/// group's beginning, and nothing of a child shows past the group's end.
class CAAnimationGroup : public CAAnimation {
  public:
    CAAnimationRef copy() const override;
    const std::vector<CAAnimationRef>& animations() const { return animations_; }
    void setAnimations(std::vector<CAAnimationRef> animations);

  protected:
    void applyAt(double progress, CAAnimatedValues& values,
                 const CAAnimatedValues& model) const override;

  private:
    std::vector<CAAnimationRef> animations_;
};
