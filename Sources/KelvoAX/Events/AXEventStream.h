#pragma once

#include <sys/types.h>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "Base/Foundation/CFRunLoop.h"
#include "Base/Foundation/NSNotificationCenter.h"
#include "Base/Foundation/NSThread.h"
#include "KelvoAX/Events/WindowEvent.h"
#include "Platform/Accessibility/AXObserver.h"
#include "Platform/Accessibility/AXUIElement.h"

namespace kelvo {

/// Turns what other applications and the workspace report into one stream of window events.
/// Every regular application is observed through Accessibility on a thread of the stream's own,
/// with its own run loop; every window seen is tracked, so that a destroyed element can still be
/// named; launches, terminations and activations come from the workspace.
///
/// `onEvent` is called on the stream's thread, one event at a time and never while the stream's
/// lock is held: the receiver hands events to its own thread itself. Observer callbacks and
/// scheduled work hold the stream weakly, so nothing reaches a stream that is gone.
class AXEventStream {
  public:
    using Receiver = std::function<void(const WindowEvent&)>;

    static constexpr const char* threadName = "com.skarvelt.kelvo.ax-events";
    static constexpr float messagingTimeout = 0.25f;
    /// Added on every observed application element, in this order.
    static constexpr std::array<const char*, 4> notifications = {
        "AXWindowCreated", "AXFocusedWindowChanged", "AXWindowMoved", "AXWindowResized"};
    /// Added on every tracked window element, in this order.
    static constexpr std::array<const char*, 3> perWindowNotifications = {
        "AXUIElementDestroyed", "AXWindowMiniaturized", "AXWindowDeminiaturized"};
    /// How long releasing the stream waits for its thread to end, in real time.
    static constexpr double threadEndBound = 5;

    explicit AXEventStream(Receiver onEvent);
    /// Stops the stream and waits for its thread.
    ~AXEventStream();
    AXEventStream(const AXEventStream&) = delete;
    AXEventStream& operator=(const AXEventStream&) = delete;

    /// Starts the thread (observing every running regular application, without created
    /// events) and the workspace registrations. Called once.
    void start();
    /// Tracks a window that was adopted by another road, observing its application first when
    /// it is not observed yet. The element decides everything; the number is the caller's.
    void track(WindowID window, const AXUIElementRef& element);
    /// Undoes `start()`: no observer, no tracked window, no workspace registration; the thread
    /// ends. Work handed to the stream afterwards does nothing.
    void stop();

    /// The stream thread's run loop; null before the thread runs and after `stop()`.
    CFRunLoopRef runLoop() const;
    /// The observed applications' observers.
    std::map<pid_t, AXObserverRef> observers() const;
    /// The tracked windows, in tracking order.
    std::vector<WindowID> trackedWindows() const;

  private:
    struct Core;

    void registerWorkspaceBlocks();

    std::shared_ptr<Core> core_;
    std::optional<NSThread> thread_;
    std::optional<NSNotificationToken> launchObserver_;
    std::optional<NSNotificationToken> terminateObserver_;
    std::optional<NSNotificationToken> activateObserver_;
};

}  // namespace kelvo
