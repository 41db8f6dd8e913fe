#include "KelvoApp/Coordinator/Focus.h"

#include "KelvoAX/Classification/WindowClassification.h"
#include "KelvoApp/Applications/AppDisplayNames.h"
#include "KelvoApp/Coordinator/ConfigurationChanges.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/OwnWindows.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Coordinator/WindowNames.h"
#include "KelvoCore/Launcher/AppTitle.h"

namespace kelvo {

Focus::Focus(const CoordinatorProcess& process, const ProcessLog& log, const WindowNames& names,
             StoreWiring& wiring, const ConfigurationChanges& configuration, OwnWindows& ownWindows,
             Callbacks callbacks)
    : process_(process),
      log_(log),
      names_(names),
      wiring_(wiring),
      configuration_(configuration),
      ownWindows_(ownWindows),
      callbacks_(std::move(callbacks)) {}

void Focus::log(const std::string& message) const {
    log_.log(message);
}

std::string Focus::named(WindowID id) const {
    return names_.named(id);
}

// ---- Claims -----------------------------------------------------------------------------------

void Focus::focusAtLaunch() {
    WorkspaceStore& store = wiring_.store();
    std::optional<WindowID> launchFocus;
    if (const auto front = process_.platform->frontmostBundleID())
        launchFocus = store.launcherTarget(*front);
    if (!launchFocus) launchFocus = store.leftmostWindow(store.activeDesktop(), std::nullopt);
    focused_ = launchFocus;
}

void Focus::acceptFocus(WindowID w) {
    focused_ = w;
    frontIsForeign_ = false;
    foreignFrontBundleID_.reset();
    pendingFocus_.reset();
    focusNameRefresh();
}

void Focus::claimFocus(WindowID w, bool raising) {
    focused_ = w;
    frontIsForeign_ = false;
    foreignFrontBundleID_.reset();
    pendingFocus_.reset();
    wiring_.store().focusWindow(w, raising);
    verifyActivation(w);
    focusNameRefresh();
}

void Focus::reseedFocusIfStale() {
    WorkspaceStore& store = wiring_.store();
    const int active = store.activeDesktop();
    if (focused_ && store.desktop(*focused_) == active && !store.isShowingDesktop(active)) return;
    if (const auto s = store.leftmostWindow(active, std::nullopt)) {
        claimFocus(*s, true);
        return;
    }
    focused_.reset();
    pendingFocus_.reset();
    focusNameRefresh();
}

void Focus::verifyActivation(WindowID w) {
    const auto found = names_.bundleOf(w);
    if (!found) return;
    const std::string app = *found;
    if (wiring_.ownBundleID() == app) return;
    if (process_.platform->frontmostBundleID() == app) return;
    later_.after(activationCheckDelay, [this, w, app] {
        if (focused_ != w) return;
        const auto front = process_.platform->frontmostBundleID();
        if (front == app) return;
        log("  FOCUS DID NOT LAND: asked for " + app + ", but " + front.value_or("nothing") +
            " still has the keyboard. The border is pointing at a window that cannot be "
            "typed into.");
    });
}

void Focus::forget(WindowID w) {
    if (focused_ == w) focused_.reset();
    if (pendingFocus_ == w) pendingFocus_.reset();
}

void Focus::forgetPending(WindowID w) {
    if (pendingFocus_ == w) pendingFocus_.reset();
}

void Focus::followClose(WindowID closed, const WorkspaceStore::SuccessorFocus& successor) {
    switch (successor.kind()) {
        case WorkspaceStore::SuccessorFocus::Kind::claim:
            log("  after the close: claiming " + named(*successor.window()));
            claimFocus(*successor.window(), true);
            break;
        case WorkspaceStore::SuccessorFocus::Kind::record:
            log("  after the close: " + named(*successor.window()) +
                " is the likely successor - its application is choosing, so it is recorded rather "
                "than focused");
            acceptFocus(*successor.window());
            break;
        case WorkspaceStore::SuccessorFocus::Kind::none:
            if (focused_ == closed) focused_.reset();
            break;
    }
    reseedFocusIfStale();
}

void Focus::windowAdopted(WindowID id, const std::string& bundleID) {
    if (pendingFocus_ != id) {
        focusNameRefresh();
        return;
    }
    pendingFocus_.reset();
    if (process_.platform->frontmostBundleID() == bundleID) {
        log("  " + named(id) + " was focused before it was known - honouring that now");
        acceptFocus(id);
    } else {
        log("  " + named(id) +
            " was focused within its application, which is not in front - adopted "
            "without moving the border");
        focusNameRefresh();
    }
}

// ---- Focused and activated events -------------------------------------------------------------

void Focus::eventFocused(WindowID id) {
    log("event focused " + named(id));
    const auto response = wiring_.store().focusResponse(id, focused_);
    if (!response) {
        pendingFocus_ = id;
        later_.after(pendingFocusDelay, [this, id] { pendingFocusCheck(id); });
        return;
    }
    answerFocused(id, *response);
}

void Focus::answerFocused(WindowID id, const WorkspaceStore::FocusResponse& response) {
    WorkspaceStore& store = wiring_.store();
    switch (response.kind()) {
        case WorkspaceStore::FocusResponse::Kind::reassert: {
            const WindowID keep = *response.window();
            log("  " + named(id) + " is parked on desktop " +
                std::to_string(store.desktop(id).value_or(0)) +
                " - its application moved its key window off screen; keeping the keyboard on " +
                named(keep) + " rather than pulling it here");
            claimFocus(keep, true);
            break;
        }
        case WorkspaceStore::FocusResponse::Kind::expected:
            log("  expected - the window Kelvo focused, confirmed");
            acceptFocus(id);
            break;
        case WorkspaceStore::FocusResponse::Kind::accept:
            acceptFocus(id);
            break;
        case WorkspaceStore::FocusResponse::Kind::leaveParked:
            log("  " + named(id) + " is parked on desktop " +
                std::to_string(store.desktop(id).value_or(0)) +
                " - not pulled here, and nothing of its application is on screen to re-assert");
            break;
    }
}

void Focus::pendingFocusCheck(WindowID id) {
    if (wiring_.store().desktop(id) || !wiring_.bridge().canReach(id)) return;
    log("  " + named(id) + " was focused but never announced as created - adopting it late");
    callbacks_.adopt(id);
}

void Focus::eventActivated(std::optional<WindowID> window,
                           const std::optional<std::string>& bundle) {
    log("event activated " + (window ? named(*window) : std::string("(no window)")) + " " +
        bundle.value_or("?"));
    WorkspaceStore& store = wiring_.store();
    const int active = store.activeDesktop();
    const auto verdict = store.activationVerdict(bundle, window);
    if (verdict == WorkspaceStore::ActivationVerdict::expected) {
        log("  expected - " + bundle.value_or("?") + " is what Kelvo asked for; nothing to decide");
        if (window && store.desktop(*window) == active && !store.isParked(*window)) {
            acceptFocus(*window);
        }
        return;
    }
    if (bundle && followToItsDesktop(*bundle, window)) return;
    if (!window) {
        callbacks_.adoptWindowlessFront(bundle);
        noteForeignFront(bundle);
        return;
    }
    if (revealForActivation(*window)) return;
    activatedWindow(*window, bundle);
}

bool Focus::followToItsDesktop(const std::string& bundle, std::optional<WindowID> window) {
    WorkspaceStore& store = wiring_.store();
    const auto t = store.windowToFollow(bundle, window);
    if (!t) return false;
    callbacks_.hideBorder();
    const auto d = store.followActivation(*t);
    acceptFocus(*t);
    reseedFocusIfStale();
    ownWindows_.desktopRefresh();
    ownWindows_.syncOwnWindows();
    if (d) {
        log("  " + bundle + " lives on desktop " + std::to_string(*d) +
            " - following it there rather than bringing " + named(*t) + " here");
        ownWindows_.showSwitchDisplay(*d);
    }
    wiring_.logState();
    return true;
}

bool Focus::revealForActivation(WindowID w) {
    if (!wiring_.store().revealForActivation(w)) return false;
    log("  " + named(w) +
        " was parked here under ⌥D - the activation ends the hiding and the desktop comes "
        "back with it");
    acceptFocus(w);
    wiring_.logState();
    ownWindows_.desktopRefresh();
    return true;
}

void Focus::activatedWindow(WindowID w, const std::optional<std::string>& bundle) {
    WorkspaceStore& store = wiring_.store();
    if (shouldAdoptOnActivation(bundle, wiring_.ownBundleID(), store.desktop(w).has_value(),
                                wiring_.bridge().config())) {
        log("  " + named(w) +
            " is in front and Kelvo has no record of it - trying to adopt it now");
        callbacks_.adopt(w);
    }
    if (const auto d = store.desktop(w)) {
        const int now = store.activeDesktop();
        if (*d == now && !store.isParked(w)) {
            acceptFocus(w);
            return;
        }
        if (*d == now) {
            log("  " + named(w) +
                " is parked here under a zoom - the zoom stands, the border "
                "stands down");
        } else if (store.adoptOnActivation(w)) {
            acceptFocus(w);
            log("  pulled " + named(w) + " from desktop " + std::to_string(*d) + " onto " +
                std::to_string(store.activeDesktop()));
            wiring_.logState();
            ownWindows_.desktopRefresh();
            return;
        }
    }
    noteForeignFront(bundle);
}

// ---- The foreign front, the border and the status item's name ---------------------------------

void Focus::noteForeignFront(const std::optional<std::string>& bundle) {
    if (!bundle || bundle == wiring_.ownBundleID()) return;
    WorkspaceStore& store = wiring_.store();
    if (const auto w = store.launcherTarget(*bundle);
        w && store.desktop(*w) == store.activeDesktop()) {
        return;
    }
    foreignFrontBundleID_ = bundle;
    if (frontIsForeign_) return;
    frontIsForeign_ = true;
    log("  " + *bundle +
        " is in front and Kelvo manages nothing of it here - the border and the menu bar name "
        "stand down until focus comes back");
    focusNameRefresh();
}

void Focus::clearForeignFrontIfResolved() {
    if (!frontIsForeign_ || !foreignFrontBundleID_) return;
    WorkspaceStore& store = wiring_.store();
    const auto window = store.launcherTarget(*foreignFrontBundleID_);
    if (!window || store.desktop(*window) != store.activeDesktop()) return;
    const std::string bundle = *foreignFrontBundleID_;
    frontIsForeign_ = false;
    foreignFrontBundleID_.reset();
    log("  " + bundle +
        " now owns a window Kelvo manages here - the border and the menu bar name come back");
}

void Focus::focusNameRefresh() {
    clearForeignFrontIfResolved();
    ownWindows_.setFocusedApp(focusedAppName());
    callbacks_.updateBorder();
}

std::optional<std::string> Focus::focusedAppName() const {
    if (!configuration_.config().showFocusedAppName || frontIsForeign_ || !focused_) {
        return std::nullopt;
    }
    if (wiring_.store().desktop(*focused_) != wiring_.store().activeDesktop()) return std::nullopt;
    const auto bundle = names_.bundleOf(*focused_);
    if (!bundle) return std::nullopt;
    return AppTitle::truncate(AppDisplayNames::name(*bundle), appNameLimit);
}

}  // namespace kelvo
