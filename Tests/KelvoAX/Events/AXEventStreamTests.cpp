#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "KelvoAX/Events/AXEventStream.h"
#include "Platform/Accessibility/AXConstants.h"
#include "Support/KelvoCore/WindowIDs.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

constexpr const char* editor = "com.example.editor";
constexpr const char* browser = "com.example.browser";
/// Generous: events cross one thread and come at once; only a failure waits this long.
constexpr auto waitBound = std::chrono::seconds(10);

/// Receives the stream's events on the stream's thread and lets the test wait for them.
class EventLog {
  public:
    void receive(const WindowEvent& event) {
        const bool onStreamThread = NSThread::currentName() == AXEventStream::threadName;
        std::lock_guard guard(mutex_);
        if (!onStreamThread) ++offThread_;
        events_.push_back(event.description());
        arrived_.notify_all();
    }

    /// Waits until `line` has arrived and returns everything before it (the line itself and
    /// every sync line are left out), consuming it.
    std::vector<std::string> until(const std::string& line) {
        std::unique_lock guard(mutex_);
        const bool found = arrived_.wait_for(guard, waitBound, [&] {
            return std::find(events_.begin(), events_.end(), line) != events_.end();
        });
        EXPECT_TRUE(found) << "never arrived: " << line;
        if (!found) return std::exchange(events_, {});
        const auto at = std::find(events_.begin(), events_.end(), line);
        std::vector<std::string> before;
        for (auto it = events_.begin(); it != at; ++it) {
            if (it->find("com.example.sync") == std::string::npos) before.push_back(*it);
        }
        events_.erase(events_.begin(), at + 1);
        return before;
    }

    int offThread() const {
        std::lock_guard guard(mutex_);
        return offThread_;
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::string> events_;
    int offThread_ = 0;
};

class AXEventStreamTest : public DesktopFixture {
  protected:
    ~AXEventStreamTest() override {
        release();
        EXPECT_EQ(log.offThread(), 0) << "events arrived off the stream's thread";
    }

    void release() {
        current = nullptr;
        stream.reset();
    }

    void start() {
        stream = std::make_unique<AXEventStream>([this](const WindowEvent& event) {
            // Taking the stream's lock here proves the stream does not hold it while it calls.
            if (AXEventStream* running = current.load()) (void)running->trackedWindows();
            log.receive(event);
        });
        current = stream.get();
        stream->start();
    }

    /// The events of everything the desktop did before this call. A launch and a termination
    /// hand work to the stream thread; its run loop runs the work handed over before it takes
    /// the notifications signalled meanwhile, so the second round runs only after every
    /// notification from before the first.
    std::vector<std::string> sync() {
        std::vector<std::string> events = syncRound();
        const std::vector<std::string> late = syncRound();
        events.insert(events.end(), late.begin(), late.end());
        return events;
    }

    std::vector<std::string> syncRound() {
        const std::string bundle = "com.example.sync" + std::to_string(++syncs);
        const sim::Pid pid = launch(bundle);
        desktop->terminate(pid);
        return log.until("terminated " + bundle);
    }

    /// An application that is not regular, so the stream does not observe it by itself.
    sim::Pid launchHelper() { return launchAccessory("com.example.helper"); }

    static std::string created(sim::WindowNumber number, const std::string& bundle) {
        return "created " + WindowID(number).description() + " " + bundle + " element";
    }
    static std::string named(const std::string& kind, sim::WindowNumber number) {
        return kind + " " + WindowID(number).description();
    }

    /// Sends the observer of `pid` a notification as the application would.
    void notify(sim::Pid pid, sim::ElementID element, const std::string& name) {
        const auto observers = stream->observers();
        ASSERT_TRUE(observers.contains(pid));
        observers.at(pid)->enqueue(element, name);
    }

