#include "KelvoAX/Classification/WindowClassification.h"
#include "KelvoApp/Coordinator/Coordinator.h"

namespace kelvo {

void Coordinator::acceptFocus(WindowID w) {
    focused = w;
    frontIsForeign = false;
    foreignFrontBundleID.reset();
    pendingFocus.reset();
    focusNameRefresh();
}

void Coordinator::claimFocus(WindowID w, bool raising) {
    focused = w;
    frontIsForeign = false;
    foreignFrontBundleID.reset();
    pendingFocus.reset();
    store->focusWindow(w, raising);
    verifyActivation(w);
    focusNameRefresh();
}

void Coordinator::reseedFocusIfStale() {
    const int active = store->activeDesktop();
    if (focused && store->desktop(*focused) == active && !store->isShowingDesktop(active)) return;
    if (const auto s = store->leftmostWindow(active, std::nullopt)) {
        claimFocus(*s, true);
        return;
    }
    focused.reset();
    pendingFocus.reset();
    focusNameRefresh();
}

void Coordinator::verifyActivation(WindowID w) {
    const auto found = appNames.find(w);
    if (found == appNames.end()) return;
    const std::string app = found->second;
    if (ownBundleID == app) return;
    if (process.platform->frontmostBundleID() == app) return;
    after(activationCheckDelay, weakly([this, w, app] {
              if (focused != w) return;
              const auto front = process.platform->frontmostBundleID();
              if (front == app) return;
              log("  FOCUS DID NOT LAND: asked for " + app + ", but " + front.value_or("nothing") +
                  " still has the keyboard. The border is pointing at a window that cannot be "
                  "typed into.");
          }));
}

void Coordinator::eventFocused(WindowID id) {
    log("event focused " + named(id));
    const auto response = store->focusResponse(id, focused);
    if (!response) {
        pendingFocus = id;
        after(pendingFocusDelay, weakly([this, id] { this->pendingFocusCheck(id); }));
        return;
    }
    switch (response->kind()) {
        case WorkspaceStore::FocusResponse::Kind::reassert: {
            const WindowID keep = *response->window();
            log("  " + named(id) + " is parked on desktop " +
                std::to_string(store->desktop(id).value_or(0)) +
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
                std::to_string(store->desktop(id).value_or(0)) +
                " - not pulled here, and nothing of its application is on screen to re-assert");
            break;
    }
}

void Coordinator::pendingFocusCheck(WindowID id) {
    if (store->desktop(id) || !bridge->canReach(id)) return;
    log("  " + named(id) + " was focused but never announced as created - adopting it late");
    beginAdoption(id, 0, std::nullopt, false, false);
}

void Coordinator::eventActivated(std::optional<WindowID> window,
                                 const std::optional<std::string>& bundle) {
    log("event activated " + (window ? named(*window) : std::string("(no window)")) + " " +
        bundle.value_or("?"));
    const int active = store->activeDesktop();
    const auto verdict = store->activationVerdict(bundle, window);
    if (verdict == WorkspaceStore::ActivationVerdict::expected) {
        log("  expected - " + bundle.value_or("?") + " is what Kelvo asked for; nothing to decide");
        if (window && store->desktop(*window) == active && !store->isParked(*window)) {
            acceptFocus(*window);
        }
        return;
    }
    if (bundle) {
        if (const auto t = store->windowToFollow(*bundle, window)) {
            hideBorder();
            const auto d = store->followActivation(*t);
            acceptFocus(*t);
            reseedFocusIfStale();
            desktopRefresh();
            syncOwnWindows();
            if (d) {
                log("  " + *bundle + " lives on desktop " + std::to_string(*d) +
                    " - following it there rather than bringing " + named(*t) + " here");
                if (config.showSwitchHUD) hud->show(*d);
            }
            logState();
            return;
        }
    }
    if (!window) {
        adoptWindowlessFront(bundle);
        noteForeignFront(bundle);
        return;
    }
    const WindowID w = *window;
    if (store->revealForActivation(w)) {
        log("  " + named(w) +
            " was parked here under ⌥D - the activation ends the hiding and the desktop comes "
            "back with it");
        acceptFocus(w);
        logState();
        desktopRefresh();
        return;
    }
    if (shouldAdoptOnActivation(bundle, ownBundleID, store->desktop(w).has_value(),
                                bridge->config())) {
        log("  " + named(w) +
            " is in front and Kelvo has no record of it - trying to adopt it now");
        beginAdoption(w, 0, std::nullopt, false, false);
    }
    if (const auto d = store->desktop(w)) {
        const int now = store->activeDesktop();
        if (*d == now && !store->isParked(w)) {
            acceptFocus(w);
            return;
        }
        if (*d == now) {
            log("  " + named(w) +
                " is parked here under a zoom - the zoom stands, the border "
                "stands down");
        } else if (store->adoptOnActivation(w)) {
            acceptFocus(w);
            log("  pulled " + named(w) + " from desktop " + std::to_string(*d) + " onto " +
                std::to_string(store->activeDesktop()));
            logState();
            desktopRefresh();
            return;
        }
    }
    noteForeignFront(bundle);
}

void Coordinator::noteForeignFront(const std::optional<std::string>& bundle) {
    if (!bundle || bundle == ownBundleID) return;
    if (const auto w = store->launcherTarget(*bundle);
        w && store->desktop(*w) == store->activeDesktop()) {
        return;
    }
    foreignFrontBundleID = bundle;
    if (frontIsForeign) return;
    frontIsForeign = true;
    log("  " + *bundle +
        " is in front and Kelvo manages nothing of it here - the border and the menu bar name "
        "stand down until focus comes back");
    focusNameRefresh();
}

void Coordinator::syncOwnWindow(OwnWindowDesktop& desktop, std::optional<OwnPanel>& window,
                                const std::string& what, bool endsRecording) {
    const auto order = desktop.sync(store->activeDesktop(), store->desktopCount());
    if (!order) return;
    const std::string home = desktop.home ? std::to_string(*desktop.home) : "?";
    if (*order == OwnWindowDesktop::Order::out) {
        if (endsRecording) settingsWindow->model.endRecording(true);
        if (window) window->orderOut();
        log("  " + what + " belongs to desktop " + home + " - hiding it until you go back there");
        return;
    }
    if (window) window->orderFront();
    log("  " + what + " belongs to desktop " + home + " - showing it again");
}

void Coordinator::syncOwnWindows() {
    syncOwnWindow(settingsDesktop, settingsWindow->window, "the settings window", true);
    syncOwnWindow(guideDesktop, guideWindow->window, "the guide", false);
}

}  // namespace kelvo
