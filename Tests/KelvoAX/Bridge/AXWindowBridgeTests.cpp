#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoAX/Bridge/AXAttributes.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "KelvoAX/Bridge/ScreenWindows.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Simulator/SharedConnection.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

constexpr const char* editor = "com.example.editor";
constexpr const char* browser = "com.example.browser";

class AXWindowBridgeTest : public DesktopFixture {
  protected:
    AXWindowBridgeTest() {
        bridge.trace = [this](const std::string& line) { traced.push_back(line); };
    }

    static WindowID id(sim::WindowNumber number) { return WindowID(number); }

    std::vector<WindowID> ids(const std::vector<ManagedWindow>& windows) const {
        std::vector<WindowID> result;
        for (const ManagedWindow& window : windows)
            result.push_back(window.id);
        return result;
    }

    /// The messages of the call record that read attributes, one or several at a time.
    std::size_t reads() const {
        std::size_t count = 0;
        for (const sim::AccessCall& call : desktop->accessCalls())
            count += call.kind == sim::AccessCall::Kind::copyAttribute ||
                     call.kind == sim::AccessCall::Kind::copyAttributes;
        return count;
    }

    /// The writes of the call record as "name" or "name=value" for booleans, in order.
    std::vector<std::string> writes() const {
        std::vector<std::string> names;
        for (const sim::AccessCall& call : desktop->writes()) {
            std::string text = call.name;
            if (const bool* flag = std::get_if<bool>(&call.value)) {
                text += *flag ? "=true" : "=false";
            }
            names.push_back(text);
        }
        return names;
    }

    /// A scanned window of an application that answers too slowly to say it is in front,
    /// behind another application.
    std::pair<sim::Pid, WindowID> slowWindowInTheBack() {
        const sim::Pid pid = launch(editor);
        launch(browser, true);
        const auto window = open(pid, CGRect(0, 30, 800, 600));
        bridge.windows();
        desktop->setResponseDelay(pid, 1.0);
        return {pid, id(window)};
    }

    AXWindowBridge bridge{Config()};
    std::vector<std::string> traced;
};

// ---- Full scans

TEST_F(AXWindowBridgeTest, FullScanReadsEveryRegularApplicationButThisOne) {
    const sim::Pid editorPid = launch(editor);
    const sim::Pid browserPid = launch(browser);
    const auto first = open(editorPid, CGRect(10, 30, 800, 600));
    const auto second = open(browserPid, CGRect(20, 40, 900, 700));
    open(launchAccessory("com.example.helper"), CGRect(0, 30, 600, 600));
    sim::ApplicationSpec anonymous;
    anonymous.bundleID = std::nullopt;
    open(desktop->launch(anonymous), CGRect(0, 30, 600, 600));
    open(ownPid, CGRect(0, 30, 600, 600));

    const std::vector<ManagedWindow> windows = bridge.windows();

    EXPECT_EQ(windows, (std::vector<ManagedWindow>{
                           {id(first), editor, CGRect(10, 30, 800, 600), false, false, false},
                           {id(second), browser, CGRect(20, 40, 900, 700), false, false, false},
                       }));
    EXPECT_NE(bridge.handle(id(first)), nullptr);
    EXPECT_EQ(bridge.lastKnownFrame(id(second)), CGRect(20, 40, 900, 700));
    EXPECT_TRUE(bridge.retainedWindows().empty());
}

TEST_F(AXWindowBridgeTest, ClassificationDecidesWhatIsReturnedAndRemembered) {
    const sim::Pid pid = launch(editor);
    sim::WindowSpec dialog;
    dialog.subrole = "AXDialog";
    const auto small = open(pid, CGRect(0, 30, 300, 200), dialog);
    sim::WindowSpec fixed;
    fixed.sizeSettable = false;
    const auto unresizable = open(pid, CGRect(0, 30, 900, 700), fixed);
    const auto minimized = open(pid, CGRect(0, 30, 900, 700));
    desktop->setMinimized(minimized, true);
    const auto fullScreen = open(pid, CGRect(0, 30, 900, 700));
    desktop->setFullScreen(fullScreen, true);

    const std::vector<ManagedWindow> windows = bridge.windows();

    std::map<WindowID, ManagedWindow> byID;
    for (const ManagedWindow& window : windows)
        byID[window.id] = window;
    ASSERT_EQ(byID.size(), 3u);
    EXPECT_TRUE(byID[id(small)].floating);
    EXPECT_FALSE(byID[id(small)].floatingMayBeEarly);
    EXPECT_TRUE(byID[id(unresizable)].floating);
    EXPECT_TRUE(byID[id(unresizable)].floatingMayBeEarly);
    EXPECT_TRUE(byID[id(minimized)].minimized);
    EXPECT_FALSE(byID[id(minimized)].floating);
    EXPECT_EQ(bridge.handle(id(fullScreen)), nullptr);
    EXPECT_EQ(bridge.seenFullScreen(), std::set{id(fullScreen)});
}

