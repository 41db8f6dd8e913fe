#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoCore/Launcher/LauncherRecents.h"

namespace kelvo {

std::unique_ptr<LauncherController> Coordinator::makeLauncher() {
    LauncherController::Callbacks callbacks{
        .desktopOf = [this](const std::string& bundle) -> std::optional<int> {
            const auto w = store->launcherTarget(bundle);
            return w ? store->desktop(*w) : std::nullopt;
        },
        .bringsHere =
            [this](const LauncherEntry& entry) {
                return store
                           ->launcherAction(entry.bundleID, entry.isRunning,
                                            LauncherRequest::bringHere)
                           .kind() == LauncherAction::Kind::bringHere;
            },
        .recents = [this] { return config.launcherRecents; },
        .vimMode = [this] { return config.launcherVimMode; },
        .recordUse =
            [this](const std::string& bundle) {
                Config next = configStore->config();
                next.launcherRecents = LauncherRecents::cleaned(
                    LauncherRecents::recording(bundle, next.launcherRecents));
                configStore->set(next);
            },
        .expectActivation = [this](const std::string& bundle) { store->expectActivation(bundle); },
        .commit = [this](const LauncherApp& app,
                         LauncherRequest request) { openFromLauncher(app, request); },
    };
    return std::make_unique<LauncherController>(
        std::move(callbacks), [this]() -> std::optional<RunningApplication> {
            for (const RunningApplication& app : process.platform->runningApplications()) {
                if (app.active && !app.terminated) return app;
            }
            return std::nullopt;
        });
}

void Coordinator::openFromLauncher(const LauncherApp& app, LauncherRequest request) {
    const std::string& bundle = app.entry.bundleID;
    const LauncherAction action = store->launcherAction(bundle, app.entry.isRunning, request);
    switch (action.kind()) {
        case LauncherAction::Kind::focus:
            claimFocus(*action.window(), true);
            log("launcher: " + bundle + " is already on desktop " +
                std::to_string(store->activeDesktop()) + " - focusing " + named(*action.window()));
            break;
        case LauncherAction::Kind::goTo:
            launcherGoTo(bundle, *action.desktop(), *action.window());
            break;
        case LauncherAction::Kind::bringHere:
            launcherBringHere(bundle, *action.window());
            break;
        case LauncherAction::Kind::activate:
            if (!launcherActivate(app)) return;
            break;
        case LauncherAction::Kind::launch:
            if (!launcherLaunch(app)) return;
            break;
    }
    logState();
}

void Coordinator::launcherGoTo(const std::string& app, int desktop, WindowID w) {
    hideBorder();
    store->followActivation(w);
    acceptFocus(w);
    reseedFocusIfStale();
    desktopRefresh();
    syncOwnWindows();
    if (config.showSwitchHUD) hud->show(desktop);
    log("launcher: " + app + " lives on desktop " + std::to_string(desktop) +
        " - going there rather than dragging " + named(w) + " here");
}

void Coordinator::launcherBringHere(const std::string& app, WindowID w) {
    const auto from = store->desktop(w);
    hideBorder();
    store->bringToActiveDesktop(w);
    acceptFocus(w);
    desktopRefresh();
    syncOwnWindows();
    log("launcher: " + app + " lives on desktop " + (from ? std::to_string(*from) : "?") +
        " - bringing " + named(w) + " here to desktop " + std::to_string(store->activeDesktop()) +
        ", as asked");
}

bool Coordinator::launcherActivate(const LauncherApp& app) {
    const std::string& bundle = app.entry.bundleID;
    AppPlatform& platform = *process.platform;
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
        platform.openApplication(*url);
        log("launcher: " + bundle +
            " is running with no window Kelvo manages - asking it to open one, as a Dock click "
            "would");
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

bool Coordinator::launcherLaunch(const LauncherApp& app) {
    const std::string& bundle = app.entry.bundleID;
    const auto url = app.url ? app.url : process.platform->urlForApplication(bundle);
    if (!url) {
        log("launcher: " + bundle + " is not running and could not be found on disk");
        return false;
    }
    process.platform->openApplication(*url);
    log("launcher: launching " + bundle);
    return true;
}

}  // namespace kelvo
