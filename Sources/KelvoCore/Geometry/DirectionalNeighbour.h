#pragma once

#include <map>
#include <optional>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/Direction.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// The nearest window in a direction, judged by minimum edges.
struct DirectionalNeighbour {
    DirectionalNeighbour() = delete;

    /// A window strictly beyond the origin in the direction; one whose span across the
    /// direction overlaps the origin's beats any that does not, then the smaller distance,
    /// then the lower window number.
    static std::optional<WindowID> nearest(const CGRect& origin,
                                           const std::map<WindowID, CGRect>& among,
                                           Direction direction);
};

}  // namespace kelvo
