#include <gtest/gtest.h>

#include "Support/KelvoCore/StoreFixture.h"

namespace kelvo {
namespace {

using Operation = FakeWindowBridge::Call::Operation;

class AuditPass : public StoreFixture {
  protected:
    void SetUp() override { makeStore(); }

    /// Each finding as "window reason/repair".
    std::vector<std::string> audit() {
        std::vector<std::string> found;
        for (const VisibilityFinding& f : store->auditActiveDesktop()) {
            found.push_back(std::to_string(f.id.raw) + " " + rawValue(f.reason) + "/" +
                            rawValue(f.repair));
        }
        return found;
    }
};

struct SliverRow {
    CGFloat x;
    std::vector<std::string> findings;
};

class OffScreenSliver : public AuditPass, public ::testing::WithParamInterface<SliverRow> {};

TEST_P(OffScreenSliver, AFloatingWindowOverlappingByOnePointIsOffScreen) {
    adopt(1, CGRect(GetParam().x, 100, 300, 200), /*floating=*/true);
    EXPECT_EQ(audit(), GetParam().findings);
}

INSTANTIATE_TEST_SUITE_P(Rows, OffScreenSliver,
                         ::testing::Values(SliverRow{999, {"1 offScreen/recentred"}},
                                           SliverRow{998.5, {}},
                                           SliverRow{-299, {"1 offScreen/recentred"}},
                                           SliverRow{-298.5, {}}));

struct PositionRow {
    CGRect read;
    std::vector<std::string> findings;
};

class IntendedPosition : public AuditPass, public ::testing::WithParamInterface<PositionRow> {};

TEST_P(IntendedPosition, OnlyThePositionIsComparedWithTheLayout) {
    adopt(1);
    adopt(2);
    bridge->clearCalls();
    bridge->scriptReads(WindowID(1), {GetParam().read});
    EXPECT_EQ(audit(), GetParam().findings);
    EXPECT_EQ(clock.pendingCount(), 0u) << "frameDisagrees repairs nothing and lays nothing out";
    EXPECT_TRUE(bridge->writeLog().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IntendedPosition,
    ::testing::Values(PositionRow{CGRect(0, 0, 500, 800), {}},
                      PositionRow{CGRect(1, 1, 500, 800), {}},
                      PositionRow{CGRect(1.5, 0, 500, 800), {"1 frameDisagrees/none"}},
                      PositionRow{CGRect(0, -1.5, 500, 800), {"1 frameDisagrees/none"}},
                      PositionRow{CGRect(0, 0, 300, 200), {}}));

TEST_F(AuditPass, AHiddenApplicationIsAskedOnceAndUnhiddenOnce) {
    adopt(1);
    adopt(2);
    adopt(3, CGRect(100, 100, 300, 200), false, "com.other");
    bridge->setApplicationHidden(FakeWindowBridge::defaultBundleID, true);
    bridge->clearCalls();
    EXPECT_EQ(audit(), std::vector<std::string>{"1 applicationHidden/unhidden"})
        << "the second window is judged with its application taken as shown";
    EXPECT_EQ(bridge->count(Operation::isApplicationHidden), 2u) << "once per application";
    EXPECT_EQ(bridge->writeLog(), std::vector<std::string>{"setHidden(false, com.example.app)"});
    EXPECT_EQ(clock.pendingCount(), 1u) << "an unhide asks for a layout pass";
}

TEST_F(AuditPass, TheEarlierReasonWinsAndTheMinimizedWindowComesBack) {
    adopt(1);
    adopt(2);
    ASSERT_TRUE(refuseUntilGivenUp(2));
    ASSERT_TRUE(store->isFloating(WindowID(2))) << "given up on";
    bridge->window(WindowID(2)).minimized();
    bridge->window(WindowID(1)).minimized();
    store->windowMinimized(WindowID(1));
    bridge->clearCalls();

    EXPECT_EQ(audit(),
              (std::vector<std::string>{"1 minimized/unminimized", "2 minimized/unminimized"}));
    EXPECT_EQ(bridge->writeLog(), (std::vector<std::string>{"setMinimized(false, win#1)",
                                                            "setMinimized(false, win#2)"}));
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::inTheDock).empty());
    EXPECT_EQ(store->state().windowsWhere(&WindowState::burstExempt),
              (std::set<WindowID>{WindowID(1), WindowID(2)}));
    EXPECT_FALSE(store->reconciler().unmanageable().count(WindowID(2))) << "forgotten";
}

TEST_F(AuditPass, AnOffScreenTiledWindowIsRearmedAndPlacedByTheNextPass) {
    adopt(1);
    store->switchTo(2, std::nullopt);
    settle();
    // Still recorded as parked although the desktop is shown again: the audit catches it.
    store->setActiveDesktop(1);
    recorder.clear();
    EXPECT_EQ(audit(), std::vector<std::string>{"1 offScreen/rearmed"});
    EXPECT_FALSE(store->isParked(WindowID(1)));
    settle();
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));
    EXPECT_EQ(recorder.of("onVisibilityFinding"),
              std::vector<std::string>{
                  "onVisibilityFinding(invisible window 1 (com.example.app) on desktop 1: all but "
                  "a sliver of it is off screen — it is still parked in the corner — re-armed it; "
                  "the next layout pass places it)"});
}

