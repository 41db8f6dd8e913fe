#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <thread>

#include "Base/Foundation/DispatchSemaphore.h"
#include "Base/Foundation/NSThread.h"
#include "Platform/Accessibility/AXObserver.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Support/Platform/AccessibilityTestSupport.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

// What the observer callback saw: each notification's name, window number and thread.
struct Heard {
    std::string name;
    CGWindowID window = 0;
    std::string thread;
    AXUIElementRef element;
};

struct Listener {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Heard> heard;

    static void callback(AXObserverRef, AXUIElementRef element, const std::string& name,
                         void* refcon) {
        auto* listener = static_cast<Listener*>(refcon);
        CGWindowID window = 0;
        _AXUIElementGetWindow(element, &window);
        {
            std::lock_guard lock(listener->mutex);
            listener->heard.push_back({name, window, NSThread::currentName(), element});
        }
        listener->changed.notify_all();
    }

    std::vector<Heard> waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, std::chrono::seconds(10), [&] { return heard.size() >= count; });
        return heard;
    }
    std::vector<Heard> now() {
        std::lock_guard lock(mutex);
        return heard;
    }
};

class AXObserverTests : public DesktopFixture {
  protected:
    AXObserverRef observe(const AXUIElementRef& element,
                          std::initializer_list<const char*> notifications) {
        AXObserverRef observer;
        EXPECT_EQ(AXObserverCreate(app, &Listener::callback, &observer), kAXErrorSuccess);
        for (const char* name : notifications)
            EXPECT_EQ(AXObserverAddNotification(observer, element, name, &listener),
                      kAXErrorSuccess);
        return observer;
    }

    sim::Pid app = launch("com.example.editor", true);
    AXUIElementRef appElement = AXUIElementCreateApplication(app);
    Listener listener;
};

TEST_F(AXObserverTests, ApplicationNotificationsArriveOnTheMainRunLoop) {
    const auto observer = observe(
        appElement,
        {kAXWindowCreatedNotification, kAXWindowMovedNotification, kAXWindowResizedNotification});
    CFRunLoopAddSource(CFRunLoopGetMain(), AXObserverGetRunLoopSource(observer),
                       kCFRunLoopDefaultMode);
    const auto number = open(app, CGRect(0, 30, 400, 300));
    desktop->moveWindow(number, CGRect(10, 40, 500, 300));
    EXPECT_TRUE(listener.now().empty());  // nothing runs until the main loop turns

    settle();
    const auto heard = listener.now();
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].name, "AXWindowCreated");
    EXPECT_EQ(heard[0].window, number);
    EXPECT_EQ(heard[1].name, "AXWindowMoved");
    EXPECT_EQ(heard[2].name, "AXWindowResized");
}

TEST_F(AXObserverTests, WindowNotificationsCarryTheRegisteredElement) {
    const auto number = open(app, CGRect(0, 30, 400, 300));
    const auto window = windowElement(app, number);
    const auto observer =
        observe(window, {kAXUIElementDestroyedNotification, kAXWindowMiniaturizedNotification,
                         kAXWindowDeminiaturizedNotification});
    CFRunLoopAddSource(CFRunLoopGetMain(), AXObserverGetRunLoopSource(observer),
                       kCFRunLoopDefaultMode);
    desktop->setMinimized(number, true);
    desktop->setMinimized(number, false);
    desktop->closeWindow(number);
    settle();
    const auto heard = listener.now();
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].name, "AXWindowMiniaturized");
    EXPECT_EQ(heard[1].name, "AXWindowDeminiaturized");
    EXPECT_EQ(heard[2].name, "AXUIElementDestroyed");
    EXPECT_TRUE(CFEqual(heard[2].element, window));
    EXPECT_EQ(heard[2].window, 0u);  // gone: its number no longer reads
}

