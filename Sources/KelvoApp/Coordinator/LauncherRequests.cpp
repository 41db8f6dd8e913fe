#include "KelvoApp/Coordinator/LauncherRequests.h"

#include "KelvoApp/Coordinator/ConfigurationChanges.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/Focus.h"
#include "KelvoApp/Coordinator/OwnWindows.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Coordinator/WindowNames.h"
#include "KelvoApp/Services/Launcher/LauncherController.h"
#include "KelvoCore/Launcher/LauncherRecents.h"

namespace kelvo {

LauncherRequests::LauncherRequests(const CoordinatorProcess& process, const ProcessLog& log,
                                   const WindowNames& names, StoreWiring& wiring,
                                   const ConfigurationChanges& configuration, Focus& focus,
                                   OwnWindows& ownWindows, Callbacks callbacks)
    : process_(process),
      log_(log),
      names_(names),
      wiring_(wiring),
      configuration_(configuration),
      focus_(focus),
      ownWindows_(ownWindows),
      callbacks_(std::move(callbacks)) {}

LauncherRequests::~LauncherRequests() = default;

void LauncherRequests::log(const std::string& message) const {
    log_.log(message);
}

// ---- The panel --------------------------------------------------------------------------------

void LauncherRequests::follow(bool shown) {
    if (!shown && launcher_) {
        dismiss();
        launcher_.reset();
    } else if (shown && !launcher_) {
        launcher_ = makeLauncher();
    }
}

std::unique_ptr<LauncherController> LauncherRequests::makeLauncher() {
    LauncherController::Callbacks callbacks{
        .desktopOf = [this](const std::string& bundle) -> std::optional<int> {
            const auto w = wiring_.store().launcherTarget(bundle);
            return w ? wiring_.store().desktop(*w) : std::nullopt;
        },
        .bringsHere =
            [this](const LauncherEntry& entry) {
                return wiring_.store()
                           .launcherAction(entry.bundleID, entry.isRunning,
                                           LauncherRequest::bringHere)
                           .kind() == LauncherAction::Kind::bringHere;
            },
        .recents = [this] { return configuration_.config().launcherRecents; },
        .vimMode = [this] { return configuration_.config().launcherVimMode; },
        .recordUse =
            [this](const std::string& bundle) {
                Config next = configuration_.store().config();
                next.launcherRecents = LauncherRecents::cleaned(
                    LauncherRecents::recording(bundle, next.launcherRecents));
                configuration_.store().set(next);
            },
        .expectActivation =
            [this](const std::string& bundle) { wiring_.store().expectActivation(bundle); },
        .commit = [this](const LauncherApp& app,
                         LauncherRequest request) { openFromLauncher(app, request); },
    };
    return std::make_unique<LauncherController>(std::move(callbacks), launcherSources());
}

LauncherController::Sources LauncherRequests::launcherSources() const {
    AppPlatform* platform = process_.platform;
    LauncherController::Sources sources;
    sources.frontmost = [platform]() -> std::optional<RunningApplication> {
        for (const RunningApplication& app : platform->runningApplications()) {
            if (app.active && !app.terminated) return app;
        }
        return std::nullopt;
    };
    sources.runningApplications = [platform] { return platform->runningApplications(); };
    sources.activate = [platform](int pid) { platform->activate(pid); };
    return sources;
}

void LauncherRequests::toggle() {
    if (!launcher_) return;
    if (!launcher_->isShown()) {
        launcher_->show();
    } else {
        dismiss();
    }
}

void LauncherRequests::dismiss() {
    if (launcher_) launcher_->cancel();
}

// ---- A pick -----------------------------------------------------------------------------------

void LauncherRequests::openFromLauncher(const LauncherApp& app, LauncherRequest request) {
    const std::string& bundle = app.entry.bundleID;
    WorkspaceStore& store = wiring_.store();
    const LauncherAction action = store.launcherAction(bundle, app.entry.isRunning, request);
    switch (action.kind()) {
        case LauncherAction::Kind::focus:
            focus_.claimFocus(*action.window(), true);
            log("launcher: " + bundle + " is already on desktop " +
                std::to_string(store.activeDesktop()) + " - focusing " +
                names_.named(*action.window()));
            break;
        case LauncherAction::Kind::goTo:
            goTo(bundle, *action.desktop(), *action.window());
            break;
        case LauncherAction::Kind::bringHere:
            bringHere(bundle, *action.window());
            break;
        case LauncherAction::Kind::activate:
            if (!activate(app)) return;
            break;
        case LauncherAction::Kind::launch:
            if (!launch(app)) return;
            break;
    }
    wiring_.logState();
}

void LauncherRequests::goTo(const std::string& app, int desktop, WindowID w) {
    callbacks_.hideBorder();
    wiring_.store().followActivation(w);
    focus_.acceptFocus(w);
    focus_.reseedFocusIfStale();
    ownWindows_.desktopRefresh();
    ownWindows_.syncOwnWindows();
    ownWindows_.showSwitchDisplay(desktop);
    log("launcher: " + app + " lives on desktop " + std::to_string(desktop) +
        " - going there rather than dragging " + names_.named(w) + " here");
}

void LauncherRequests::bringHere(const std::string& app, WindowID w) {
    WorkspaceStore& store = wiring_.store();
    const auto from = store.desktop(w);
    callbacks_.hideBorder();
    store.bringToActiveDesktop(w);
    focus_.acceptFocus(w);
    ownWindows_.desktopRefresh();
    ownWindows_.syncOwnWindows();
    log("launcher: " + app + " lives on desktop " + (from ? std::to_string(*from) : "?") +
        " - bringing " + names_.named(w) + " here to desktop " +
        std::to_string(store.activeDesktop()) + ", as asked");
}

bool LauncherRequests::activate(const LauncherApp& app) {
    const std::string& bundle = app.entry.bundleID;
    AppPlatform& platform = *process_.platform;
    std::optional<RunningApplication> running;
    for (const RunningApplication& candidate : platform.runningApplications()) {
        if (candidate.bundleID == bundle && !candidate.terminated) {
            running = candidate;
            break;
        }
    }
    std::optional<std::filesystem::path> url = running ? running->bundleURL : std::nullopt;
    if (!url) url = app.url;
    if (!url) url = platform.urlForApplication(bundle);
    if (url) {
        log("launcher: " + bundle +
            " is running with no window Kelvo manages - asking it to open one, as a Dock click "
            "would");
        open(*url, bundle);
        return true;
    }
    if (!running) {
        // It quit between the pick and now, and there is nothing on disk to open again.
        log("launcher: " + bundle + " is not running and could not be found on disk");
        return false;
    }
    platform.activate(running->pid);
    log("launcher: " + bundle +
        " is running with no window Kelvo manages and is not on disk - activating it");
    return true;
}

bool LauncherRequests::launch(const LauncherApp& app) {
    const std::string& bundle = app.entry.bundleID;
    const auto url = app.url ? app.url : process_.platform->urlForApplication(bundle);
    if (!url) {
        log("launcher: " + bundle + " is not running and could not be found on disk");
        return false;
    }
    log("launcher: launching " + bundle);
    open(*url, bundle);
    return true;
}

void LauncherRequests::open(const std::filesystem::path& url, const std::string& app) {
    // The failure may be told before the platform returns: callers announce the opening
    // first, so that the log reads in the order things happened.
    process_.platform->openApplication(url, [this, app](const std::string& error) {
        log("launcher: " + app + " failed to open - " + error);
    });
}

}  // namespace kelvo
