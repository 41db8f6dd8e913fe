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
    coordinator->claimFocus(WindowID(2), true);
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
    coordinator->claimFocus(WindowID(2), true);
    settle(1.3);
    EXPECT_THAT(decisions(), ElementsAre("  FOCUS DID NOT LAND: asked for com.example.other, but "
                                         "nothing still has the keyboard. The border is pointing "
                                         "at a window that cannot be typed into."));
}

TEST_F(FocusTest, ALaterClaimSilencesTheFirstVerification) {
    platform.front = "com.example.zzz";
    coordinator->claimFocus(WindowID(2), true);
    settle(0.5);
    coordinator->claimFocus(WindowID(1), true);
    settle(0.8);
    EXPECT_THAT(decisions(), IsEmpty());
}

TEST_F(FocusTest, AClaimOfAnOwnOrUnnamedWindowSchedulesNoVerification) {
    coordinator->appNames.erase(WindowID(2));
    const std::size_t pending = clock.pendingCount();
    coordinator->claimFocus(WindowID(2), true);
    coordinator->ownBundleID = "com.example.app";
    coordinator->claimFocus(WindowID(1), true);
    // What is due now (the application updating its windows after the border moved) runs;
    // a verification would still wait.
    clock.runUntilIdle();
    EXPECT_LE(clock.pendingCount(), pending + 1);
    settle(2);
    EXPECT_THAT(decisions(), IsEmpty());
}

TEST_F(FocusTest, AnExpectedActivationOfAnUnmanagedWindowChangesNothing) {
    coordinator->store->expectActivation("com.example.third");
    const auto before = coordinator->focused;
    coordinator->eventActivated(WindowID(40), std::string("com.example.third"));
    EXPECT_EQ(coordinator->focused, before);
    EXPECT_THAT(decisions(), ElementsAre("event activated win#40 ? com.example.third",
                                         "  expected - com.example.third is what Kelvo asked "
                                         "for; nothing to decide"));
}

TEST_F(FocusTest, AnActivationOfAnApplicationLivingOnAnotherDesktopIsFollowed) {
    coordinator->acceptFocus(WindowID(2));
    coordinator->dispatch(Command::throwTo(3));
    settle();
    coordinator->dispatch(Command::switchTo(1));
    settle();
    coordinator->hud->log.clear();
    markLog();
    coordinator->eventActivated(WindowID(2), std::string("com.example.other"));
    settle();
    EXPECT_EQ(coordinator->store->activeDesktop(), 3);
    EXPECT_EQ(coordinator->focused, WindowID(2));
    EXPECT_THAT(decisions(),
                Contains("  com.example.other lives on desktop 3 - following it there rather than "
                         "bringing win#2 com.example.other here"));
    EXPECT_THAT(coordinator->hud->log.requests(), ElementsAre("show(3)"));
}

TEST_F(FocusTest, AForeignApplicationInFrontStandsTheBorderDownUntilFocusComesBack) {
    coordinator->config.hideFocusBorderOnForeignFront = true;
    coordinator->acceptFocus(WindowID(1));
    ASSERT_TRUE(coordinator->focusBorder->panel.isVisible());
    coordinator->eventActivated(std::nullopt, std::string("com.example.foreign"));
    EXPECT_TRUE(coordinator->frontIsForeign);
    EXPECT_FALSE(coordinator->focusBorder->panel.isVisible());
    EXPECT_THAT(decisions(),
                Contains("  com.example.foreign is in front and Kelvo manages nothing of it here "
                         "- the border and the menu bar name stand down until focus comes back"));
    markLog();
    coordinator->eventActivated(std::nullopt, std::string("com.example.second"));
    EXPECT_EQ(coordinator->foreignFrontBundleID, "com.example.second");
    EXPECT_THAT(decisions(), Not(Contains(::testing::HasSubstr("stand down"))));
    coordinator->eventFocused(WindowID(1));
    EXPECT_FALSE(coordinator->frontIsForeign);
    EXPECT_TRUE(coordinator->focusBorder->panel.isVisible());
}

TEST_F(FocusTest, ReseedingWithNothingOnTheDesktopClearsTheFocus) {
    coordinator->dispatch(Command::switchTo(5));
    settle();
    EXPECT_FALSE(coordinator->focused.has_value());
    EXPECT_FALSE(coordinator->focusBorder->panel.isVisible());
}

TEST_F(FocusTest, TheSettingsWindowLeavesWithItsDesktopAndEndsARecording) {
    coordinator->showSettings();
    coordinator->settingsWindow->model.beginRecording();
    ASSERT_TRUE(coordinator->recordingShortcut);
    markLog();
    coordinator->dispatch(Command::switchTo(2));
    EXPECT_FALSE(coordinator->settingsWindow->window->visible);
    EXPECT_FALSE(coordinator->recordingShortcut);
    EXPECT_THAT(decisions(), Contains("  the settings window belongs to desktop 1 - hiding it "
                                      "until you go back there"));
    coordinator->dispatch(Command::switchTo(1));
    EXPECT_TRUE(coordinator->settingsWindow->window->visible);
    EXPECT_THAT(decisions(),
                Contains("  the settings window belongs to desktop 1 - showing it again"));
}

TEST_F(FocusTest, TheGuideLeavesWithItsDesktopToo) {
    coordinator->showGuide();
    markLog();
    coordinator->dispatch(Command::switchTo(4));
    EXPECT_FALSE(coordinator->guideWindow->window->visible);
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
    coordinator->showSettings();
    coordinator->showGuide();
    coordinator->showSettings();
    coordinator->settingsWindow->close();
    EXPECT_THAT(platform.requests,
                ::testing::ElementsAre("policy(regular)", "setMainMenu", "activateSelf"));
    coordinator->guideWindow->close();
    EXPECT_EQ(platform.requests.back(), "policy(accessory)");
    EXPECT_EQ(coordinator->presence->openWindows(), 0);
}

}  // namespace
}  // namespace kelvo
