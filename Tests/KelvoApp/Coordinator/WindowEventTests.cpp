#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoApp/Input/FocusBorder.h"
#include "Support/KelvoApp/CoordinatorFixture.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

class WindowEventTest : public CoordinatorFixture {
  protected:
    void SetUp() override {
        window(1, CGRect(0, 25, 800, 600));
        ASSERT_TRUE(start());
        settle();
        markLog();
    }
    bool managed(std::uint32_t raw) {
        return coordinator->storeWiring.store().desktop(WindowID(raw)).has_value();
    }
};

TEST_F(WindowEventTest, ATiledWindowReadableAtOnceIsAdoptedWithoutASuffix) {
    window(2, CGRect(100, 100, 700, 500));
    bridge->elements.insert(WindowID(2));
    coordinator->windowEvents.eventCreated(WindowID(2), std::string("com.example.app"),
                                           std::nullopt);
    EXPECT_TRUE(managed(2));
    // The store tells the adopted hook inside the adoption, before the adoption's own line.
    EXPECT_THAT(decisions(), ElementsAre("event created win#2 ?", "adopt win#2 com.example.app"));
    EXPECT_THAT(events->tracked, ElementsAre(WindowID(2)));
}

TEST_F(WindowEventTest, AFloatingWindowIsAdoptedOnItsFourthRung) {
    window(2, CGRect(100, 100, 300, 200)).floating();
    coordinator->windowEvents.eventCreated(WindowID(2), std::string("com.example.app"),
                                           std::nullopt);
    settle(0.15 + 0.3);
    EXPECT_FALSE(managed(2));
    settle(0.6);
    EXPECT_TRUE(managed(2));
    EXPECT_THAT(decisions(), Contains("adopt win#2 com.example.app floating (on re-read 3)"));
    EXPECT_THAT(decisions(), Contains("adopted win#2 com.example.app has no element to observe - "
                                      "its close will not be heard"));
}

TEST_F(WindowEventTest, AFixedSizeStandardWindowIsReadOnceMore) {
    auto& w = window(2, CGRect(100, 100, 300, 200)).floating();
    w.record.floatingMayBeEarly = true;
    coordinator->windowEvents.eventCreated(WindowID(2), std::nullopt, std::nullopt);
    settle(0.15 + 0.3 + 0.6);
    EXPECT_FALSE(managed(2));
    settle(1.2);
    EXPECT_TRUE(managed(2));
    EXPECT_THAT(decisions(), Contains("adopt win#2 com.example.app floating (on re-read 4)"));
}

TEST_F(WindowEventTest, AWindowThatKeepsRefusingToMoveIsGivenUpAfterThreeReReads) {
    bridge->ignoredForNow.insert(WindowID(3));
    coordinator->windowEvents.eventCreated(WindowID(3), std::string("com.example.app"),
                                           std::nullopt);
    settle(2);
    EXPECT_FALSE(managed(3));
    EXPECT_THAT(decisions(), ElementsAre("event created win#3 ?",
                                         "  win#3 ? still refuses to be moved after 3 re-read(s) "
                                         "- left unmanaged"));
}

TEST_F(WindowEventTest, AnAbsentWindowOfACreatedEventIsGivenUpSilently) {
    coordinator->windowEvents.eventCreated(WindowID(3), std::string("com.example.app"),
                                           std::nullopt);
    settle(2);
    EXPECT_THAT(decisions(), ElementsAre("event created win#3 ?"));
}

TEST_F(WindowEventTest, AWindowDestroyedBetweenRungsIsNotAdopted) {
    window(2, CGRect(100, 100, 300, 200)).floating();
    coordinator->windowEvents.eventCreated(WindowID(2), std::string("com.example.app"),
                                           std::nullopt);
    settle(0.2);
    coordinator->windowEvents.eventDestroyed(WindowID(2));
    settle(2);
    EXPECT_FALSE(managed(2));
    EXPECT_THAT(decisions(),
                Contains("  win#2 ? was destroyed while Kelvo was still re-reading it - the "
                         "adoption stops here rather than sweeping for a window that is gone"));
}

TEST_F(WindowEventTest, ASecondCreatedEventWhileReReadingStartsNothing) {
    window(2, CGRect(100, 100, 300, 200)).floating();
    coordinator->windowEvents.eventCreated(WindowID(2), std::string("com.example.app"),
                                           std::nullopt);
    coordinator->windowEvents.eventCreated(WindowID(2), std::string("com.example.app"),
                                           std::nullopt);
    EXPECT_THAT(decisions(), Contains("  win#2 ? is already being re-read - not starting a "
                                      "second adoption for it"));
}

