#pragma once

#include <optional>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Store/InvisibleReason.h"
#include "KelvoCore/Store/WindowVisibility.h"

namespace kelvo {

/// The pure rules of the visibility audit and of the parking corner.
struct VisibilityAudit {
    VisibilityAudit() = delete;

    /// How far from the parking corner a window may sit and still count as parked.
    static constexpr CGFloat parkTolerance = 100.0;
    /// An overlap with the screen this narrow or this low is only a sliver.
    static constexpr CGFloat sliver = 1.0;

    /// The origin within `tolerance` of the corner in x and, separately, in y.
    static bool inCorner(const CGRect& rect, CGPoint corner, CGFloat tolerance);
    /// The first reason that applies, in order of how much it explains; none when the window
    /// should be visible. Only the position is compared with the intended frame, not the size.
    static std::optional<InvisibleReason> reason(const WindowVisibility& window,
                                                 const CGRect& screen, CGFloat tolerance);

  private:
    static bool offScreen(const CGRect& frame, const CGRect& screen);
};

}  // namespace kelvo
