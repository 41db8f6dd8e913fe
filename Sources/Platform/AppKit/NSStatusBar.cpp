#include "Platform/AppKit/NSStatusBar.h"

#include <cairo.h>

#include <cmath>

#include "Base/Foundation/DispatchQueue.h"
#include "Platform/AppKit/NSApplication.h"
#include "Simulator/SharedConnection.h"

namespace {

/// The margin a variable-length item keeps on each side of its image.
constexpr double variableMargin = 4;

sim::WindowPicture packImage(const NSImageRef& image) {
    const CGImageRef pixels = image ? image->CGImageForScale(1) : nullptr;
    if (!pixels) return {};
    cairo_surface_t* surface = pixels->surface();
    cairo_surface_flush(surface);
    const auto* data =
        reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
    const int stride = cairo_image_surface_get_stride(surface);
    if (!data || stride <= 0) return {};
    return sim::WindowPicture::pack(data, static_cast<std::uint32_t>(pixels->width()),
                                    static_cast<std::uint32_t>(pixels->height()),
                                    static_cast<std::size_t>(stride) / 4);
}

double firstScreenHeight() {
    const auto displays = sim::SharedConnection::current()->displays();
    return displays.empty() ? 0 : displays.front().frame.height();
}

}  // namespace

/// The window that holds an item's button: not a window of the desktop's list, framed where
/// the desktop placed the item; a change of the button is a change of the item.
class NSStatusItem::ButtonWindow : public NSWindow {
  public:
    ButtonWindow(NSStatusItem& item, CGRect frame) : NSWindow(frame, OffDesktop{}), item_(item) {}
    void viewsNeedDisplay() override { item_.setNeedsPublish(); }
    void place(const CGRect& frame) { setFrame(frame, false); }

  private:
    NSStatusItem& item_;
};

// ---- The button

bool NSStatusBarButton::showMenu() {
    const NSMenuRef menu = item_.menu();
    if (!menu) return false;
    const CGRect frame = item_.window()->frame();
    menu->popUpAtScreenPoint(CGPoint{frame.minX(), frame.minY()});
    return true;
}

void NSStatusBarButton::performClick(const void* sender) {
    if (!showMenu()) NSButton::performClick(sender);
}

void NSStatusBarButton::mouseDown(NSEvent& event) {
    if (!showMenu()) NSButton::mouseDown(event);
}

void NSStatusBarButton::rightMouseDown(NSEvent& event) {
    if (!showMenu()) NSButton::rightMouseDown(event);
}

std::optional<sim::InterfaceElement> NSStatusBarButton::accessibilityElement() const {
    return NSButton::accessibilityElement();
}

// ---- The bar

NSStatusBar& NSStatusBar::systemStatusBar() {
    static NSStatusBar* bar = new NSStatusBar();  // lives as long as the process
    return *bar;
}

NSStatusItemRef NSStatusBar::statusItemWithLength(double length) {
    auto item = std::make_shared<NSStatusItem>(length);
    if (item->identifier() != 0) items_[item->identifier()] = item;
    return item;
}

void NSStatusBar::removeStatusItem(const NSStatusItemRef& item) {
    if (!item || item->identifier() == 0) return;
    items_.erase(item->identifier());
    sim::SharedConnection::current()->removeStatusItem(item->identifier());
}

void NSStatusBar::deliver(const sim::StatusItemInput& input) {
    const auto found = items_.find(input.item);
    if (found == items_.end()) return;
    if (const auto item = found->second.lock()) item->deliver(input.event);
}

// ---- The item

NSStatusItem::NSStatusItem(double length) : length_(length) {
    window_ = std::make_unique<ButtonWindow>(*this, CGRect());
    button_ = std::make_shared<NSStatusBarButton>(*this);
    window_->contentView()->setWantsLayer(true);
    window_->contentView()->addSubview(button_);
    button_->setWantsLayer(true);
    // Made at its length, never for a moment as an empty item: a click aimed at it the moment
    // it is listed must find it where it stays.
    id_ = sim::SharedConnection::current()->createStatusItem(shownSpec());
    if (id_ != 0) refreshFrame(sim::SharedConnection::current()->statusItemFrame(id_));
}

NSStatusItem::~NSStatusItem() {
    if (id_ != 0) sim::SharedConnection::current()->removeStatusItem(id_);
}

NSWindow* NSStatusItem::window() const {
    return window_.get();
}

void NSStatusItem::setLength(double length) {
    length_ = length;
    setNeedsPublish();
}

double NSStatusItem::shownLength() const {
    if (length_ >= 0) return length_;
    if (length_ == NSSquareStatusItemLength) return NSStatusBar::systemStatusBar().thickness();
    const NSImageRef& image = button_->image();
    const double content = image ? image->size().width : 0;
    return std::ceil(content + 2 * variableMargin);
}

void NSStatusItem::setNeedsPublish() {
    needsPublish_ = true;
    if (publishScheduled_ || id_ == 0) return;
    publishScheduled_ = true;
    DispatchQueue::main().async([alive = std::weak_ptr<bool>(alive_), this] {
        if (!alive.lock()) return;
        publishScheduled_ = false;
        publishIfNeeded();
    });
}

sim::StatusItemSpec NSStatusItem::shownSpec() const {
    sim::StatusItemSpec spec;
    spec.length = shownLength();
    const NSImageRef& image = button_->image();
    if (image && button_->imagePosition() != NSCellImagePosition::noImage) {
        spec.image = packImage(image);
        spec.imageIsTemplate = image->isTemplate();
    }
    spec.label = button_->accessibilityLabel();
    spec.toolTip = button_->toolTip();
    return spec;
}

void NSStatusItem::publishIfNeeded() {
    if (!needsPublish_ || id_ == 0) return;
    needsPublish_ = false;
    refreshFrame(sim::SharedConnection::current()->updateStatusItem(id_, shownSpec()));
}

void NSStatusItem::refreshFrame(const CGRect& barFrame) {
    // From the desktop's top-left coordinates to the screen's.
    const CGRect frame(barFrame.minX(), firstScreenHeight() - barFrame.maxY(), barFrame.width(),
                       barFrame.height());
    window_->place(frame);
    button_->setFrame(CGRect(CGPoint{}, frame.size));
    needsPublish_ = false;  // placing the button is no change of what it shows
}

void NSStatusItem::deliver(const sim::InputEvent& input) {
    refreshFrame(sim::SharedConnection::current()->statusItemFrame(id_));
    auto event = std::make_shared<NSEvent>(input, window_.get());
    NSApplication& application = NSApplication::sharedApplication();
    application.withCurrentEvent(event, [&] {
        switch (event->type()) {
            case NSEventType::leftMouseDown:
                button_->mouseDown(*event);
                break;
            case NSEventType::leftMouseUp:
                button_->mouseUp(*event);
                break;
            case NSEventType::rightMouseDown:
                button_->rightMouseDown(*event);
                break;
            case NSEventType::rightMouseUp:
                button_->rightMouseUp(*event);
                break;
            default:
                break;
        }
    });
}
