#include "KelvoApp/Applications/TerminalLauncher.h"

#include <memory>

#include "Base/Foundation/DispatchQueue.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Platform/Quartz/CGEvent.h"

namespace kelvo {

namespace {

const std::string noTerminal = "newTerminal: no terminal found to open";

/// The first known terminal the workspace can place.
std::optional<std::string> firstInstalled(const std::vector<std::string>& candidates) {
    for (const auto& candidate : candidates) {
        if (NSWorkspace::sharedWorkspace().URLForApplicationWithBundleIdentifier(candidate))
            return candidate;
    }
    return std::nullopt;
}

NSRunningApplicationRef firstRunning(const std::string& bundleID) {
    for (const auto& app : NSWorkspace::sharedWorkspace().runningApplications()) {
        if (app->bundleIdentifier() == bundleID && !app->isTerminated()) return app;
    }
    return nullptr;
}

/// One wait for a terminal to come to the front: finished by its activation or by the
/// deadline, whichever comes first; the later of the two does nothing.
struct ActivationWait {
    bool finished = false;
    NSNotificationToken observer;
};

}  // namespace

const std::vector<std::string>& TerminalLauncher::probeOrder() {
    static const std::vector<std::string> order = {"net.kovidgoyal.kitty", "com.googlecode.iterm2",
                                                   "dev.warp.Warp-Stable", "com.github.wez.wezterm",
                                                   "com.apple.Terminal"};
    return order;
}

void TerminalLauncher::open(const std::optional<std::string>& configured,
                            const std::function<void(const std::string&)>& expectActivation,
                            const std::function<void(const std::string&)>& log) {
    // A configured terminal is used even when it is not installed: no falling back to the list.
    const auto chosen = configured ? configured : firstInstalled(probeOrder());
    if (!chosen) {
        log(noTerminal);
        return;
    }
    auto& workspace = NSWorkspace::sharedWorkspace();
    const auto url = workspace.URLForApplicationWithBundleIdentifier(*chosen);
    if (!url) {
        log(noTerminal);
        return;
    }
    expectActivation(*chosen);
    log("newTerminal: " + *chosen + " — its activation is Kelvo's own and will be consumed");
    if (const auto running = firstRunning(*chosen)) {
        sendNewWindow(running, log);
        return;
    }
    // A terminal that is launched opens its own first window: it gets no ⌘N.
    workspace.openApplicationAtURL(*url, NSWorkspaceOpenConfiguration{});
}

void TerminalLauncher::sendNewWindow(const NSRunningApplicationRef& app,
                                     const std::function<void(const std::string&)>& log) {
    if (app->isActive()) {
        postCommandN();
        return;
    }
    auto& center = NSWorkspace::sharedWorkspace().notificationCenter();
    auto wait = std::make_shared<ActivationWait>();
    auto finish = [wait, app, log](bool success) {
        if (wait->finished) return;
        wait->finished = true;
        NSWorkspace::sharedWorkspace().notificationCenter().removeObserver(wait->observer);
        if (success) {
            postCommandN();
            return;
        }
        log("newTerminal: " + app->bundleIdentifier().value_or("terminal") +
            " did not come to the front; " + "not sending ⌘N to whatever did");
    };
    wait->observer = center.addObserver(
        NSWorkspaceDidActivateApplicationNotification, nullptr, &DispatchQueue::main(),
        [finish, pid = app->processIdentifier()](const NSNotification& notification) {
            const auto activated = NSWorkspace::applicationOf(notification);
            if (activated && activated->processIdentifier() == pid) finish(true);
        });
    app->activateWithOptions(0);
    DispatchQueue::main().asyncAfter(DispatchTime::now() + activationDeadline,
                                     [finish, app] { finish(app->isActive()); });
}

void TerminalLauncher::postCommandN() {
    const auto source = CGEventSourceCreate(kCGEventSourceStateCombinedSessionState);
    const auto down = CGEventCreateKeyboardEvent(source, newWindowKeyCode, true);
    const auto up = CGEventCreateKeyboardEvent(source, newWindowKeyCode, false);
    if (!down || !up) return;
    CGEventSetFlags(down, kCGEventFlagMaskCommand);
    CGEventSetFlags(up, kCGEventFlagMaskCommand);
    CGEventPost(kCGHIDEventTap, down);
    CGEventPost(kCGHIDEventTap, up);
}

}  // namespace kelvo