TEST_F(AXObserverTests, FocusChangesNameTheNewlyFocusedWindow) {
    const auto first = open(app, CGRect(0, 30, 400, 300));
    const auto second = open(app, CGRect(400, 30, 400, 300));
    const auto observer = observe(appElement, {kAXFocusedWindowChangedNotification});
    CFRunLoopAddSource(CFRunLoopGetMain(), AXObserverGetRunLoopSource(observer),
                       kCFRunLoopDefaultMode);
    EXPECT_EQ(AXUIElementSetAttributeValue(windowElement(app, first), kAXFocusedAttribute,
                                           kCFBooleanTrue),
              kAXErrorSuccess);
    desktop->focusWindow(second);
    desktop->focusWindow(second);  // no change, no notification
    settle();
    const auto heard = listener.now();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].window, first);
    EXPECT_EQ(heard[1].window, second);
}

TEST_F(AXObserverTests, RegistrationsAreCheckedLikeThePlatformChecksThem) {
    AXObserverRef observer;
    ASSERT_EQ(AXObserverCreate(app, &Listener::callback, &observer), kAXErrorSuccess);
    EXPECT_EQ(AXObserverAddNotification(observer, appElement, "AXNoSuchThing", &listener),
              kAXErrorNotificationUnsupported);
    EXPECT_EQ(
        AXObserverAddNotification(observer, appElement, kAXWindowCreatedNotification, &listener),
        kAXErrorSuccess);
    EXPECT_EQ(
        AXObserverAddNotification(observer, appElement, kAXWindowCreatedNotification, &listener),
        kAXErrorNotificationAlreadyRegistered);
    EXPECT_EQ(AXObserverRemoveNotification(observer, appElement, kAXWindowCreatedNotification),
              kAXErrorSuccess);
    EXPECT_EQ(AXObserverRemoveNotification(observer, appElement, kAXWindowCreatedNotification),
              kAXErrorNotificationNotRegistered);
    AXObserverRef none;
    EXPECT_EQ(AXObserverCreate(0, &Listener::callback, &none), kAXErrorIllegalArgument);
}

TEST_F(AXObserverTests, AnUnresponsiveApplicationRefusesRegistrations) {
    desktop->setResponseDelay(app, std::numeric_limits<double>::infinity());
    AXObserverRef observer;
    ASSERT_EQ(AXObserverCreate(app, &Listener::callback, &observer), kAXErrorSuccess);
    EXPECT_EQ(
        AXObserverAddNotification(observer, appElement, kAXWindowCreatedNotification, &listener),
        kAXErrorCannotComplete);
}

TEST_F(AXObserverTests, AReleasedObserverHearsNothingMore) {
    auto observer = observe(appElement, {kAXWindowCreatedNotification});
    CFRunLoopAddSource(CFRunLoopGetMain(), AXObserverGetRunLoopSource(observer),
                       kCFRunLoopDefaultMode);
    open(app, CGRect(0, 30, 400, 300));
    observer.reset();
    settle();
    open(app, CGRect(0, 30, 400, 300));
    settle();
    EXPECT_TRUE(listener.now().empty());
}

TEST_F(AXObserverTests, NotificationsRunOnTheThreadWhoseRunLoopHoldsTheSource) {
    CFRunLoopRef streamLoop;
    DispatchSemaphore started(0);
    NSThread thread([&] {
        streamLoop = CFRunLoopGetCurrent();
        started.signal();
        CFRunLoopRun();
    });
    thread.setName("ax-events-test");
    thread.start();
    started.wait();

    AXObserverRef observer;
    DispatchSemaphore ready(0);
    CFRunLoopPerformBlock(streamLoop, kCFRunLoopDefaultMode, [&] {
        observer = observe(appElement, {kAXWindowCreatedNotification, kAXWindowMovedNotification});
        CFRunLoopAddSource(CFRunLoopGetCurrent(), AXObserverGetRunLoopSource(observer),
                           kCFRunLoopDefaultMode);
        ready.signal();
    });
    CFRunLoopWakeUp(streamLoop);
    ready.wait();

    const auto number = open(app, CGRect(0, 30, 400, 300));
    desktop->moveWindow(number, CGRect(50, 60, 400, 300));
    const auto heard = listener.waitFor(2);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].name, "AXWindowCreated");
    EXPECT_EQ(heard[0].thread, "ax-events-test");
    EXPECT_EQ(heard[1].name, "AXWindowMoved");
    EXPECT_EQ(heard[1].thread, "ax-events-test");

    DispatchSemaphore released(0);
    CFRunLoopPerformBlock(streamLoop, kCFRunLoopDefaultMode, [&] {
        observer.reset();
        released.signal();
    });
    CFRunLoopWakeUp(streamLoop);
    released.wait();
    CFRunLoopStop(streamLoop);
    EXPECT_TRUE(thread.waitUntilFinished(10));
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

