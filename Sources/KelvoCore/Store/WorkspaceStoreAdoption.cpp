// Adoption, removal and launch fit.

#include <algorithm>
#include <cmath>

#include "KelvoCore/Layout/Gaps.h"
#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

namespace {

bool contains(const std::vector<WindowID>& list, WindowID w) {
    return std::find(list.begin(), list.end(), w) != list.end();
}

}  // namespace

LayoutMode WorkspaceStore::layoutMode(int desktop) const {
    return state_.config.layoutModes[desktop].value_or(state_.config.defaultLayoutMode);
}

// ---- One new window ----------------------------------------------------------------------

void WorkspaceStore::add(WindowID w, const std::string& bundleID, std::optional<WindowID> focused,
                         bool floating, bool minimized) {
    if (desktop(w)) return;
    const int active = activeDesktop();
    reveal(active);
    manage(w, active).bundleID = bundleID;
    fire(hooks.onAdopted, w);
    if (auto pointer = pointerDisplay()) {
        stateOf(w)->displayHome = *pointer;
    } else {
        assignDisplayFromFrame(w);
    }
    if (floating) {
        stateOf(w)->floating = true;
        centreIfStranded(w);
    } else {
        insertIntoTree(w, active, focused);
    }
    if (minimized) {
        unhideExternallyHiddenApps();
        unpark({w}, /*deferringMinimized=*/false);
    }
    state_.retryBudget = maxLayoutRetries;
    runLayoutPass({});
}

void WorkspaceStore::assignDisplayFromFrame(WindowID w, std::optional<CGRect> scanned) {
    if (auto frame = scanned ? scanned : bridge_->frame(w)) {
        if (auto holder = displayHolding(*frame)) stateOf(w)->displayHome = *holder;
    }
}

void WorkspaceStore::centreIfStranded(WindowID w) {
    const auto frame = bridge_->frame(w);
    if (!frame) return;
    const CGPoint corner = parkingCorner();
    const double tolerance = VisibilityAudit::parkTolerance;
    const bool atCorner = std::abs(frame->minX() - corner.x) <= tolerance &&
                          std::abs(frame->minY() - corner.y) <= tolerance;
    if (!atCorner && frame->intersects(state_.screen)) return;
    // Read again: the size is what it is now, not what it was before the check.
    if (auto now = bridge_->frame(w)) bridge_->setFrame(centredOnScreen(now->size), w);
}

// ---- Start-up adoption -------------------------------------------------------------------

void WorkspaceStore::adopt(const std::vector<AdoptionRecord>& records,
                           const std::optional<SessionSnapshot>& restoring) {
    const int active = activeDesktop();
    reveal(active);
    const std::set<WindowID> restored = restore(restoring, records);

    std::vector<WindowID> tiling;
    std::vector<WindowID> unminimize;
    for (const AdoptionRecord& record : records) {
        if (restored.count(record.id)) {
            adoptRestored(record, active, unminimize);
        } else {
            adoptUnrestored(record, active, tiling, unminimize);
        }
    }
    for (WindowID w : tiling)
        stateOf(w)->exemptForBurst();
    std::map<WindowID, CGRect> scanned;
    for (const AdoptionRecord& record : records) {
        if (record.frame) scanned.emplace(record.id, *record.frame);
    }
    fitAtLaunch(tiling, unminimize, active, scanned);
    placeAdopted(tiling, active);

    std::vector<WindowID> elsewhere;
    for (WindowID w : restored) {
        if (desktop(w) != active) elsewhere.push_back(w);
    }
    if (!elsewhere.empty()) park(elsewhere);
    if (!unminimize.empty()) {
        unhideExternallyHiddenApps();
        unpark(unminimize, /*deferringMinimized=*/false);
    }
    applyLayout();
}

void WorkspaceStore::adoptRestored(const AdoptionRecord& record, int active,
                                   std::vector<WindowID>& unminimize) {
    stateOf(record.id)->bundleID = record.bundleID;
    fire(hooks.onAdopted, record.id);
    if (record.minimized && desktop(record.id) == active && !contains(unminimize, record.id)) {
        unminimize.push_back(record.id);
    }
}

