#include "Platform/AppKit/NSButton.h"

#include <algorithm>
#include <cmath>

#include "Platform/AppKit/NSAttributedString.h"

void NSButton::setTitle(std::string title) {
    title_ = std::move(title);
    setNeedsDisplay();
}

void NSButton::setImage(NSImageRef image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

void NSButton::setImagePosition(NSCellImagePosition position) {
    imagePosition_ = position;
    setNeedsDisplay();
}

void NSButton::setImageScaling(NSImageScaling scaling) {
    imageScaling_ = scaling;
    setNeedsDisplay();
}

void NSButton::setState(NSControlStateValue state) {
    state_ = state;
    setNeedsDisplay();
}

void NSButton::performClick(const void*) {
    if (isEnabled()) sendAction(action(), target());
}

CGRect NSButton::imageRect() const {
    if (!image_) return {};
    const CGRect box = bounds();
    CGSize size = image_->size();
    const bool shrink = imageScaling_ == NSImageScaling::proportionallyDown &&
                        (size.width > box.width() || size.height > box.height());
    if (imageScaling_ == NSImageScaling::axesIndependently) {
        size = box.size;
    } else if (shrink || imageScaling_ == NSImageScaling::proportionallyUpOrDown) {
        const double factor = size.width > 0 && size.height > 0
                                  ? std::min(box.width() / size.width, box.height() / size.height)
                                  : 0;
        size = CGSize{size.width * factor, size.height * factor};
    }
    return CGRect(std::round(box.midX() - size.width / 2), std::round(box.midY() - size.height / 2),
                  size.width, size.height);
}

void NSButton::drawRect(const CGRect&) {
    const bool showsImage = image_ && imagePosition_ != NSCellImagePosition::noImage;
    if (showsImage)
        image_->drawInRect(imageRect(), NSCompositingOperation::sourceOver,
                           isEnabled() ? 1.0 : 0.5);
    if (title_.empty() || imagePosition_ == NSCellImagePosition::imageOnly) return;
    NSTextAttributes attributes;
    attributes.font = NSFont::systemFontOfSize(NSFont::systemFontSize);
    attributes.foregroundColor = NSColor::labelColor();
    const NSAttributedString text(title_, attributes);
    const CGSize size = text.size();
    text.drawAtPoint(CGPoint{std::round(bounds().midX() - size.width / 2),
                             std::round(bounds().midY() - size.height / 2)});
}

bool NSButton::actOn(NSEvent& event) {
    const auto type = static_cast<std::uint32_t>(event.type());
    if (!isEnabled() || (actionMask() & (NSEventMask{1} << type)) == 0) return false;
    sendAction(action(), target());
    return true;
}

void NSButton::mouseDown(NSEvent& event) {
    actOn(event);
}

void NSButton::mouseUp(NSEvent& event) {
    // A release away from the button is a press given up.
    if (bounds().contains(convertPointFromWindow(event.locationInWindow()))) actOn(event);
}

void NSButton::rightMouseDown(NSEvent& event) {
    if (!actOn(event)) NSControl::rightMouseDown(event);
}

void NSButton::rightMouseUp(NSEvent& event) {
    if (!actOn(event)) NSControl::rightMouseUp(event);
}

std::optional<sim::InterfaceElement> NSButton::accessibilityElement() const {
    sim::InterfaceElement element;
    element.role = "button";
    element.label = accessibilityLabel().empty() ? title_ : accessibilityLabel();
    if (!accessibilityIdentifier().empty()) element.identifier = accessibilityIdentifier();
    element.frame = bounds();
    element.enabled = isEnabled();
    return element;
}
