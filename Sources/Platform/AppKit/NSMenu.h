#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Menus as data: titles, actions (by selector name), key equivalents with their modifiers,
// separators and submenus.

class NSMenu;
using NSMenuRef = std::shared_ptr<NSMenu>;

class NSMenuItem {
  public:
    NSMenuItem(std::string title, std::string action, std::string keyEquivalent)
        : title_(std::move(title)),
          action_(std::move(action)),
          keyEquivalent_(std::move(keyEquivalent)) {}
    static std::shared_ptr<NSMenuItem> separatorItem();

    const std::string& title() const { return title_; }
    /// The selector the item sends; empty for none.
    const std::string& action() const { return action_; }
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    /// Modifier flags of the key equivalent; Command unless changed.
    std::uint64_t keyEquivalentModifierMask() const { return modifiers_; }
    void setKeyEquivalentModifierMask(std::uint64_t mask) { modifiers_ = mask; }
    bool isSeparatorItem() const { return separator_; }
    const NSMenuRef& submenu() const { return submenu_; }
    void setSubmenu(NSMenuRef submenu) { submenu_ = std::move(submenu); }

  private:
    std::string title_;
    std::string action_;
    std::string keyEquivalent_;
    std::uint64_t modifiers_ = 1 << 20;
    bool separator_ = false;
    NSMenuRef submenu_;
};
using NSMenuItemRef = std::shared_ptr<NSMenuItem>;

class NSMenu {
  public:
    explicit NSMenu(std::string title = "") : title_(std::move(title)) {}
    const std::string& title() const { return title_; }
    void addItem(NSMenuItemRef item) { items_.push_back(std::move(item)); }
    NSMenuItemRef addItemWithTitle(std::string title, std::string action,
                                   std::string keyEquivalent);
    const std::vector<NSMenuItemRef>& itemArray() const { return items_; }
    long numberOfItems() const { return static_cast<long>(items_.size()); }

  private:
    std::string title_;
    std::vector<NSMenuItemRef> items_;
};
