#pragma once

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/DesktopValues.h"

namespace sim {

/// One attached display. Both rectangles are in the Accessibility convention: origin at the top
/// left of the menu-bar display, y growing downwards. The visible frame leaves out the menu bar
/// (and a Dock, when one is given).
struct DisplayInfo {
    DisplayID id = 0;
    CGRect frame;
    CGRect visibleFrame;
    bool operator==(const DisplayInfo&) const = default;
};

}  // namespace sim