TEST_F(AXWindowBridgeTest, UnmovableWindowIsIgnoredOnlyUntilItCanBeMoved) {
    const sim::Pid pid = launch(editor);
    sim::WindowSpec pinned;
    pinned.positionSettable = false;
    const auto window = open(pid, CGRect(0, 30, 900, 700), pinned);

    EXPECT_TRUE(bridge.windows().empty());
    EXPECT_EQ(bridge.provisionallyIgnored(), std::set{id(window)});

    desktop->setSettable(window, true, true);
    EXPECT_EQ(ids(bridge.windows(editor).windows), std::vector{id(window)});
    EXPECT_TRUE(bridge.provisionallyIgnored().empty());
}

TEST_F(AXWindowBridgeTest, IgnoredApplicationLeavesNoTrace) {
    Config config;
    config.ignoreBundleIDs = {editor};
    bridge.setConfig(config);
    const sim::Pid pid = launch(editor);
    sim::WindowSpec pinned;
    pinned.positionSettable = false;
    open(pid, CGRect(0, 30, 900, 700), pinned);
    const auto fullScreen = open(pid, CGRect(0, 30, 900, 700));
    desktop->setFullScreen(fullScreen, true);

    EXPECT_TRUE(bridge.windows().empty());
    EXPECT_TRUE(bridge.provisionallyIgnored().empty());
    EXPECT_TRUE(bridge.seenFullScreen().empty());
}

TEST_F(AXWindowBridgeTest, WindowMissingFromItsApplicationsListIsRetainedWhileItAnswers) {
    const sim::Pid pid = launch(editor);
    const auto kept = open(pid, CGRect(0, 30, 900, 700));
    const auto other = open(pid, CGRect(100, 30, 900, 700));
    bridge.windows();
    const AXUIElementRef element = bridge.handle(id(kept));

    desktop->setListedInAXWindows(kept, false);
    EXPECT_EQ(ids(bridge.windows()), std::vector{id(other)});
    EXPECT_EQ(bridge.retainedWindows(), std::set{id(kept)});
    EXPECT_EQ(bridge.handle(id(kept)), element);
    EXPECT_EQ(bridge.lastKnownFrame(id(kept)), CGRect(0, 30, 900, 700));
    EXPECT_TRUE(bridge.canReach(id(kept)));
    EXPECT_TRUE(bridge.takeGone().empty());

    desktop->closeWindow(kept);
    EXPECT_EQ(ids(bridge.windows()), std::vector{id(other)});
    EXPECT_TRUE(bridge.retainedWindows().empty());
    EXPECT_EQ(bridge.handle(id(kept)), nullptr);
    EXPECT_EQ(bridge.lastKnownFrame(id(kept)), std::nullopt);
    EXPECT_EQ(bridge.takeGone(), std::set{id(kept)});
    EXPECT_TRUE(bridge.takeGone().empty());
}

TEST_F(AXWindowBridgeTest, KnownWindowThatGoesFullScreenStaysRetained) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 900, 700));
    bridge.windows();
    desktop->setFullScreen(window, true);

    EXPECT_TRUE(bridge.windows().empty());
    EXPECT_EQ(bridge.retainedWindows(), std::set{id(window)});
    EXPECT_TRUE(bridge.isWindowFullScreen(id(window)));
    EXPECT_EQ(bridge.seenFullScreen(), std::set{id(window)});
}

TEST_F(AXWindowBridgeTest, HungApplicationsWindowsAreDroppedButNotGone) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 900, 700));
    bridge.windows();
    desktop->setResponseDelay(pid, 1.0);

    EXPECT_TRUE(bridge.windows().empty());
    EXPECT_EQ(bridge.handle(id(window)), nullptr);
    EXPECT_TRUE(bridge.takeGone().empty());
}

