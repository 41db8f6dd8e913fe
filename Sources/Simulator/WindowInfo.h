#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/DesktopValues.h"

namespace sim {

/// How a window answers writes of its frame through Accessibility. Every rule applies to every
/// write; together they make the refusing, clamping and late-landing windows that the
/// window manager has to cope with. Size writes are always clamped to the window's minimum and
/// maximum sizes.
struct WriteAnswer {
    /// Position writes are answered with `refusalError` and move nothing.
    bool refusesPosition = false;
    /// Size writes are answered with `refusalError` and resize nothing.
    bool refusesSize = false;
    /// What a refused write answers; success is what most refusing applications say.
    AccessError refusalError = AccessError::success;
    /// A write takes effect this many seconds after it was made (on the runtime's clock); reads
    /// until then give the old frame.
    double landsAfter = 0;
    /// The window is pushed back inside the visible frame of the display it lands on.
    bool keepsInsideVisibleFrame = false;
    /// A size write keeps the window's width-to-height ratio (the width wins).
    bool keepsAspectRatio = false;
    bool operator==(const WriteAnswer&) const = default;
};

/// What a test asks for when an application opens a window.
struct WindowSpec {
    std::string title = "Window";
    CGRect frame = CGRect(100, 100, 800, 600);
    std::string role = "AXWindow";
    /// Empty for a window that has no subrole.
    std::string subrole = "AXStandardWindow";
    bool positionSettable = true;
    bool sizeSettable = true;
    CGSize minimumSize;
    /// Zero in a dimension: no maximum.
    CGSize maximumSize;
    /// The window server's layer: 0 for normal windows, higher is nearer the viewer.
    int layer = 0;
    /// False for a window that its application leaves out of "AXWindows".
    bool listedInAXWindows = true;
    /// False for a window whose element does not give its window number.
    bool numberReadable = true;
    /// Attributes whose reads fail (with no value), as for a window still being set up.
    std::vector<std::string> unreadableAttributes;
    WriteAnswer answer;
    /// A window number the test wants (also one a closed window had); none takes the next one.
    std::optional<WindowNumber> number;
};

/// A window as the desktop holds it now.
struct WindowInfo {
    WindowNumber number = 0;
    Pid owner = 0;
    std::string title;
    std::string role;
    std::string subrole;
    CGRect frame;
    bool positionSettable = true;
    bool sizeSettable = true;
    CGSize minimumSize;
    CGSize maximumSize;
    bool minimized = false;
    bool fullScreen = false;
    int layer = 0;
    bool listedInAXWindows = true;
    bool numberReadable = true;
    std::vector<std::string> unreadableAttributes;
    /// Shown by the window server: not minimized, application not hidden, ordered in.
    bool onScreen = true;
    double alpha = 1;
    WriteAnswer answer;
    /// The element through which Accessibility reaches the window now.
    ElementID element;
    bool operator==(const WindowInfo&) const = default;
};

/// One row of the window server's window list.
struct WindowListRow {
    WindowNumber number = 0;
    int layer = 0;
    Pid ownerPID = 0;
    std::string ownerName;
    std::string name;
    /// In the Accessibility convention (top left, y down), as the window server reports bounds.
    CGRect bounds;
    bool onScreen = true;
    double alpha = 1;
    bool operator==(const WindowListRow&) const = default;
};

/// The window list's options, as the platform numbers them.
enum WindowListOption : std::uint32_t {
    windowListAll = 0,
    windowListOnScreenOnly = 1 << 0,
    windowListOnScreenAboveWindow = 1 << 1,
    windowListOnScreenBelowWindow = 1 << 2,
    windowListIncludingWindow = 1 << 3,
    windowListExcludeDesktopElements = 1 << 4,
};

/// An sRGB colour, components in 0 to 1.
struct Colour {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;
    bool operator==(const Colour&) const = default;
};

/// A window of a client's own (a panel the client draws), as the client describes it, with
/// what its content layer draws so that pictures of the desktop can show it.
struct OwnWindowSpec {
    std::string title;
    CGRect frame;  // Accessibility convention
    int level = 0;
    double alpha = 1;
    bool ignoresMouseEvents = false;
    Colour background;
    Colour borderColour;
    double borderWidth = 0;
    double cornerRadius = 0;
    double opacity = 1;
    /// The process's key window: it takes the keys when its process is in front, or always
    /// when it is a non-activating panel.
    bool key = false;
    /// A panel used without bringing its process forward.
    bool nonactivating = false;
    /// It has a title bar, with the three buttons at its top left drawn by the desktop.
    bool titled = false;
    /// Its close button works (`kelvo-sim close` presses it).
    bool closable = false;
    /// Its minimize button works.
    bool miniaturizable = false;
    /// Its zoom button works.
    bool resizable = false;
    /// The desktop draws a soft shadow under what its content shows.
    bool hasShadow = false;
    /// An open menu: it takes every key and click until it closes; a click outside it goes to
    /// it too (and closes it).
    bool menu = false;
    bool operator==(const OwnWindowSpec&) const = default;
};

/// A client's own window with how it was last described.
struct OwnWindowLook {
    WindowNumber number = 0;
    OwnWindowSpec spec;
    bool operator==(const OwnWindowLook&) const = default;
};

}  // namespace sim
