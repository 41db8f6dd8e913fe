#pragma once

#include "Platform/AppKit/NSImage.h"
#include "Platform/AppKit/NSScreen.h"

namespace kelvo {

/// The small application mark of the settings window's title strip, the cheat sheet and the
/// guide: the drawn mark at 22 points, rendered once per process for the main screen's scale.
class ChromeMark {
  public:
    static constexpr CGFloat points = 22;
    /// The scale used when there is no main screen.
    static constexpr CGFloat scaleWithoutScreen = 2;

    /// The mark, or null when it could not be rendered (the views then show a word instead).
    static const NSImageRef& image();
    /// The side in pixels the mark is rendered at for that main screen (null: none).
    static int pixels(const NSScreenRef& mainScreen);
};

}  // namespace kelvo
