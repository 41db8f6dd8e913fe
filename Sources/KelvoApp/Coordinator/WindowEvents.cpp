#include "KelvoApp/Coordinator/WindowEvents.h"

#include <algorithm>

#include "KelvoAX/Classification/AdoptionStep.h"
#include "KelvoAX/Classification/WindowClassification.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/Focus.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Coordinator/WindowNames.h"

namespace kelvo {

WindowEvents::WindowEvents(const CoordinatorProcess& process, const ProcessLog& log,
                           WindowNames& names, StoreWiring& wiring, Focus& focus,
                           Callbacks callbacks)
    : process_(process),
      log_(log),
      names_(names),
      wiring_(wiring),
      focus_(focus),
      callbacks_(std::move(callbacks)) {}

void WindowEvents::log(const std::string& message) const {
    log_.log(message);
}

std::string WindowEvents::named(WindowID id) const {
    return names_.named(id);
}

// ---- The stream -------------------------------------------------------------------------------

void WindowEvents::listen() {
    source_ = process_.makeEvents([this](const WindowEvent& event) { handle(event); });
    using Notice = std::function<void(const std::optional<std::string>&)>;
    process_.platform->observeApplicationHiding(
        later_.weaklyTaking(Notice([this](const auto& bundle) { applicationHidden(bundle); })),
        later_.weaklyTaking(Notice([this](const auto& bundle) { applicationUnhidden(bundle); })));
    source_->start();
}

void WindowEvents::stop() {
    if (source_) source_->stop();
    source_.reset();
}

// ---- Events -----------------------------------------------------------------------------------

void WindowEvents::handle(const WindowEvent& event) {
    using Kind = WindowEvent::Kind;
    const WindowID window = event.window().value_or(WindowID());
    switch (event.kind()) {
        case Kind::created: {
            std::optional<WindowElementRef> element;
            if (event.element()) element = WindowElementRef(event.element()->element);
            eventCreated(window, event.bundleID(), element);
            break;
        }
        case Kind::destroyed:
            eventDestroyed(window);
            break;
        case Kind::focused:
            focus_.eventFocused(window);
            break;
        case Kind::moved:
        case Kind::resized:
            eventMoved(window);
            break;
        case Kind::activated:
            focus_.eventActivated(event.window(), event.bundleID());
            break;
        case Kind::minimized:
            eventMinimized(window);
            break;
        case Kind::unminimized:
            eventUnminimized(window);
            break;
        case Kind::terminated:
            eventTerminated(event.bundleID());
            break;
    }
}

void WindowEvents::eventCreated(WindowID id, const std::optional<std::string>& ownerBundleID,
                                const std::optional<WindowElementRef>& element) {
    CoordinatorBridge& bridge = wiring_.bridge();
    if (wiring_.store().desktop(id)) {
        log("event created " + named(id) + " - already managed, nothing to adopt");
        return;
    }
    log("event created " + named(id));
    std::optional<std::vector<ManagedWindow>> list;
    if (ownerBundleID && element) {
        if (const auto window = bridge.adopt(*element, *ownerBundleID)) {
            list = std::vector<ManagedWindow>{*window};
        } else {
            list = bridge.windows(*ownerBundleID).windows;
        }
    } else if (ownerBundleID) {
        list = bridge.windows(*ownerBundleID).windows;
    }
    beginAdoption(id, 0, std::move(list), false, false);
}

void WindowEvents::eventDestroyed(WindowID id) {
    log("event destroyed " + named(id));
    windowGone(id);
}

void WindowEvents::eventMoved(WindowID id) {
    if (!wiring_.store().desktop(id) && wiring_.bridge().seenFullScreen().count(id)) {
        log(named(id) + " was full screen when Kelvo first saw it and has moved - adopting it now");
        beginAdoption(id, 0, std::nullopt, false, false);
        return;
    }
    callbacks_.borderFollowsMove(id);
    wiring_.store().windowFrameChanged(id);
}

void WindowEvents::eventMinimized(WindowID id) {
    if (!wiring_.store().desktop(id)) return;
    log("event minimized " + named(id) + " - left in the Dock, pane kept, not written to");
    wiring_.store().windowMinimized(id);
    wiring_.logState();
}

void WindowEvents::eventUnminimized(WindowID id) {
    if (!wiring_.store().desktop(id)) return;
    log("event restored " + named(id));
    wiring_.store().windowUnminimized(id);
    focus_.focusNameRefresh();
}

void WindowEvents::eventTerminated(const std::optional<std::string>& bundleID) {
    if (!bundleID) return;
    log("event terminated " + *bundleID);
    wiring_.store().applicationTerminated(*bundleID);
    sweepRecord_.forget(*bundleID);
}

void WindowEvents::applicationHidden(const std::optional<std::string>& bundleID) {
    if (!bundleID) return;
    wiring_.store().applicationHidden(*bundleID);
    callbacks_.updateBorder();
}

void WindowEvents::applicationUnhidden(const std::optional<std::string>& bundleID) {
    if (!bundleID) return;
    wiring_.store().applicationUnhidden(*bundleID);
    callbacks_.updateBorder();
}

void WindowEvents::windowGone(WindowID id) {
    focus_.forgetPending(id);
    ladder_.cancel(id);
    const WorkspaceStore::SuccessorFocus successor = wiring_.store().remove(id);
    // The name of the gone window is not needed again; the successor's is.
    names_.forget(id);
    focus_.followClose(id, successor);
    wiring_.logState();
    callbacks_.desktopRefresh();
}

// ---- Adoption ---------------------------------------------------------------------------------

void WindowEvents::beginAdoption(WindowID id, int attempt,
                                 std::optional<std::vector<ManagedWindow>> using_,
                                 bool announceGiveUp, bool waited) {
    if (process_.platform->isLeftMouseButtonDown()) {
        if (!waited) {
            log("  " + named(id) + " appeared under a held mouse button - adopting it on release");
        }
        later_.after(heldButtonRecheck, [this, id, attempt, announceGiveUp] {
            beginAdoption(id, attempt, std::nullopt, announceGiveUp, true);
        });
        return;
    }
    const auto generation = ladder_.begin(id);
    if (!generation) {
        log("  " + named(id) + " is already being re-read - not starting a second adoption for it");
        return;
    }
    adoptCreated(id, attempt, *generation, std::move(using_), announceGiveUp);
}

void WindowEvents::launchReread(const ManagedWindow& window) {
    beginAdoption(window.id, 1, std::nullopt, false, false);
}

void WindowEvents::adoptCreated(WindowID id, int attempt, std::int64_t generation,
                                std::optional<std::vector<ManagedWindow>> using_,
                                bool announceGiveUp) {
    const std::vector<ManagedWindow> windows = using_ ? std::move(*using_) : readWindows();
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [&](const ManagedWindow& w) { return w.id == id; });
    std::optional<double> reread;
    if (found != windows.end() && !wiring_.store().desktop(id)) {
        reread = adoptListed(*found, attempt);
    } else if (found == windows.end()) {
        reread = missingFromList(id, attempt, announceGiveUp);
    }
    if (reread) {
        scheduleReread(id, attempt, generation, announceGiveUp, *reread);
        return;
    }
    ladder_.finish(id, generation);
}

