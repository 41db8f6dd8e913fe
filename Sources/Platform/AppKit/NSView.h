#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGContext.h"
#include "Base/Foundation/CGGeometry.h"
#include "Platform/AppKit/NSLayoutConstraint.h"
#include "Platform/AppKit/NSResponder.h"
#include "Platform/QuartzCore/CALayer.h"
#include "Simulator/InterfaceElement.h"

class NSWindow;
class NSView;
using NSViewRef = std::shared_ptr<NSView>;

/// A view: a rectangle of a window (its frame in its superview, bottom left, y up unless the
/// superview is flipped), the subviews it holds in front of it, and what it draws: its layer,
/// when it wants one, then its own drawing. A change that shows marks its window for a new
/// picture, drawn once on the next turn of the main loop.
///
/// The view is its layer's delegate and answers every action with the null action, so that a
/// view's layer never animates a change by itself.
class NSView : public NSResponder, public CALayerDelegate {
  public:
    explicit NSView(CGRect frame = {});
    ~NSView() override;

    CGRect frame() const { return frame_; }
    void setFrame(CGRect frame);
    void setFrameSize(CGSize size);
    /// Its own coordinates: its frame's size at the origin.
    CGRect bounds() const { return CGRect(CGPoint{}, frame_.size); }
    /// Subviews lie top-down in a flipped view.
    virtual bool isFlipped() const { return false; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);

    // The tree.
    const std::vector<NSViewRef>& subviews() const { return subviews_; }
    /// Adds in front of the others, taking the view from its former superview.
    void addSubview(const NSViewRef& view);
    void removeFromSuperview();
    NSView* superview() const { return superview_; }
    NSWindow* window() const { return window_; }
    /// Whether `view` is this view or lies inside it.
    bool isDescendantOf(const NSView* view) const;

    // Layers.
    bool wantsLayer() const { return wantsLayer_; }
    /// Gives the view a layer when it has none.
    void setWantsLayer(bool wants);
    const CALayerRef& layer() const { return layer_; }
    void setLayer(CALayerRef layer);
    /// Told when the layer changes (the window passes it on to the desktop).
    void setOnLayerChange(std::function<void()> onChange);
    std::optional<CAAnimationRef> actionForLayer(const CALayer& layer,
                                                 const std::string& key) override;

    // Drawing.
    /// Asks for a new picture of the window that shows the view.
    void setNeedsDisplay(bool needs = true);
    /// Draws the view's own content into the current graphics context, in its bounds.
    virtual void drawRect(const CGRect& dirtyRect);
    /// Called on every view of a window just before the window draws: what is still to be
    /// laid out for this picture is laid out now, so that one picture shows all of a turn's
    /// changes. Subviews are asked after their superview.
    virtual void viewWillDraw();
    /// Draws the view, its layer and its subviews into the context, whose user space is the
    /// view's superview's (window content for the content view), y up.
    void displayInContext(CGContext& context) const;

    // Coordinates.
    /// A point of the window's content (bottom left, y up) in this view's coordinates.
    CGPoint convertPointFromWindow(CGPoint point) const;
    /// A rectangle of this view in the window's content coordinates (bottom left, y up).
    CGRect convertRectToWindow(const CGRect& rect) const;
    /// The deepest view under the point, given in the superview's coordinates; null when the
    /// point is outside the view or the view is hidden.
    virtual NSView* hitTest(CGPoint point);

    // Layout: edges pinned to the superview's by active constraints.
    bool translatesAutoresizingMaskIntoConstraints() const { return translatesMask_; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates) {
        translatesMask_ = translates;
    }
    NSLayoutAnchor leadingAnchor() { return NSLayoutAnchor(this, NSLayoutAttribute::leading); }
    NSLayoutAnchor trailingAnchor() { return NSLayoutAnchor(this, NSLayoutAttribute::trailing); }
    NSLayoutAnchor topAnchor() { return NSLayoutAnchor(this, NSLayoutAttribute::top); }
    NSLayoutAnchor bottomAnchor() { return NSLayoutAnchor(this, NSLayoutAttribute::bottom); }
    /// Places the subviews whose edges are pinned to this view's.
    void layoutSubtreeIfNeeded();

    /// The text shown when the pointer rests on the view; empty for none.
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string toolTip);

    // Accessibility.
    const std::string& accessibilityIdentifier() const { return identifier_; }
    void setAccessibilityIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    const std::string& accessibilityLabel() const { return label_; }
    void setAccessibilityLabel(std::string label);
    /// The element the view publishes in its window's element tree, frame in the view's own
    /// coordinates; none for a view that people do not read (a plain container). Controls
    /// override it.
    virtual std::optional<sim::InterfaceElement> accessibilityElement() const;
    /// Appends the elements of the view and of what it holds, in reading order, frames in the
    /// window's content (top left, y down) for a content `windowHeight` high: its own element,
    /// then its subviews'. A view that shows more than one element of its own overrides it.
    virtual void collectAccessibilityElements(double windowHeight,
                                              std::vector<sim::InterfaceElement>& out) const;
    /// Converts an element's frame from this view's coordinates into the window's content (top
    /// left, y down), filling in the view's tooltip when the element has none.
    sim::InterfaceElement elementInWindow(sim::InterfaceElement element, double windowHeight) const;

    /// The size the view's content asks for when nothing else decides; `noIntrinsicMetric` for
    /// a length it leaves to its container.
    virtual CGSize intrinsicContentSize() const;
    static constexpr double noIntrinsicMetric = -1;

    // The responder chain: a view hands on to its superview, the content view to its window.
    NSResponder* nextResponder() const override;

    /// For the window: the view becomes (or stops being) the content view of `window`.
    void setWindowOfTree(NSWindow* window);

  private:
    friend class NSLayoutConstraint;

    void wireLayer();
    void placeLayer();
    /// Moves the context as the layer's presented transform moves the view.
    void applyLayerTransform(CGContext& context) const;
    void addConstraint(NSLayoutConstraintRef constraint);
    void removeConstraint(NSLayoutConstraint* constraint);
    void applyPins();

    CGRect frame_;
    bool hidden_ = false;
    std::vector<NSViewRef> subviews_;
    NSView* superview_ = nullptr;
    NSWindow* window_ = nullptr;
    bool wantsLayer_ = false;
    CALayerRef layer_;
    std::function<void()> onLayerChange_;
    bool translatesMask_ = true;
    /// Active constraints that place this view against its superview.
    std::vector<NSLayoutConstraintRef> pins_;
    std::string identifier_;
    std::string label_;
    std::string toolTip_;
};