TEST_F(WindowEventTest, AWindowCreatedUnderAHeldButtonIsAdoptedOnRelease) {
    window(2, CGRect(100, 100, 700, 500));
    platform.leftButtonDown = true;
    coordinator->windowEvents.eventCreated(WindowID(2), std::string("com.example.app"),
                                           std::nullopt);
    settle(0.35);
    EXPECT_FALSE(managed(2));
    platform.leftButtonDown = false;
    settle(0.1);
    EXPECT_TRUE(managed(2));
    EXPECT_THAT(decisions(),
                ElementsAre("event created win#2 ?",
                            "  win#2 ? appeared under a held mouse button - adopting it on "
                            "release",
                            "adopted win#2 com.example.app has no element to observe - its "
                            "close will not be heard",
                            "adopt win#2 com.example.app"));
}

TEST_F(WindowEventTest, AWindowFocusedBeforeItsCreationIsHonouredOnAdoption) {
    window(2, CGRect(100, 100, 700, 500));
    platform.front = "com.example.app";
    coordinator->focus.eventFocused(WindowID(2));
    EXPECT_EQ(coordinator->focus.pendingFocus(), WindowID(2));
    coordinator->windowEvents.eventCreated(WindowID(2), std::string("com.example.app"),
                                           std::nullopt);
    EXPECT_EQ(coordinator->focus.focused(), WindowID(2));
    EXPECT_FALSE(coordinator->focus.pendingFocus().has_value());
    EXPECT_THAT(decisions(), Contains("  win#2 com.example.app was focused before it was known - "
                                      "honouring that now"));
}

TEST_F(WindowEventTest, AFocusedUnknownWindowIsAdoptedLateWhenNeverAnnounced) {
    window(2, CGRect(100, 100, 700, 500));
    platform.front = "com.example.other";
    coordinator->focus.eventFocused(WindowID(2));
    settle(1.5);
    EXPECT_TRUE(managed(2));
    EXPECT_THAT(decisions(),
                ElementsAre("event focused win#2 ?",
                            "  win#2 ? was focused but never announced as created - adopting it "
                            "late",
                            "adopted win#2 com.example.app has no element to observe - its "
                            "close will not be heard",
                            "adopt win#2 com.example.app",
                            "  win#2 com.example.app was focused within its application, which "
                            "is not in front - adopted without moving the border"));
}

TEST_F(WindowEventTest, ACreatedEventOfAManagedWindowIsOnlyLogged) {
    coordinator->windowEvents.eventCreated(WindowID(1), std::nullopt, std::nullopt);
    EXPECT_THAT(decisions(),
                ElementsAre("event created win#1 com.example.app - already managed, nothing to "
                            "adopt"));
}

TEST_F(WindowEventTest, AnElementThatReadsIsAdoptedFromIt) {
    ManagedWindow record{WindowID(4), "com.example.app", CGRect(10, 30, 700, 500)};
    bridge->adoptable[WindowID(4)] = record;
    window(4, CGRect(10, 30, 700, 500));
    const int scans = bridge->windowsCalls;
    coordinator->windowEvents.eventCreated(WindowID(4), std::string("com.example.app"),
                                           WindowElementRef(WindowID(4)));
    EXPECT_TRUE(managed(4));
    EXPECT_EQ(bridge->windowsCalls, scans);
}

TEST_F(WindowEventTest, WindowsGoneWithoutACloseAreTakenOutOnTheNextFreshRead) {
    bridge->gone = {WindowID(1)};
    window(2, CGRect(100, 100, 700, 500));
    coordinator->windowEvents.eventCreated(WindowID(2), std::nullopt, std::nullopt);
    EXPECT_FALSE(managed(1));
    EXPECT_THAT(decisions(), Contains("win#1 com.example.app no longer exists, and no close was "
                                      "ever reported for it - taking it out of the layout"));
}

TEST_F(WindowEventTest, RetainedWindowsAreReportedOnAFreshRead) {
    bridge->fake.window(WindowID(1)).retainedOnly();
    coordinator->windowEvents.eventCreated(WindowID(9), std::nullopt, std::nullopt);
    EXPECT_THAT(decisions(), Contains("sweep: kept win#1 com.example.app - absent from AXWindows "
                                      "but still alive, so Kelvo keeps the handle it already had "
                                      "rather than losing the window for good"));
}

TEST_F(WindowEventTest, CloseWithASuccessorOfTheSameApplication) {
    window(2, CGRect(100, 100, 700, 500));
    coordinator->windowEvents.eventCreated(WindowID(2), std::string("com.example.app"),
                                           std::nullopt);
    settle();
    coordinator->focus.eventFocused(WindowID(2));
    markLog();
    coordinator->windowEvents.eventDestroyed(WindowID(2));
    settle();
    EXPECT_FALSE(managed(2));
    EXPECT_EQ(coordinator->focus.focused(), WindowID(1));
    const auto lines = decisions();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "event destroyed win#2 com.example.app");
}

