#include "KelvoCore/Store/PointerHitTest.h"

namespace kelvo {

std::optional<WindowID> PointerHitTest::window(CGPoint point,
                                               const std::vector<ScreenWindow>& windows, int ownPID,
                                               const std::set<WindowID>& ignoring) {
    for (const ScreenWindow& window : windows) {
        if (ignoring.contains(window.id) || !window.bounds.contains(point)) continue;
        // The frontmost hit decides: a panel or menu above an application window covers it.
        if (window.layer != 0 || window.pid == ownPID) return std::nullopt;
        return window.id;
    }
    return std::nullopt;
}

}  // namespace kelvo