std::vector<ManagedWindow> WindowEvents::readWindows() {
    CoordinatorBridge& bridge = wiring_.bridge();
    std::vector<ManagedWindow> windows = bridge.windows();
    for (WindowID gone : bridge.takeGone()) {
        if (!wiring_.store().desktop(gone)) continue;
        log(named(gone) +
            " no longer exists, and no close was ever reported for it - taking it out of the "
            "layout");
        windowGone(gone);
    }
    const std::set<WindowID> retained = bridge.retainedWindows();
    if (!retained.empty()) {
        std::string list;
        for (WindowID w : retained)
            list += (list.empty() ? "" : ", ") + named(w);
        log("sweep: kept " + list +
            " - absent from AXWindows but still alive, so Kelvo keeps the handle it already "
            "had rather than losing the window for good");
    }
    return windows;
}

void WindowEvents::scheduleReread(WindowID id, int attempt, std::int64_t generation,
                                  bool announceGiveUp, double delay) {
    later_.after(delay, [this, id, generation, attempt, announceGiveUp] {
        if (ladder_.isRunning(id, generation)) {
            adoptCreated(id, attempt + 1, generation, std::nullopt, announceGiveUp);
            return;
        }
        log("  " + named(id) +
            " was destroyed while Kelvo was still re-reading it - the adoption stops "
            "here rather than sweeping for a window that is gone");
    });
}

