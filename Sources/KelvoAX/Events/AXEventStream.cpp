#include "KelvoAX/Events/AXEventStream.h"

#include "Base/Foundation/DispatchSemaphore.h"
#include "Base/Foundation/MutexLock.h"
#include "KelvoAX/Events/AXEventStreamCore.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

namespace {

bool isRegularAndAlive(const NSRunningApplication& app) {
    return app.activationPolicy() == NSApplicationActivationPolicyRegular &&
           app.processIdentifier() > 0 && !app.isTerminated();
}

NSNotificationCenter& workspaceCenter() {
    return NSWorkspace::sharedWorkspace().notificationCenter();
}

}  // namespace

AXEventStream::AXEventStream(Receiver onEvent)
    : core_(std::make_shared<Core>(std::move(onEvent))) {}

AXEventStream::~AXEventStream() {
    stop();
}

void AXEventStream::start() {
    if (thread_) return;
    const auto started = std::make_shared<DispatchSemaphore>(0);
    const std::weak_ptr<Core> weak = core_;
    thread_.emplace([weak, started] { Core::runThread(weak, [&] { started->signal(); }); });
    thread_->setName(threadName);
    thread_->start();
    started->wait();
    registerWorkspaceBlocks();
}

void AXEventStream::registerWorkspaceBlocks() {
    const std::weak_ptr<Core> weak = core_;
    launchObserver_ = workspaceCenter().addObserver(
        NSWorkspaceDidLaunchApplicationNotification, nullptr, nullptr,
        [weak](const NSNotification& notification) {
            const auto core = weak.lock();
            const NSRunningApplicationRef app = NSWorkspace::applicationOf(notification);
            if (!core || !app || !isRegularAndAlive(*app)) return;
            const pid_t pid = app->processIdentifier();
            core->hop([pid](Core& stream) { stream.observe(pid, true); });
        });
    terminateObserver_ = workspaceCenter().addObserver(
        NSWorkspaceDidTerminateApplicationNotification, nullptr, nullptr,
        [weak](const NSNotification& notification) {
            const auto core = weak.lock();
            const NSRunningApplicationRef app = NSWorkspace::applicationOf(notification);
            if (!core || !app) return;
            const pid_t pid = app->processIdentifier();
            const std::optional<std::string> bundleID = app->bundleIdentifier();
            core->hop([pid, bundleID](Core& stream) { stream.forgetApplication(pid, bundleID); });
        });
    activateObserver_ = workspaceCenter().addObserver(
        NSWorkspaceDidActivateApplicationNotification, nullptr, nullptr,
        [weak](const NSNotification& notification) {
            const auto core = weak.lock();
            const NSRunningApplicationRef app = NSWorkspace::applicationOf(notification);
            if (!core || !app || app->processIdentifier() <= 0 || app->isTerminated()) return;
            const pid_t pid = app->processIdentifier();
            const std::optional<std::string> bundleID = app->bundleIdentifier();
            core->hop(
                [pid, bundleID](Core& stream) { stream.resolveActivatedWindow(pid, bundleID); });
        });
}

void AXEventStream::track(WindowID, const AXUIElementRef& element) {
    if (!element) return;
    core_->hop([element](Core& stream) { stream.trackAdopted(element); });
}

void AXEventStream::stop() {
    for (auto* token : {&launchObserver_, &terminateObserver_, &activateObserver_}) {
        if (*token) workspaceCenter().removeObserver(**token);
        token->reset();
    }
    std::map<pid_t, AXObserverRef> taken;
    CFRunLoopRef loop;
    {
        MutexLock guard(core_->lock);
        taken = std::exchange(core_->observers, {});
        core_->knownWindows.clear();
        loop = std::exchange(core_->runLoop, nullptr);
    }
    if (loop) {
        for (const auto& [pid, observer] : taken) {
            CFRunLoopRemoveSource(loop, AXObserverGetRunLoopSource(observer),
                                  kCFRunLoopDefaultMode);
        }
        CFRunLoopStop(loop);
    }
    // Once stopped from outside, the stream is quiet when this returns: its thread has ended.
    if (thread_ && !core_->onStreamThread()) thread_->waitUntilFinished(threadEndBound);
}

CFRunLoopRef AXEventStream::runLoop() const {
    MutexLock guard(core_->lock);
    return core_->runLoop;
}

std::map<pid_t, AXObserverRef> AXEventStream::observers() const {
    MutexLock guard(core_->lock);
    return core_->observers;
}

std::vector<WindowID> AXEventStream::trackedWindows() const {
    MutexLock guard(core_->lock);
    std::vector<WindowID> windows;
    for (const Core::KnownWindow& known : core_->knownWindows)
        windows.push_back(known.id);
    return windows;
}

// ---- The stream thread and its hops

void AXEventStream::Core::runThread(const std::weak_ptr<Core>& weak,
                                    const std::function<void()>& started) {
    // The observers' context: callbacks run only inside this thread's run loop below, so the
    // token outlives every one of them, and through it they see whether the stream still lives.
    std::weak_ptr<Core> token = weak;
    {
        const std::shared_ptr<Core> core = weak.lock();
        if (!core) {
            started();
            return;
        }
        {
            MutexLock guard(core->lock);
            core->runLoop = CFRunLoopGetCurrent();
            core->streamThread = std::this_thread::get_id();
        }
        core->context = &token;
        started();
        core->observeRunningApplications();
    }
    CFRunLoopRun();
}

void AXEventStream::Core::hop(std::function<void(Core&)> work) {
    CFRunLoopRef loop;
    {
        MutexLock guard(lock);
        loop = runLoop;
    }
    if (!loop) return;
    const std::weak_ptr<Core> weak = weak_from_this();
    CFRunLoopPerformBlock(loop, kCFRunLoopDefaultMode, [weak, work = std::move(work)] {
        const auto core = weak.lock();
        if (core && core->isRunning()) work(*core);
    });
    CFRunLoopWakeUp(loop);
}

bool AXEventStream::Core::isRunning() const {
    MutexLock guard(lock);
    return runLoop != nullptr;
}

bool AXEventStream::Core::onStreamThread() const {
    MutexLock guard(lock);
    return streamThread == std::this_thread::get_id();
}

void AXEventStream::Core::emit(const WindowEvent& event) const {
    if (onEvent) onEvent(event);
}

}  // namespace kelvo