TEST_F(AuditPass, AnOffScreenFloatingWindowIsCentred) {
    adopt(1, CGRect(100, 100, 300, 200), /*floating=*/true);
    bridge->window(WindowID(1)).record.frame = CGRect(2000, 100, 300, 200);
    EXPECT_EQ(audit(), std::vector<std::string>{"1 offScreen/recentred"});
    EXPECT_EQ(frameOf(1), CGRect(350, 300, 300, 200));
}

TEST_F(AuditPass, UnreachableRetainedAndUnmanageableWindowsAreOnlyReported) {
    adopt(1);
    adopt(2);
    adopt(3);
    bridge->window(WindowID(1)).unreachable();
    bridge->window(WindowID(2)).retainedOnly();
    bridge->clearCalls();
    EXPECT_EQ(audit(), (std::vector<std::string>{"1 unreachable/none",
                                                 "2 absentFromWindowList/raisedOnReveal"}));
    EXPECT_EQ(bridge->count(Operation::frame), 2u) << "an unreachable window is not read";
    EXPECT_EQ(bridge->count(Operation::retainedWindows), 1u);
    EXPECT_TRUE(bridge->writeLog().empty());
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(AuditPass, NothingToShowReportsNothingAndLaysNothingOut) {
    EXPECT_TRUE(audit().empty());
    adopt(1);
    store->toggleShowDesktop();
    settle();
    bridge->clearCalls();
    EXPECT_TRUE(audit().empty());
    EXPECT_TRUE(bridge->calls().empty());
    EXPECT_EQ(clock.pendingCount(), 0u);
    EXPECT_FALSE(store->state().auditPending);
}

TEST_F(AuditPass, ASettledSwitchRunsTheAuditOnce) {
    adopt(1);
    store->switchTo(2, std::nullopt);
    adopt(2);
    bridge->window(WindowID(1)).minimized();
    recorder.clear();
    store->switchTo(1, std::nullopt);
    EXPECT_TRUE(store->state().auditPending);
    settle();
    EXPECT_FALSE(store->state().auditPending);
    EXPECT_TRUE(recorder.of("onVisibilityFinding").empty())
        << "the switch itself brought the minimized window back";
    EXPECT_FALSE(bridge->window(WindowID(1)).record.minimized);

    // Minimized behind the store's back after the switch: the next audit finds it.
    store->switchTo(2, std::nullopt);
    settle();
    store->switchTo(1, std::nullopt);
    bridge->window(WindowID(1)).minimized();
    settle();
    EXPECT_EQ(recorder.of("onVisibilityFinding").size(), 1u);
}

TEST_F(AuditPass, AWindowOfAnotherDisplayIsJudgedOnItsOwnDisplay) {
    CGPoint pointer{1400, 300};
    store->queries.pointerLocation = [&pointer] { return std::optional<CGPoint>(pointer); };
    store->displaysChanged({Display(1, screen), Display(2, CGRect(1000, 0, 800, 600))});
    adopt(1, CGRect(1100, 100, 300, 200), /*floating=*/true);
    // Wherever adoption put it: on display 2.
    bridge->window(WindowID(1)).record.frame = CGRect(1100, 100, 300, 200);
    pointer = CGPoint{500, 400};
    adopt(2);
    EXPECT_TRUE(audit().empty());
    EXPECT_EQ(frameOf(1), CGRect(1100, 100, 300, 200));

    // Display 2 shows desktop 2 now: its desktop-1 window stays parked, unaudited.
    pointer = CGPoint{1400, 300};
    store->switchTo(2, std::nullopt);
    pointer = CGPoint{500, 400};
    ASSERT_TRUE(store->isParked(WindowID(1)));
    EXPECT_TRUE(audit().empty());
    EXPECT_TRUE(store->isParked(WindowID(1)));
    EXPECT_EQ(frameOf(1)->origin, (CGPoint{1799, 599}));
}

}  // namespace
}  // namespace kelvo
