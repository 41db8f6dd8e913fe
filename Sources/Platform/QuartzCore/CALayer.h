#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGContext.h"
#include "Platform/QuartzCore/CAAnimation.h"

/// The shape of a layer's rounded corners.
enum class CALayerCornerCurve { circular, continuous };

class CALayer;
using CALayerRef = std::shared_ptr<CALayer>;

/// What a layer's delegate may say about the action for a change: none (no opinion), a null
/// action (nothing animates), or an animation.
class CALayerDelegate {
  public:
    virtual ~CALayerDelegate() = default;
    virtual std::optional<CAAnimationRef> actionForLayer(const CALayer& layer,
                                                         const std::string& key) = 0;
};

/// Everything a layer shows, in its own coordinates (y growing upwards, as on the platform).
struct CALayerValues {
    CGRect bounds;
    CGPoint position;
    CGPoint anchorPoint{0.5, 0.5};
    CATransform3D transform;
    float opacity = 1;
    bool hidden = false;
    CGColorRef backgroundColor;
    CGColorRef borderColor;
    double borderWidth = 0;
    double cornerRadius = 0;
    CALayerCornerCurve cornerCurve = CALayerCornerCurve::circular;
    bool masksToBounds = false;
    CGColorRef shadowColor = CGColorCreateGenericGray(0, 1);
    float shadowOpacity = 0;
    double shadowRadius = 3;
    CGSize shadowOffset{0, -3};
    CGImageRef contents;
};

/// A layer of a tree of layers: its geometry (bounds, a position in its superlayer where its
/// anchor point sits, a transform about that point), what it draws (background, contents,
/// border, rounded corners, shadow, opacity) and its sublayers. Animations added to it run on
/// the runtime's clock: the presentation shows their values at the current time, the layer
/// itself keeps its model values. A change of the opacity or the transform looks for an action
/// (the transaction, the delegate, the `actions` map) and animates implicitly when it finds one.
class CALayer {
  public:
    CALayer();
    virtual ~CALayer();
    CALayer(const CALayer&) = delete;
    CALayer& operator=(const CALayer&) = delete;

    // Geometry.
    CGRect bounds() const { return values_.bounds; }
    void setBounds(const CGRect& bounds);
    CGPoint position() const { return values_.position; }
    void setPosition(CGPoint position);
    CGPoint anchorPoint() const { return values_.anchorPoint; }
    void setAnchorPoint(CGPoint anchor);
    /// The bounds' size placed so that the anchor point lies at the position (the transform
    /// left out).
    CGRect frame() const;
    void setFrame(const CGRect& frame);
    CATransform3D transform() const { return values_.transform; }
    void setTransform(const CATransform3D& transform);

    // Look.
    float opacity() const { return values_.opacity; }
    void setOpacity(float opacity);
    bool isHidden() const { return values_.hidden; }
    void setHidden(bool hidden);
    CGColorRef backgroundColor() const { return values_.backgroundColor; }
    void setBackgroundColor(CGColorRef color);
    CGColorRef borderColor() const { return values_.borderColor; }
    void setBorderColor(CGColorRef color);
    double borderWidth() const { return values_.borderWidth; }
    void setBorderWidth(double width);
    double cornerRadius() const { return values_.cornerRadius; }
    void setCornerRadius(double radius);
    CALayerCornerCurve cornerCurve() const { return values_.cornerCurve; }
    void setCornerCurve(CALayerCornerCurve curve);
    bool masksToBounds() const { return values_.masksToBounds; }
    void setMasksToBounds(bool masks);
    CGColorRef shadowColor() const { return values_.shadowColor; }
    void setShadowColor(CGColorRef color);
    float shadowOpacity() const { return values_.shadowOpacity; }
    void setShadowOpacity(float opacity);
    double shadowRadius() const { return values_.shadowRadius; }
    void setShadowRadius(double radius);
    CGSize shadowOffset() const { return values_.shadowOffset; }
    void setShadowOffset(CGSize offset);
    /// An image drawn over the bounds, above the background.
    CGImageRef contents() const { return values_.contents; }
    void setContents(CGImageRef image);
    const CALayerValues& values() const { return values_; }

    // The tree.
    const std::vector<CALayerRef>& sublayers() const { return sublayers_; }
    /// Adds on top of the others, taking the layer from its former superlayer.
    void addSublayer(const CALayerRef& layer);
    void removeFromSuperlayer();
    CALayer* superlayer() const { return superlayer_; }

    // Actions and animations.
    /// Actions by key; a key mapped to null animates nothing.
    const std::map<std::string, CAAnimationRef>& actions() const { return actions_; }
    void setActions(std::map<std::string, CAAnimationRef> actions) {
        actions_ = std::move(actions);
    }
    void setDelegate(CALayerDelegate* delegate) { delegate_ = delegate; }
    /// The action for a change of `key`: none when the transaction disables actions, else the
    /// delegate's answer, else the `actions` map's, else an animation of the transaction's
    /// duration and pace.
    CAAnimationRef actionForKey(const std::string& key) const;
    /// Runs a copy of the animation from now (or from its begin time), replacing the one of
    /// the same key; an empty key gets a key of its own.
    void addAnimation(const CAAnimationRef& animation, std::string key);
    void removeAnimation(const std::string& key);
    void removeAllAnimations();
    /// The running copy of that key, or null.
    CAAnimationRef animationForKey(const std::string& key) const;
    std::vector<std::string> animationKeys() const;
    /// The values shown at the current time: the model's with the animations applied.
    CALayerValues presentationValues() const;
    /// A detached copy of the tree as shown now, without animations.
    CALayerRef presentation() const;

    /// Draws the tree as shown now into the context, in the layer's own coordinates.
    void renderInContext(CGContext& context) const;
    /// The same without the layer's own border, for a view that draws its content over its
    /// layer and puts the border on last (`renderBorderInContext`).
    void renderBelowBorderInContext(CGContext& context) const;
    /// Only the layer's own border as shown now, at the layer's opacity.
    void renderBorderInContext(CGContext& context) const;

    /// Told after every change of the layer's own values (the window that shows it passes the
    /// news on).
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  private:
    struct Running;
    void changed();
    void animateChange(const std::string& key, const CAAnimatedValues& before);
    void finish(std::uint64_t id);
    void stop(Running running, bool finished);
    void renderLayer(CGContext& context, const CALayerValues& shown, bool withBorder) const;
    void renderContent(CGContext& context, const CALayerValues& shown, bool withBorder) const;
    static void renderBorder(CGContext& context, const CALayerValues& shown);
    static double shownOpacity(const CALayerValues& shown);

    CALayerValues values_;
    std::vector<CALayerRef> sublayers_;
    CALayer* superlayer_ = nullptr;
    std::map<std::string, CAAnimationRef> actions_;
    CALayerDelegate* delegate_ = nullptr;
    std::vector<Running> animations_;
    std::uint64_t nextAnimationID_ = 1;
    std::function<void()> onChange_;
    /// Lets deferred animation ends find out whether the layer still exists.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
