// Desktop switching, show desktop and parking.

#include <algorithm>
#include <utility>

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
        return state_.userHiddenApps.count(bundleOf(w).value_or("")) > 0;
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
        const auto bundle = bundleOf(w);
        if (isParked(w) && bundle) parkedApps.insert(*bundle);
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
    if (const auto bundle = bundleOf(*target)) {
        state_.switchFocusBundle = *bundle;
        parkedApps.erase(*bundle);
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

// ---- Parking ---------------------------------------------------------------------------------

void WorkspaceStore::park(const std::vector<WindowID>& ids) {
    std::set<WindowID> parkedNow;
    for (WindowID w : ids) {
        // Only a managed window has a park to remember.
        if (!stateOf(w) || isParked(w) || isFullScreen(w)) continue;
        const std::optional<CGRect> frame = frameToRemember(w);
        if (!frame) continue;
        stateOf(w)->parked = WindowState::Park{*frame};
        parkedNow.insert(w);
        writeToCorner(w, /*reparking=*/false);
        forgetExpectedWindow(w);
    }
    // Every park request asks the windows that refused before once more.
    for (WindowID w : state_.windowsWhere(&WindowState::parkRefused)) {
        if (!parkedNow.count(w) && isParked(w)) writeToCorner(w, /*reparking=*/false);
    }
}

std::optional<CGRect> WorkspaceStore::frameToRemember(WindowID w) {
    if (auto frame = bridge_->frame(w)) return frame;
    auto home = desktop(w);
    if (!home || isFloating(w)) return std::nullopt;
    const auto slots = layout(*home);
    if (auto slot = slots.find(w); slot != slots.end()) return slot->second;
    return bounds(displayOf(w));
}

void WorkspaceStore::writeToCorner(WindowID w, bool reparking) {
    const CGPoint corner = parkingCorner();
    bridge_->setPosition(corner, w);
    const std::optional<CGRect> frame = bridge_->frame(w);
    if (!frame) return;
    using Landing = WindowState::Park::Landing;
    WindowState* record = stateOf(w);
    WindowState::Park* park = record && record->parked ? &*record->parked : nullptr;
    ParkOutcome outcome;
    if (!VisibilityAudit::inCorner(*frame, corner, VisibilityAudit::parkTolerance)) {
        if (reconciler_.unmanageable().count(w)) {
            if (park) park->landing = Landing::minimized;
            bridge_->setMinimized(true, w);
            outcome = ParkOutcome::minimized;
        } else {
            if (park) park->landing = Landing::refused;
            outcome = ParkOutcome::leftOnScreen;
        }
    } else {
        if (park && park->landing == Landing::refused) park->landing = Landing::inCorner;
        if (!reparking) return;
        outcome = ParkOutcome::reparked;
    }
    if (!hooks.onParkFinding) return;
    fire(hooks.onParkFinding, ParkFinding{w, bundleOf(w).value_or("?"),
                                          desktop(w).value_or(activeDesktop()), *frame, outcome});
}

void WorkspaceStore::healPark(WindowID w) {
    WindowState* record = stateOf(w);
    if (!record || !record->isParked() || record->parkRefused() || record->minimizedToPark()) {
        return;
    }
    const std::optional<CGRect> frame = bridge_->frame(w);
    if (!frame) return;
    if (VisibilityAudit::inCorner(*frame, parkingCorner(), VisibilityAudit::parkTolerance)) {
        record->parked->reparkedOnce = false;
        return;
    }
    // One heal per park: an application that keeps moving the window is left alone until the
    // window is seen in the corner again.
    if (std::exchange(record->parked->reparkedOnce, true)) return;
    writeToCorner(w, /*reparking=*/true);
}

std::vector<WindowID> WorkspaceStore::unpark(const std::vector<WindowID>& ids,
                                             bool deferringMinimized) {
    std::vector<WindowID> deferred;
    for (WindowID w : ids) {
        WindowState* record = stateOf(w);
        if (record && record->fullScreened) continue;
        const std::optional<WindowState::Park> park =
            record ? std::exchange(record->parked, std::nullopt) : std::nullopt;
        const bool wasMinimizedToPark =
            park && park->landing == WindowState::Park::Landing::minimized;
        if (wasMinimizedToPark) {
            bridge_->setMinimized(false, w);
            record->inTheDock = false;
        }
        // Tiled windows are placed by the next layout pass; nothing else writes a floating one.
        if (park && record->floating) {
            bridge_->setPosition(keptInside(park->frame, bounds(displayOf(w))), w);
        }
        if (!wasMinimizedToPark && bridge_->isWindowMinimized(w)) {
            if (deferringMinimized) {
                if (record) record->inTheDock = true;
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
    reconciler_.forget(w);
    restoredFromDock(w);
}

CGPoint WorkspaceStore::onScreen(const CGRect& rect) const {
    return keptInside(rect, state_.screen);
}

void WorkspaceStore::restoreAll() {
    for (WindowID w : state_.windowsWhere(&WindowState::isParked))
        putBack(w);
    state_.showingDesktop.clear();
}

void WorkspaceStore::putBack(WindowID w) {
    WindowState* record = stateOf(w);
    if (!record || !record->parked) return;
    if (record->minimizedToPark()) bridge_->setMinimized(false, w);
    bridge_->setPosition(keptInside(record->parked->frame, bounds(displayOf(w))), w);
    record->parked.reset();
}

// ---- The Dock --------------------------------------------------------------------------------

void WorkspaceStore::windowMinimized(WindowID w) {
    WindowState* record = stateOf(w);
    // The store's own minimize-to-park is not the user's.
    if (!record || record->minimizedToPark()) return;
    record->inTheDock = true;
    record->dragging = false;
    record->liveUnread = false;
}

void WorkspaceStore::windowUnminimized(WindowID w) {
    if (!is(w, &WindowState::inTheDock)) return;
    restoredFromDock(w);
    applyLayout();
}

void WorkspaceStore::restoredFromDock(WindowID w) {
    reconciler_.resetAttempts(w);
    if (WindowState* record = stateOf(w)) {
        record->inTheDock = false;
        record->exemptAfresh();
    }
}

bool WorkspaceStore::screenChanged(const CGRect& screen) {
    if (screen == state_.screen) return false;
    pinToManagedDisplay();
    state_.screen = screen;
    applyLayout();
    return true;
}

}  // namespace kelvo
