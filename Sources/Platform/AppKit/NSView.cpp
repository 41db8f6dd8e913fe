#include "Platform/AppKit/NSView.h"

#include <algorithm>

#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/NSWindow.h"

NSView::NSView(CGRect frame) : frame_(frame) {}

NSView::~NSView() {
    if (layer_) {
        layer_->setDelegate(nullptr);
        layer_->setOnChange({});
    }
    for (const NSViewRef& view : subviews_) {
        view->superview_ = nullptr;
        view->setWindowOfTree(nullptr);
    }
}

void NSView::setFrame(CGRect frame) {
    const bool resized = frame.size != frame_.size;
    frame_ = frame;
    placeLayer();
    if (resized) layoutSubtreeIfNeeded();
    setNeedsDisplay();
}

void NSView::setFrameSize(CGSize size) {
    setFrame(CGRect(frame_.origin, size));
}

void NSView::setHidden(bool hidden) {
    if (hidden_ == hidden) return;
    hidden_ = hidden;
    setNeedsDisplay();
}

void NSView::addSubview(const NSViewRef& view) {
    if (!view || view.get() == this) return;
    const NSViewRef keep = view;
    view->removeFromSuperview();
    subviews_.push_back(view);
    view->superview_ = this;
    view->setWindowOfTree(window_);
    view->applyPins();
    setNeedsDisplay();
}

void NSView::removeFromSuperview() {
    NSView* former = superview_;
    if (!former) return;
    const NSViewRef keep = [&] {
        for (const NSViewRef& view : former->subviews_)
            if (view.get() == this) return view;
        return NSViewRef();
    }();
    std::erase_if(former->subviews_, [&](const NSViewRef& view) { return view.get() == this; });
    superview_ = nullptr;
    former->setNeedsDisplay();
    setWindowOfTree(nullptr);
}

bool NSView::isDescendantOf(const NSView* view) const {
    for (const NSView* at = this; at; at = at->superview_) {
        if (at == view) return true;
    }
    return false;
}

void NSView::setWindowOfTree(NSWindow* window) {
    if (window_ != window && window_) window_->viewWillLeaveWindow(*this);
    window_ = window;
    for (const NSViewRef& view : subviews_)
        view->setWindowOfTree(window);
}

void NSView::setWantsLayer(bool wants) {
    wantsLayer_ = wants;
    if (wants && !layer_) setLayer(std::make_shared<CALayer>());
}

void NSView::setLayer(CALayerRef layer) {
    if (layer_) {
        layer_->setDelegate(nullptr);
        layer_->setOnChange({});
    }
    layer_ = std::move(layer);
    if (layer_) layer_->setDelegate(this);
    placeLayer();
    wireLayer();
    if (onLayerChange_) onLayerChange_();
    setNeedsDisplay();
}

void NSView::setOnLayerChange(std::function<void()> onChange) {
    onLayerChange_ = std::move(onChange);
    wireLayer();
}

void NSView::wireLayer() {
    if (!layer_) return;
    layer_->setOnChange([this] {
        if (onLayerChange_) onLayerChange_();
        setNeedsDisplay();
    });
}

void NSView::placeLayer() {
    if (!layer_) return;
    // The layer follows the view without telling anyone: the view's own change is what shows.
    const auto onChange = [this] {
        if (onLayerChange_) onLayerChange_();
        setNeedsDisplay();
    };
    layer_->setOnChange({});
    layer_->setBounds(bounds());
    const CGPoint anchor = layer_->anchorPoint();
    layer_->setPosition(CGPoint{frame_.minX() + anchor.x * frame_.width(),
                                frame_.minY() + anchor.y * frame_.height()});
    layer_->setOnChange(onChange);
}

std::optional<CAAnimationRef> NSView::actionForLayer(const CALayer&, const std::string&) {
    return CAAnimationRef();
}

void NSView::setNeedsDisplay(bool needs) {
    if (needs && window_) window_->viewsNeedDisplay();
}

void NSView::drawRect(const CGRect&) {}

void NSView::displayInContext(CGContext& context) const {
    if (hidden_) return;
    context.saveGState();
    // Into the view's own coordinates, y up, whatever its superview's direction.
    const double y = superview_ && superview_->isFlipped()
                         ? superview_->frame_.height() - frame_.maxY()
                         : frame_.minY();
    context.translateBy(frame_.minX(), y);
    if (layer_) applyLayerTransform(context);
    // The view's layer holds only what was put in it; the subviews draw their own below. Its
    // border goes on last, over the view's drawing and its subviews.
    if (layer_) layer_->renderBelowBorderInContext(context);
    context.saveGState();
    if (isFlipped()) {
        context.translateBy(0, frame_.height());
        context.scaleBy(1, -1);
    }
    {
        NSGraphicsContext graphics(context, isFlipped());
        NSGraphicsContextScope scope(graphics);
        const_cast<NSView*>(this)->drawRect(bounds());
    }
    context.restoreGState();
    if (layer_ && layer_->masksToBounds()) {
        CGPath outline;
        outline.addRoundedRect(bounds(), std::max(0.0, layer_->cornerRadius()),
                               layer_->cornerCurve() == CALayerCornerCurve::continuous
                                   ? CGRoundedCornerStyle::continuous
                                   : CGRoundedCornerStyle::circular);
        context.addPath(outline);
        context.clip();
    }
    for (const NSViewRef& view : subviews_)
        view->displayInContext(context);
    if (layer_) layer_->renderBorderInContext(context);
    context.restoreGState();
}

