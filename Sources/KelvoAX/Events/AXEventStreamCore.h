#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Base/Foundation/Mutex.h"
#include "KelvoAX/Events/AXEventStream.h"

namespace kelvo {

/// The stream's state, shared with its thread body, its hops and its observer callbacks, each of
/// which holds it weakly. Everything but the lock's fields is touched on the stream thread only.
struct AXEventStream::Core : std::enable_shared_from_this<AXEventStream::Core> {
    struct KnownWindow {
        AXUIElementRef element;
        WindowID id;
        pid_t pid = 0;
    };

    explicit Core(Receiver receiver) : onEvent(std::move(receiver)) {}

    /// The body of the stream thread: publishes the run loop, observes what runs, runs.
    static void runThread(const std::weak_ptr<Core>& weak, const std::function<void()>& started);
    static void observerCallback(AXObserverRef observer, AXUIElementRef element,
                                 const std::string& notification, void* refcon);

    /// Schedules work on the stream thread; nothing when the thread has no run loop (not
    /// started yet, or stopped), and nothing when the stream is gone or stopped by then.
    void hop(std::function<void(Core&)> work);
    bool isRunning() const;
    bool onStreamThread() const;

    void observeRunningApplications();
    void observe(pid_t pid, bool emittingCreated);
    std::optional<WindowID> track(const AXUIElementRef& element, const AXObserverRef& observer,
                                  pid_t pid);
    void trackAdopted(const AXUIElementRef& element);
    void handle(const AXUIElementRef& element, const std::string& notification);
    /// The window number of a tracked element as read when it was tracked (an element's number
    /// never changes); read now for any other.
    std::optional<WindowID> numberOf(const AXUIElementRef& element);
    void windowCreated(const AXUIElementRef& element, WindowID id);
    void forgetApplication(pid_t pid, const std::optional<std::string>& bundleID);
    void resolveActivatedWindow(pid_t pid, const std::optional<std::string>& bundleID);
    AXObserverRef observerFor(pid_t pid) const;
    void emit(const WindowEvent& event) const;

    mutable Mutex lock;
    std::map<pid_t, AXObserverRef> observers GUARDED_BY(lock);
    std::vector<KnownWindow> knownWindows GUARDED_BY(lock);
    CFRunLoopRef runLoop GUARDED_BY(lock);
    std::thread::id streamThread GUARDED_BY(lock);

    const Receiver onEvent;
    /// The observers' callback context: the liveness token that lives on the stream thread for
    /// as long as its run loop runs.
    void* context = nullptr;
};

}  // namespace kelvo