    EventLog log;
    /// The stream as its receiver sees it; releasing the stream waits for its thread, so the
    /// receiver never sees a stream that is gone.
    std::atomic<AXEventStream*> current{nullptr};
    std::unique_ptr<AXEventStream> stream;
    int syncs = 0;
};

TEST_F(AXEventStreamTest, RunningApplicationsAreTrackedWithoutCreatedEvents) {
    const sim::Pid pid = launch(editor);
    const auto first = open(pid, CGRect(0, 30, 800, 600));
    const auto second = open(pid, CGRect(0, 30, 800, 600));
    start();
    EXPECT_TRUE(sync().empty());
    // "AXWindows" lists front to back.
    EXPECT_EQ(stream->trackedWindows(), ids({second, first}));
    EXPECT_TRUE(stream->observers().contains(pid));
    EXPECT_FALSE(stream->observers().contains(ownPid));
}

TEST_F(AXEventStreamTest, LaunchedApplicationsWindowsAreCreatedOnce) {
    start();
    // The thread observes what runs at start after `start()` returns; an application launched
    // meanwhile could count as running at start.
    sync();
    const sim::Pid pid = launch(editor);
    const auto early = open(pid, CGRect(0, 30, 800, 600));
    EXPECT_EQ(sync(), std::vector{created(early, editor)});

    const auto later = open(pid, CGRect(0, 30, 800, 600));
    EXPECT_EQ(sync(), std::vector{created(later, editor)});

    // The application says it again: the window is tracked already.
    notify(pid, desktop->window(later)->element, kAXWindowCreatedNotification);
    EXPECT_TRUE(sync().empty());
    EXPECT_EQ(stream->trackedWindows(), ids({early, later}));
}

TEST_F(AXEventStreamTest, WindowChangesBecomeEvents) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    const auto other = open(pid, CGRect(0, 30, 800, 600));
    start();
    sync();

    desktop->moveWindow(window, CGRect(10, 40, 800, 600));
    desktop->moveWindow(window, CGRect(10, 40, 500, 600));
    desktop->setMinimized(window, true);
    desktop->setMinimized(window, false);
    desktop->focusWindow(other);
    const std::vector<std::string> events = sync();
    EXPECT_EQ(std::vector(events.begin(), events.begin() + std::min<std::size_t>(events.size(), 4)),
              (std::vector<std::string>{named("moved", window), named("resized", window),
                                        named("minimized", window), named("unminimized", window)}));
    EXPECT_EQ(events.back(), named("focused", other));
}

TEST_F(AXEventStreamTest, DestroyedIsMatchedByElementNotByNumber) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    start();
    sync();
    const sim::ElementID oldElement = desktop->window(window)->element;

    desktop->closeWindow(window);
    EXPECT_EQ(sync(), std::vector{named("destroyed", window)});

    sim::WindowSpec reused;
    reused.number = window;
    ASSERT_EQ(open(pid, CGRect(0, 30, 800, 600), reused), window);
    EXPECT_EQ(sync(), std::vector{created(window, editor)});

    // A late word about the old element does not take the new window with it.
    notify(pid, oldElement, kAXUIElementDestroyedNotification);
    EXPECT_TRUE(sync().empty());
    EXPECT_EQ(stream->trackedWindows(), ids({window}));

    desktop->closeWindow(window);
    EXPECT_EQ(sync(), std::vector{named("destroyed", window)});
    EXPECT_TRUE(stream->trackedWindows().empty());
}

TEST_F(AXEventStreamTest, DestroyedElementThatWasNeverTrackedSaysNothing) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    start();
    sync();
    // A second element of a tracked window is not the tracked one.
    const sim::ElementID other = desktop->replaceElement(window);
    notify(pid, other, kAXUIElementDestroyedNotification);
    EXPECT_TRUE(sync().empty());
    EXPECT_EQ(stream->trackedWindows(), ids({window}));
}

TEST_F(AXEventStreamTest, TerminationDestroysTrackedWindowsInOrderThenTerminates) {
    const sim::Pid pid = launch(editor);
    const auto first = open(pid, CGRect(0, 30, 800, 600));
    start();
    sync();
    const auto second = open(pid, CGRect(0, 30, 800, 600));
    const auto third = open(pid, CGRect(0, 30, 800, 600));
    sync();
    ASSERT_EQ(stream->trackedWindows(), ids({first, second, third}));

    desktop->terminate(pid);
    EXPECT_EQ(sync(), (std::vector<std::string>{
                          named("destroyed", first), named("destroyed", second),
                          named("destroyed", third), "terminated com.example.editor"}));
    EXPECT_FALSE(stream->observers().contains(pid));
    EXPECT_TRUE(stream->trackedWindows().empty());
}

TEST_F(AXEventStreamTest, UnobservedApplicationOnlyTerminates) {
    const sim::Pid pid = launchHelper();
    open(pid, CGRect(0, 30, 800, 600));
    start();
    sync();
    desktop->terminate(pid);
    EXPECT_EQ(sync(), std::vector<std::string>{"terminated com.example.helper"});
}

TEST_F(AXEventStreamTest, ActivationNamesTheFocusedWindowWhenThereIsOne) {
    const sim::Pid pid = launch(editor);
    const sim::Pid empty = launch(browser);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    desktop->focusWindow(window);
    start();
    sync();

    desktop->activate(pid);
    desktop->activate(empty);
    EXPECT_EQ(sync(), (std::vector<std::string>{
                          "activated " + WindowID(window).description() + " com.example.editor",
                          "activated - com.example.browser"}));
}

