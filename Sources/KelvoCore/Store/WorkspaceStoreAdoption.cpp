// Adoption, removal and launch fit.

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

LayoutMode WorkspaceStore::layoutMode(int desktop) const {
    return state_.config.layoutModes[desktop].value_or(state_.config.defaultLayoutMode);
}

void WorkspaceStore::unhideExternallyHiddenApps() {
    std::set<std::string> seen;
    const int active = activeDesktop();
    for (WindowID w : visibleIntent(active)) {
        auto bundle = state_.bundleIDs.find(w);
        if (bundle == state_.bundleIDs.end()) continue;
        const std::string& b = bundle->second;
        if (!seen.insert(b).second || state_.userHiddenApps.count(b)) continue;
        if (bridge_->isApplicationHidden(b)) {
            fire(hooks.onExternalUnhide, b, active);
            bridge_->setHidden(false, b);
        }
    }
}

// Until adoption and the window move are built: a window is added without its minimized
// handling, a move only re-homes the window between trees and nothing is ever stashed.

void WorkspaceStore::add(WindowID w, const std::string& bundleID, std::optional<WindowID> focused,
                         bool floating, bool) {
    if (state_.home.count(w)) return;
    const int active = activeDesktop();
    reveal(active);
    state_.home[w] = active;
    state_.bundleIDs[w] = bundleID;
    fire(hooks.onAdopted, w);
    if (auto pointer = pointerDisplay()) {
        state_.displayHome[w] = *pointer;
    } else if (auto frame = bridge_->frame(w)) {
        if (auto holder = displayHolding(*frame)) state_.displayHome[w] = *holder;
    }
    if (floating) {
        state_.floating.insert(w);
    } else {
        insertIntoTree(w, active, focused);
    }
    state_.retryBudget = maxLayoutRetries;
    runLayoutPass({});
}

void WorkspaceStore::move(WindowID w, int desktop, bool) {
    auto from = this->desktop(w);
    if (!from || *from == desktop || desktop < 1 || desktop > desktopCount()) return;
    removeFromTree(w, *from);
    if (!state_.floating.count(w)) insertIntoTree(w, desktop, std::nullopt);
    state_.home[w] = desktop;
    applyLayout();
}

bool WorkspaceStore::stashUntileable(WindowID, int) {
    return false;
}

}  // namespace kelvo
