#include <algorithm>

#include "Base/Foundation/MutexLock.h"
#include "KelvoAX/Bridge/AXAttributes.h"
#include "KelvoAX/Events/AXEventStreamCore.h"
#include "Platform/Accessibility/AXConstants.h"
#include "Platform/AppKit/NSWorkspace.h"

// What runs on the stream thread: observing applications, tracking their windows, turning
// notifications into events.

namespace kelvo {

namespace {

std::optional<std::string> bundleOf(pid_t pid) {
    const NSRunningApplicationRef app =
        NSRunningApplication::runningApplicationWithProcessIdentifier(pid);
    return app ? app->bundleIdentifier() : std::nullopt;
}

/// An application element under the messaging timeout: the platform's default would let one
/// hung application hold the stream thread for seconds.
AXUIElementRef applicationElement(pid_t pid) {
    AXUIElementRef element = AXUIElementCreateApplication(pid);
    if (element) AXUIElementSetMessagingTimeout(element, AXEventStream::messagingTimeout);
    return element;
}

std::vector<AXUIElementRef> windowsOf(const AXUIElementRef& application) {
    std::vector<AXUIElementRef> windows;
    CFTypeRef value;
    if (AXUIElementCopyAttributeValue(application, kAXWindowsAttribute, &value) !=
        kAXErrorSuccess) {
        return windows;
    }
    const CFArrayRef array = CFCast<CFArray>(value);
    if (!array) return windows;
    for (const CFTypeRef& entry : array->values()) {
        if (AXUIElementRef element = CFCast<AXUIElement>(entry)) {
            windows.push_back(std::move(element));
        }
    }
    return windows;
}

}  // namespace

void AXEventStream::Core::observeRunningApplications() {
    for (const NSRunningApplicationRef& app :
         NSWorkspace::sharedWorkspace().runningApplications()) {
        if (app->activationPolicy() == NSApplicationActivationPolicyRegular &&
            app->processIdentifier() > 0 && !app->isTerminated()) {
            observe(app->processIdentifier(), false);
        }
    }
}

AXObserverRef AXEventStream::Core::observerFor(pid_t pid) const {
    MutexLock guard(lock);
    const auto found = observers.find(pid);
    return found == observers.end() ? nullptr : found->second;
}

void AXEventStream::Core::observe(pid_t pid, bool emittingCreated) {
    if (observerFor(pid)) return;
    AXObserverRef observer;
    if (AXObserverCreate(pid, &observerCallback, &observer) != kAXErrorSuccess || !observer) {
        return;
    }
    const AXUIElementRef application = applicationElement(pid);
    {
        MutexLock guard(lock);
        // Stopped meanwhile: the observer would outlive the stream's list of them.
        if (!runLoop || observers.contains(pid)) return;
        observers[pid] = observer;
    }
    for (const char* name : notifications) {
        AXObserverAddNotification(observer, application, name, context);
    }
    CFRunLoopAddSource(CFRunLoopGetCurrent(), AXObserverGetRunLoopSource(observer),
                       kCFRunLoopDefaultMode);
    for (const AXUIElementRef& window : windowsOf(application)) {
        const std::optional<WindowID> added = track(window, observer, pid);
        if (emittingCreated && added) {
            emit(WindowEvent::created(*added, bundleOf(pid), WindowElement{window}));
        }
    }
}

std::optional<WindowID> AXEventStream::Core::track(const AXUIElementRef& element,
                                                   const AXObserverRef& observer, pid_t pid) {
    AXUIElementSetMessagingTimeout(element, messagingTimeout);
    const std::optional<WindowID> id = windowID(element);
    if (!id) return std::nullopt;
    {
        MutexLock guard(lock);
        const bool known =
            std::any_of(knownWindows.begin(), knownWindows.end(),
                        [&](const KnownWindow& entry) { return CFEqual(entry.element, element); });
        if (known) return std::nullopt;
        knownWindows.push_back(KnownWindow{element, *id, pid});
    }
    for (const char* name : perWindowNotifications) {
        AXObserverAddNotification(observer, element, name, context);
    }
    return id;
}

void AXEventStream::Core::trackAdopted(const AXUIElementRef& element) {
    pid_t pid = 0;
    if (AXUIElementGetPid(element, &pid) != kAXErrorSuccess || pid <= 0) return;
    AXObserverRef observer = observerFor(pid);
    if (!observer) {
        observe(pid, false);
        observer = observerFor(pid);
    }
    if (observer) track(element, observer, pid);
}

void AXEventStream::Core::observerCallback(AXObserverRef, AXUIElementRef element,
                                           const std::string& notification, void* refcon) {
    const auto* token = static_cast<const std::weak_ptr<Core>*>(refcon);
    if (!token || !element) return;
    if (const std::shared_ptr<Core> core = token->lock(); core && core->isRunning()) {
        core->handle(element, notification);
    }
}

std::optional<WindowID> AXEventStream::Core::numberOf(const AXUIElementRef& element) {
    {
        MutexLock guard(lock);
        const auto found =
            std::find_if(knownWindows.begin(), knownWindows.end(),
                         [&](const KnownWindow& entry) { return CFEqual(entry.element, element); });
        if (found != knownWindows.end()) return found->id;
    }
    return windowID(element);
}

void AXEventStream::Core::handle(const AXUIElementRef& element, const std::string& notification) {
    if (notification == kAXUIElementDestroyedNotification) {
        std::optional<WindowID> gone;
        {
            MutexLock guard(lock);
            const auto found = std::find_if(
                knownWindows.begin(), knownWindows.end(),
                [&](const KnownWindow& entry) { return CFEqual(entry.element, element); });
            if (found != knownWindows.end()) {
                gone = found->id;
                knownWindows.erase(found);
            }
        }
        if (gone) emit(WindowEvent::destroyed(*gone));
        return;
    }
    AXUIElementSetMessagingTimeout(element, messagingTimeout);
    const std::optional<WindowID> id = numberOf(element);
    if (!id) return;
    if (notification == kAXWindowCreatedNotification) {
        windowCreated(element, *id);
    } else if (notification == kAXFocusedWindowChangedNotification) {
        emit(WindowEvent::focused(*id));
    } else if (notification == kAXWindowMovedNotification) {
        emit(WindowEvent::moved(*id));
    } else if (notification == kAXWindowResizedNotification) {
        emit(WindowEvent::resized(*id));
    } else if (notification == kAXWindowMiniaturizedNotification) {
        emit(WindowEvent::minimized(*id));
    } else if (notification == kAXWindowDeminiaturizedNotification) {
        emit(WindowEvent::unminimized(*id));
    }
}

void AXEventStream::Core::windowCreated(const AXUIElementRef& element, WindowID id) {
    pid_t pid = 0;
    if (AXUIElementGetPid(element, &pid) != kAXErrorSuccess) pid = 0;
    const AXObserverRef observer = observerFor(pid);
    if (!observer || track(element, observer, pid)) {
        emit(WindowEvent::created(id, bundleOf(pid), WindowElement{element}));
    }
}

void AXEventStream::Core::forgetApplication(pid_t pid, const std::optional<std::string>& bundleID) {
    AXObserverRef observer;
    std::vector<WindowID> gone;
    {
        MutexLock guard(lock);
        if (const auto found = observers.find(pid); found != observers.end()) {
            observer = found->second;
            observers.erase(found);
        }
        for (const KnownWindow& entry : knownWindows) {
            if (entry.pid == pid) gone.push_back(entry.id);
        }
        std::erase_if(knownWindows, [&](const KnownWindow& entry) { return entry.pid == pid; });
    }
    for (const WindowID id : gone)
        emit(WindowEvent::destroyed(id));
    emit(WindowEvent::terminated(bundleID));
    if (observer) {
        CFRunLoopRemoveSource(CFRunLoopGetCurrent(), AXObserverGetRunLoopSource(observer),
                              kCFRunLoopDefaultMode);
    }
}

void AXEventStream::Core::resolveActivatedWindow(pid_t pid,
                                                 const std::optional<std::string>& bundleID) {
    std::optional<WindowID> window;
    const AXUIElementRef application = applicationElement(pid);
    CFTypeRef value;
    if (application && AXUIElementCopyAttributeValue(application, kAXFocusedWindowAttribute,
                                                     &value) == kAXErrorSuccess) {
        if (const AXUIElementRef focused = CFCast<AXUIElement>(value)) {
            AXUIElementSetMessagingTimeout(focused, messagingTimeout);
            window = windowID(focused);
        }
    }
    emit(WindowEvent::activated(window, bundleID));
}

}  // namespace kelvo
