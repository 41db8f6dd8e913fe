#include <cmath>
#include <limits>

#include <gmock/gmock.h>

#include "Support/KelvoCore/StoreFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

/// Two tiled windows side by side on a 1000 × 800 screen: win#1 (0, 0, 500, 800) on the left,
/// win#2 (500, 0, 500, 800) on the right, both settled; the mouse button is scripted.
class DraggingTest : public StoreFixture {
  protected:
    void SetUp() override { setUpStore(); }

    /// Displays, when given, are attached before the windows are adopted.
    void setUpStore(const std::vector<Display>& displays = {}) {
        makeStore();
        store->queries.isMouseButtonDown = [this] { return buttonDown; };
        if (!displays.empty()) store->displaysChanged(displays);
        adopt(1);
        adopt(2);
        recorder.clear();
        bridge->clearCalls();
    }

    /// The screen's display and a smaller one at its right.
    static std::vector<Display> twoDisplays() {
        return {Display(1, CGRect(0, 0, 1000, 800)), Display(2, CGRect(1000, 0, 800, 600))};
    }

    /// The user lets go of a drag that ended at this frame, and the settle has run.
    void drop(std::uint32_t raw, const CGRect& frame) {
        buttonDown = true;
        frameEvent(raw, frame);
        buttonDown = false;
        clock.advance(0.3);
    }

    /// The ratio of the root split of desktop 1's pane on the managed display.
    double rootRatio() const {
        const auto& tree = store->state().trees.at(Pane{1, store->managedDisplayID()});
        return tree.root->ratio().value_or(-1);
    }

    std::vector<WindowID> leaves(int desktop = 1) const {
        auto it = store->state().trees.find(Pane{desktop, store->managedDisplayID()});
        return it == store->state().trees.end() ? std::vector<WindowID>{} : it->second.windows();
    }

    bool buttonDown = true;
};

// ---- Timing ----------------------------------------------------------------------------------

TEST_F(DraggingTest, SettlesTwoTenthsOfASecondAfterTheLastMoveOnceTheButtonIsUp) {
    frameEvent(1, CGRect(0, 0, 540, 800));
    clock.advance(0.1);
    frameEvent(1, CGRect(0, 0, 560, 800));  // restarts the timer
    buttonDown = false;
    clock.advance(0.19);
    EXPECT_TRUE(store->isDragging());
    EXPECT_THAT(recorder.of("onDividerDragged"), IsEmpty());
    clock.advance(0.011);
    EXPECT_FALSE(store->isDragging());
    EXPECT_THAT(recorder.of("onDividerDragged"), ElementsAre("onDividerDragged(win#1)"));
}

TEST_F(DraggingTest, AHeldButtonKeepsTheDragOpenUntilItIsReleased) {
    frameEvent(1, CGRect(0, 0, 540, 800));
    clock.advance(2.05);
    EXPECT_TRUE(store->isDragging());
    EXPECT_THAT(recorder.of("onDividerDragged"), IsEmpty());
    buttonDown = false;
    clock.advance(0.2);
    EXPECT_FALSE(store->isDragging());
    EXPECT_THAT(recorder.of("onDividerDragged"), ElementsAre("onDividerDragged(win#1)"));
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(DraggingTest, OnlyTheNewestTimerSettles) {
    for (int i = 0; i < 5; ++i)
        frameEvent(1, CGRect(0, 0, 540 + i, 800));
    buttonDown = false;
    clock.advance(1.0);
    EXPECT_THAT(recorder.of("onDividerDragged"), ElementsAre("onDividerDragged(win#1)"));
    EXPECT_EQ(store->state().dragGeneration, 5);
}

TEST_F(DraggingTest, LaterEventsWithoutTheButtonStillBelongToTheDrag) {
    frameEvent(1, CGRect(0, 0, 540, 800));
    buttonDown = false;
    frameEvent(1, CGRect(0, 0, 560, 800));
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::externalUnread).empty());
    clock.advance(0.3);
    EXPECT_THAT(recorder.of("onExternalFrameChange"), IsEmpty());
    EXPECT_NEAR(rootRatio(), 0.56, 1e-9);
}

TEST_F(DraggingTest, WithoutTheSettleSchedulerEveryEventSettlesAtOnce) {
    store->schedulers.scheduleDragSettle = nullptr;
    store->schedulers.coalesceDragStep = nullptr;
    frameEvent(1, CGRect(0, 0, 540, 800));
    EXPECT_FALSE(store->isDragging());
    EXPECT_THAT(recorder.of("onDividerDragged"), ElementsAre("onDividerDragged(win#1)"));
    EXPECT_EQ(frameOf(2), CGRect(540, 0, 460, 800));
}

