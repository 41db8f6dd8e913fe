#include "KelvoCore/Store/VisibilityAudit.h"

#include <cmath>

namespace kelvo {

bool VisibilityAudit::inCorner(const CGRect& rect, CGPoint corner, CGFloat tolerance) {
    return std::fabs(rect.minX() - corner.x) <= tolerance &&
           std::fabs(rect.minY() - corner.y) <= tolerance;
}

std::optional<InvisibleReason> VisibilityAudit::reason(const WindowVisibility& window,
                                                       const CGRect& screen, CGFloat tolerance) {
    if (!window.reachable) return InvisibleReason::unreachable;
    if (window.reportsMinimized) return InvisibleReason::minimized;
    if (window.applicationReportsHidden) return InvisibleReason::applicationHidden;
    if (window.frame && offScreen(*window.frame, screen)) return InvisibleReason::offScreen;
    if (window.isUnmanageable) return InvisibleReason::unmanageable;
    if (window.absentFromWindowList) return InvisibleReason::absentFromWindowList;
    if (!window.frame || !window.intendedFrame) return std::nullopt;
    // The same per-axis test as the corner's: the size a window takes is its own business.
    const CGPoint intended{window.intendedFrame->minX(), window.intendedFrame->minY()};
    if (!inCorner(*window.frame, intended, tolerance)) {
        return InvisibleReason::frameDisagrees;
    }
    return std::nullopt;
}

bool VisibilityAudit::offScreen(const CGRect& frame, const CGRect& screen) {
    // Disjoint rectangles meet in the null rectangle, which is empty in both dimensions.
    const CGRect overlap = frame.intersection(screen);
    return overlap.width() <= sliver || overlap.height() <= sliver;
}

}  // namespace kelvo
