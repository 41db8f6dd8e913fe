#pragma once

#include <memory>
#include <vector>

#include "Base/Foundation/CFType.h"
#include "Base/Foundation/CGGeometry.h"

// The attached displays as the application framework sees them. Frames are in the framework's
// screen coordinates: origin at the bottom left of the first screen (the one with the menu
// bar), y growing upwards; a top-left Accessibility rectangle r becomes y = H - (r.y +
// r.height) with H the first screen's height.

class NSScreen;
using NSScreenRef = std::shared_ptr<const NSScreen>;

/// Key of `deviceDescription()`: the display's identifier, a CFNumber.
inline constexpr const char* NSScreenNumber = "NSScreenNumber";

class NSScreen {
  public:
    NSScreen(std::uint32_t displayID, CGRect frame, CGRect visibleFrame)
        : displayID_(displayID), frame_(frame), visibleFrame_(visibleFrame) {}

    /// Every screen, the menu-bar screen first; empty without displays.
    static std::vector<NSScreenRef> screens();
    /// The screen of the key window; here always the menu-bar screen (null without displays).
    static NSScreenRef mainScreen();

    CGRect frame() const { return frame_; }
    /// The frame without the menu bar and the Dock.
    CGRect visibleFrame() const { return visibleFrame_; }
    CFDictionaryRef deviceDescription() const;
    /// Pixels a point: the simulated displays draw one pixel a point.
    double backingScaleFactor() const { return 1; }

  private:
    std::uint32_t displayID_;
    CGRect frame_;
    CGRect visibleFrame_;
};
