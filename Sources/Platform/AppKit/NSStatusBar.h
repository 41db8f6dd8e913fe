#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "Platform/AppKit/NSButton.h"
#include "Platform/AppKit/NSMenu.h"
#include "Platform/AppKit/NSWindow.h"
#include "Simulator/DesktopEvent.h"

class NSStatusItem;
using NSStatusItemRef = std::shared_ptr<NSStatusItem>;

/// A length that follows the item's content (its image's width and a margin).
inline constexpr double NSVariableStatusItemLength = -1;
/// A length as wide as the bar is thick.
inline constexpr double NSSquareStatusItemLength = -2;

/// The button of a status item. With a menu attached to its item, a press pops the menu up
/// under the item instead of sending the action.
class NSStatusBarButton : public NSButton {
  public:
    explicit NSStatusBarButton(NSStatusItem& item) : item_(item) {}

    void performClick(const void* sender) override;
    void mouseDown(NSEvent& event) override;
    void rightMouseDown(NSEvent& event) override;
    std::optional<sim::InterfaceElement> accessibilityElement() const override;

  private:
    /// Pops up the item's menu, when it has one.
    bool showMenu();

    NSStatusItem& item_;
};

/// The system's menu bar, where status items stand right to left in the order they were
/// made.
class NSStatusBar {
  public:
    static NSStatusBar& systemStatusBar();
    /// How tall the items' buttons are.
    double thickness() const { return 22; }
    NSStatusItemRef statusItemWithLength(double length);
    void removeStatusItem(const NSStatusItemRef& item);

    /// For the application: a mouse event the desktop sent to one of the items.
    void deliver(const sim::StatusItemInput& input);

  private:
    NSStatusBar() = default;
    std::map<std::uint64_t, std::weak_ptr<NSStatusItem>> items_;
};

/// An item of the menu bar: a button in a window of its own where the desktop placed the item.
/// What the button shows (its image, accessibility label and tooltip) and the item's length
/// are sent to the desktop once per turn of the main loop after a change.
class NSStatusItem : public std::enable_shared_from_this<NSStatusItem> {
  public:
    explicit NSStatusItem(double length);
    ~NSStatusItem();
    NSStatusItem(const NSStatusItem&) = delete;
    NSStatusItem& operator=(const NSStatusItem&) = delete;

    double length() const { return length_; }
    void setLength(double length);
    NSStatusBarButton* button() const { return button_.get(); }
    /// The menu popped up by a press on the button; null for none.
    const NSMenuRef& menu() const { return menu_; }
    void setMenu(NSMenuRef menu) { menu_ = std::move(menu); }
    bool isVisible() const { return id_ != 0; }
    std::uint64_t identifier() const { return id_; }
    /// The window that holds the button, framed where the item stands (screen coordinates).
    NSWindow* window() const;

    /// Sends what the button shows now, if it changed.
    void publishIfNeeded();
    /// For the bar: an event of the desktop for this item.
    void deliver(const sim::InputEvent& event);
    /// The content changed: it is sent on the next turn of the main loop.
    void setNeedsPublish();

  private:
    class ButtonWindow;
    double shownLength() const;
    /// What the desktop is told the item shows now.
    sim::StatusItemSpec shownSpec() const;
    void refreshFrame(const CGRect& barFrame);

    double length_;
    std::uint64_t id_ = 0;
    std::unique_ptr<ButtonWindow> window_;
    std::shared_ptr<NSStatusBarButton> button_;
    NSMenuRef menu_;
    bool needsPublish_ = true;
    bool publishScheduled_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
