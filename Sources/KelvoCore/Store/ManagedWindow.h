#pragma once

#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// One window as its application describes it through the bridge.
struct ManagedWindow {
    WindowID id;
    std::string bundleID;
    /// Points, origin at the top left of the main display, y growing downward.
    CGRect frame;
    /// Tile it or not: decided by rule or by the window's attributes.
    bool floating = false;
    bool minimized = false;
    /// The floating verdict rests on attributes that may still change while the window settles,
    /// so it is read again before anyone trusts it.
    bool floatingMayBeEarly = false;

    bool operator==(const ManagedWindow&) const = default;
};

}  // namespace kelvo