TEST_F(AXWindowBridgeTest, ApplicationReadAddsWithoutForgetting) {
    const sim::Pid editorPid = launch(editor);
    const sim::Pid browserPid = launch(browser);
    const auto browserWindow = open(browserPid, CGRect(0, 30, 900, 700));
    bridge.windows();
    desktop->setListedInAXWindows(browserWindow, false);
    sim::WindowSpec pinned;
    pinned.positionSettable = false;
    const auto pinnedWindow = open(editorPid, CGRect(0, 30, 900, 700), pinned);
    const auto editorWindow = open(editorPid, CGRect(0, 30, 900, 700));

    const ApplicationWindows found = bridge.windows(editor);

    EXPECT_EQ(ids(found.windows), std::vector{id(editorWindow)});
    EXPECT_EQ(found.seen, (std::set{id(pinnedWindow), id(editorWindow)}));
    EXPECT_EQ(bridge.provisionallyIgnored(), std::set{id(pinnedWindow)});
    EXPECT_NE(bridge.handle(id(browserWindow)), nullptr);
    EXPECT_TRUE(bridge.retainedWindows().empty());
    EXPECT_TRUE(bridge.windows("com.example.none").seen.empty());
}

TEST_F(AXWindowBridgeTest, AdoptReadsOneElement) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(5, 30, 900, 700));
    const AXUIElementRef element = std::make_shared<AXUIElement>(desktop->window(window)->element);

    EXPECT_EQ(windowID(element), id(window));
    EXPECT_EQ(bridge.adopt(element, editor),
              (ManagedWindow{id(window), editor, CGRect(5, 30, 900, 700), false, false, false}));
    EXPECT_EQ(bridge.handle(id(window)), element);

    desktop->closeWindow(window);
    EXPECT_EQ(windowID(element), std::nullopt);
    EXPECT_EQ(bridge.adopt(element, editor), std::nullopt);
    EXPECT_FALSE(bridge.canReach(id(window)));
}

// ---- Frame writes

TEST_F(AXWindowBridgeTest, FrameWriteOrderFollowsTheLastKnownArea) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    bridge.windows();

    desktop->clearAccessCalls();
    EXPECT_TRUE(bridge.setFrame(CGRect(10, 40, 600, 400), id(window)));
    EXPECT_EQ(writes(), (std::vector<std::string>{"AXSize", "AXPosition", "AXSize"}));
    EXPECT_EQ(desktop->window(window)->frame, CGRect(10, 40, 600, 400));
    EXPECT_EQ(bridge.lastKnownFrame(id(window)), CGRect(10, 40, 600, 400));

    desktop->clearAccessCalls();
    EXPECT_TRUE(bridge.setFrame(CGRect(20, 50, 400, 600), id(window)));
    EXPECT_EQ(writes(), (std::vector<std::string>{"AXPosition", "AXSize", "AXPosition"}));

    desktop->clearAccessCalls();
    EXPECT_TRUE(bridge.setFrame(CGRect(0, 30, 1000, 800), id(window)));
    EXPECT_EQ(writes(), (std::vector<std::string>{"AXPosition", "AXSize", "AXPosition"}));
}

TEST_F(AXWindowBridgeTest, UnknownWindowIsNeverWritten) {
    EXPECT_FALSE(bridge.setFrame(CGRect(0, 30, 100, 100), WindowID(4242)));
    bridge.setPosition(CGPoint{0, 30}, WindowID(4242));
    bridge.raise(WindowID(4242));
    bridge.focus(WindowID(4242));
    bridge.setMinimized(true, WindowID(4242));
    EXPECT_FALSE(bridge.isWindowMinimized(WindowID(4242)));
    EXPECT_FALSE(bridge.isWindowFullScreen(WindowID(4242)));
    EXPECT_FALSE(bridge.canReach(WindowID(4242)));
    EXPECT_EQ(bridge.frame(WindowID(4242)), std::nullopt);
    EXPECT_TRUE(desktop->accessCalls().empty());
    EXPECT_EQ(bridge.focusGeneration(), 0);
}

