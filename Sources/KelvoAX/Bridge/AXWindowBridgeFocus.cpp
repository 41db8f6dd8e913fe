#include "Base/Foundation/DispatchQueue.h"
#include "KelvoAX/Bridge/AXAttributes.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "Platform/Accessibility/AXConstants.h"

namespace kelvo {

namespace {

std::string activationLine(const NSRunningApplication& app, int attempt, std::int64_t generation) {
    const std::optional<std::string> bundleID = app.bundleIdentifier();
    const std::string name =
        bundleID ? *bundleID : "pid " + std::to_string(app.processIdentifier());
    return "activating " + name + " (attempt " + std::to_string(attempt) + ", request " +
           std::to_string(generation) + ")";
}

}  // namespace

void AXWindowBridge::focus(WindowID id) {
    const AXUIElementRef window = handle(id);
    if (!window) return;
    AXAttributes::write(window, kAXMainAttribute, true);
    AXAttributes::write(window, kAXFocusedAttribute, true);
    AXUIElementPerformAction(window, kAXRaiseAction);

    const std::optional<pid_t> pid = processOf(window);
    if (!pid) return;
    const NSRunningApplicationRef app =
        NSRunningApplication::runningApplicationWithProcessIdentifier(*pid);
    if (!app) return;
    // Unlike the platform's default of seconds, a hung application costs the main thread
    // no more than the messaging timeout here either.
    const AXUIElementRef application = applicationElement(*pid);
    focusGeneration_ += 1;
    if (!AXAttributes::boolean(application, kAXFrontmostAttribute)) {
        bringToFront(app, application, 1, focusGeneration_);
    }
}

void AXWindowBridge::bringToFront(const NSRunningApplicationRef& app,
                                  const AXUIElementRef& appElement, int attempt,
                                  std::int64_t generation) {
    if (trace) trace(activationLine(*app, attempt, generation));
    AXAttributes::write(appElement, kAXFrontmostAttribute, true);
    app->activateWithOptions(NSApplicationActivateAllWindows |
                             NSApplicationActivateIgnoringOtherApps);
    if (attempt < activationAttempts) scheduleRetry(app, appElement, attempt, generation);
}

void AXWindowBridge::scheduleRetry(const NSRunningApplicationRef& app,
                                   const AXUIElementRef& appElement, int attempt,
                                   std::int64_t generation) {
    const std::weak_ptr<AXWindowBridge*> weak = self_;
    DispatchQueue::main().asyncAfter(
        DispatchTime::now() + activationRetryDelay, [weak, app, appElement, attempt, generation] {
            const auto self = weak.lock();
            if (!self) return;
            AXWindowBridge& bridge = **self;
            if (generation != bridge.focusGeneration_ || app->isTerminated()) return;
            if (AXAttributes::boolean(appElement, kAXFrontmostAttribute)) return;
            bridge.bringToFront(app, appElement, attempt + 1, generation);
        });
}

}  // namespace kelvo
