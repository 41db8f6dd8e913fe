#include "Base/Foundation/DispatchQueue.h"
#include "KelvoAX/Bridge/AXAttributes.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "Platform/Accessibility/AXConstants.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

namespace {

/// An application as the log names it: its bundle identifier, else its process identifier.
std::string nameOf(const NSRunningApplication& app) {
    const std::optional<std::string> bundleID = app.bundleIdentifier();
    return bundleID ? *bundleID : "pid " + std::to_string(app.processIdentifier());
}

std::string activationLine(const NSRunningApplication& app, int attempt, std::int64_t generation) {
    return "activating " + nameOf(app) + " (attempt " + std::to_string(attempt) + ", request " +
           std::to_string(generation) + ")";
}

std::string givenUpLine(const NSRunningApplication& app, std::int64_t generation, pid_t chosen) {
    return "activation of " + nameOf(app) + " given up (request " + std::to_string(generation) +
           "): " + nameOf(NSRunningApplication(chosen)) + " came to the front";
}

std::optional<pid_t> frontmostProcess() {
    const NSRunningApplicationRef front = NSWorkspace::sharedWorkspace().frontmostApplication();
    if (!front) return std::nullopt;
    return front->processIdentifier();
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
    endWatch();
    if (!AXAttributes::boolean(application, kAXFrontmostAttribute)) {
        watchActivations(*pid);
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
    if (attempt < activationAttempts) {
        scheduleRetry(app, appElement, attempt, generation);
    } else {
        endWatch();
    }
}

void AXWindowBridge::scheduleRetry(const NSRunningApplicationRef& app,
                                   const AXUIElementRef& appElement, int attempt,
                                   std::int64_t generation) {
    const std::weak_ptr<AXWindowBridge*> weak = self_;
    DispatchQueue::main().asyncAfter(DispatchTime::now() + activationRetryDelay,
                                     [weak, app, appElement, attempt, generation] {
                                         const auto self = weak.lock();
                                         if (self)
                                             (*self)->retry(app, appElement, attempt, generation);
                                     });
}

void AXWindowBridge::retry(const NSRunningApplicationRef& app, const AXUIElementRef& appElement,
                           int attempt, std::int64_t generation) {
    // A newer request has its own watch, and its own retries.
    if (generation != focusGeneration_) return;
    if (app->isTerminated()) {
        endWatch();
        return;
    }
    // Asked before the application itself, which may be slow to answer.
    const std::optional<pid_t> chosen =
        activation_ ? activation_->chosenInstead(frontmostProcess()) : std::nullopt;
    if (chosen) {
        if (trace) trace(givenUpLine(*app, generation, *chosen));
        endWatch();
        return;
    }
    if (AXAttributes::boolean(appElement, kAXFrontmostAttribute)) {
        endWatch();
        return;
    }
    bringToFront(app, appElement, attempt + 1, generation);
}

void AXWindowBridge::watchActivations(pid_t requested) {
    activation_.emplace(requested, frontmostProcess());
    const std::weak_ptr<AXWindowBridge*> weak = self_;
    activationObserver_ = NSWorkspace::sharedWorkspace().notificationCenter().addObserver(
        NSWorkspaceDidActivateApplicationNotification, nullptr, &DispatchQueue::main(),
        [weak](const NSNotification& notification) {
            const auto self = weak.lock();
            const NSRunningApplicationRef activated = NSWorkspace::applicationOf(notification);
            if (!self || !activated) return;
            AXWindowBridge& bridge = **self;
            if (bridge.activation_)
                bridge.activation_->noteActivated(activated->processIdentifier());
        });
}

void AXWindowBridge::endWatch() {
    activation_.reset();
    if (activationObserver_) {
        NSWorkspace::sharedWorkspace().notificationCenter().removeObserver(*activationObserver_);
    }
    activationObserver_.reset();
}

}  // namespace kelvo