TEST_F(AXWindowBridgeTest, EnhancedInterfaceIsOffAroundWritesAndBackOnAfter) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    desktop->setEnhancedUserInterface(pid, true);
    bridge.windows();

    desktop->clearAccessCalls();
    bridge.setFrame(CGRect(0, 30, 900, 700), id(window));
    EXPECT_EQ(writes(),
              (std::vector<std::string>{"AXEnhancedUserInterface=false", "AXPosition", "AXSize",
                                        "AXPosition", "AXEnhancedUserInterface=true"}));
    EXPECT_TRUE(desktop->enhancedUserInterface(pid));

    desktop->clearAccessCalls();
    bridge.setPosition(CGPoint{50, 60}, id(window));
    EXPECT_EQ(writes(), (std::vector<std::string>{"AXEnhancedUserInterface=false", "AXPosition",
                                                  "AXEnhancedUserInterface=true"}));
    EXPECT_EQ(desktop->window(window)->frame, CGRect(50, 60, 900, 700));
    EXPECT_EQ(bridge.lastKnownFrame(id(window)), CGRect(0, 30, 900, 700));

    // A window gone before the write: the read-back fails, the interface still comes back.
    desktop->closeWindow(window);
    desktop->clearAccessCalls();
    EXPECT_FALSE(bridge.setFrame(CGRect(0, 30, 100, 100), id(window)));
    const std::vector<std::string> sequence = writes();
    ASSERT_FALSE(sequence.empty());
    EXPECT_EQ(sequence.front(), "AXEnhancedUserInterface=false");
    EXPECT_EQ(sequence.back(), "AXEnhancedUserInterface=true");
    EXPECT_TRUE(desktop->enhancedUserInterface(pid));
    EXPECT_EQ(bridge.lastKnownFrame(id(window)), CGRect(0, 30, 900, 700));
}

TEST_F(AXWindowBridgeTest, WithoutEnhancedInterfaceItIsNeverWritten) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    bridge.windows();
    desktop->clearAccessCalls();
    bridge.setPosition(CGPoint{50, 60}, id(window));
    EXPECT_EQ(writes(), std::vector<std::string>{"AXPosition"});
}

TEST_F(AXWindowBridgeTest, FrameAndPositionWritesMakeNoCallBeyondTheirSequence) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    bridge.windows();
    // Every call of the record, reads and process lookups included, in order.
    const auto calls = [this] {
        std::vector<std::string> names;
        for (const sim::AccessCall& call : desktop->accessCalls()) {
            switch (call.kind) {
                case sim::AccessCall::Kind::copyAttribute:
                case sim::AccessCall::Kind::copyAttributes:
                    names.push_back("read " + call.name);
                    break;
                case sim::AccessCall::Kind::setAttribute:
                    names.push_back("write " + call.name);
                    break;
                case sim::AccessCall::Kind::elementPid:
                    names.push_back("pid");
                    break;
                default:
                    names.push_back("other " + call.name);
            }
        }
        return names;
    };

    // The element's pid is known without a call; the read-back asks for both halves of the
    // frame in one message.
    desktop->clearAccessCalls();
    bridge.setFrame(CGRect(10, 40, 900, 700), id(window));
    EXPECT_EQ(calls(), (std::vector<std::string>{"read AXEnhancedUserInterface", "write AXPosition",
                                                 "write AXSize", "write AXPosition",
                                                 "read AXPosition AXSize"}));

    desktop->clearAccessCalls();
    bridge.setPosition(CGPoint{50, 60}, id(window));
    EXPECT_EQ(calls(),
              (std::vector<std::string>{"read AXEnhancedUserInterface", "write AXPosition"}));
}

TEST_F(AXWindowBridgeTest, AFrameReadServesTheNextReadsUntilTheWindowChangesOrIsWritten) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    bridge.windows();

    // The scan's frame serves the read that follows it, and a write's read-back the next.
    desktop->clearAccessCalls();
    EXPECT_EQ(bridge.frame(id(window)), CGRect(0, 30, 800, 600));
    EXPECT_EQ(reads(), 0u);
    bridge.setFrame(CGRect(10, 40, 900, 700), id(window));
    desktop->clearAccessCalls();
    EXPECT_EQ(bridge.frame(id(window)), CGRect(10, 40, 900, 700));
    EXPECT_EQ(reads(), 0u);

    // A position write leaves the frame to be read again, with one message.
    bridge.setPosition(CGPoint{50, 60}, id(window));
    desktop->clearAccessCalls();
    EXPECT_EQ(bridge.frame(id(window)), CGRect(50, 60, 900, 700));
    EXPECT_EQ(reads(), 1u);

    // Work of the main queue in between changes nothing; the application moving the window
    // does.
    DispatchQueue::main().async([] {});
    settle();
    desktop->clearAccessCalls();
    EXPECT_EQ(bridge.frame(id(window)), CGRect(50, 60, 900, 700));
    EXPECT_EQ(reads(), 0u);
    desktop->moveWindow(window, CGRect(70, 80, 900, 700));
    EXPECT_EQ(bridge.frame(id(window)), CGRect(70, 80, 900, 700));
    EXPECT_EQ(reads(), 1u);

    // An application that stops answering: the frame is read, and cannot be.
    desktop->setResponseDelay(pid, 1.0);
    EXPECT_EQ(bridge.frame(id(window)), std::nullopt);
}