void WorkspaceStore::adoptUnrestored(const AdoptionRecord& record, int active,
                                     std::vector<WindowID>& tiling,
                                     std::vector<WindowID>& unminimize) {
    const WindowID w = record.id;
    // A record repeated in the enumeration is one window: it joins the lists once.
    if (contains(tiling, w) || contains(unminimize, w)) return;
    const auto formerHome = desktop(w);
    // A window already managed is re-homed to the active desktop; it leaves its old tree first
    // so that it never sits in two.
    if (formerHome) {
        if (zoomed(*formerHome) == w) endZoom(*formerHome);
        removeFromTree(w, *formerHome);
    }
    manage(w, active).bundleID = record.bundleID;
    if (!formerHome) {
        fire(hooks.onAdopted, w);
        assignDisplayFromFrame(w, record.frame);
        if (record.floating) {
            stateOf(w)->floating = true;
            centreIfStranded(w);
        }
        if (record.minimized) unminimize.push_back(w);
    }
    if (!isFloating(w)) tiling.push_back(w);
}

void WorkspaceStore::fitAtLaunch(std::vector<WindowID>& tiling,
                                 const std::vector<WindowID>& unminimize, int active,
                                 const std::map<WindowID, CGRect>& scanned) {
    const std::set<WindowID> minimized(unminimize.begin(), unminimize.end());
    std::set<WindowID> taken;
    for (const LaunchFit::Finding& finding : oversizedAtLaunch(tiling, minimized, scanned)) {
        stateOf(finding.id)->floating = true;
        fire(hooks.onFloatedAtLaunch, finding.id, finding.current, finding.slot);
        stashUntileable(finding.id, active);
        taken.insert(finding.id);
    }
    std::erase_if(tiling, [&taken](WindowID w) { return taken.count(w) > 0; });
}

void WorkspaceStore::placeAdopted(const std::vector<WindowID>& tiling, int active) {
    for (const auto& [display, windows] : byDisplay(tiling)) {
        const Pane pane{active, display};
        const LayoutTree existing = treeOf(pane);
        if (existing.isEmpty()) {
            state_.trees[pane] = arranged(pane, windows);
            continue;
        }
        for (WindowID w : windows)
            insertIntoTree(w, active, std::nullopt);
    }
    // The managed display's pane exists after adoption even when nothing tiles there.
    state_.trees.try_emplace(Pane{active, managedDisplayID()});
}

std::map<std::uint32_t, std::vector<WindowID>> WorkspaceStore::byDisplay(
    const std::vector<WindowID>& ws) const {
    std::map<std::uint32_t, std::vector<WindowID>> groups;
    for (WindowID w : ws)
        groups[displayOf(w)].push_back(w);
    return groups;
}

LayoutTree WorkspaceStore::arranged(const Pane& pane, const std::vector<WindowID>& ws) const {
    if (layoutMode(pane.desktop) == LayoutMode::masterStack) {
        return LayoutTree::masterStack(masterStackOrder(pane, ws), LayoutTree::defaultMasterRatio);
    }
    return LayoutTree::grid(ws, bounds(pane.display));
}

// ---- Launch fit --------------------------------------------------------------------------

std::vector<LaunchFit::Finding> WorkspaceStore::oversizedAtLaunch(
    const std::vector<WindowID>& candidates, const std::set<WindowID>& minimized,
    const std::map<WindowID, CGRect>& read) {
    std::vector<LaunchFit::Finding> findings;
    if (candidates.size() < 2) return findings;
    std::map<WindowID, CGRect> frames;
    for (WindowID w : candidates) {
        if (minimized.count(w) || frames.count(w)) continue;
        if (const auto known = read.find(w); known != read.end()) {
            frames.emplace(w, known->second);
        } else if (const auto frame = bridge_->frame(w)) {
            frames.emplace(w, *frame);
        }
    }
    std::vector<WindowID> remaining = candidates;
    while (remaining.size() >= 2) {
        auto worst = mostOversized(remaining, frames);
        if (!worst) break;
        findings.push_back(*worst);
        std::erase(remaining, worst->id);
    }
    return findings;
}

