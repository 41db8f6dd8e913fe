// Desktop switching, show desktop and parking.

#include <algorithm>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

namespace {

/// The position that keeps a window of the rectangle's size inside `area`; a window larger than
/// the area goes to its top-left corner.
CGPoint keptInside(const CGRect& rect, const CGRect& area) {
    const CGFloat x = std::min(std::max(rect.minX(), area.minX()),
                               std::max(area.maxX() - rect.width(), area.minX()));
    const CGFloat y = std::min(std::max(rect.minY(), area.minY()),
                               std::max(area.maxY() - rect.height(), area.minY()));
    return CGPoint{x, y};
}

}  // namespace

// ---- What is shown -------------------------------------------------------------------------

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

std::vector<WindowID> WorkspaceStore::shownIntent(int desktop) const {
    std::vector<WindowID> shown = visibleIntent(desktop);
    std::erase_if(shown, [&](WindowID w) { return activeDesktop(displayOf(w)) != desktop; });
    return shown;
}

// ---- Switching -------------------------------------------------------------------------------

void WorkspaceStore::switchTo(int desktop, std::optional<WindowID> focusing) {
    const std::uint32_t display = focusedDisplay();
    const int current = activeDesktop(display);
    if (desktop == current || desktop < 1 || desktop > desktopCount()) return;
    const auto onThisDisplay = [&](std::vector<WindowID> ids) {
        std::erase_if(ids, [&](WindowID w) { return displayOf(w) != display; });
        return ids;
    };
    const std::vector<WindowID> outgoing = onThisDisplay(windows(current));
    state_.activeDesktopByDisplay[display] = desktop;
    const std::vector<WindowID> incoming = onThisDisplay(visibleIntent(desktop));

    // The incoming windows are written before the outgoing ones leave, so the desktop is never
    // seen empty; the deferred ones stay in the Dock until the park is done.
    const std::vector<WindowID> deferred = unpark(incoming, /*deferringMinimized=*/true);
    state_.retryBudget = maxLayoutRetries;
    runLayoutPass(std::set<WindowID>(deferred.begin(), deferred.end()));
    park(outgoing);

    std::set<std::string> parkedApps;
    for (WindowID w : outgoing) {
        auto bundle = state_.bundleIDs.find(w);
        if (isParked(w) && bundle != state_.bundleIDs.end()) parkedApps.insert(bundle->second);
    }
    state_.parkedByLastSwitch.clear();
    state_.switchFocusBundle.reset();
    for (WindowID w : deferred)
        bringOutOfDock(w);
    state_.auditPending = true;
    applyLayout();

    focusAfterSwitch(desktop, display, focusing, parkedApps);
}

void WorkspaceStore::focusAfterSwitch(int desktop, std::uint32_t display,
                                      std::optional<WindowID> focusing,
                                      std::set<std::string> parkedApps) {
    std::optional<WindowID> target;
    if (focusing && this->desktop(*focusing) == desktop && displayOf(*focusing) == display) {
        target = focusing;
    } else {
        target = leftmostWindow(desktop, display);
    }
    if (!target) {
        raiseFloating(std::nullopt);
        return;
    }
    issueFocus(*target);
    auto bundle = state_.bundleIDs.find(*target);
    if (bundle != state_.bundleIDs.end()) {
        state_.switchFocusBundle = bundle->second;
        parkedApps.erase(bundle->second);
    }
    state_.parkedByLastSwitch = std::move(parkedApps);
    raiseFloating(target == focusing ? focusing : std::nullopt);
}

void WorkspaceStore::throwFocused(WindowID w, int desktop) {
    move(w, desktop, /*asCommand=*/true);
}

// ---- Show desktop ----------------------------------------------------------------------------

