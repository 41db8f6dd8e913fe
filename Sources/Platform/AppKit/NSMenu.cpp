#include "Platform/AppKit/NSMenu.h"

#include <algorithm>
#include <cctype>

#include "Base/Foundation/DispatchQueue.h"

#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSMenuWindow.h"
#include "Platform/AppKit/NSScreen.h"

namespace {

// The menu open now in this process (main thread only); one at a time, as on the platform.
NSMenu* currentMenu = nullptr;

std::string lowercase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

constexpr std::uint64_t keyEquivalentFlags = NSEventModifierFlagShift | NSEventModifierFlagControl |
                                             NSEventModifierFlagOption | NSEventModifierFlagCommand;

}  // namespace

std::shared_ptr<NSMenuItem> NSMenuItem::separatorItem() {
    auto item = std::make_shared<NSMenuItem>("", "", "");
    item->separator_ = true;
    return item;
}

std::string NSMenuItem::shownTitle() const {
    return attributedTitle_ ? attributedTitle_->string() : title_;
}

void NSMenuDelegate::menuNeedsUpdate(NSMenu&) {}
void NSMenuDelegate::menuDidClose(NSMenu&) {}

NSMenu::NSMenu(std::string title) : title_(std::move(title)) {}

NSMenu::~NSMenu() {
    if (currentMenu == this) currentMenu = nullptr;
}

NSMenuItemRef NSMenu::addItemWithTitle(std::string title, std::string action,
                                       std::string keyEquivalent) {
    auto item =
        std::make_shared<NSMenuItem>(std::move(title), std::move(action), std::move(keyEquivalent));
    items_.push_back(item);
    return item;
}

bool NSMenu::popUpMenuPositioningItem(const NSMenuItem*, CGPoint location, const NSView* view) {
    CGPoint onScreen = location;
    if (view && view->window()) {
        const CGRect inWindow = view->convertRectToWindow(CGRect(location, CGSize{}));
        const CGRect frame = view->window()->frame();
        onScreen = CGPoint{frame.minX() + inWindow.minX(), frame.minY() + inWindow.minY()};
    }
    return popUpAtScreenPoint(onScreen);
}

bool NSMenu::popUpAtScreenPoint(CGPoint topLeft) {
    if (window_) return false;
    if (currentMenu) currentMenu->cancelTracking();
    if (delegate_) delegate_->menuNeedsUpdate(*this);
    if (items_.empty()) return false;
    // A menu that would run past the right edge of its screen opens further left.
    for (const NSScreenRef& screen : NSScreen::screens()) {
        const CGRect frame = screen->frame();
        if (topLeft.x < frame.minX() || topLeft.x >= frame.maxX()) continue;
        const double width = NSMenuWindow::sizeFor(*this).width;
        topLeft.x = std::max(frame.minX(), std::min(topLeft.x, frame.maxX() - width));
        break;
    }
    window_ = std::make_unique<NSMenuWindow>(*this, topLeft);
    currentMenu = this;
    window_->orderFrontRegardless();
    return true;
}

void NSMenu::cancelTracking() {
    finishTracking(nullptr);
}

NSMenu* NSMenu::openMenu() {
    return currentMenu;
}

void NSMenu::finishTracking(const NSMenuItem* picked) {
    if (!window_) return;
    // The item may go with the menu's update: its action is kept first.
    std::optional<NSMenuItem> chosen;
    if (picked) chosen.emplace(picked->title(), picked->action(), picked->keyEquivalent());
    NSObject* target = picked ? picked->target() : nullptr;
    window_->orderOut(nullptr);
    // The window may be handing on the very event that closed it: it goes on the next turn.
    DispatchQueue::main().async([gone = std::shared_ptr<NSMenuWindow>(std::move(window_))] {});
    if (currentMenu == this) currentMenu = nullptr;
    // Keep the menu alive through its delegate's answer, which may drop it.
    const auto keep = weak_from_this().lock();
    if (delegate_) delegate_->menuDidClose(*this);
    if (chosen) {
        chosen->setTarget(target);
        sendItemAction(*chosen);
    }
}

void NSMenu::sendItemAction(const NSMenuItem& item) {
    if (item.action().empty()) return;
    NSApplication::sharedApplication().sendAction(item.action(), item.target(), &item);
}

bool NSMenu::performKeyEquivalent(NSEvent& event) {
    const std::string key = lowercase(event.charactersIgnoringModifiers());
    const std::uint64_t flags = event.modifierFlags() & keyEquivalentFlags;
    for (const NSMenuItemRef& item : items_) {
        if (item->submenu() && item->submenu()->performKeyEquivalent(event)) return true;
        if (item->isSeparatorItem() || !item->isEnabled() || item->keyEquivalent().empty())
            continue;
        if (lowercase(item->keyEquivalent()) != key) continue;
        if ((item->keyEquivalentModifierMask() & keyEquivalentFlags) != flags) continue;
        sendItemAction(*item);
        return true;
    }
    return false;
}
