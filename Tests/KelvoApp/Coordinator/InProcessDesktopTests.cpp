#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>

#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoApp/System/AXWindowEvents.h"
#include "KelvoApp/System/FrameworkPlatform.h"
#include "KelvoApp/System/QuartzEventTaps.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/Quartz/CGEvent.h"
#include "Support/KelvoApp/CoordinatorHarness.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

/// The whole system in-process: the coordinator over the framework stand-ins, the real
/// bridge and event stream, against a simulated desktop on the manual clock.
class InProcessDesktopTest : public DesktopFixture, protected CoordinatorHarness {
  protected:
    ~InProcessDesktopTest() override { stopCoordinator(); }

    bool startSystem() {
        CoordinatorProcess process;
        process.platform = &platform;
        process.taps = &taps;
        process.makeBridge = [](const Config& config) {
            return std::make_shared<AXWindowBridge>(config);
        };
        process.makeEvents = [](AXWindowEvents::Handler handle) {
            return std::make_unique<AXWindowEvents>(std::move(handle));
        };
        return startCoordinator(std::move(process));
    }
    /// Lets the event stream's thread hand over what it has and runs it.
    void pump(double seconds = 1.0) {
        for (int i = 0; i < 20; ++i) {
            clock.waitForPending(1, 0.05);
            clock.advance(seconds / 20);
        }
    }
    CGRect frameOf(sim::WindowNumber number) { return desktop->window(number)->frame; }
    std::uint64_t flagsOf(const Chord& chord) {
        return (chord.option ? kCGEventFlagMaskAlternate : 0) |
               (chord.control ? kCGEventFlagMaskControl : 0) |
               (chord.command ? kCGEventFlagMaskCommand : 0) |
               (chord.shift ? kCGEventFlagMaskShift : 0);
    }
    void press(const Command& command) {
        const Chord chord = chordFor(command);
        desktop->pressKey(chord.keyCode, flagsOf(chord));
        pump(0.5);
    }

    FrameworkPlatform platform;
    QuartzEventTaps taps;
};

