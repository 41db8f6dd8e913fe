#include <functional>

#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSWindow.h"

// How a window hands the events the desktop gives it to its views.

namespace {

constexpr std::uint16_t escapeKeyCode = 53;

/// The views of a tree, front-most last, depth first: the order key equivalents are offered in.
bool offerKeyEquivalent(NSView& view, NSEvent& event) {
    if (view.isHidden()) return false;
    if (view.performKeyEquivalent(event)) return true;
    for (const NSViewRef& subview : view.subviews()) {
        if (offerKeyEquivalent(*subview, event)) return true;
    }
    return false;
}

bool isInside(const NSResponder* responder, const NSView& view) {
    for (const NSViewRef& subview : view.subviews()) {
        if (subview.get() == responder || isInside(responder, *subview)) return true;
    }
    return false;
}

}  // namespace

bool NSWindow::makeFirstResponder(NSResponder* responder) {
    if (responder == this) responder = nullptr;
    if (responder == firstResponder_) return true;
    if (responder && !responder->acceptsFirstResponder()) return false;
    if (firstResponder_ && !firstResponder_->resignFirstResponder()) return false;
    firstResponder_ = nullptr;
    if (responder && !responder->becomeFirstResponder()) return false;
    // A text field hands the focus on to its field editor as it becomes first responder.
    if (!firstResponder_) firstResponder_ = responder;
    viewsNeedDisplay();
    return true;
}

void NSWindow::viewWillLeaveWindow(NSView& view) {
    if (mouseView_ && (mouseView_ == &view || mouseView_->isDescendantOf(&view)))
        mouseView_ = nullptr;
    if (hoverView_ && (hoverView_ == &view || hoverView_->isDescendantOf(&view)))
        hoverView_ = nullptr;
    if (firstResponder_ == &view || isInside(firstResponder_, view)) firstResponder_ = nullptr;
}

bool NSWindow::performKeyEquivalent(NSEvent& event) {
    return contentView_ && offerKeyEquivalent(*contentView_, event);
}

void NSWindow::keyDown(NSEvent& event) {
    // Nobody took the key: Escape asks the chain, from the first responder, to cancel.
    if (event.keyCode() == escapeKeyCode) firstResponder()->cancelOperation(this);
}

void NSWindow::sendEvent(NSEvent& event) {
    switch (event.type()) {
        case NSEventType::keyDown:
            firstResponder()->keyDown(event);
            break;
        case NSEventType::keyUp:
            firstResponder()->keyUp(event);
            break;
        default:
            sendMouse(event);
            break;
    }
}

void NSWindow::trackPointer(NSEvent& event) {
    NSView* under = contentView_ ? contentView_->hitTest(event.locationInWindow()) : nullptr;
    if (hoverView_ && hoverView_ != under) hoverView_->mouseExited(event);
    hoverView_ = under;
    if (under) under->mouseMoved(event);
}

void NSWindow::sendMouse(NSEvent& event) {
    const NSEventType type = event.type();
    if (type == NSEventType::mouseMoved) return trackPointer(event);
    if (type == NSEventType::scrollWheel) {
        // The wheel turns the view under the pointer, whatever button is held.
        NSView* under = contentView_ ? contentView_->hitTest(event.locationInWindow()) : nullptr;
        if (under) under->scrollWheel(event);
        return;
    }
    const bool press = type == NSEventType::leftMouseDown || type == NSEventType::rightMouseDown;
    if (press) {
        NSView* hit = contentView_ ? contentView_->hitTest(event.locationInWindow()) : nullptr;
        mouseView_ = hit;
        if (type == NSEventType::leftMouseDown) {
            makeKeyWindow();
            if (hit && hit->acceptsFirstResponder()) makeFirstResponder(hit);
        }
    }
    NSResponder* target = mouseView_ ? static_cast<NSResponder*>(mouseView_) : this;
    switch (type) {
        case NSEventType::leftMouseDown:
            target->mouseDown(event);
            break;
        case NSEventType::leftMouseUp:
            target->mouseUp(event);
            break;
        case NSEventType::leftMouseDragged:
            target->mouseDragged(event);
            break;
        case NSEventType::rightMouseDown:
            target->rightMouseDown(event);
            break;
        case NSEventType::rightMouseUp:
            target->rightMouseUp(event);
            break;
        default:
            break;
    }
    if (type == NSEventType::leftMouseUp || type == NSEventType::rightMouseUp) mouseView_ = nullptr;
}
