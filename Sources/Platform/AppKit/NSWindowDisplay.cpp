#include <cairo.h>

#include <cmath>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Platform/AppKit/NSWindow.h"
#include "Simulator/SharedConnection.h"

// How a window's content becomes the picture the desktop shows: drawn by this process once per
// turn of the main loop after a change, and sent with the element tree.

namespace {

void collectElements(const NSView& view, double height, std::vector<sim::InterfaceElement>& out) {
    if (view.isHidden()) return;
    if (auto element = view.accessibilityElement()) {
        const CGRect inWindow = view.convertRectToWindow(element->frame);
        element->frame =
            CGRect(inWindow.minX(), height - inWindow.maxY(), inWindow.width(), inWindow.height());
        if (!element->toolTip && !view.toolTip().empty()) element->toolTip = view.toolTip();
        out.push_back(std::move(*element));
    }
    for (const NSViewRef& subview : view.subviews())
        collectElements(*subview, height, out);
}

/// The pixels of an image, packed for the desktop.
sim::WindowPicture pack(const CGImageRef& image) {
    if (!image) return {};
    cairo_surface_t* surface = image->surface();
    cairo_surface_flush(surface);
    const auto* data =
        reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
    const int stride = cairo_image_surface_get_stride(surface);
    if (!data || stride <= 0) return {};
    return sim::WindowPicture::pack(data, static_cast<std::uint32_t>(image->width()),
                                    static_cast<std::uint32_t>(image->height()),
                                    static_cast<std::size_t>(stride) / 4);
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
    needsDisplay_ = false;
    sim::OwnWindowContent content;
    content.number = static_cast<sim::WindowNumber>(number_);
    content.drawing = pack(renderContent());
    content.elements = elementTree();
    content.menu = menuItemRecords();
    sim::SharedConnection::current()->drawOwnWindow(content);
    ++picturesSent_;
}

CGImageRef NSWindow::renderContent() const {
    const auto side = [](double points) {
        return std::isfinite(points) ? static_cast<int>(std::ceil(std::max(points, 0.0))) : 0;
    };
    auto bitmap = CGBitmapContext::make(side(frame_.width()), side(frame_.height()));
    if (!bitmap) return nullptr;
    if (background_) {
        bitmap->setFillColor(background_->CGColor());
        bitmap->fill(CGRect(CGPoint{}, frame_.size));
    }
    if (contentView_) contentView_->displayInContext(*bitmap);
    return bitmap->makeImage();
}

std::vector<sim::InterfaceElement> NSWindow::elementTree() const {
    std::vector<sim::InterfaceElement> elements;
    if (contentView_) collectElements(*contentView_, frame_.height(), elements);
    return elements;
}
