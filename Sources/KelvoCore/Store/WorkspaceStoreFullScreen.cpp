// Full screen.

#include <cmath>

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
    if (!state_.home.count(w)) return false;
    const bool was = isFullScreen(w);
    // Only a plausible frame, or a window already full screen, is worth a query.
    if (!was && !(frame && couldBeFullScreen(*frame))) return false;
    const bool is = bridge_->isWindowFullScreen(w);
    if (is == was) return is;
    if (is) {
        enterFullScreen(w, state_.home.at(w));
        applyLayout();
    } else {
        leaveFullScreen(w);
    }
    return true;
}

void WorkspaceStore::enterFullScreen(WindowID w, int desktop) {
    state_.fullScreened.insert(w);
    if (zoomed(desktop) == w) endZoom(desktop);
    const Pane pane = paneOf(w, desktop);
    const auto stored = state_.trees.find(pane);
    const bool wasLeaf = stored != state_.trees.end() && isLeafOf(stored->second, w);
    const LayoutTree before = wasLeaf ? stored->second : LayoutTree();
    removeFromTree(w, desktop);
    if (wasLeaf) state_.fullScreenReturn[w] = FullScreenReturn{pane, before, treeOf(pane)};
    fire(hooks.onFullScreenChanged, w, true);
}

void WorkspaceStore::leaveFullScreen(WindowID w) {
    state_.fullScreened.erase(w);
    state_.settlingFromFullScreen.insert(w);
    state_.fullScreenSettleFrames[w] = 0;
    std::optional<FullScreenReturn> record;
    if (auto found = state_.fullScreenReturn.find(w); found != state_.fullScreenReturn.end()) {
        record = found->second;
        state_.fullScreenReturn.erase(found);
    }
    if (!isFloating(w)) {
        const int home = state_.home.at(w);
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
        state_.settlingFromFullScreen.erase(w);
        state_.fullScreenSettleFrames.erase(w);
    };
    if (isMouseButtonHeld()) {
        // The user has taken hold of it: from now on its frame changes are drags again.
        endSettling();
        return false;
    }
    const int seen = ++state_.fullScreenSettleFrames[w];
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
