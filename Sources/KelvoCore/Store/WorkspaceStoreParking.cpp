// Desktop switching, show desktop and parking.

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

std::vector<WindowID> WorkspaceStore::visibleIntent(int desktop) const {
    if (isShowingDesktop(desktop)) return {};
    const auto hiddenByUser = [this](WindowID w) {
        auto bundle = state_.bundleIDs.find(w);
        return state_.userHiddenApps.count(bundle == state_.bundleIDs.end() ? "" : bundle->second) >
               0;
    };
    if (auto z = zoomed(desktop)) {
        if (hiddenByUser(*z)) return {};
        return {*z};
    }
    std::vector<WindowID> visible;
    for (WindowID w : windows(desktop)) {
        if (!hiddenByUser(w)) visible.push_back(w);
    }
    return visible;
}

void WorkspaceStore::reveal(int desktop) {
    if (!state_.showingDesktop.erase(desktop)) return;
    if (desktop != activeDesktop()) return;
    state_.retryBudget = maxLayoutRetries;
    runLayoutPass({});
    unpark(visibleIntent(desktop), /*deferringMinimized=*/false);
}

void WorkspaceStore::applyLayoutForCommand(std::optional<WindowID> target, bool now) {
    if (target) reconciler_.resetAttempts(*target);
    for (WindowID w : tiled(activeDesktop())) {
        if (!state_.spentExemption.count(w)) state_.burstExempt.insert(w);
    }
    if (now) {
        applyLayoutNow();
    } else {
        applyLayout();
    }
}

void WorkspaceStore::restoredFromDock(WindowID w) {
    state_.inTheDock.erase(w);
    reconciler_.resetAttempts(w);
    state_.spentExemption.erase(w);
    state_.burstExempt.insert(w);
}

// Until switching and parking are built: a switch only changes the shown desktop, a park only
// records the window as parked and an unpark only forgets that; nothing is moved.

void WorkspaceStore::switchTo(int desktop, std::optional<WindowID>) {
    if (desktop < 1 || desktop > desktopCount()) return;
    state_.activeDesktopByDisplay[focusedDisplay()] = desktop;
    applyLayout();
}

void WorkspaceStore::park(const std::vector<WindowID>& ids) {
    for (WindowID w : ids) {
        if (state_.parked.count(w) || state_.fullScreened.count(w)) continue;
        state_.parked[w] = bridge_->frame(w).value_or(CGRect());
    }
}

std::vector<WindowID> WorkspaceStore::unpark(const std::vector<WindowID>& ids, bool) {
    for (WindowID w : ids)
        state_.parked.erase(w);
    return {};
}

}  // namespace kelvo
