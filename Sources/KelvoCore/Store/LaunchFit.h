#pragma once

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// The rule that floats a window adopted at start-up when it is far larger than the slot the
/// layout would give it, unless it is nearly maximised anyway.
struct LaunchFit {
    LaunchFit() = delete;

    static constexpr double margin = 1.5;
    static constexpr double maximizedFraction = 0.9;

    /// A window found too large for its slot at launch.
    struct Finding {
        WindowID id;
        CGSize current;
        CGSize slot;
        bool operator==(const Finding&) const = default;
    };

    static bool shouldFloat(CGSize current, CGSize slot, CGSize screen);
};

}  // namespace kelvo
