#include "KelvoCore/Store/FocusFollowsCursor.h"

#include <algorithm>

namespace kelvo {

std::optional<WindowID> FocusFollowsCursor::Verdict::window() const {
    if (kind_ == Kind::focus || kind_ == Kind::arm) return window_;
    return std::nullopt;
}

std::optional<WindowID> FocusFollowsCursor::target(CGPoint point,
                                                   const std::map<WindowID, CGRect>& windowFrames,
                                                   const std::set<WindowID>& onTop,
                                                   std::optional<WindowID> focused) {
    std::optional<WindowID> tile;
    std::optional<WindowID> above;
    // Ascending order: the first hit of each kind is the smallest window number.
    for (const auto& [id, frame] : windowFrames) {
        if (!frame.contains(point)) continue;
        if (onTop.contains(id)) {
            if (!above) above = id;
        } else if (!tile) {
            tile = id;
        }
    }
    const std::optional<WindowID> found = above ? above : tile;
    if (found == focused) return std::nullopt;
    return found;
}

FocusFollowsCursor::Verdict FocusFollowsCursor::verdict(
    CGPoint point, const std::map<WindowID, CGRect>& windowFrames, const std::set<WindowID>& onTop,
    std::optional<WindowID> focused, std::optional<WindowID> armed,
    const std::vector<CGRect>& deadZones, double delay) {
    const bool inDeadZone = std::any_of(deadZones.begin(), deadZones.end(),
                                        [&](const CGRect& zone) { return zone.contains(point); });
    if (inDeadZone) return Verdict::ignore();
    const std::optional<WindowID> found = target(point, windowFrames, onTop, focused);
    if (!found) return Verdict::ignore();
    if (delay > 0) return armed == found ? Verdict::keepWaiting() : Verdict::arm(*found);
    return Verdict::focus(*found);
}

}  // namespace kelvo
