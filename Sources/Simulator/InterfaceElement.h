#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/DesktopValues.h"
#include "Simulator/WindowPicture.h"

namespace sim {

/// One element of a window's element tree, as its process publishes it: what a view shows to
/// people who read the interface through Accessibility.
struct InterfaceElement {
    /// "window", "group", "text", "button", "switch", "slider", "stepper", "segmented",
    /// "popUpButton", "colorWell", "textField", "image", "row", "scrollArea", "menuItem".
    std::string role;
    std::string label;
    std::optional<std::string> value;
    std::optional<std::string> identifier;
    /// In the window's content (top left, y down) as published; on screen as listed.
    CGRect frame;
    bool enabled = true;
    bool focused = false;
    /// The view's tooltip; none when it has none.
    std::optional<std::string> toolTip;
    bool operator==(const InterfaceElement&) const = default;
};

/// One item of an open menu, as its process shows it.
struct MenuItemRecord {
    /// The text the item shows (its attributed title's characters when it has one).
    std::string title;
    bool enabled = true;
    bool separator = false;
    /// The platform's control state: 1 on, 0 off, -1 mixed.
    int state = 0;
    /// In the menu's window (top left, y down).
    CGRect frame;
    /// The item's plain title, which a pick by title matches as well as the shown text.
    std::string plainTitle = {};
    bool operator==(const MenuItemRecord&) const = default;
};

/// What a process drew in one of its windows: the pixels, the element tree in reading order
/// and, for an open menu, its items top to bottom.
struct OwnWindowContent {
    WindowNumber number = 0;
    WindowPicture drawing;
    std::vector<InterfaceElement> elements;
    std::vector<MenuItemRecord> menu;
    bool operator==(const OwnWindowContent&) const = default;
};

/// An element as the desktop lists it for people: with its window, its process and its frame
/// on screen (top left, y down).
struct ElementRecord {
    WindowNumber window = 0;
    Pid pid = 0;
    InterfaceElement element;
    bool operator==(const ElementRecord&) const = default;
};

using StatusItemID = std::uint64_t;

/// A status item as its process describes it.
struct StatusItemSpec {
    /// Its width in the menu bar, in points.
    double length = 0;
    /// The button's image; a template image is drawn by its alpha in the menu bar's text colour.
    WindowPicture image;
    bool imageIsTemplate = false;
    /// The button's accessibility label.
    std::string label;
    std::string toolTip;
    bool operator==(const StatusItemSpec&) const = default;
};

/// A status item where the desktop put it.
struct StatusItemInfo {
    StatusItemID item = 0;
    Pid pid = 0;
    /// In the menu bar, top left of the first display, y down; its width is the item's length.
    CGRect frame;
    StatusItemSpec spec;
    bool operator==(const StatusItemInfo&) const = default;
};

}  // namespace sim