TEST_F(DraggingTest, WithoutTheButtonQueryEveryChangeIsADrag) {
    store->queries.isMouseButtonDown = nullptr;
    frameEvent(1, CGRect(0, 0, 540, 800));
    EXPECT_TRUE(store->isDragging());
    clock.advance(0.2);
    EXPECT_THAT(recorder.of("onDividerDragged"), ElementsAre("onDividerDragged(win#1)"));
}

TEST_F(DraggingTest, PendingWorkDoesNothingOnceTheStoreIsGone) {
    frameEvent(1, CGRect(0, 0, 540, 800));
    buttonDown = false;
    store.reset();
    clock.advance(1.0);
    EXPECT_THAT(recorder.lines(), IsEmpty());
}

// ---- Divider moves ---------------------------------------------------------------------------

TEST_F(DraggingTest, PullingTheRightEdgeMovesTheDividerAndTheNeighbourFollows) {
    frameEvent(1, CGRect(0, 0, 540, 800));
    clock.advance(coalesceDelay);
    // Live: the neighbour follows while the button is held; the held window is not written.
    EXPECT_NEAR(rootRatio(), 0.54, 1e-9);
    EXPECT_THAT(bridge->writeLog(), ElementsAre("setFrame({540, 0, 460, 800}, win#2)"));
    EXPECT_THAT(recorder.of("onDragStep"), ElementsAre("onDragStep(win#1, {0, 0, 540, 800})"));
    buttonDown = false;
    clock.advance(0.2);
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 540, 800));
    EXPECT_EQ(frameOf(2), CGRect(540, 0, 460, 800));
    EXPECT_THAT(recorder.of("onDragUnresolved"), IsEmpty());
}

TEST_F(DraggingTest, PullingTheLeftEdgeOfTheRightWindowMovesTheSameDivider) {
    drop(2, CGRect(450, 0, 550, 800));
    EXPECT_NEAR(rootRatio(), 0.45, 1e-9);
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 450, 800));
    EXPECT_THAT(recorder.of("onDividerDragged"), ElementsAre("onDividerDragged(win#2)"));
}

TEST_F(DraggingTest, TheDividerLandsWhereTheEdgePlusItsGapPutsIt) {
    config.gaps = Gaps{10, 8};
    setUpStore();
    // Gapped slot of win#1: (8, 8, 487, 784); its raw slot ends at 500, 5 beyond the gap.
    ASSERT_EQ(frameOf(1), CGRect(8, 8, 487, 784));
    drop(1, CGRect(8, 8, 527, 784));
    EXPECT_NEAR(rootRatio(), 0.54, 1e-9);
    EXPECT_EQ(frameOf(2), CGRect(545, 8, 447, 784));
}

TEST_F(DraggingTest, AStackedPairMovesItsHorizontalDividerByTheBottomEdge) {
    adopt(3);  // equal areas: the lower window number, win#1, is split into an upper and a lower
    recorder.clear();
    ASSERT_EQ(frameOf(1), CGRect(0, 0, 500, 400));
    drop(1, CGRect(0, 0, 500, 300));
    EXPECT_EQ(frameOf(3), CGRect(0, 300, 500, 500));
    EXPECT_EQ(frameOf(2), CGRect(500, 0, 500, 800));
}

TEST_F(DraggingTest, AMoveOfOneAndAHalfPointsIsNeitherCarryNorDivider) {
    drop(1, CGRect(1.5, 0, 500, 800));
    EXPECT_THAT(recorder.of("onDragUnresolved"),
                ElementsAre("onDragUnresolved(win#1, no edge travelled far enough to move a "
                            "divider, and it did not travel far enough to be a carry: was (0,0 "
                            "500x800), now (1,0 500x800))"));
    // Nothing laid out: the window stays where it was dropped until the next pass.
    EXPECT_THAT(recorder.of("onLayoutPass"), IsEmpty());
    EXPECT_EQ(frameOf(1), CGRect(1.5, 0, 500, 800));
}

TEST_F(DraggingTest, FramesTheStoreWroteItselfAreNotDrags) {
    drop(1, CGRect(0, 0, 500, 800));
    EXPECT_THAT(recorder.lines(), IsEmpty());
    EXPECT_THAT(bridge->writeLog(), IsEmpty());
}

// ---- Carries ---------------------------------------------------------------------------------

