#include <algorithm>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/DispatchTime.h"
#include "KelvoAX/Classification/AdoptionStep.h"
#include "KelvoAX/Classification/WindowClassification.h"
#include "KelvoApp/Coordinator/Coordinator.h"

namespace kelvo {

// ---- Events ------------------------------------------------------------------------------------

void Coordinator::eventCreated(WindowID id, const std::optional<std::string>& ownerBundleID,
                               const std::optional<WindowElementRef>& element) {
    if (store->desktop(id)) {
        log("event created " + named(id) + " - already managed, nothing to adopt");
        return;
    }
    log("event created " + named(id));
    std::optional<std::vector<ManagedWindow>> list;
    if (ownerBundleID && element) {
        if (const auto window = bridge->adopt(*element, *ownerBundleID)) {
            list = std::vector<ManagedWindow>{*window};
        } else {
            list = bridge->windowsOfApp(*ownerBundleID).first;
        }
    } else if (ownerBundleID) {
        list = bridge->windowsOfApp(*ownerBundleID).first;
    }
    beginAdoption(id, 0, std::move(list), false, false);
}

void Coordinator::eventDestroyed(WindowID id) {
    log("event destroyed " + named(id));
    windowGone(id);
}

void Coordinator::eventMoved(WindowID id) {
    if (!store->desktop(id) && bridge->seenFullScreen().count(id)) {
        log(named(id) + " was full screen when Kelvo first saw it and has moved - adopting it now");
        beginAdoption(id, 0, std::nullopt, false, false);
        return;
    }
    borderFollowsMove(id);
    store->windowFrameChanged(id);
}

void Coordinator::eventMinimized(WindowID id) {
    if (!store->desktop(id)) return;
    log("event minimized " + named(id) + " - left in the Dock, pane kept, not written to");
    store->windowMinimized(id);
    logState();
}

void Coordinator::eventUnminimized(WindowID id) {
    if (!store->desktop(id)) return;
    log("event restored " + named(id));
    store->windowUnminimized(id);
    focusNameRefresh();
}

void Coordinator::eventTerminated(const std::optional<std::string>& bundleID) {
    if (!bundleID) return;
    log("event terminated " + *bundleID);
    store->applicationTerminated(*bundleID);
    sweepRecord.forget(*bundleID);
}

void Coordinator::windowGone(WindowID id) {
    if (pendingFocus == id) pendingFocus.reset();
    ladder.cancel(id);
    const WorkspaceStore::SuccessorFocus successor = store->remove(id);
    // The name of the gone window is not needed again; the successor's is.
    appNames.erase(id);
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
            if (focused == id) focused.reset();
            break;
    }
    reseedFocusIfStale();
    logState();
    desktopRefresh();
}

// ---- Adoption
// ------------------------------------------------------------------------------------

void Coordinator::beginAdoption(WindowID id, int attempt,
                                std::optional<std::vector<ManagedWindow>> using_,
                                bool announceGiveUp, bool waited) {
    if (process.platform->isLeftMouseButtonDown()) {
        if (!waited) {
            log("  " + named(id) + " appeared under a held mouse button - adopting it on release");
        }
        after(heldButtonRecheck, weakly([this, id, attempt, announceGiveUp] {
                  beginAdoption(id, attempt, std::nullopt, announceGiveUp, true);
              }));
        return;
    }
    const auto generation = ladder.begin(id);
    if (!generation) {
        log("  " + named(id) + " is already being re-read - not starting a second adoption for it");
        return;
    }
    adoptCreated(id, attempt, *generation, std::move(using_), announceGiveUp);
}