TEST_F(InProcessDesktopTest, StartUpTilesTheWindowsItFinds) {
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber a = open(editor, CGRect(10, 40, 500, 400));
    const sim::WindowNumber b = open(editor, CGRect(300, 200, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    EXPECT_EQ(coordinator->storeWiring.store().desktop(WindowID(a)), 1);
    EXPECT_EQ(coordinator->storeWiring.store().desktop(WindowID(b)), 1);
    // Side by side, filling the screen below the menu bar.
    EXPECT_NE(frameOf(a), CGRect(10, 40, 500, 400));
    EXPECT_EQ(frameOf(a).minY(), frameOf(b).minY());
    EXPECT_THAT(logLines(), Contains("adopted 2 existing window(s) at launch (0 restored from "
                                     "minimized), 0 re-read before adoption"));
}

TEST_F(InProcessDesktopTest, ANewWindowIsAdoptedFromItsCreatedEvent) {
    const sim::Pid editor = launch("com.example.editor", true);
    open(editor, CGRect(10, 40, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    markLog();
    const sim::WindowNumber b = open(editor, CGRect(300, 200, 600, 500));
    pump();
    EXPECT_EQ(coordinator->storeWiring.store().desktop(WindowID(b)), 1);
    EXPECT_THAT(decisions(), Contains("adopt win#" + std::to_string(b) + " com.example.editor"));
}

TEST_F(InProcessDesktopTest, ShortcutsSwitchAndThrowThroughTheKeyTap) {
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber a = open(editor, CGRect(10, 40, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    press(Command::switchTo(2));
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 2);
    EXPECT_TRUE(coordinator->storeWiring.store().isParked(WindowID(a)));
    EXPECT_GT(frameOf(a).minX(), 1000);
    press(Command::switchTo(1));
    EXPECT_FALSE(coordinator->storeWiring.store().isParked(WindowID(a)));
    EXPECT_LT(frameOf(a).minX(), 1000);
}

TEST_F(InProcessDesktopTest, ASignalPutsEveryParkedWindowBack) {
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber a = open(editor, CGRect(10, 40, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    press(Command::switchTo(3));
    ASSERT_GT(frameOf(a).minX(), 1000);
    coordinator->startup.signalReceived(SIGTERM);
    EXPECT_EQ(exitStatus, 0);
    EXPECT_LT(frameOf(a).minX(), 1000);
}

TEST_F(InProcessDesktopTest, AnUntrustedDesktopEndsWithStatusOne) {
    desktop->setTrusted(false);
    EXPECT_FALSE(startSystem());
    EXPECT_EQ(exitStatus, 1);
    EXPECT_EQ(standardOutput(), "Accessibility permission denied; quitting.\n");
}

TEST_F(InProcessDesktopTest, TheBorderIsAPanelOfTheDesktopAroundTheFocusedWindow) {
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber a = open(editor, CGRect(10, 40, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    ASSERT_EQ(coordinator->focus.focused(), WindowID(a));
    const auto border = static_cast<sim::WindowNumber>(coordinator->border.windowNumber());
    const auto rows = desktop->windowList(sim::windowListOnScreenOnly, 0);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().number, border);
    EXPECT_EQ(rows.front().ownerPID, ownPid);
    EXPECT_EQ(rows.front().layer, 3);
    EXPECT_EQ(rows.front().bounds, frameOf(a).insetBy(-1, -1));
    const auto look = desktop->ownWindow(border);
    ASSERT_TRUE(look.has_value());
    EXPECT_EQ(look->borderColour, (sim::Colour{1, 0x7A / 255.0, 0x60 / 255.0, 1}));
    EXPECT_EQ(look->borderWidth, 2);
    // Another desktop shows nothing to frame: the panel is ordered out.
    press(Command::switchTo(2));
    EXPECT_FALSE(desktop->window(border)->onScreen);
}

TEST_F(InProcessDesktopTest, AModifierClickLooksThroughTheBorderToTheWindowBelow) {
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber a = open(editor, CGRect(10, 40, 500, 400));
    ASSERT_TRUE(startSystem());
    pump();
    const CGPoint inside{frameOf(a).midX(), frameOf(a).midY()};
    ASSERT_TRUE(desktop->window(static_cast<sim::WindowNumber>(coordinator->border.windowNumber()))
                    ->frame.contains(inside));
    desktop->mouseDown(inside, kCGEventFlagMaskAlternate | kCGEventFlagMaskShift);
    desktop->mouseUp(inside, kCGEventFlagMaskAlternate | kCGEventFlagMaskShift);
    pump(0.5);
    EXPECT_TRUE(coordinator->storeWiring.store().isFloating(WindowID(a)));
}

// ---- The permission gate and the activation policy, through the application framework ----

class PermissionGateTest : public InProcessDesktopTest {
  protected:
    PermissionGateTest() {
        testMode = false;
        desktop->setTrusted(false);
        // The policy start-up finds; it makes the process an accessory before anything else.
        desktop->setActivationPolicy(ownPid, sim::ActivationPolicy::regular);
    }
    static sim::AlertSpec introduction() {
        return {"Kelvo needs Accessibility access",
                "Kelvo moves and arranges your windows, which macOS only allows with "
                "Accessibility access.\n\nClick Continue and macOS will ask you to allow it, "
                "and open System Settings → Privacy & Security → Accessibility. Switch Kelvo on "
                "there, then come back.",
                {"Continue", "Quit"}};
    }
    static sim::AlertSpec waiting() {
        return {"Waiting for Accessibility access",
                "Switch Kelvo on in System Settings → Privacy & Security → Accessibility, then "
                "click Done.",
                {"Done", "Quit"}};
    }
    sim::AlertRecord shown(const sim::AlertSpec& alert, sim::AlertAnswer answer) const {
        return sim::AlertRecord{ownPid, alert, answer};
    }
    void expectRefused() {
        EXPECT_EQ(exitStatus, 1);
        EXPECT_EQ(standardOutput(), "Accessibility permission denied; quitting.\n");
        EXPECT_EQ(desktop->application(ownPid)->activationPolicy, sim::ActivationPolicy::accessory);
    }
};

TEST_F(PermissionGateTest, ContinueAndDoneAfterSwitchingItOnStartsUp) {
    desktop->setGrantsTrustOnPrompt(true);
    desktop->answerAlerts({"Continue", "Done"});
    EXPECT_TRUE(startSystem());
    EXPECT_THAT(desktop->alerts(),
                ElementsAre(shown(introduction(), 1000), shown(waiting(), 1000)));
    EXPECT_EQ(desktop->trustPromptCount(), 1);
    EXPECT_EQ(desktop->application(ownPid)->activationPolicy, sim::ActivationPolicy::accessory);
}

TEST_F(PermissionGateTest, DoneBeforeSwitchingItOnQuits) {
    desktop->answerAlerts({"Continue", "Done"});
    EXPECT_FALSE(startSystem());
    EXPECT_THAT(desktop->alerts(),
                ElementsAre(shown(introduction(), 1000), shown(waiting(), 1000)));
    EXPECT_EQ(desktop->trustPromptCount(), 1);
    expectRefused();
}

TEST_F(PermissionGateTest, QuitInTheFirstAlertQuitsWithoutThePrompt) {
    desktop->answerAlerts({"Quit"});
    EXPECT_FALSE(startSystem());
    EXPECT_THAT(desktop->alerts(), ElementsAre(shown(introduction(), 1001)));
    EXPECT_EQ(desktop->trustPromptCount(), 0);
    expectRefused();
}

TEST_F(PermissionGateTest, QuitInTheSecondAlertQuitsEvenWhenTrustWasGranted) {
    desktop->setGrantsTrustOnPrompt(true);
    desktop->answerAlerts({"Continue", "Quit"});
    EXPECT_FALSE(startSystem());
    EXPECT_THAT(desktop->alerts(),
                ElementsAre(shown(introduction(), 1000), shown(waiting(), 1001)));
    EXPECT_EQ(desktop->trustPromptCount(), 1);
    expectRefused();
}

TEST_F(PermissionGateTest, InTestModeNoAlertIsShownAndNoPrompt) {
    testMode = true;
    desktop->answerAlerts({"Continue", "Done"});
    desktop->setGrantsTrustOnPrompt(true);
    EXPECT_FALSE(startSystem());
    EXPECT_THAT(desktop->alerts(), IsEmpty());
    EXPECT_EQ(desktop->trustPromptCount(), 0);
    expectRefused();
}

TEST_F(PermissionGateTest, TrustedStartsWithoutAlertsAsAnAccessory) {
    desktop->setTrusted(true);
    EXPECT_TRUE(startSystem());
    EXPECT_THAT(desktop->alerts(), IsEmpty());
    EXPECT_EQ(desktop->application(ownPid)->activationPolicy, sim::ActivationPolicy::accessory);
}

TEST_F(PermissionGateTest, AnOwnWindowMakesARegularApplicationWithItsMenu) {
    desktop->setTrusted(true);
    ASSERT_TRUE(startSystem());
    auto& app = NSApplication::sharedApplication();
    ASSERT_FALSE(app.mainMenu());
    coordinator->ownWindows.presence().windowOpened();
    EXPECT_EQ(desktop->application(ownPid)->activationPolicy, sim::ActivationPolicy::regular);
    EXPECT_EQ(desktop->frontmost(), ownPid);
    ASSERT_TRUE(app.mainMenu());
    const auto& menus = app.mainMenu()->itemArray();
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0]->title(), "");
    ASSERT_TRUE(menus[0]->submenu());
    const auto& appItems = menus[0]->submenu()->itemArray();
    ASSERT_EQ(appItems.size(), 6u);
    EXPECT_EQ(appItems[5]->title(), "Quit Kelvo");
    EXPECT_EQ(appItems[5]->action(), "terminate:");
    EXPECT_EQ(appItems[5]->keyEquivalent(), "q");
    EXPECT_TRUE(appItems[1]->isSeparatorItem());
    EXPECT_EQ(menus[1]->title(), "Edit");
    const auto& redo = menus[1]->submenu()->itemArray()[1];
    EXPECT_EQ(redo->title(), "Redo");
    EXPECT_EQ(redo->keyEquivalentModifierMask(),
              NSEventModifierFlagShift | NSEventModifierFlagCommand);
    coordinator->ownWindows.presence().windowClosed();
    EXPECT_EQ(desktop->application(ownPid)->activationPolicy, sim::ActivationPolicy::accessory);
    EXPECT_TRUE(app.mainMenu());
}

}  // namespace
}  // namespace kelvo
