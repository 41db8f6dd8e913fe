#include <cmath>

#include "Base/Text/UnicodeText.h"
#include "KelvoAX/Bridge/AXAttributes.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "Platform/Accessibility/AXConstants.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

namespace {

bool within(double a, double b, double tolerance) {
    return std::abs(a - b) <= tolerance;
}

/// Every running application with the bundle identifier, whatever its activation policy.
std::vector<NSRunningApplicationRef> applicationsWith(const std::string& bundleID) {
    std::vector<NSRunningApplicationRef> matching;
    for (NSRunningApplicationRef& app : NSWorkspace::sharedWorkspace().runningApplications()) {
        const std::optional<std::string> identifier = app->bundleIdentifier();
        if (identifier && UnicodeText::canonicallyEquivalent(*identifier, bundleID)) {
            matching.push_back(std::move(app));
        }
    }
    return matching;
}

}  // namespace

std::optional<CGRect> AXWindowBridge::frame(WindowID id) {
    const AXUIElementRef window = handle(id);
    if (!window) return std::nullopt;
    if (const auto known = known_.find(id);
        known != known_.end() && known->second.frameFreshAt == newsAbout(window)) {
        return known->second.frame;
    }
    // Marked before the read: news that comes while it is on its way makes it read again.
    const News::Mark readAt = newsAbout(window);
    const std::optional<CGRect> read = AXAttributes::frame(window);
    if (read) noteRead(id, *read, readAt);
    return read;
}

void AXWindowBridge::noteRead(WindowID id, const CGRect& frame, const News::Mark& readAt) {
    KnownWindow& known = known_[id];
    known.frame = frame;
    known.frameFreshAt = readAt;
}

// A window's news is grouped with its process's: the process ending ends it too.
News::Mark AXWindowBridge::newsAbout(const AXUIElementRef& window) {
    const auto element = window->identifier();
    return News::mark(element.raw, static_cast<std::uint64_t>(element.pid()));
}

News::Mark AXWindowBridge::newsBeyondFrameAbout(const AXUIElementRef& window) {
    const auto element = window->identifier();
    return News::markBeyondFrame(element.raw, static_cast<std::uint64_t>(element.pid()));
}

void AXWindowBridge::noteWritten(WindowID id) {
    if (const auto known = known_.find(id); known != known_.end()) {
        known->second.frameFreshAt.reset();
    }
}

std::optional<pid_t> AXWindowBridge::processOf(const AXUIElementRef& window) {
    pid_t pid = 0;
    if (AXUIElementGetPid(window, &pid) != kAXErrorSuccess) return std::nullopt;
    return pid;
}

AXUIElementRef AXWindowBridge::applicationElement(pid_t pid) {
    AXUIElementRef application = AXUIElementCreateApplication(pid);
    if (application) AXUIElementSetMessagingTimeout(application, messagingTimeout);
    return application;
}

AXUIElementRef AXWindowBridge::applicationElementOf(const AXUIElementRef& window) {
    const std::optional<pid_t> pid = processOf(window);
    return pid ? applicationElement(*pid) : nullptr;
}

bool AXWindowBridge::setFrame(const CGRect& target, WindowID id) {
    const AXUIElementRef window = handle(id);
    if (!window) return false;
    const AXUIElementRef application = applicationElementOf(window);
    const bool enhanced =
        application && AXAttributes::boolean(application, kAXEnhancedUserInterfaceAttribute);
    std::optional<CGRect> readBack;
    News::Mark readBackAt;
    noteWritten(id);
    for (const FrameWriteStep& step : frameWriteSequence(lastKnownFrame(id), target, enhanced)) {
        if (step.kind() == FrameWriteStep::Kind::readBack) readBackAt = newsAbout(window);
        run(step, window, application, target, readBack);
    }
    if (!readBack) return false;
    noteRead(id, *readBack, readBackAt);
    return within(readBack->minX(), target.minX(), landingTolerance) &&
           within(readBack->minY(), target.minY(), landingTolerance);
}

void AXWindowBridge::run(const FrameWriteStep& step, const AXUIElementRef& window,
                         const AXUIElementRef& application, const CGRect& target,
                         std::optional<CGRect>& readBack) {
    switch (step.kind()) {
        case FrameWriteStep::Kind::enhancedUserInterface:
            if (application) {
                AXAttributes::write(application, kAXEnhancedUserInterfaceAttribute, step.on());
            }
            break;
        case FrameWriteStep::Kind::position:
            AXAttributes::write(window, kAXPositionAttribute, target.origin);
            break;
        case FrameWriteStep::Kind::size:
            AXAttributes::write(window, kAXSizeAttribute, target.size);
            break;
        case FrameWriteStep::Kind::readBack:
            readBack = AXAttributes::frame(window);
            break;
    }
}

void AXWindowBridge::setPosition(const CGPoint& position, WindowID id) {
    const AXUIElementRef window = handle(id);
    if (!window) return;
    const AXUIElementRef application = applicationElementOf(window);
    const bool switchedOff =
        application && AXAttributes::boolean(application, kAXEnhancedUserInterfaceAttribute);
    if (switchedOff) AXAttributes::write(application, kAXEnhancedUserInterfaceAttribute, false);
    noteWritten(id);
    AXAttributes::write(window, kAXPositionAttribute, position);
    if (switchedOff) AXAttributes::write(application, kAXEnhancedUserInterfaceAttribute, true);
}

void AXWindowBridge::raise(WindowID id) {
    if (const AXUIElementRef window = handle(id)) {
        AXUIElementPerformAction(window, kAXRaiseAction);
    }
}

void AXWindowBridge::setMinimized(bool minimized, WindowID id) {
    if (const AXUIElementRef window = handle(id)) {
        noteWritten(id);
        if (const auto known = known_.find(id); known != known_.end()) {
            known->second.minimizedFreshAt.reset();
        }
        AXAttributes::write(window, kAXMinimizedAttribute, minimized);
    }
}

bool AXWindowBridge::isWindowMinimized(WindowID id) {
    const AXUIElementRef window = handle(id);
    if (!window) return false;
    // A switch asks several times of each window it brings back (the unparking, the layout,
    // the reconciler); with no news about the window in between, the first answer serves.
    const News::Mark now = newsBeyondFrameAbout(window);
    if (const auto known = known_.find(id);
        known != known_.end() && known->second.minimizedFreshAt == now) {
        return known->second.minimized;
    }
    const std::optional<bool> read = AXAttributes::optionalBoolean(window, kAXMinimizedAttribute);
    if (!read) return false;
    KnownWindow& known = known_[id];
    known.minimized = *read;
    known.minimizedFreshAt = now;
    return *read;
}

bool AXWindowBridge::isWindowFullScreen(WindowID id) {
    const AXUIElementRef window = handle(id);
    return window && AXAttributes::boolean(window, kAXFullScreenAttribute);
}

bool AXWindowBridge::canReach(WindowID id) {
    const AXUIElementRef window = handle(id);
    return window && AXAttributes::text(window, kAXRoleAttribute).has_value();
}

void AXWindowBridge::setHidden(bool hidden, const std::string& bundleID) {
    for (const NSRunningApplicationRef& app : applicationsWith(bundleID)) {
        if (hidden) {
            app->hide();
        } else {
            app->unhide();
        }
    }
}

bool AXWindowBridge::isApplicationHidden(const std::string& bundleID) {
    for (const NSRunningApplicationRef& app : applicationsWith(bundleID)) {
        if (app->isHidden()) return true;
    }
    return false;
}

}  // namespace kelvo
