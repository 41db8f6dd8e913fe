#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Base/Foundation/NSObject.h"
#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/NSControl.h"

// Menus: items with titles (plain or attributed), actions sent to a target (or up the key
// window's responder chain), key equivalents with their modifiers, separators, states and
// submenus. A menu pops up as a window of this process at the pop-up menu level, drawn here,
// and stays open until an item is picked, Escape is pressed or the mouse is pressed outside it.

class NSMenu;
class NSMenuWindow;
class NSView;
using NSMenuRef = std::shared_ptr<NSMenu>;

class NSMenuItem {
  public:
    NSMenuItem(std::string title, std::string action, std::string keyEquivalent)
        : title_(std::move(title)),
          action_(std::move(action)),
          keyEquivalent_(std::move(keyEquivalent)) {}
    static std::shared_ptr<NSMenuItem> separatorItem();

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    /// The styled title shown instead of the plain one, when there is one.
    const std::optional<NSAttributedString>& attributedTitle() const { return attributedTitle_; }
    void setAttributedTitle(std::optional<NSAttributedString> title) {
        attributedTitle_ = std::move(title);
    }
    /// The text the item shows: its attributed title's characters, else its title.
    std::string shownTitle() const;
    /// The selector the item sends; empty for none.
    const std::string& action() const { return action_; }
    void setAction(std::string action) { action_ = std::move(action); }
    NSObject* target() const { return target_; }
    void setTarget(NSObject* target) { target_ = target; }
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }
    /// Modifier flags of the key equivalent; Command unless changed.
    std::uint64_t keyEquivalentModifierMask() const { return modifiers_; }
    void setKeyEquivalentModifierMask(std::uint64_t mask) { modifiers_ = mask; }
    bool isSeparatorItem() const { return separator_; }
    NSControlStateValue state() const { return state_; }
    void setState(NSControlStateValue state) { state_ = state; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    const NSMenuRef& submenu() const { return submenu_; }
    void setSubmenu(NSMenuRef submenu) { submenu_ = std::move(submenu); }

  private:
    std::string title_;
    std::optional<NSAttributedString> attributedTitle_;
    std::string action_;
    NSObject* target_ = nullptr;
    std::string keyEquivalent_;
    std::uint64_t modifiers_ = 1 << 20;
    bool separator_ = false;
    NSControlStateValue state_ = NSControlStateValueOff;
    bool enabled_ = true;
    NSMenuRef submenu_;
};
using NSMenuItemRef = std::shared_ptr<NSMenuItem>;

/// What a menu tells its delegate; each does nothing unless overridden.
class NSMenuDelegate {
  public:
    virtual ~NSMenuDelegate() = default;
    /// Just before the menu opens: the moment to bring its items up to date.
    virtual void menuNeedsUpdate(NSMenu& menu);
    virtual void menuDidClose(NSMenu& menu);
};

class NSMenu : public std::enable_shared_from_this<NSMenu> {
  public:
    explicit NSMenu(std::string title = "");
    ~NSMenu();
    NSMenu(const NSMenu&) = delete;
    NSMenu& operator=(const NSMenu&) = delete;

    const std::string& title() const { return title_; }
    void addItem(NSMenuItemRef item) { items_.push_back(std::move(item)); }
    NSMenuItemRef addItemWithTitle(std::string title, std::string action,
                                   std::string keyEquivalent);
    void removeAllItems() { items_.clear(); }
    const std::vector<NSMenuItemRef>& itemArray() const { return items_; }
    long numberOfItems() const { return static_cast<long>(items_.size()); }
    NSMenuDelegate* delegate() const { return delegate_; }
    void setDelegate(NSMenuDelegate* delegate) { delegate_ = delegate; }

    /// Opens the menu with its top left corner at `location` in `view` (screen coordinates
    /// when there is no view); the positioning item is not used. Returns false when the menu
    /// cannot open (one of this menu is open already, or it has no items).
    bool popUpMenuPositioningItem(const NSMenuItem* item, CGPoint location, const NSView* view);
    /// Opens the menu with its top left corner at the point of the screen (bottom left, y up).
    bool popUpAtScreenPoint(CGPoint topLeft);
    /// Closes the open menu without a pick.
    void cancelTracking();
    bool isOpen() const { return window_ != nullptr; }
    /// The menu open now in this process, or null.
    static NSMenu* openMenu();

    /// The first enabled item whose key equivalent and modifiers match the key; it sends its
    /// action. False when none matches.
    bool performKeyEquivalent(NSEvent& event);
    /// Sends an item's action as a pick does (after the menu closed).
    static void sendItemAction(const NSMenuItem& item);

    /// For the menu's window: the item was picked (null: the menu closes without a pick).
    void finishTracking(const NSMenuItem* picked);

  private:
    std::string title_;
    std::vector<NSMenuItemRef> items_;
    NSMenuDelegate* delegate_ = nullptr;
    std::unique_ptr<NSMenuWindow> window_;
};
