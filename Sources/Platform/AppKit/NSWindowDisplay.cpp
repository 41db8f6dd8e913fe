#include <cmath>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Platform/AppKit/NSWindow.h"
#include "Simulator/SharedConnection.h"

// How a window's content becomes the picture the desktop shows: drawn by this process once per
// turn of the main loop after a change, and sent with the element tree.

namespace {

/// The pixels of a bitmap, packed for the desktop.
sim::WindowPicture pack(const CGBitmapContext* bitmap) {
    if (!bitmap || !bitmap->pixels()) return {};
    return sim::WindowPicture::pack(bitmap->pixels(), static_cast<std::uint32_t>(bitmap->width()),
                                    static_cast<std::uint32_t>(bitmap->height()),
                                    bitmap->rowLength());
}

}  // namespace

void NSWindow::viewsNeedDisplay() {
    needsDisplay_ = true;
    scheduleDisplay();
}

void NSWindow::scheduleDisplay() {
    if (displayScheduled_ || !onDesktop_ || number_ == 0 || !visible_) return;
    displayScheduled_ = true;
    DispatchQueue::main().async([alive = std::weak_ptr<bool>(alive_), this] {
        if (!alive.lock()) return;
        displayScheduled_ = false;
        displayIfNeeded();
    });
}

void NSWindow::displayIfNeeded() {
    if (!needsDisplay_ || !visible_ || !onDesktop_ || number_ == 0) return;
    // Before the flag goes down: what this lays out asks for the picture about to be drawn.
    if (contentView_) contentView_->viewWillDraw();
    if (!visible_ || !onDesktop_ || number_ == 0) return;
    needsDisplay_ = false;
    sim::OwnWindowContent content;
    content.number = static_cast<sim::WindowNumber>(number_);
    content.drawing = pack(renderContent());
    content.elements = elementTree();
    content.menu = menuItemRecords();
    sim::SharedConnection::current()->drawOwnWindow(content);
    ++picturesSent_;
}

const CGBitmapContext* NSWindow::renderContent() {
    const auto side = [](double points) {
        return std::isfinite(points) ? static_cast<int>(std::ceil(std::max(points, 0.0))) : 0;
    };
    const int width = side(frame_.width()), height = side(frame_.height());
    if (backing_ && backing_->width() == width && backing_->height() == height) {
        backing_->clear();
    } else {
        backing_ = CGBitmapContext::make(width, height);
    }
    if (!backing_) return nullptr;
    backing_->saveGState();
    if (background_) {
        backing_->setFillColor(background_->CGColor());
        backing_->fill(CGRect(CGPoint{}, frame_.size));
    }
    if (contentView_) contentView_->displayInContext(*backing_);
    backing_->restoreGState();
    return backing_.get();
}

std::vector<sim::InterfaceElement> NSWindow::elementTree() const {
    std::vector<sim::InterfaceElement> elements;
    if (contentView_) contentView_->collectAccessibilityElements(frame_.height(), elements);
    return elements;
}