std::optional<LaunchFit::Finding> WorkspaceStore::mostOversized(
    const std::vector<WindowID>& candidates, const std::map<WindowID, CGRect>& frames) {
    const CGRect& screen = state_.screen;
    const LayoutTree tree =
        layoutMode(activeDesktop()) == LayoutMode::masterStack
            ? LayoutTree::masterStack(candidates, LayoutTree::defaultMasterRatio)
            : LayoutTree::grid(candidates, screen);
    const auto slots = state_.config.gaps.apply(tree.rects(screen), screen);

    std::optional<LaunchFit::Finding> worst;
    double worstExcess = 0;
    for (WindowID w : candidates) {
        const auto slot = slots.find(w);
        const auto frame = frames.find(w);
        if (slot == slots.end() || frame == frames.end()) continue;
        const CGSize current = frame->second.size;
        const CGSize size = slot->second.size;
        if (!LaunchFit::shouldFloat(current, size, screen.size)) continue;
        const double slotArea = size.width * size.height;
        const double excess = current.width * current.height / (slotArea <= 1 ? 1 : slotArea);
        if (!worst || excess > worstExcess) {
            worst = LaunchFit::Finding{w, current, size};
            worstExcess = excess;
        }
    }
    return worst;
}

// ---- Stash and moves between desktops -----------------------------------------------------

std::optional<int> WorkspaceStore::stashDesktopFor(int from) const {
    const auto stash = state_.config.stashDesktop;
    if (!stash || *stash == from || *stash < 1 || *stash > desktopCount()) return std::nullopt;
    return static_cast<int>(*stash);
}

bool WorkspaceStore::stashUntileable(WindowID w, int from) {
    const std::optional<int> stash = stashDesktopFor(from);
    if (!stash) return false;
    const int target = *stash;
    move(w, target, /*asCommand=*/false);
    if (desktop(w) != target) return false;
    reconciler_.forget(w);
    stateOf(w)->floating = false;
    if (!isLeafOf(treeOf(paneOf(w, target)), w)) insertIntoTree(w, target, std::nullopt);
    fire(hooks.onStashed, w, target);
    if (target == activeDesktop()) applyLayout();
    return true;
}

void WorkspaceStore::move(WindowID w, int desktop, bool asCommand) {
    const auto from = this->desktop(w);
    if (!from || *from == desktop || desktop < 1 || desktop > desktopCount()) return;
    if (zoomed(*from) == w) endZoom(*from);
    reveal(desktop);
    removeFromTree(w, *from);
    WindowState& record = *stateOf(w);
    // A full-screen window rejoins a tree, the new desktop's, only when it leaves full screen.
    record.fullScreenReturn.reset();
    if (!record.floating && !record.fullScreened) insertIntoTree(w, desktop, std::nullopt);
    record.home = desktop;
    endShowDesktopIfEmpty(*from);

    const bool toActive = desktop == activeDesktop();
    if (toActive) {
        unpark({w}, /*deferringMinimized=*/false);
    } else {
        park({w});
    }
    if (!asCommand) {
        applyLayout();
        return;
    }
    applyLayoutForCommand(w, /*now=*/false);
    if (toActive) {
        issueFocus(w);
        raiseFloating(isFloating(w) ? std::optional<WindowID>(w) : std::nullopt);
    }
}

void WorkspaceStore::adoptOntoActiveDesktop(WindowID w) {
    bringToActiveDesktop(w);
}

bool WorkspaceStore::adoptOnActivation(WindowID w) {
    // With the setting on, the activation is followed to the window's desktop instead.
    if (state_.config.followActivationToDesktop) return false;
    return bringToActiveDesktop(w);
}

