#pragma once

#include <vector>

#include "Platform/AppKit/NSMenu.h"
#include "Platform/AppKit/NSWindow.h"

/// The window an open menu shows in: a panel at the pop-up menu level with one row per item,
/// drawn here. It takes every key and click while it is open (the desktop sends them to it):
/// a release over an enabled item picks it, Escape or a press outside closes the menu.
class NSMenuWindow : public NSPanel {
  public:
    static constexpr double rowHeight = 22;
    static constexpr double separatorHeight = 11;
    static constexpr double verticalPadding = 5;
    static constexpr double horizontalPadding = 20;
    static constexpr double minimumWidth = 120;

    /// A window for the menu's items, its top left at the screen point (bottom left, y up).
    NSMenuWindow(NSMenu& menu, CGPoint topLeft);

    void mouseDown(NSEvent& event) override;
    void rightMouseDown(NSEvent& event) override;
    void keyDown(NSEvent& event) override;
    void cancelOperation(const void* sender) override;
    // A menu takes keys while it is open without taking the key window from anyone.
    bool canBecomeKeyWindow() const override { return false; }
    /// The size the items need.
    static CGSize sizeFor(const NSMenu& menu);

  protected:
    std::vector<sim::MenuItemRecord> menuItemRecords() const override;
    bool isMenuWindow() const override { return true; }

  private:
    NSMenu& menu_;
};
