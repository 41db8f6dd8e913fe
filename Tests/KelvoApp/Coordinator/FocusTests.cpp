#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "Support/KelvoApp/CoordinatorFixture.h"
#include "Support/KelvoApp/DecisionLog.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

class FocusTest : public CoordinatorFixture {
  protected:
    void SetUp() override { startWithTwoWindows(); }
};

TEST_F(FocusTest, AClaimThatDoesNotLandIsReportedAfterOnePointTwoSeconds) {
    platform.front = "com.example.app";
    coordinator->focus.claimFocus(WindowID(2), true);
    settle(1.19);
    EXPECT_THAT(decisions(), IsEmpty());
    settle(0.02);
    EXPECT_THAT(decisions(), ElementsAre("  FOCUS DID NOT LAND: asked for com.example.other, but "
                                         "com.example.app still has the keyboard. The border is "
                                         "pointing at a window that cannot be typed into."));
    EXPECT_EQ(bridge->fake.focusedWindow(), WindowID(2));
}

TEST_F(FocusTest, NothingInFrontIsNamedNothing) {
    platform.front.reset();
    coordinator->focus.claimFocus(WindowID(2), true);
    settle(1.3);
    EXPECT_THAT(decisions(), ElementsAre("  FOCUS DID NOT LAND: asked for com.example.other, but "
                                         "nothing still has the keyboard. The border is pointing "
                                         "at a window that cannot be typed into."));
}

TEST_F(FocusTest, ALaterClaimSilencesTheFirstVerification) {
    platform.front = "com.example.zzz";
    coordinator->focus.claimFocus(WindowID(2), true);
    settle(0.5);
    coordinator->focus.claimFocus(WindowID(1), true);
    settle(0.8);
    EXPECT_THAT(decisions(), IsEmpty());
}

TEST_F(FocusTest, AClaimOfAnUnnamedWindowSchedulesNoVerification) {
    platform.front = "com.example.app";
    coordinator->windowNames.forget(WindowID(2));
    const std::size_t pending = clock.pendingCount();
    coordinator->focus.claimFocus(WindowID(2), true);
    // What is due now (the application updating its windows after the border moved) runs;
    // a verification would still wait.
    clock.runUntilIdle();
    EXPECT_LE(clock.pendingCount(), pending + 1);
    settle(2);
    EXPECT_THAT(decisions(), IsEmpty());
}

/// The system's own bundle identifier is that of the first window's application.
class OwnApplicationFocusTest : public CoordinatorFixture {
  protected:
    void SetUp() override {
        platform.bundleID = "com.example.app";
        startWithTwoWindows();
    }
};

TEST_F(OwnApplicationFocusTest, AClaimOfAnOwnWindowSchedulesNoVerification) {
    platform.front = "com.example.other";
    const std::size_t pending = clock.pendingCount();
    coordinator->focus.claimFocus(WindowID(1), true);
    clock.runUntilIdle();
    EXPECT_LE(clock.pendingCount(), pending + 1);
    settle(2);
    EXPECT_THAT(decisions(), IsEmpty());
}

TEST_F(FocusTest, AnExpectedActivationOfAnUnmanagedWindowChangesNothing) {
    coordinator->storeWiring.store().expectActivation("com.example.third");
    const auto before = coordinator->focus.focused();
    coordinator->focus.eventActivated(WindowID(40), std::string("com.example.third"));
    EXPECT_EQ(coordinator->focus.focused(), before);
    EXPECT_THAT(decisions(), ElementsAre("event activated win#40 ? com.example.third",
                                         "  expected - com.example.third is what Kelvo asked "
                                         "for; nothing to decide"));
}

TEST_F(FocusTest, AnActivationOfAnApplicationLivingOnAnotherDesktopIsFollowed) {
    coordinator->focus.acceptFocus(WindowID(2));
    coordinator->commands.dispatch(Command::throwTo(3));
    settle();
    coordinator->commands.dispatch(Command::switchTo(1));
    settle();
    EXPECT_EQ(coordinator->ownWindows.desktopModel().occupied.get(), (std::set<int>{1, 3}));
    const int shown = coordinator->ownWindows.switchDisplay().generation();
    markLog();
    coordinator->focus.eventActivated(WindowID(2), std::string("com.example.other"));
    settle();
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 3);
    EXPECT_EQ(coordinator->focus.focused(), WindowID(2));
    EXPECT_THAT(decisions(),
                Contains("  com.example.other lives on desktop 3 - following it there rather than "
                         "bringing win#2 com.example.other here"));
    EXPECT_EQ(coordinator->ownWindows.switchDisplay().generation(), shown + 1);
    EXPECT_EQ(coordinator->ownWindows.switchDisplay().label->stringValue(), "3");
}