// The shape the event stream takes: a thread of its own whose run loop holds the observers,
// fed by workspace notifications that arrive on the posting thread and hop over.
TEST_F(AXObserverTests, ObserversMadeOnAStreamThreadFollowLaunchesAndTerminations) {
    CFRunLoopRef loop;
    DispatchSemaphore started(0);
    NSThread thread([&] {
        loop = CFRunLoopGetCurrent();
        started.signal();
        CFRunLoopRun();
    });
    thread.setName("ax-stream-test");
    thread.start();
    started.wait();

    std::map<pid_t, AXObserverRef> observers;  // the stream thread's alone
    auto hop = [&](std::function<void()> block) {
        CFRunLoopPerformBlock(loop, kCFRunLoopDefaultMode, std::move(block));
        CFRunLoopWakeUp(loop);
    };
    auto& center = NSWorkspace::sharedWorkspace().notificationCenter();
    const auto launched = center.addObserver(
        NSWorkspaceDidLaunchApplicationNotification, nullptr, nullptr,
        [&](const NSNotification& notification) {
            const pid_t pid = NSWorkspace::applicationOf(notification)->processIdentifier();
            hop([&, pid] {
                AXObserverRef observer;
                if (AXObserverCreate(pid, &Listener::callback, &observer) != kAXErrorSuccess)
                    return;
                AXObserverAddNotification(observer, AXUIElementCreateApplication(pid),
                                          kAXWindowCreatedNotification, &listener);
                CFRunLoopAddSource(CFRunLoopGetCurrent(), AXObserverGetRunLoopSource(observer),
                                   kCFRunLoopDefaultMode);
                observers[pid] = observer;
            });
        });
    const auto terminated = center.addObserver(
        NSWorkspaceDidTerminateApplicationNotification, nullptr, nullptr,
        [&](const NSNotification& notification) {
            const pid_t pid = NSWorkspace::applicationOf(notification)->processIdentifier();
            hop([&, pid] {
                const auto found = observers.find(pid);
                if (found == observers.end()) return;
                CFRunLoopRemoveSource(CFRunLoopGetCurrent(),
                                      AXObserverGetRunLoopSource(found->second),
                                      kCFRunLoopDefaultMode);
                observers.erase(found);
            });
        });

    const auto editor = launch("com.example.writer");
    // The observer is made on the stream thread; wait for it before the window opens.
    DispatchSemaphore observed(0);
    hop([&] { observed.signal(); });
    observed.wait();
    const auto number = open(editor, CGRect(0, 30, 400, 300));
    const auto heard = listener.waitFor(1);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].window, number);
    EXPECT_EQ(heard[0].thread, "ax-stream-test");

    desktop->terminate(editor);
    DispatchSemaphore forgotten(0);
    hop([&] {
        EXPECT_TRUE(observers.empty());
        forgotten.signal();
    });
    forgotten.wait();
    center.removeObserver(launched);
    center.removeObserver(terminated);
    CFRunLoopStop(loop);
    EXPECT_TRUE(thread.waitUntilFinished(10));
}

}  // namespace
}  // namespace kelvo