TEST_F(DraggingTest, CarryingAWindowOntoAnotherSwapsThem) {
    frameEvent(1, CGRect(450, 100, 500, 800));
    clock.advance(coalesceDelay);
    EXPECT_THAT(recorder.of("onDragTarget"),
                ElementsAre("onDragTarget(win#2, {500, 0, 500, 800})"));
    EXPECT_NEAR(rootRatio(), 0.5, 1e-9);  // a carry is not a resize
    buttonDown = false;
    clock.advance(0.2);
    EXPECT_THAT(leaves(), ElementsAre(WindowID(2), WindowID(1)));
    EXPECT_THAT(recorder.of("onRearranged"), ElementsAre("onRearranged(win#1, win#2)"));
    EXPECT_THAT(recorder.of("onDragTarget"),
                ElementsAre("onDragTarget(win#2, {500, 0, 500, 800})", "onDragTarget(nil, nil)"));
    EXPECT_EQ(frameOf(1), CGRect(500, 0, 500, 800));
    EXPECT_EQ(frameOf(2), CGRect(0, 0, 500, 800));
}

TEST_F(DraggingTest, PullingBothEdgesTheSameWayIsACarry) {
    drop(1, CGRect(40, 0, 500, 800));
    EXPECT_NEAR(rootRatio(), 0.5, 1e-9);
    // Its centre (290, 400) lies over its own slot only: a carry over nothing.
    EXPECT_THAT(recorder.of("onDragUnresolved"),
                ElementsAre("onDragUnresolved(win#1, carried to (40,0 500x800), which is over no "
                            "other tiled pane — put back)"));
}

TEST_F(DraggingTest, ThePointerDecidesTheDropPoint) {
    std::optional<CGPoint> pointer = CGPoint{100, 100};
    store->queries.pointerLocation = [&] { return pointer; };
    frameEvent(2, CGRect(300, 50, 500, 800));  // its centre lies over win#1, the pointer not
    buttonDown = false;
    clock.advance(0.3);
    EXPECT_THAT(recorder.of("onRearranged"), ElementsAre("onRearranged(win#2, win#1)"));

    recorder.clear();
    pointer = CGPoint{5000, 5000};
    drop(2, CGRect(300, 50, 500, 800));
    EXPECT_THAT(recorder.of("onRearranged"), IsEmpty());
    EXPECT_EQ(recorder.of("onDragUnresolved").size(), 1u);
}

TEST_F(DraggingTest, OverlappingSlotsGiveTheLowerWindowNumber) {
    config.gaps = Gaps{-40, 0};  // slots that reach 20 into each other's side
    setUpStore();
    adopt(3);
    store->queries.pointerLocation = [] { return std::optional(CGPoint{510, 200}); };
    const auto target = store->dropTarget(WindowID(3), CGRect(0, 0, 10, 10));
    ASSERT_TRUE(target);
    EXPECT_EQ(target->first, WindowID(1));
}

TEST_F(DraggingTest, LeavingEveryTargetHidesTheDropTargetOnce) {
    store->queries.pointerLocation = [] { return std::optional(CGPoint{700, 400}); };
    frameEvent(1, CGRect(450, 100, 500, 800));
    clock.advance(coalesceDelay);
    store->queries.pointerLocation = [] { return std::optional(CGPoint{200, 400}); };
    frameEvent(1, CGRect(100, 100, 500, 800));
    clock.advance(coalesceDelay);
    frameEvent(1, CGRect(110, 100, 500, 800));
    clock.advance(coalesceDelay);
    EXPECT_THAT(recorder.of("onDragTarget"),
                ElementsAre("onDragTarget(win#2, {500, 0, 500, 800})", "onDragTarget(nil, nil)"));
}

// ---- Displays --------------------------------------------------------------------------------

TEST_F(DraggingTest, AWindowDraggedMostlyOntoAnotherDisplayMovesThere) {
    setUpStore(twoDisplays());
    // A carry over win#2 as well, but the display rule comes first.
    store->queries.pointerLocation = [] { return std::optional(CGPoint{700, 400}); };
    drop(1, CGRect(900, 0, 500, 800));
    EXPECT_THAT(recorder.of("onChangedDisplay"), ElementsAre("onChangedDisplay(win#1, 2)"));
    EXPECT_THAT(recorder.of("onRearranged"), IsEmpty());
    EXPECT_EQ(store->paneKey(WindowID(1)), (Pane{1, 2}));
    EXPECT_EQ(frameOf(1), CGRect(1000, 0, 800, 600));
    EXPECT_EQ(frameOf(2), CGRect(0, 0, 1000, 800));
}

