#include "Platform/AppKit/NSMenuWindow.h"

#include <algorithm>
#include <cmath>

#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSGraphicsContext.h"

namespace {

constexpr std::uint16_t escapeKeyCode = 53;
constexpr const char* checkMark = "✓";

double heightOf(const NSMenuItem& item) {
    return item.isSeparatorItem() ? NSMenuWindow::separatorHeight : NSMenuWindow::rowHeight;
}

NSAttributedString shownText(const NSMenuItem& item) {
    if (item.attributedTitle()) return *item.attributedTitle();
    NSTextAttributes attributes;
    attributes.font = NSFont::menuFontOfSize(0);
    attributes.foregroundColor = NSColor::labelColor();
    return NSAttributedString(item.title(), attributes);
}

/// One row of an open menu: an item or a separator. Rows lie top-down in the menu's content.
class MenuRow : public NSView {
  public:
    MenuRow(NSMenu& menu, NSMenuItemRef item, CGRect frame)
        : NSView(frame), menu_(menu), item_(std::move(item)) {}

    void drawRect(const CGRect&) override {
        const CGRect box = bounds();
        CGContext& context = NSGraphicsContext::currentContext()->cgContext();
        if (item_->isSeparatorItem()) {
            context.setFillColor(CGColorCreateGenericGray(0, 0.15));
            context.fill(CGRect(box.minX() + 10, std::round(box.midY()), box.width() - 20, 1));
            return;
        }
        const double alpha = item_->isEnabled() ? 1 : 0.35;
        context.saveGState();
        context.setAlpha(alpha);
        const NSAttributedString text = shownText(*item_);
        const CGSize size = text.size();
        const double y = std::round(box.midY() - size.height / 2);
        text.drawAtPoint(CGPoint{NSMenuWindow::horizontalPadding, y});
        if (item_->state() == NSControlStateValueOn) {
            NSTextAttributes attributes;
            attributes.font = NSFont::menuFontOfSize(0);
            NSAttributedString(checkMark, attributes).drawAtPoint(CGPoint{6, y});
        }
        context.restoreGState();
    }

    void mouseUp(NSEvent& event) override {
        if (!bounds().contains(convertPointFromWindow(event.locationInWindow()))) return;
        if (item_->isSeparatorItem() || !item_->isEnabled()) return;
        const NSMenuItemRef picked = item_;
        menu_.finishTracking(picked.get());
    }

    std::optional<sim::InterfaceElement> accessibilityElement() const override {
        if (item_->isSeparatorItem()) return std::nullopt;
        sim::InterfaceElement element;
        element.role = "menuItem";
        element.label = item_->shownTitle();
        element.frame = bounds();
        element.enabled = item_->isEnabled();
        return element;
    }

  private:
    NSMenu& menu_;
    NSMenuItemRef item_;
};

/// The content of a menu's window: a light card, top-down.
class MenuContent : public NSView {
  public:
    using NSView::NSView;
    bool isFlipped() const override { return true; }
};

}  // namespace

CGSize NSMenuWindow::sizeFor(const NSMenu& menu) {
    double width = minimumWidth;
    double height = 2 * verticalPadding;
    for (const NSMenuItemRef& item : menu.itemArray()) {
        height += heightOf(*item);
        if (!item->isSeparatorItem())
            width =
                std::max(width, std::ceil(shownText(*item).size().width) + 2 * horizontalPadding);
    }
    return CGSize{width, height};
}

NSMenuWindow::NSMenuWindow(NSMenu& menu, CGPoint topLeft)
    : NSPanel(CGRect(topLeft.x, topLeft.y - sizeFor(menu).height, sizeFor(menu).width,
                     sizeFor(menu).height),
              NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered, false),
      menu_(menu) {
    setLevel(NSPopUpMenuWindowLevel);
    setOpaque(false);
    setBackgroundColor(NSColor::clearColor());
    const CGSize size = frame().size;
    auto content = std::make_shared<MenuContent>(CGRect(CGPoint{}, size));
    content->setWantsLayer(true);
    content->layer()->setBackgroundColor(CGColorCreateGenericGray(0.96, 0.98));
    content->layer()->setCornerRadius(6);
    content->layer()->setBorderWidth(0.5);
    content->layer()->setBorderColor(CGColorCreateGenericGray(0, 0.2));
    double y = verticalPadding;
    for (const NSMenuItemRef& item : menu.itemArray()) {
        const double height = heightOf(*item);
        content->addSubview(
            std::make_shared<MenuRow>(menu, item, CGRect(0, y, size.width, height)));
        y += height;
    }
    setContentView(content);
}

std::vector<sim::MenuItemRecord> NSMenuWindow::menuItemRecords() const {
    std::vector<sim::MenuItemRecord> records;
    double y = verticalPadding;
    for (const NSMenuItemRef& item : menu_.itemArray()) {
        const double height = heightOf(*item);
        records.push_back(sim::MenuItemRecord{
            item->shownTitle(), item->isEnabled(), item->isSeparatorItem(), item->state(),
            CGRect(0, y, frame().width(), height), item->title()});
        y += height;
    }
    return records;
}

void NSMenuWindow::mouseDown(NSEvent& event) {
    // A press that no row took: on the menu's padding, or outside it, which closes it.
    const CGPoint at = event.locationInWindow();
    if (CGRect(CGPoint{}, frame().size).contains(at)) return;
    menu_.cancelTracking();
}

void NSMenuWindow::rightMouseDown(NSEvent& event) {
    mouseDown(event);
}

void NSMenuWindow::keyDown(NSEvent& event) {
    if (event.keyCode() == escapeKeyCode) menu_.cancelTracking();
}

void NSMenuWindow::cancelOperation(const void*) {
    menu_.cancelTracking();
}