std::optional<double> WindowEvents::adoptListed(const ManagedWindow& w, int attempt) {
    const AdoptionStep step = adoptionStep(true, w.floating, attempt, false, w.floatingMayBeEarly);
    if (step.kind() == AdoptionStep::Kind::retry) return *step.delay();
    names_.name(w.id, w.bundleID);
    wiring_.store().add(w.id, w.bundleID, focus_.focused(), w.floating, w.minimized);
    std::string line = "adopt " + named(w.id);
    if (w.floating) line += " floating";
    if (w.minimized) line += " (was minimized — restored)";
    if (attempt >= 1) line += " (on re-read " + std::to_string(attempt) + ")";
    log(line);
    wiring_.logState();
    focus_.windowAdopted(w.id, w.bundleID);
    callbacks_.desktopRefresh();
    return std::nullopt;
}

std::optional<double> WindowEvents::missingFromList(WindowID id, int attempt, bool announceGiveUp) {
    const bool ignoredForNow = wiring_.bridge().provisionallyIgnored().count(id) > 0;
    const AdoptionStep step = adoptionStep(false, false, attempt, ignoredForNow, false);
    if (step.kind() == AdoptionStep::Kind::retry) return *step.delay();
    if (ignoredForNow) {
        log("  " + named(id) + " still refuses to be moved after " + std::to_string(attempt) +
            " re-read(s) - left unmanaged");
    } else if (announceGiveUp) {
        log("  " + named(id) + " was listed by its application but could not be read after " +
            std::to_string(attempt) + " re-read(s) - left unmanaged");
    }
    return std::nullopt;
}

// ---- Windowless fronts and adopted windows ----------------------------------------------------

void WindowEvents::adoptWindowlessFront(const std::optional<std::string>& bundle) {
    WorkspaceStore& store = wiring_.store();
    CoordinatorBridge& bridge = wiring_.bridge();
    const bool managesAny = bundle && store.launcherTarget(*bundle).has_value();
    if (!bundle ||
        !shouldSweepOnActivation(bundle, wiring_.ownBundleID(), managesAny, bridge.config())) {
        return;
    }
    auto [windows, seen] = bridge.windows(*bundle);
    if (sweepRecord_.refuses(*bundle, seen)) return;
    sweepRecord_.record(*bundle, seen);
    std::vector<WindowID> candidates;
    for (WindowID w : seen) {
        if (!store.desktop(w)) candidates.push_back(w);
    }
    if (candidates.empty()) {
        log("  " + *bundle + " is in front and Kelvo manages nothing of it - it has " +
            (seen.empty() ? "no windows at all" : "no window Kelvo does not already have") +
            ", so nothing is read for it again until that changes");
        return;
    }
    log("  " + *bundle + " is in front, named no window, and Kelvo manages none of its " +
        std::to_string(seen.size()) + " window(s) - adopting what can be adopted");
    for (WindowID candidate : candidates)
        beginAdoption(candidate, 0, windows, true, false);
}

void WindowEvents::adopted(WindowID id) {
    if (const auto bundle = names_.bundleOf(id)) sweepRecord_.forget(*bundle);
    if (const auto element = wiring_.bridge().element(id)) {
        source_->track(id, *element);
    } else {
        log("adopted " + named(id) + " has no element to observe - its close will not be heard");
    }
}

}  // namespace kelvo