TEST_F(DraggingTest, DividersOfAPaneOnAnotherDisplayAreMeasuredInThatDisplay) {
    setUpStore(twoDisplays());
    store->queries.pointerLocation = [] { return std::optional(CGPoint{1200, 300}); };
    adopt(3, CGRect(1100, 100, 300, 200));
    adopt(4, CGRect(1100, 100, 300, 200));
    ASSERT_EQ(frameOf(3), CGRect(1000, 0, 400, 600));
    recorder.clear();
    drop(3, CGRect(1000, 0, 480, 600));
    EXPECT_EQ(frameOf(4), CGRect(1480, 0, 320, 600));
}

TEST_F(DraggingTest, TheLiveStepIgnoresFramesAboveOrTallerThanTheirDisplay) {
    const std::vector<CGRect> frames = {CGRect(0, -20, 540, 800), CGRect(0, 0, 540, 820)};
    for (const CGRect& frame : frames) {
        SCOPED_TRACE(WorkspaceStore::brief(frame));
        recorder.clear();
        bridge->clearCalls();
        frameEvent(1, frame);
        clock.advance(coalesceDelay);
        EXPECT_THAT(recorder.of("onDragStep"), IsEmpty());
        EXPECT_THAT(bridge->writeLog(), IsEmpty());
        EXPECT_NEAR(rootRatio(), 0.5, 1e-9);
    }
}

// ---- External changes ------------------------------------------------------------------------

TEST_F(DraggingTest, AnApplicationsOwnChangeIsReportedAndUndoneInOnePass) {
    buttonDown = false;
    frameEvent(1, CGRect(20, 30, 400, 700));
    frameEvent(2, CGRect(520, 0, 480, 800));
    frameEvent(1, CGRect(20, 40, 400, 700));
    EXPECT_FALSE(store->isDragging());
    clock.advance(1.0);
    EXPECT_THAT(recorder.of("onExternalFrameChange"),
                ElementsAre("onExternalFrameChange(win#1, {20, 40, 400, 700})",
                            "onExternalFrameChange(win#2, {520, 0, 480, 800})"));
    EXPECT_EQ(recorder.of("onLayoutPass").size(), 1u);
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 500, 800));
    EXPECT_EQ(frameOf(2), CGRect(500, 0, 500, 800));
}

TEST_F(DraggingTest, ChangesThatPutTheWindowInItsSlotAreNotReported) {
    buttonDown = false;
    frameEvent(1, CGRect(0, 0, 500, 800));
    clock.advance(1.0);
    EXPECT_THAT(recorder.lines(), IsEmpty());
}

TEST_F(DraggingTest, TheExternalCheckWaitsForTheDragStepTurn) {
    store->schedulers.coalesce = nullptr;
    buttonDown = false;
    frameEvent(1, CGRect(20, 30, 400, 700));
    EXPECT_THAT(recorder.of("onExternalFrameChange"), IsEmpty());
    clock.advance(coalesceDelay);
    EXPECT_THAT(recorder.of("onExternalFrameChange"),
                ElementsAre("onExternalFrameChange(win#1, {20, 30, 400, 700})"));
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 500, 800));
}

// ---- Which windows can be dragged --------------------------------------------------------------

TEST_F(DraggingTest, OnlyTiledWindowsOfTheActiveDesktopCanBeDragged) {
    adopt(3, CGRect(10, 10, 200, 200), /*floating=*/true);
    window(9, CGRect(0, 0, 100, 100));
    EXPECT_TRUE(store->canDrag(WindowID(1)));
    EXPECT_FALSE(store->canDrag(WindowID(3))) << "floating";
    EXPECT_FALSE(store->canDrag(WindowID(9))) << "unmanaged";
    store->park({WindowID(2)});
    EXPECT_FALSE(store->canDrag(WindowID(2))) << "parked";
    store->switchTo(2, std::nullopt);
    EXPECT_FALSE(store->canDrag(WindowID(1))) << "another desktop";
}

TEST_F(DraggingTest, FrameEventsOfWindowsThatCannotBeDraggedChangeNothing) {
    adopt(3, CGRect(10, 10, 200, 200), /*floating=*/true);
    window(9, CGRect(0, 0, 100, 100));
    recorder.clear();
    frameEvent(3, CGRect(50, 50, 200, 200));
    frameEvent(9, CGRect(50, 50, 200, 200));
    clock.advance(1.0);
    EXPECT_FALSE(store->isDragging());
    EXPECT_THAT(recorder.lines(), IsEmpty());
}