void WorkspaceStore::toggleShowDesktop() {
    const int active = activeDesktop();
    if (!isShowingDesktop(active)) {
        const std::vector<WindowID> all = windows(active);
        if (all.empty()) return;
        state_.showingDesktop.insert(active);
        park(all);
    } else {
        state_.showingDesktop.erase(active);
        bringBackShown(active);
    }
    applyLayoutForCommand(std::nullopt, /*now=*/false);
}

void WorkspaceStore::reveal(int desktop) {
    if (!state_.showingDesktop.erase(desktop)) return;
    if (desktop == activeDesktop()) bringBackShown(desktop);
}

void WorkspaceStore::bringBackShown(int desktop) {
    state_.retryBudget = maxLayoutRetries;
    runLayoutPass({});
    // Only the windows whose display shows the desktop: the same desktop number on another
    // display may be hidden there, and its windows must stay parked.
    unpark(shownIntent(desktop), /*deferringMinimized=*/false);
}

void WorkspaceStore::endShowDesktopIfEmpty(int desktop) {
    if (windows(desktop).empty()) state_.showingDesktop.erase(desktop);
}

void WorkspaceStore::applyLayoutForCommand(std::optional<WindowID> target, bool now) {
    if (target) reconciler_.resetAttempts(*target);
    // The burst of writes a command causes does not count refusals against these windows.
    for (WindowID w : tiled(activeDesktop())) {
        if (!state_.spentExemption.count(w)) state_.burstExempt.insert(w);
    }
    if (now) {
        applyLayoutNow();
    } else {
        applyLayout();
    }
}

// ---- Parking ---------------------------------------------------------------------------------

void WorkspaceStore::park(const std::vector<WindowID>& ids) {
    std::set<WindowID> parkedNow;
    for (WindowID w : ids) {
        if (state_.parked.count(w) || state_.fullScreened.count(w)) continue;
        const std::optional<CGRect> frame = frameToRemember(w);
        if (!frame) continue;
        state_.parked[w] = *frame;
        parkedNow.insert(w);
        writeToCorner(w, /*reparking=*/false);
        forgetExpectedWindow(w);
    }
    // Every park request asks the windows that refused before once more.
    const std::set<WindowID> refused = state_.parkRefused;
    for (WindowID w : refused) {
        if (!parkedNow.count(w) && state_.parked.count(w)) writeToCorner(w, /*reparking=*/false);
    }
}

std::optional<CGRect> WorkspaceStore::frameToRemember(WindowID w) {
    if (auto frame = bridge_->frame(w)) return frame;
    auto home = desktop(w);
    if (!home || state_.floating.count(w)) return std::nullopt;
    const auto slots = layout(*home);
    if (auto slot = slots.find(w); slot != slots.end()) return slot->second;
    return bounds(displayOf(w));
}

void WorkspaceStore::writeToCorner(WindowID w, bool reparking) {
    const CGPoint corner = parkingCorner();
    bridge_->setPosition(corner, w);
    const std::optional<CGRect> frame = bridge_->frame(w);
    if (!frame) return;
    ParkOutcome outcome;
    if (!VisibilityAudit::inCorner(*frame, corner, VisibilityAudit::parkTolerance)) {
        if (reconciler_.unmanageable().count(w)) {
            state_.parkRefused.erase(w);
            state_.minimizedToPark.insert(w);
            bridge_->setMinimized(true, w);
            outcome = ParkOutcome::minimized;
        } else {
            state_.parkRefused.insert(w);
            outcome = ParkOutcome::leftOnScreen;
        }
    } else {
        state_.parkRefused.erase(w);
        if (!reparking) return;
        outcome = ParkOutcome::reparked;
    }
    if (!hooks.onParkFinding) return;
    auto bundle = state_.bundleIDs.find(w);
    fire(hooks.onParkFinding,
         ParkFinding{w, bundle == state_.bundleIDs.end() ? "?" : bundle->second,
                     desktop(w).value_or(activeDesktop()), *frame, outcome});
}

