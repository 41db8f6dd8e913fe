#pragma once

#include <optional>
#include <set>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Store/ScreenWindow.h"

namespace kelvo {

/// The window under the pointer, for the modifier-click.
struct PointerHitTest {
    PointerHitTest() = delete;

    /// The frontmost window containing the point, looking through `ignoring`; none when that
    /// window is not an ordinary window of another program (a non-zero layer or our own).
    static std::optional<WindowID> window(CGPoint point, const std::vector<ScreenWindow>& windows,
                                          int ownPID, const std::set<WindowID>& ignoring);
};

}  // namespace kelvo