TEST_F(AXWindowBridgeTest, AMinimizedReadServesTheNextReadsUntilNewsOrAMinimizeWrite) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    bridge.windows();

    // The scan's answer serves the questions that follow it.
    desktop->clearAccessCalls();
    EXPECT_FALSE(bridge.isWindowMinimized(id(window)));
    EXPECT_EQ(reads(), 0u);

    // The user minimizing the window is news about it: read once, then known again.
    desktop->setMinimized(window, true);
    desktop->clearAccessCalls();
    EXPECT_TRUE(bridge.isWindowMinimized(id(window)));
    EXPECT_TRUE(bridge.isWindowMinimized(id(window)));
    EXPECT_EQ(reads(), 1u);

    // Our own write leaves it to be read again.
    bridge.setMinimized(false, id(window));
    desktop->clearAccessCalls();
    EXPECT_FALSE(bridge.isWindowMinimized(id(window)));
    EXPECT_EQ(reads(), 1u);

    // Moves and resizes, ours and the application's, say nothing about it.
    bridge.setFrame(CGRect(10, 40, 700, 500), id(window));
    desktop->moveWindow(window, CGRect(20, 50, 700, 500));
    desktop->clearAccessCalls();
    EXPECT_FALSE(bridge.isWindowMinimized(id(window)));
    EXPECT_EQ(reads(), 0u);
}

TEST_F(AXWindowBridgeTest, AnApplicationEndingIsNewsAboutItsWindowsAlone) {
    const sim::Pid pid = launch(editor);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    bridge.windows();
    // As a served desktop tells it: the workspace's word, without a word about each window.
    const auto ended = [](sim::Pid process) {
        sim::reportNews(
            sim::WorkspaceNotification{sim::WorkspaceNotification::Kind::terminated, process});
    };

    desktop->clearAccessCalls();
    ended(pid + 1000);
    EXPECT_EQ(bridge.frame(id(window)), CGRect(0, 30, 800, 600));
    EXPECT_EQ(reads(), 0u) << "another application ended";
    ended(pid);
    EXPECT_EQ(bridge.frame(id(window)), CGRect(0, 30, 800, 600));
    EXPECT_EQ(reads(), 1u);
}

TEST_F(AXWindowBridgeTest, LandingIsJudgedOnTheOriginWithinOnePoint) {
    const sim::Pid pid = launch(editor);
    sim::WindowSpec inside;
    inside.answer.keepsInsideVisibleFrame = true;
    const auto window = open(pid, CGRect(100, 100, 800, 600), inside);
    bridge.windows();
    const double top = desktop->displays().front().visibleFrame.minY();

    // Pushed back by exactly one point on both axes: landed.
    EXPECT_TRUE(bridge.setFrame(CGRect(-1, top - 1, 800, 600), id(window)));
    // Two points off on one axis: not landed, but what was read is remembered.
    EXPECT_FALSE(bridge.setFrame(CGRect(-2, top, 800, 600), id(window)));
    EXPECT_EQ(bridge.lastKnownFrame(id(window)), CGRect(0, top, 800, 600));

    // Sizes are not judged.
    desktop->setSizeLimits(window, CGSize{700, 500}, CGSize{});
    EXPECT_TRUE(bridge.setFrame(CGRect(10, top, 300, 300), id(window)));
    EXPECT_EQ(bridge.frame(id(window)), CGRect(10, top, 700, 500));
}

TEST_F(AXWindowBridgeTest, LateWriteIsNotYetThereWhenReadBack) {
    const sim::Pid pid = launch(editor);
    sim::WindowSpec late;
    late.answer.landsAfter = 0.2;
    const auto window = open(pid, CGRect(100, 100, 800, 600), late);
    bridge.windows();

    EXPECT_FALSE(bridge.setFrame(CGRect(300, 300, 800, 600), id(window)));
    EXPECT_EQ(bridge.lastKnownFrame(id(window)), CGRect(100, 100, 800, 600));
    clock.advance(0.2);
    EXPECT_EQ(bridge.frame(id(window)), CGRect(300, 300, 800, 600));
    EXPECT_EQ(bridge.lastKnownFrame(id(window)), CGRect(300, 300, 800, 600));
}

// ---- The other operations