TEST_F(AXEventStreamTest, HungApplicationsActivationNamesNoWindow) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    desktop->focusWindow(window);
    start();
    sync();
    // Longer than the stream waits, far shorter than the platform's default.
    desktop->setResponseDelay(pid, 1.0);
    desktop->activate(pid);
    EXPECT_EQ(sync(), std::vector<std::string>{"activated - com.example.editor"});
}

TEST_F(AXEventStreamTest, EveryReadRunsUnderTheMessagingTimeout) {
    const sim::Pid pid = launch(editor);
    desktop->focusWindow(open(pid, CGRect(0, 30, 800, 600)));
    start();
    sync();
    const sim::Pid launched = launch(browser);
    open(launched, CGRect(0, 30, 800, 600));
    desktop->activate(pid);
    desktop->activate(launched);
    sync();

    std::size_t reads = 0;
    for (const sim::AccessCall& call : desktop->accessCalls()) {
        if (call.kind == sim::AccessCall::Kind::copyAttribute) {
            EXPECT_DOUBLE_EQ(call.timeout, 0.25) << call.name;
            ++reads;
        }
    }
    EXPECT_GE(reads, 4u);
}

TEST_F(AXEventStreamTest, TrackingAWindowOfAnUnobservedApplicationObservesItFirst) {
    const sim::Pid pid = launchHelper();
    const auto other = open(pid, CGRect(0, 30, 800, 600));
    const auto adopted = open(pid, CGRect(0, 30, 800, 600));
    start();
    sync();
    EXPECT_TRUE(stream->trackedWindows().empty());

    stream->track(WindowID(adopted),
                  std::make_shared<AXUIElement>(desktop->window(adopted)->element));
    EXPECT_TRUE(sync().empty());
    EXPECT_TRUE(stream->observers().contains(pid));
    EXPECT_EQ(stream->trackedWindows(), ids({adopted, other}));

    desktop->closeWindow(adopted);
    EXPECT_EQ(sync(), std::vector{named("destroyed", adopted)});
}

TEST_F(AXEventStreamTest, HopsBeforeStartAndAfterStopDoNothing) {
    const sim::Pid pid = launchHelper();
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    const auto element = std::make_shared<AXUIElement>(desktop->window(window)->element);

    stream =
        std::make_unique<AXEventStream>([this](const WindowEvent& event) { log.receive(event); });
    EXPECT_EQ(stream->runLoop(), nullptr);
    stream->track(WindowID(window), element);
    stream->start();
    sync();
    EXPECT_TRUE(stream->trackedWindows().empty());

    stream->stop();
    EXPECT_EQ(stream->runLoop(), nullptr);
    stream->track(WindowID(window), element);
    launch(browser);
    desktop->activate(pid);
    EXPECT_TRUE(stream->trackedWindows().empty());
    EXPECT_TRUE(stream->observers().empty());
}

TEST_F(AXEventStreamTest, StopRemovesEveryObserverSource) {
    const sim::Pid first = launch(editor);
    const sim::Pid second = launch(browser);
    open(first, CGRect(0, 30, 800, 600));
    open(second, CGRect(0, 30, 800, 600));
    start();
    sync();
    const CFRunLoopRef loop = stream->runLoop();
    ASSERT_NE(loop, nullptr);
    std::vector<CFRunLoopSourceRef> sources;
    for (const auto& [pid, observer] : stream->observers()) {
        sources.push_back(AXObserverGetRunLoopSource(observer));
        EXPECT_TRUE(CFRunLoopContainsSource(loop, sources.back(), kCFRunLoopDefaultMode));
    }
    ASSERT_EQ(sources.size(), 2u);

    stream->stop();
    for (const CFRunLoopSourceRef& source : sources) {
        EXPECT_FALSE(CFRunLoopContainsSource(loop, source, kCFRunLoopDefaultMode));
    }
    EXPECT_TRUE(stream->observers().empty());
    EXPECT_TRUE(stream->trackedWindows().empty());
}

TEST_F(AXEventStreamTest, StreamReleasedWhileApplicationsKeepTalking) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    for (int round = 0; round < 20; ++round) {
        start();
        for (int step = 0; step < 20; ++step) {
            desktop->moveWindow(window, CGRect(step, 30, 800, 600));
            if (step == 10) release();
        }
        const sim::Pid launched = launch("com.example.app" + std::to_string(round));
        open(launched, CGRect(0, 30, 800, 600));
        desktop->terminate(launched);
    }
}

}  // namespace
}  // namespace kelvo
