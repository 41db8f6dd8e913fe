#pragma once

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// One row of the window server's front-to-back list of on-screen windows.
struct ScreenWindow {
    WindowID id;
    /// Points, origin at the top left of the main display.
    CGRect bounds;
    /// 0 for ordinary application windows.
    int layer = 0;
    /// The owning process.
    int pid = 0;

    bool operator==(const ScreenWindow&) const = default;
};

}  // namespace kelvo