TEST_F(AXWindowBridgeTest, MinimizeRaiseAndQueries) {
    const sim::Pid pid = launch(editor);
    const auto back = open(pid, CGRect(0, 30, 800, 600));
    const auto front = open(pid, CGRect(0, 30, 800, 600));
    bridge.windows();

    bridge.raise(id(back));
    EXPECT_EQ(desktop->windows().front().number, back);

    bridge.setMinimized(true, id(front));
    EXPECT_TRUE(desktop->window(front)->minimized);
    EXPECT_TRUE(bridge.isWindowMinimized(id(front)));
    bridge.setMinimized(false, id(front));
    EXPECT_FALSE(bridge.isWindowMinimized(id(front)));
    EXPECT_FALSE(bridge.isWindowFullScreen(id(front)));
    EXPECT_TRUE(bridge.canReach(id(front)));
}

TEST_F(AXWindowBridgeTest, HidingActsOnEveryApplicationOfTheBundle) {
    const sim::Pid regular = launch(editor);
    const sim::Pid accessory = launchAccessory(editor);
    const sim::Pid other = launch(browser);

    EXPECT_FALSE(bridge.isApplicationHidden(editor));
    desktop->hide(accessory);
    EXPECT_TRUE(bridge.isApplicationHidden(editor));

    bridge.setHidden(true, editor);
    EXPECT_TRUE(desktop->application(regular)->hidden);
    EXPECT_FALSE(desktop->application(other)->hidden);
    bridge.setHidden(false, editor);
    EXPECT_FALSE(desktop->application(regular)->hidden);
    EXPECT_FALSE(desktop->application(accessory)->hidden);
    EXPECT_FALSE(bridge.isApplicationHidden(editor));
    EXPECT_FALSE(bridge.isApplicationHidden("com.example.none"));
}

// ---- Focus and activation