void NSView::applyLayerTransform(CGContext& context) const {
    const CALayerValues shown = layer_->presentationValues();
    if (CATransform3DIsIdentity(shown.transform)) return;
    // A layer-backed view is shown through its layer: the layer's transform, about its anchor
    // point, carries the view's drawing and its subviews with it.
    const CGPoint anchor{shown.anchorPoint.x * frame_.width(),
                         shown.anchorPoint.y * frame_.height()};
    context.translateBy(anchor.x, anchor.y);
    context.concatenate(CATransform3DGetAffineTransform(shown.transform));
    context.translateBy(-anchor.x, -anchor.y);
}

CGPoint NSView::convertPointFromWindow(CGPoint point) const {
    const CGPoint inSuperview = superview_ ? superview_->convertPointFromWindow(point) : point;
    const double height = frame_.height();
    const double fromBottom = superview_ && superview_->isFlipped() ? frame_.maxY() - inSuperview.y
                                                                    : inSuperview.y - frame_.minY();
    return CGPoint{inSuperview.x - frame_.minX(), isFlipped() ? height - fromBottom : fromBottom};
}

CGRect NSView::convertRectToWindow(const CGRect& rect) const {
    const double height = frame_.height();
    // In the view's own coordinates with y up.
    const double bottom = isFlipped() ? height - rect.maxY() : rect.minY();
    CGRect inSuperview;
    if (superview_ && superview_->isFlipped()) {
        inSuperview = CGRect(frame_.minX() + rect.minX(), frame_.maxY() - bottom - rect.height(),
                             rect.width(), rect.height());
    } else {
        inSuperview = CGRect(frame_.minX() + rect.minX(), frame_.minY() + bottom, rect.width(),
                             rect.height());
    }
    return superview_ ? superview_->convertRectToWindow(inSuperview) : inSuperview;
}

NSView* NSView::hitTest(CGPoint point) {
    if (hidden_) return nullptr;
    const double fromBottom =
        superview_ && superview_->isFlipped() ? frame_.maxY() - point.y : point.y - frame_.minY();
    const CGPoint own{point.x - frame_.minX(),
                      isFlipped() ? frame_.height() - fromBottom : fromBottom};
    if (own.x < 0 || own.y < 0 || own.x >= frame_.width() || own.y >= frame_.height())
        return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        if (NSView* hit = (*it)->hitTest(own)) return hit;
    }
    return this;
}

void NSView::addConstraint(NSLayoutConstraintRef constraint) {
    pins_.push_back(std::move(constraint));
    applyPins();
}

void NSView::removeConstraint(NSLayoutConstraint* constraint) {
    std::erase_if(pins_, [&](const NSLayoutConstraintRef& pin) { return pin.get() == constraint; });
}

void NSView::applyPins() {
    if (!superview_ || pins_.empty()) return;
    const CGSize outer = superview_->frame_.size;
    const bool flipped = superview_->isFlipped();
    double left = frame_.minX(), right = frame_.maxX();
    // Top and bottom as distances from the superview's top edge.
    double top = flipped ? frame_.minY() : outer.height - frame_.maxY();
    double bottom = flipped ? frame_.maxY() : outer.height - frame_.minY();
    bool placed = false;
    for (const NSLayoutConstraintRef& pin : pins_) {
        if (!pin->pinsToSuperview()) continue;
        placed = true;
        const double c = pin->constant();
        switch (pin->firstAnchor().attribute()) {
            case NSLayoutAttribute::leading:
                left = c;
                break;
            case NSLayoutAttribute::trailing:
                right = outer.width + c;
                break;
            case NSLayoutAttribute::top:
                top = c;
                break;
            case NSLayoutAttribute::bottom:
                bottom = outer.height + c;
                break;
        }
    }
    if (!placed) return;
    const double width = std::max(0.0, right - left);
    const double height = std::max(0.0, bottom - top);
    const double y = flipped ? top : outer.height - bottom;
    setFrame(CGRect(left, y, width, height));
}

void NSView::viewWillDraw() {
    // The list may change while a view lays itself out.
    for (const NSViewRef& view : std::vector<NSViewRef>(subviews_))
        view->viewWillDraw();
}

void NSView::layoutSubtreeIfNeeded() {
    for (const NSViewRef& view : subviews_) {
        view->applyPins();
        view->layoutSubtreeIfNeeded();
    }
}

void NSView::setToolTip(std::string toolTip) {
    toolTip_ = std::move(toolTip);
    setNeedsDisplay();
}

void NSView::setAccessibilityLabel(std::string label) {
    label_ = std::move(label);
    setNeedsDisplay();
}

std::optional<sim::InterfaceElement> NSView::accessibilityElement() const {
    return std::nullopt;
}

sim::InterfaceElement NSView::elementInWindow(sim::InterfaceElement element,
                                              double windowHeight) const {
    const CGRect inWindow = convertRectToWindow(element.frame);
    element.frame = CGRect(inWindow.minX(), windowHeight - inWindow.maxY(), inWindow.width(),
                           inWindow.height());
    if (!element.toolTip && !toolTip_.empty()) element.toolTip = toolTip_;
    return element;
}

void NSView::collectAccessibilityElements(double windowHeight,
                                          std::vector<sim::InterfaceElement>& out) const {
    if (hidden_) return;
    if (auto element = accessibilityElement())
        out.push_back(elementInWindow(std::move(*element), windowHeight));
    for (const NSViewRef& subview : subviews_)
        subview->collectAccessibilityElements(windowHeight, out);
}

CGSize NSView::intrinsicContentSize() const {
    return CGSize{noIntrinsicMetric, noIntrinsicMetric};
}

NSResponder* NSView::nextResponder() const {
    if (NSResponder* next = NSResponder::nextResponder()) return next;
    if (superview_) return superview_;
    return window_;
}