TEST_F(FocusTest, AForeignApplicationInFrontStandsTheBorderDownUntilFocusComesBack) {
    coordinator->configuration.store().update(
        [](Config& c) { c.hideFocusBorderOnForeignFront = true; });
    coordinator->focus.acceptFocus(WindowID(1));
    ASSERT_TRUE(coordinator->border.isShown());
    coordinator->focus.eventActivated(std::nullopt, std::string("com.example.foreign"));
    EXPECT_TRUE(coordinator->focus.frontIsForeign());
    EXPECT_FALSE(coordinator->border.isShown());
    EXPECT_THAT(decisions(),
                Contains("  com.example.foreign is in front and Kelvo manages nothing of it here "
                         "- the border and the menu bar name stand down until focus comes back"));
    markLog();
    coordinator->focus.eventActivated(std::nullopt, std::string("com.example.second"));
    EXPECT_THAT(decisions(), Not(Contains(::testing::HasSubstr("stand down"))));
    coordinator->focus.eventFocused(WindowID(1));
    EXPECT_FALSE(coordinator->focus.frontIsForeign());
    EXPECT_TRUE(coordinator->border.isShown());
}

TEST_F(FocusTest, ReseedingWithNothingOnTheDesktopClearsTheFocus) {
    coordinator->commands.dispatch(Command::switchTo(5));
    settle();
    EXPECT_FALSE(coordinator->focus.focused().has_value());
    EXPECT_FALSE(coordinator->border.isShown());
}

TEST_F(FocusTest, TheSettingsWindowLeavesWithItsDesktopAndEndsARecording) {
    coordinator->ownWindows.showSettings();
    coordinator->ownWindows.settingsWindow().model.beginRecording(Shortcut::focusLeft);
    ASSERT_TRUE(coordinator->commands.recordingShortcut());
    markLog();
    coordinator->commands.dispatch(Command::switchTo(2));
    EXPECT_FALSE(coordinator->ownWindows.settingsWindow().window->isVisible());
    EXPECT_FALSE(coordinator->commands.recordingShortcut());
    EXPECT_THAT(decisions(), Contains("  the settings window belongs to desktop 1 - hiding it "
                                      "until you go back there"));
    coordinator->commands.dispatch(Command::switchTo(1));
    EXPECT_TRUE(coordinator->ownWindows.settingsWindow().window->isVisible());
    EXPECT_THAT(decisions(),
                Contains("  the settings window belongs to desktop 1 - showing it again"));
}

TEST_F(FocusTest, TheGuideLeavesWithItsDesktopToo) {
    coordinator->ownWindows.showGuide();
    markLog();
    coordinator->commands.dispatch(Command::switchTo(4));
    EXPECT_FALSE(coordinator->ownWindows.guideWindow().window->isVisible());
    EXPECT_THAT(decisions(),
                Contains("  the guide belongs to desktop 1 - hiding it until you go back there"));
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

class PresenceTest : public CoordinatorFixture {};

TEST_F(PresenceTest, TheOwnWindowsPutTheApplicationInTheDockWhileOneIsOpen) {
    ASSERT_TRUE(start());
    platform.requests.clear();
    coordinator->ownWindows.showSettings();
    coordinator->ownWindows.showGuide();
    coordinator->ownWindows.showSettings();
    coordinator->ownWindows.settingsWindow().close();
    EXPECT_THAT(platform.requests,
                ::testing::ElementsAre("policy(regular)", "setMainMenu", "activateSelf"));
    coordinator->ownWindows.guideWindow().close();
    EXPECT_EQ(platform.requests.back(), "policy(accessory)");
    EXPECT_EQ(coordinator->ownWindows.presence().openWindows(), 0);
}

}  // namespace
}  // namespace kelvo