TEST_F(DraggingTest, AWindowParkedDuringTheDragIsSkippedAtTheSettle) {
    frameEvent(1, CGRect(0, 0, 540, 800));
    store->park({WindowID(1)});
    buttonDown = false;
    clock.advance(0.3);
    EXPECT_NEAR(rootRatio(), 0.5, 1e-9);
    EXPECT_THAT(recorder.lines(), IsEmpty());
    EXPECT_FALSE(store->isDragging());
}

// ---- Frames that make no sense ---------------------------------------------------------------

TEST_F(DraggingTest, FramesThatAreGarbageOrOffEveryDisplayNeverReachTheLayout) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<CGRect> frames = {
        CGRect(nan, 0, 540, 800),    CGRect(0, 0, nan, 800),       CGRect(inf, 0, 540, 800),
        CGRect(0, 0, 540, inf),      CGRect(-inf, -inf, inf, inf), CGRect(0, 0, 1e300, 800),
        CGRect(-1e300, 0, 540, 800), CGRect(5000, 5000, 540, 800), CGRect(-3000, 0, 540, 800),
        CGRect(0, 0, 9.3e18, 1e19),
    };
    for (const CGRect& frame : frames) {
        SCOPED_TRACE(WorkspaceStore::brief(frame));
        for (bool held : {true, false}) {
            setUpStore();
            buttonDown = held;
            frameEvent(1, frame);
            clock.advance(coalesceDelay);
            buttonDown = false;
            clock.advance(0.3);
            EXPECT_NEAR(rootRatio(), 0.5, 1e-9);
            EXPECT_THAT(leaves(), ElementsAre(WindowID(1), WindowID(2)));
            EXPECT_THAT(recorder.of("onDragStep"), IsEmpty());
            EXPECT_THAT(recorder.of("onChangedDisplay"), IsEmpty());
            // Put back into its slot, whatever it reported.
            EXPECT_EQ(frameOf(1), CGRect(0, 0, 500, 800));
            EXPECT_EQ(frameOf(2), CGRect(500, 0, 500, 800));
        }
    }
}

TEST_F(DraggingTest, ASettleOnNoDisplayLeavesTheWindowInItsPlace) {
    setUpStore(twoDisplays());
    frameEvent(1, CGRect(1200, 2000, 500, 800));  // below display 2, on neither
    buttonDown = false;
    clock.advance(0.3);
    EXPECT_THAT(recorder.of("onChangedDisplay"), IsEmpty());
    EXPECT_EQ(store->paneKey(WindowID(1)), (Pane{1, 1}));
    EXPECT_THAT(recorder.of("onDragUnresolved"),
                ElementsAre("onDragUnresolved(win#1, carried to (1200,2000 500x800), which is over "
                            "no other tiled pane — put back)"));
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 500, 800));
}

TEST_F(DraggingTest, MoveDividersRefusesGarbageOutright) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(store->moveDividers(WindowID(1), CGRect(0, 0, nan, 800)));
    EXPECT_FALSE(store->moveDividers(WindowID(1), CGRect(0, 0, 1e300, 800)));
    EXPECT_FALSE(store->moveDividers(WindowID(9), CGRect(0, 0, 540, 800))) << "unmanaged";
    EXPECT_TRUE(store->moveDividers(WindowID(1), CGRect(0, 0, 540, 800)));
}

// ---- The rectangle text
// --------------------------------------------------------------------------

TEST(DragBrief, CutsEveryValueToAnIntegerAndSpellsOutTheRest) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        CGRect rect;
        const char* text;
    } rows[] = {
        {CGRect(0, 0, 500, 800), "(0,0 500x800)"},
        {CGRect(1.9, -2.7, 300.99, 0.5), "(1,-2 300x0)"},
        {CGRect(-0.4, 0, 10, 10), "(0,0 10x10)"},
        {CGRect(100, 50, -40, 20), "(60,50 40x20)"},  // read normalised
        {CGRect(nan, 0, 10, 10), "(nan,0 10x10)"},
        {CGRect(0, inf, 10, 10), "(0,inf 10x10)"},
        {CGRect(-inf, 0, 10, 10), "(-inf,0 10x10)"},
        {CGRect(1e300, 0, 10, 10), "(1e+300,0 10x10)"},
        {CGRect(-9.3e18, 0, 10, 10), "(-9.3e+18,0 10x10)"},
        {CGRect(4611686018427387904.0, 0, 10, 10), "(4611686018427387904,0 10x10)"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WorkspaceStore::brief(row.rect), row.text);
}

}  // namespace
}  // namespace kelvo