void WorkspaceStore::healPark(WindowID w) {
    if (!state_.parked.count(w) || state_.parkRefused.count(w) || state_.minimizedToPark.count(w)) {
        return;
    }
    const std::optional<CGRect> frame = bridge_->frame(w);
    if (!frame) return;
    if (VisibilityAudit::inCorner(*frame, parkingCorner(), VisibilityAudit::parkTolerance)) {
        state_.reparkedOnce.erase(w);
        return;
    }
    // One heal per park: an application that keeps moving the window is left alone until the
    // window is seen in the corner again.
    if (!state_.reparkedOnce.insert(w).second) return;
    writeToCorner(w, /*reparking=*/true);
}

std::vector<WindowID> WorkspaceStore::unpark(const std::vector<WindowID>& ids,
                                             bool deferringMinimized) {
    std::vector<WindowID> deferred;
    for (WindowID w : ids) {
        if (state_.fullScreened.count(w)) continue;
        std::optional<CGRect> remembered;
        if (auto it = state_.parked.find(w); it != state_.parked.end()) {
            remembered = it->second;
            state_.parked.erase(it);
        }
        state_.parkRefused.erase(w);
        state_.reparkedOnce.erase(w);
        const bool wasMinimizedToPark = state_.minimizedToPark.erase(w) > 0;
        if (wasMinimizedToPark) {
            bridge_->setMinimized(false, w);
            state_.inTheDock.erase(w);
        }
        // Tiled windows are placed by the next layout pass; nothing else writes a floating one.
        if (remembered && state_.floating.count(w)) {
            bridge_->setPosition(keptInside(*remembered, bounds(displayOf(w))), w);
        }
        if (!wasMinimizedToPark && bridge_->isWindowMinimized(w)) {
            if (deferringMinimized) {
                state_.inTheDock.insert(w);
                deferred.push_back(w);
            } else {
                bringOutOfDock(w);
            }
        }
        if (bridge_->retainedWindows().count(w)) bridge_->raise(w);
    }
    return deferred;
}

void WorkspaceStore::bringOutOfDock(WindowID w) {
    bridge_->setMinimized(false, w);
    state_.inTheDock.erase(w);
    reconciler_.forget(w);
    state_.spentExemption.erase(w);
    state_.burstExempt.insert(w);
}

CGPoint WorkspaceStore::onScreen(const CGRect& rect) const {
    return keptInside(rect, state_.screen);
}

void WorkspaceStore::restoreAll() {
    for (const auto& [w, frame] : state_.parked) {
        if (state_.minimizedToPark.count(w)) bridge_->setMinimized(false, w);
        bridge_->setPosition(keptInside(frame, bounds(displayOf(w))), w);
    }
    state_.parked.clear();
    state_.parkRefused.clear();
    state_.minimizedToPark.clear();
    state_.reparkedOnce.clear();
    state_.showingDesktop.clear();
}

// ---- The Dock --------------------------------------------------------------------------------

void WorkspaceStore::windowMinimized(WindowID w) {
    // The store's own minimize-to-park is not the user's.
    if (!state_.home.count(w) || state_.minimizedToPark.count(w)) return;
    state_.inTheDock.insert(w);
    state_.dragging.erase(w);
    state_.liveUnread.erase(w);
}

void WorkspaceStore::windowUnminimized(WindowID w) {
    if (!state_.inTheDock.count(w)) return;
    restoredFromDock(w);
    applyLayout();
}

void WorkspaceStore::restoredFromDock(WindowID w) {
    state_.inTheDock.erase(w);
    reconciler_.resetAttempts(w);
    state_.spentExemption.erase(w);
    state_.burstExempt.insert(w);
}

bool WorkspaceStore::screenChanged(const CGRect& screen) {
    if (screen == state_.screen) return false;
    pinToManagedDisplay();
    state_.screen = screen;
    applyLayout();
    return true;
}

}  // namespace kelvo
