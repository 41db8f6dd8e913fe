// Full screen.

#include <cmath>
#include <utility>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

bool WorkspaceStore::couldBeFullScreen(const CGRect& frame) const {
    CGRect reference = state_.screen;
    if (state_.displays.size() >= 2) {
        if (auto holder = holding(state_.displays, frame)) reference = holder->frame;
    }
    return frame.minY() < reference.minY() || frame.height() > reference.height();
}

bool WorkspaceStore::fullScreenChanged(WindowID w, std::optional<CGRect> frame) {
    const auto home = desktop(w);
    if (!home) return false;
    const bool was = isFullScreen(w);
    // Only a plausible frame, or a window already full screen, is worth a query.
    if (!was && !(frame && couldBeFullScreen(*frame))) return false;
    const bool is = bridge_->isWindowFullScreen(w);
    if (is == was) return is;
    if (is) {
        enterFullScreen(w, *home);
        applyLayout();
    } else {
        leaveFullScreen(w);
    }
    return true;
}

void WorkspaceStore::enterFullScreen(WindowID w, int desktop) {
    if (WindowState* record = stateOf(w)) record->fullScreened = true;
    if (zoomed(desktop) == w) endZoom(desktop);
    const Pane pane = paneOf(w, desktop);
    const auto stored = state_.trees.find(pane);
    const bool wasLeaf = stored != state_.trees.end() && isLeafOf(stored->second, w);
    const LayoutTree before = wasLeaf ? stored->second : LayoutTree();
    removeFromTree(w, desktop);
    WindowState* record = stateOf(w);
    if (wasLeaf && record) {
        record->fullScreenReturn = WindowState::FullScreenReturn{pane, before, treeOf(pane)};
    }
    fire(hooks.onFullScreenChanged, w, true);
}

void WorkspaceStore::leaveFullScreen(WindowID w) {
    WindowState& state = *stateOf(w);
    state.fullScreened = false;
    state.fullScreenSettleFrames = 0;
    const std::optional<WindowState::FullScreenReturn> record =
        std::exchange(state.fullScreenReturn, std::nullopt);
    if (!isFloating(w)) {
        const int home = state.home;
        const Pane pane = paneOf(w, home);
        const auto stored = state_.trees.find(pane);
        // The old tree comes back only to the pane it was taken from, and only when nothing
        // else changed there meanwhile; a window that moved elsewhere is not put back there.
        if (record && record->pane == pane && stored != state_.trees.end() &&
            stored->second == record->after) {
            stored->second = record->before;
        } else if (!isLeafOf(treeOf(pane), w)) {
            insertIntoTree(w, home, std::nullopt);
        }
    }
    fire(hooks.onFullScreenChanged, w, false);
    applyLayout();
}

bool WorkspaceStore::settleFromFullScreen(WindowID w) {
    const auto endSettling = [this, w] {
        if (WindowState* record = stateOf(w)) record->fullScreenSettleFrames.reset();
    };
    if (isMouseButtonHeld()) {
        // The user has taken hold of it: from now on its frame changes are drags again.
        endSettling();
        return false;
    }
    const int seen = ++*stateOf(w)->fullScreenSettleFrames;
    if (seen >= fullScreenSettleLimit) {
        endSettling();
        return true;
    }
    const auto slots = visibleLayout();
    const auto slot = slots.find(w);
    const auto frame = bridge_->frame(w);
    if (slot != slots.end() && frame &&
        std::fabs(frame->width() - slot->second.width()) < fullScreenSettleTolerance &&
        std::fabs(frame->height() - slot->second.height()) < fullScreenSettleTolerance) {
        endSettling();
    }
    return true;
}

}  // namespace kelvo