TEST_F(AXWindowBridgeTest, FocusMakesTheWindowMainAndActivatesItsApplication) {
    const sim::Pid editorPid = launch(editor);
    const sim::Pid browserPid = launch(browser, true);
    const auto window = open(editorPid, CGRect(0, 30, 800, 600));
    open(editorPid, CGRect(0, 30, 800, 600));
    open(browserPid, CGRect(0, 30, 800, 600));
    bridge.windows();

    desktop->clearAccessCalls();
    bridge.focus(id(window));

    const std::vector<std::string> sequence = writes();
    ASSERT_GE(sequence.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(sequence.begin(), sequence.begin() + 3),
              (std::vector<std::string>{"AXMain=true", "AXFocused=true", "AXFrontmost=true"}));
    EXPECT_EQ(desktop->frontmost(), editorPid);
    EXPECT_EQ(desktop->focusedWindow(editorPid), window);
    EXPECT_EQ(desktop->windows().front().number, window);
    EXPECT_EQ(traced,
              std::vector<std::string>{"activating com.example.editor (attempt 1, request 1)"});
    EXPECT_EQ(bridge.focusGeneration(), 1);

    // In front now: the retry finds nothing to do.
    clock.advance(1);
    EXPECT_EQ(traced.size(), 1u);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(AXWindowBridgeTest, FocusInTheFrontApplicationMakesNoAttemptButCounts) {
    const sim::Pid pid = launch(editor, true);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    bridge.windows();

    bridge.focus(id(window));
    EXPECT_TRUE(traced.empty());
    EXPECT_EQ(bridge.focusGeneration(), 1);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(AXWindowBridgeTest, SlowApplicationGetsThreeAttemptsApart) {
    const auto [pid, window] = slowWindowInTheBack();

    bridge.focus(window);
    EXPECT_EQ(traced.size(), 1u);
    clock.advance(0.149);
    EXPECT_EQ(traced.size(), 1u);
    clock.advance(0.001);
    EXPECT_EQ(traced.size(), 2u);
    clock.advance(0.15);
    clock.advance(10);
    EXPECT_EQ(traced, (std::vector<std::string>{
                          "activating com.example.editor (attempt 1, request 1)",
                          "activating com.example.editor (attempt 2, request 1)",
                          "activating com.example.editor (attempt 3, request 1)",
                      }));
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(AXWindowBridgeTest, RetryStopsOnceTheApplicationAnswersAsFrontmost) {
    const auto [pid, window] = slowWindowInTheBack();

    bridge.focus(window);
    desktop->setResponseDelay(pid, 0);
    clock.advance(1);
    EXPECT_EQ(traced.size(), 1u);
}

TEST_F(AXWindowBridgeTest, NewerFocusRequestEndsTheOlderRetries) {
    const sim::Pid pid = launch(editor);
    const sim::Pid other = launch(browser);
    launch("com.example.front", true);
    const auto first = open(pid, CGRect(0, 30, 800, 600));
    const auto second = open(other, CGRect(0, 30, 800, 600));
    bridge.windows();
    desktop->setResponseDelay(pid, 1.0);
    desktop->setResponseDelay(other, 1.0);

    bridge.focus(id(first));
    clock.advance(0.1);
    bridge.focus(id(second));
    clock.advance(10);

    EXPECT_EQ(traced, (std::vector<std::string>{
                          "activating com.example.editor (attempt 1, request 1)",
                          "activating com.example.browser (attempt 1, request 2)",
                          "activating com.example.browser (attempt 2, request 2)",
                          "activating com.example.browser (attempt 3, request 2)",
                      }));
}

// The retries are for an activation that did not take; one that took and then lost the front
// to another application, or lost it before it took, was overruled by someone.
class ActivationChoiceTest : public AXWindowBridgeTest {
  protected:
    ActivationChoiceTest() {
        asked = launch(editor);
        front = launch(browser, true);
        other = launch("com.example.viewer");
        window = id(open(asked, CGRect(0, 30, 800, 600)));
        bridge.windows();
    }
    /// The one attempt, then the line that says who came to the front instead.
    std::vector<std::string> givenUpFor(const std::string& chosen) const {
        return {"activating com.example.editor (attempt 1, request 1)",
                "activation of com.example.editor given up (request 1): " + chosen +
                    " came to the front"};
    }

    sim::Pid asked = 0;
    sim::Pid front = 0;
    sim::Pid other = 0;
    WindowID window;
};

TEST_F(ActivationChoiceTest, AnotherApplicationBroughtToTheFrontMeanwhileStaysThere) {
    bridge.focus(window);
    ASSERT_EQ(desktop->frontmost(), asked);
    clock.advance(0.1);
    desktop->activate(other);
    clock.advance(1);
    EXPECT_EQ(traced, givenUpFor("com.example.viewer"));
    EXPECT_EQ(desktop->frontmost(), other);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(ActivationChoiceTest, TheFormerFrontApplicationTakingTheFrontBackStaysThere) {
    bridge.focus(window);
    ASSERT_EQ(desktop->frontmost(), asked);
    desktop->activate(front);
    clock.advance(1);
    EXPECT_EQ(traced, givenUpFor(browser));
    EXPECT_EQ(desktop->frontmost(), front);
}

TEST_F(ActivationChoiceTest, OurOwnWindowBringingUsToTheFrontIsAChoiceToo) {
    bridge.focus(window);
    desktop->activate(ownPid);
    clock.advance(1);
    EXPECT_EQ(traced, givenUpFor(ownBundleID));
    EXPECT_EQ(desktop->frontmost(), ownPid);
}

TEST_F(ActivationChoiceTest, ADroppedActivationIsTriedAgainUntilOneTakes) {
    desktop->setDeclinesActivation(asked, true);
    bridge.focus(window);
    clock.advance(0.15);
    EXPECT_EQ(desktop->frontmost(), front) << "the dropped activation is not dropped";
    EXPECT_EQ(traced.size(), 2u);
    desktop->setDeclinesActivation(asked, false);
    clock.advance(0.15);
    EXPECT_EQ(desktop->frontmost(), asked);
    clock.advance(1);
    EXPECT_EQ(traced, (std::vector<std::string>{
                          "activating com.example.editor (attempt 1, request 1)",
                          "activating com.example.editor (attempt 2, request 1)",
                          "activating com.example.editor (attempt 3, request 1)",
                      }));
}

TEST_F(ActivationChoiceTest, AChoiceBeforeTheActivationTookEndsTheRetriesAsWell) {
    desktop->setDeclinesActivation(asked, true);
    bridge.focus(window);
    desktop->activate(other);
    clock.advance(1);
    EXPECT_EQ(traced, givenUpFor("com.example.viewer"));
    EXPECT_EQ(desktop->frontmost(), other);
}

TEST_F(ActivationChoiceTest, TheBridgeListensForTheFrontOnlyWhileRetriesMayCome) {
    NSNotificationCenter& workspace = NSWorkspace::sharedWorkspace().notificationCenter();
    const std::size_t listening = workspace.observerCount();
    desktop->setDeclinesActivation(asked, true);
    bridge.focus(window);
    EXPECT_EQ(workspace.observerCount(), listening + 1);
    clock.advance(1);
    EXPECT_EQ(workspace.observerCount(), listening) << "after the last attempt";

    desktop->setDeclinesActivation(asked, false);
    bridge.focus(window);
    clock.advance(1);
    EXPECT_EQ(workspace.observerCount(), listening) << "after the activation took";

    {
        AXWindowBridge released{Config()};
        released.windows();
        desktop->activate(front);
        released.focus(window);
        EXPECT_EQ(workspace.observerCount(), listening + 1);
    }
    EXPECT_EQ(workspace.observerCount(), listening) << "once the bridge is gone";
    clock.advance(1);
}

TEST_F(AXWindowBridgeTest, TerminatedApplicationIsNotRetriedAndNamelessOneIsNamedByPid) {
    sim::ApplicationSpec anonymous;
    anonymous.bundleID = std::nullopt;
    const sim::Pid pid = desktop->launch(anonymous);
    launch(browser, true);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    // A window of an application without a bundle identifier is never scanned: adopt it.
    const AXUIElementRef element = std::make_shared<AXUIElement>(desktop->window(window)->element);
    ASSERT_TRUE(bridge.adopt(element, "com.example.nameless"));
    desktop->setResponseDelay(pid, 1.0);

    bridge.focus(id(window));
    desktop->terminate(pid);
    clock.advance(1);
    EXPECT_EQ(traced, std::vector<std::string>{"activating pid " + std::to_string(pid) +
                                               " (attempt 1, request 1)"});
}

TEST_F(AXWindowBridgeTest, RetryOfAReleasedBridgeDoesNothing) {
    const auto [pid, window] = slowWindowInTheBack();
    auto released = std::make_unique<AXWindowBridge>(Config());
    desktop->setResponseDelay(pid, 0);
    released->windows();
    desktop->setResponseDelay(pid, 1.0);
    int lines = 0;
    released->trace = [&](const std::string&) { ++lines; };
    released->focus(window);
    released.reset();
    clock.advance(1);
    EXPECT_EQ(lines, 1);
}

// ---- The messaging timeout

TEST_F(AXWindowBridgeTest, EveryCallOnAnotherApplicationRunsUnderTheMessagingTimeout) {
    const sim::Pid pid = launch(editor);
    launch(browser, true);
    const auto window = open(pid, CGRect(0, 30, 800, 600));
    desktop->setEnhancedUserInterface(pid, true);
    bridge.windows();
    bridge.windows(editor);
    bridge.frame(id(window));
    bridge.setFrame(CGRect(0, 30, 500, 500), id(window));
    bridge.setPosition(CGPoint{10, 40}, id(window));
    bridge.raise(id(window));
    bridge.setMinimized(false, id(window));
    bridge.isWindowMinimized(id(window));
    bridge.isWindowFullScreen(id(window));
    bridge.canReach(id(window));
    bridge.focus(id(window));
    desktop->setListedInAXWindows(window, false);
    bridge.windows();

    std::size_t timed = 0;
    for (const sim::AccessCall& call : desktop->accessCalls()) {
        using Kind = sim::AccessCall::Kind;
        if (call.kind == Kind::copyAttribute || call.kind == Kind::copyAttributes ||
            call.kind == Kind::setAttribute || call.kind == Kind::isAttributeSettable ||
            call.kind == Kind::performAction) {
            EXPECT_DOUBLE_EQ(call.timeout, 0.25) << call.name;
            ++timed;
        }
    }
    EXPECT_GT(timed, 20u);
}

// ---- The window server's list

TEST_F(AXWindowBridgeTest, OnScreenWindowsComeFrontToBack) {
    const sim::Pid pid = launch(editor);
    const auto back = open(pid, CGRect(0, 30, 800, 600));
    const auto front = open(pid, CGRect(10, 40, 300, 200));
    const auto hidden = open(pid, CGRect(0, 30, 800, 600));
    desktop->setMinimized(hidden, true);
    sim::WindowSpec panel;
    panel.layer = 3;
    const auto above = open(pid, CGRect(5, 35, 100, 100), panel);

    const std::vector<ScreenWindow> windows = ScreenWindows::onScreen();
    std::vector<ScreenWindow> ours;
    std::copy_if(windows.begin(), windows.end(), std::back_inserter(ours),
                 [&](const ScreenWindow& window) { return window.pid == pid; });
    EXPECT_EQ(ours, (std::vector<ScreenWindow>{
                        {id(above), CGRect(5, 35, 100, 100), 3, pid},
                        {id(front), CGRect(10, 40, 300, 200), 0, pid},
                        {id(back), CGRect(0, 30, 800, 600), 0, pid},
                    }));
}

}  // namespace
}  // namespace kelvo