TEST_F(WindowEventTest, CloseWithASuccessorOfAnotherApplicationClaimsIt) {
    window(2, CGRect(100, 100, 700, 500), "com.example.other");
    coordinator->windowEvents.eventCreated(WindowID(2), std::string("com.example.other"),
                                           std::nullopt);
    settle();
    coordinator->focus.eventFocused(WindowID(2));
    markLog();
    coordinator->windowEvents.eventDestroyed(WindowID(2));
    settle();
    EXPECT_EQ(coordinator->focus.focused(), WindowID(1));
    const auto lines = decisions();
    EXPECT_THAT(lines, Contains(::testing::AnyOf(
                           "  after the close: claiming win#1 com.example.app",
                           "  after the close: win#1 com.example.app is the likely successor - "
                           "its application is choosing, so it is recorded rather than focused")));
}

TEST_F(WindowEventTest, MinimizeRestoreAndTerminate) {
    coordinator->windowEvents.eventMinimized(WindowID(1));
    coordinator->windowEvents.eventUnminimized(WindowID(1));
    coordinator->windowEvents.eventMinimized(WindowID(9));
    coordinator->windowEvents.eventTerminated(std::string("com.example.app"));
    coordinator->windowEvents.eventTerminated(std::nullopt);
    EXPECT_THAT(
        decisions(),
        ElementsAre("event minimized win#1 com.example.app - left in the Dock, pane kept, "
                    "not written to",
                    "event restored win#1 com.example.app", "event terminated com.example.app"));
}

TEST_F(WindowEventTest, HideAndUnhideReachTheStore) {
    platform.hidden(std::string("com.example.app"));
    platform.unhidden(std::string("com.example.app"));
    platform.hidden(std::nullopt);
    EXPECT_THAT(decisions(), ElementsAre("com.example.app hidden by the user - left hidden, its "
                                         "panes kept",
                                         "  focus border hidden: win#1 com.example.app is hidden",
                                         "com.example.app unhidden"));
}

TEST_F(WindowEventTest, TheBorderWaitsForTheLastOfThreeMoves) {
    // A floating window: its moves schedule no layout pass that would refresh the border.
    coordinator->storeWiring.store().toggleFloat(WindowID(1), std::nullopt);
    settle();
    coordinator->focus.acceptFocus(WindowID(1));
    ASSERT_TRUE(coordinator->border.isShown());
    for (int i = 0; i < 3; ++i) {
        coordinator->windowEvents.eventMoved(WindowID(1));
        EXPECT_FALSE(coordinator->border.isShown());
        settle(0.05);
    }
    settle(0.05);
    EXPECT_FALSE(coordinator->border.isShown());
    settle(0.03);
    EXPECT_TRUE(coordinator->border.isShown());
    ASSERT_TRUE(borderWindow().has_value());
    EXPECT_TRUE(borderWindow()->onScreen);
}

TEST_F(WindowEventTest, AMoveOfAWindowSeenInFullScreenAdoptsIt) {
    window(6, CGRect(100, 100, 700, 500));
    bridge->fullScreenSeen.insert(WindowID(6));
    coordinator->windowEvents.eventMoved(WindowID(6));
    EXPECT_TRUE(managed(6));
    EXPECT_THAT(decisions(), Contains("win#6 ? was full screen when Kelvo first saw it and has "
                                      "moved - adopting it now"));
}

TEST_F(WindowEventTest, AnActivationSweepAdoptsWhatItCanAndThenRestsUntilTheSetChanges) {
    window(7, CGRect(100, 100, 700, 500), "com.example.sweep");
    coordinator->focus.eventActivated(std::nullopt, std::string("com.example.sweep"));
    EXPECT_TRUE(managed(7));
    const auto lines = decisions();
    EXPECT_THAT(lines, Contains("  com.example.sweep is in front, named no window, and Kelvo "
                                "manages none of its 1 window(s) - adopting what can be adopted"));
}

TEST_F(WindowEventTest, ASweepOfAnUnchangedSetDoesNothing) {
    coordinator->focus.eventActivated(std::nullopt, std::string("com.example.none"));
    EXPECT_THAT(decisions(),
                Contains("  com.example.none is in front and Kelvo manages nothing of it - it "
                         "has no windows at all, so nothing is read for it again until that "
                         "changes"));
    markLog();
    coordinator->focus.eventActivated(std::nullopt, std::string("com.example.none"));
    for (const std::string& line : decisions()) {
        EXPECT_THAT(line, Not(::testing::HasSubstr("manages nothing of it - it has")));
    }
}

}  // namespace
}  // namespace kelvo