void Coordinator::adoptCreated(WindowID id, int attempt, std::int64_t generation,
                               std::optional<std::vector<ManagedWindow>> using_,
                               bool announceGiveUp) {
    std::vector<ManagedWindow> windows;
    if (using_) {
        windows = std::move(*using_);
    } else {
        windows = bridge->windows();
        for (WindowID gone : bridge->takeGone()) {
            if (!store->desktop(gone)) continue;
            log(named(gone) +
                " no longer exists, and no close was ever reported for it - taking it out of the "
                "layout");
            windowGone(gone);
        }
        const std::set<WindowID> retained = bridge->retainedWindows();
        if (!retained.empty()) {
            std::string list;
            for (WindowID w : retained)
                list += (list.empty() ? "" : ", ") + named(w);
            log("sweep: kept " + list +
                " - absent from AXWindows but still alive, so Kelvo keeps the handle it already "
                "had rather than losing the window for good");
        }
    }
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [&](const ManagedWindow& w) { return w.id == id; });
    const auto scheduleRetry = [&](double delay) {
        after(delay, weakly([this, id, generation, attempt, announceGiveUp] {
                  if (ladder.isRunning(id, generation)) {
                      adoptCreated(id, attempt + 1, generation, std::nullopt, announceGiveUp);
                      return;
                  }
                  log("  " + named(id) +
                      " was destroyed while Kelvo was still re-reading it - the adoption stops "
                      "here rather than sweeping for a window that is gone");
              }));
    };
    if (found != windows.end() && !store->desktop(id)) {
        const ManagedWindow w = *found;
        const AdoptionStep step =
            adoptionStep(true, w.floating, attempt, false, w.floatingMayBeEarly);
        if (step.kind() == AdoptionStep::Kind::retry) {
            scheduleRetry(*step.delay());
            return;
        }
        appNames[id] = w.bundleID;
        store->add(id, w.bundleID, focused, w.floating, w.minimized);
        std::string line = "adopt " + named(id);
        if (w.floating) line += " floating";
        if (w.minimized) line += " (was minimized — restored)";
        if (attempt >= 1) line += " (on re-read " + std::to_string(attempt) + ")";
        log(line);
        logState();
        if (pendingFocus == id) {
            pendingFocus.reset();
            if (process.platform->frontmostBundleID() == w.bundleID) {
                log("  " + named(id) + " was focused before it was known - honouring that now");
                acceptFocus(id);
            } else {
                log("  " + named(id) +
                    " was focused within its application, which is not in front - adopted "
                    "without moving the border");
                focusNameRefresh();
            }
        } else {
            focusNameRefresh();
        }
        desktopRefresh();
    } else if (found == windows.end()) {
        const bool ignoredForNow = bridge->provisionallyIgnored().count(id) > 0;
        const AdoptionStep step = adoptionStep(false, false, attempt, ignoredForNow, false);
        if (step.kind() == AdoptionStep::Kind::retry) {
            scheduleRetry(*step.delay());
            return;
        }
        if (ignoredForNow) {
            log("  " + named(id) + " still refuses to be moved after " + std::to_string(attempt) +
                " re-read(s) - left unmanaged");
        } else if (announceGiveUp) {
            log("  " + named(id) + " was listed by its application but could not be read after " +
                std::to_string(attempt) + " re-read(s) - left unmanaged");
        }
    }
    ladder.finish(id, generation);
}

void Coordinator::adoptWindowlessFront(const std::optional<std::string>& bundle) {
    const bool managesAny = bundle && store->launcherTarget(*bundle).has_value();
    if (!bundle || !shouldSweepOnActivation(bundle, ownBundleID, managesAny, bridge->config())) {
        return;
    }
    auto [windows, seen] = bridge->windowsOfApp(*bundle);
    if (sweepRecord.refuses(*bundle, seen)) return;
    sweepRecord.record(*bundle, seen);
    std::vector<WindowID> candidates;
    for (WindowID w : seen) {
        if (!store->desktop(w)) candidates.push_back(w);
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

void Coordinator::borderFollowsMove(WindowID id) {
    if (!config.showFocusBorder || focused != id) return;
    hideBorder();
    if (borderSettle) borderSettle->cancel();
    DispatchWorkItem settle(weakly([this] { updateFocusBorder(); }));
    borderSettle = settle;
    DispatchQueue::main().asyncAfter(DispatchTime::now() + borderSettleDelay, settle);
}

void Coordinator::adopted(WindowID id) {
    if (const auto found = appNames.find(id); found != appNames.end()) {
        sweepRecord.forget(found->second);
    }
    if (const auto element = bridge->element(id)) {
        events->track(id, *element);
    } else {
        log("adopted " + named(id) + " has no element to observe - its close will not be heard");
    }
}

void Coordinator::applicationHidden(const std::optional<std::string>& bundleID) {
    if (bundleID) store->applicationHidden(*bundleID);
}

void Coordinator::applicationUnhidden(const std::optional<std::string>& bundleID) {
    if (bundleID) store->applicationUnhidden(*bundleID);
}

}  // namespace kelvo