bool WorkspaceStore::bringToActiveDesktop(WindowID w) {
    const auto home = desktop(w);
    const int active = activeDesktop();
    if (!home || *home == active) return false;
    move(w, active, /*asCommand=*/true);
    return desktop(w) == active;
}

// ---- Removal -----------------------------------------------------------------------------

WorkspaceStore::SuccessorFocus WorkspaceStore::remove(WindowID w) {
    const auto d = desktop(w);
    if (!d) return SuccessorFocus::none();
    const auto app = bundleOf(w);
    const bool wasNativeFocus = state_.nativeFocus && state_.nativeFocus->window == w;
    const auto parkedKeyApp =
        state_.parkedKeyWindow ? bundleOf(*state_.parkedKeyWindow) : std::nullopt;

    removeFromTree(w, *d);
    purge(w);
    if (zoomed(*d) == w) endZoom(*d);
    endShowDesktopIfEmpty(*d);
    applyLayout();

    if (!wasNativeFocus) return SuccessorFocus::none();
    state_.nativeFocus = ExpectedFocus{app, std::nullopt};
    if (*d != activeDesktop()) return SuccessorFocus::none();
    const auto successor = leftmostWindow(*d, std::nullopt);
    if (!successor) return SuccessorFocus::none();
    const auto successorApp = bundleOf(*successor);
    if (successorApp != app || parkedKeyApp == app) {
        state_.parkedKeyWindow.reset();
        return SuccessorFocus::claim(*successor);
    }
    // The application focuses its own next window; the store only notes it.
    state_.nativeFocus = ExpectedFocus{app, *successor};
    return SuccessorFocus::record(*successor);
}

void WorkspaceStore::purge(WindowID w) {
    // A window number the window server hands out again must start clean, with no display,
    // full-screen or drag state of the window that had it before.
    state_.windows.erase(w);
    reconciler_.forget(w);
    if (state_.parkedKeyWindow == w) state_.parkedKeyWindow.reset();
    forgetExpectedWindow(w);
}

// ---- Applications ------------------------------------------------------------------------

void WorkspaceStore::applicationTerminated(const std::string& bundleID) {
    std::erase_if(state_.expectedFocus,
                  [&bundleID](const ExpectedFocus& e) { return e.bundleID == bundleID; });
    state_.parkedByLastSwitch.erase(bundleID);
    if (state_.nativeFocus && state_.nativeFocus->bundleID == bundleID) state_.nativeFocus.reset();
}

void WorkspaceStore::applicationHidden(const std::string& bundleID) {
    state_.userHiddenApps.insert(bundleID);
    fire(hooks.onApplicationHidden, bundleID, true);
}

void WorkspaceStore::applicationUnhidden(const std::string& bundleID) {
    if (!state_.userHiddenApps.erase(bundleID)) return;
    fire(hooks.onApplicationHidden, bundleID, false);
    // A switch back to its desktop while it was hidden left its windows parked; shown again,
    // those of a desktop that is shown are part of what must be visible, and leave the corner
    // for the pass to place them (otherwise the pass and the park would pull them both ways).
    std::vector<WindowID> back;
    for (const auto& [w, record] : state_.windows) {
        if (record.bundleID != bundleID || !record.isParked()) continue;
        const std::vector<WindowID> shown = shownIntent(record.home);
        if (std::find(shown.begin(), shown.end(), w) != shown.end()) back.push_back(w);
    }
    unpark(back, /*deferringMinimized=*/false);
    applyLayout();
}

void WorkspaceStore::unhideExternallyHiddenApps() {
    std::set<std::string> seen;
    const int active = activeDesktop();
    for (WindowID w : visibleIntent(active)) {
        const auto bundle = bundleOf(w);
        if (!bundle) continue;
        const std::string& b = *bundle;
        if (!seen.insert(b).second || state_.userHiddenApps.count(b)) continue;
        if (bridge_->isApplicationHidden(b)) {
            fire(hooks.onExternalUnhide, b, active);
            bridge_->setHidden(false, b);
        }
    }
}

}  // namespace kelvo
