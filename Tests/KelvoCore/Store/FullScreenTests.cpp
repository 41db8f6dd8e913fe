#include <gmock/gmock.h>

#include "Support/KelvoCore/StoreFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Operation = FakeWindowBridge::Call::Operation;

/// Two tiled windows on a 1000 × 800 screen whose divider was dragged to 0.6, so that the old
/// tree can be told from a fresh insertion.
class FullScreenTest : public StoreFixture {
  protected:
    void SetUp() override {
        makeStore();
        store->queries.isMouseButtonDown = [this] { return buttonDown; };
        adopt(1);
        adopt(2);
        ASSERT_TRUE(store->moveDividers(WindowID(1), CGRect(0, 0, 600, 800)));
        store->applyLayoutNow();
        ASSERT_EQ(frameOf(2), CGRect(600, 0, 400, 800));
        recorder.clear();
        bridge->clearCalls();
    }

    /// The application takes the window into or out of full screen and reports its new frame;
    /// a window that is not full screen yet is recognised by the coalesced external check.
    void goFullScreen(std::uint32_t raw, bool on, const CGRect& frame) {
        bridge->window(WindowID(raw)).fullScreen = on;
        frameEvent(raw, frame);
        clock.advance(coalesceDelay);
    }

    const LayoutTree& tree(int desktop = 1) const {
        return store->state().trees.at(Pane{desktop, store->managedDisplayID()});
    }

    /// Every leaf of every tree, so that a window held twice shows.
    std::vector<WindowID> everyLeaf() const {
        std::vector<WindowID> all;
        for (const auto& [pane, t] : store->state().trees) {
            for (WindowID w : t.windows())
                all.push_back(w);
        }
        return all;
    }

    const CGRect whole = CGRect(0, -25, 1000, 850);
    bool buttonDown = false;
};

TEST_F(FullScreenTest, AWindowThatEntersAndLeavesReturnsToItsOwnPlace) {
    const LayoutTree before = tree();
    goFullScreen(1, true, whole);
    EXPECT_TRUE(store->isFullScreen(WindowID(1)));
    EXPECT_THAT(tree().windows(), ElementsAre(WindowID(2)));
    clock.advance(1.0);
    EXPECT_EQ(frameOf(2), CGRect(0, 0, 1000, 800));

    goFullScreen(1, false, CGRect(0, 0, 600, 800));
    EXPECT_EQ(tree(), before);  // the old slot and ratio
    EXPECT_FALSE(store->isFullScreen(WindowID(1)));
    clock.advance(1.0);
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 600, 800));
    EXPECT_EQ(frameOf(2), CGRect(600, 0, 400, 800));
    EXPECT_THAT(
        recorder.of("onFullScreenChanged"),
        ElementsAre("onFullScreenChanged(win#1, true)", "onFullScreenChanged(win#1, false)"));
    EXPECT_FALSE(store->state().windows.at(WindowID(1)).fullScreenReturn);
}

TEST_F(FullScreenTest, AWindowReturningToAChangedPaneIsInsertedAsNew) {
    goFullScreen(1, true, whole);
    clock.advance(1.0);
    adopt(3);
    goFullScreen(1, false, CGRect(0, 0, 600, 800));
    const auto leaves = tree().windows();
    EXPECT_EQ(leaves.size(), 3u);
    EXPECT_EQ(std::count(leaves.begin(), leaves.end(), WindowID(1)), 1);
    EXPECT_NE(tree().root->ratio(), std::optional(0.6));
}

TEST_F(FullScreenTest, AWindowThatLeftItsPaneMeanwhileIsNotPutBackThere) {
    goFullScreen(1, true, whole);
    clock.advance(1.0);
    store->move(WindowID(1), 2, /*asCommand=*/true);
    goFullScreen(1, false, CGRect(0, 0, 600, 800));
    EXPECT_THAT(tree(1).windows(), ElementsAre(WindowID(2)));
    EXPECT_THAT(everyLeaf(), ::testing::UnorderedElementsAre(WindowID(1), WindowID(2)));
    EXPECT_EQ(store->paneKey(WindowID(1)), (Pane{2, store->managedDisplayID()}));
}

TEST_F(FullScreenTest, AFloatingWindowLeavingFullScreenStaysOutOfEveryTree) {
    adopt(3, CGRect(10, 10, 300, 300), /*floating=*/true);
    bridge->window(WindowID(3)).fullScreen = true;
    store->enterFullScreen(WindowID(3), 1);
    bridge->window(WindowID(3)).fullScreen = false;
    EXPECT_TRUE(store->fullScreenChanged(WindowID(3), CGRect(10, 10, 300, 300)));
    EXPECT_THAT(everyLeaf(), ::testing::UnorderedElementsAre(WindowID(1), WindowID(2)));
}

TEST_F(FullScreenTest, OnlyPlausibleFramesCostAQuery) {
    const struct {
        CGRect frame;
        bool asks;
    } rows[] = {
        {CGRect(0, 0, 600, 800), false},   // inside the screen
        {CGRect(20, 0, 580, 790), false},  // smaller
        {CGRect(0, -1, 600, 800), true},   // its top above the screen's
        {CGRect(0, 0, 600, 801), true},    // taller than the screen
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(WorkspaceStore::brief(row.frame));
        bridge->clearCalls();
        EXPECT_FALSE(store->fullScreenChanged(WindowID(1), row.frame));
        EXPECT_EQ(bridge->count(Operation::isWindowFullScreen), row.asks ? 1u : 0u);
    }
    bridge->clearCalls();
    EXPECT_FALSE(store->fullScreenChanged(WindowID(1), std::nullopt));
    EXPECT_FALSE(store->fullScreenChanged(WindowID(9), whole)) << "unmanaged";
    EXPECT_EQ(bridge->count(Operation::isWindowFullScreen), 0u);
}

TEST_F(FullScreenTest, AFullScreenWindowIsAskedEveryTime) {
    goFullScreen(1, true, whole);
    bridge->clearCalls();
    frameEvent(1, CGRect(0, 0, 600, 800));
    EXPECT_EQ(bridge->count(Operation::isWindowFullScreen), 1u);
    EXPECT_TRUE(store->isFullScreen(WindowID(1)));
}

TEST_F(FullScreenTest, TheReferenceIsTheDisplayHoldingTheFrameWithSeveralDisplays) {
    store->displaysChanged(
        {Display(1, CGRect(0, 0, 1000, 800)), Display(2, CGRect(1000, -200, 800, 1200))});
    EXPECT_FALSE(store->couldBeFullScreen(CGRect(1100, -100, 600, 1000)));
    EXPECT_TRUE(store->couldBeFullScreen(CGRect(1100, -300, 600, 1000)));
    EXPECT_TRUE(store->couldBeFullScreen(CGRect(1100, 0, 600, 1300)));
    // On no display: measured against the screen.
    EXPECT_TRUE(store->couldBeFullScreen(CGRect(5000, -10, 10, 10)));
}

TEST_F(FullScreenTest, AFullScreenWindowIsNeverWrittenOrParked) {
    goFullScreen(1, true, whole);
    bridge->clearCalls();
    store->applyLayoutNow();
    store->park({WindowID(1)});
    store->unpark({WindowID(1)}, /*deferringMinimized=*/false);
    clock.advance(1.0);
    EXPECT_FALSE(store->isParked(WindowID(1)));
    for (const auto& call : bridge->calls()) {
        if (call.isWrite()) {
            EXPECT_NE(call.id, std::optional(WindowID(1))) << call.description();
        }
    }
    EXPECT_THAT(store->visibleLayout(),
                ::testing::Not(::testing::Contains(::testing::Key(WindowID(1)))));
}

TEST_F(FullScreenTest, FrameEventsWhileFullScreenAreNeverDrags) {
    goFullScreen(1, true, whole);
    buttonDown = true;
    frameEvent(1, CGRect(0, 0, 700, 800));
    clock.advance(1.0);
    EXPECT_FALSE(store->isDragging());
    EXPECT_THAT(recorder.of("onDragStep"), IsEmpty());
}

TEST_F(FullScreenTest, TheLayoutPassHandsAnAbandonedFullScreenWindowOver) {
    bridge->window(WindowID(1)).fullScreen = true;
    store->giveUp({WindowID(1)});
    EXPECT_TRUE(store->isFullScreen(WindowID(1)));
    EXPECT_FALSE(store->isFloating(WindowID(1)));
    EXPECT_THAT(tree().windows(), ElementsAre(WindowID(2)));
    EXPECT_THAT(recorder.of("onGaveUp"), IsEmpty());
    EXPECT_TRUE(store->state().windows.at(WindowID(1)).fullScreenReturn);
}

TEST_F(FullScreenTest, EnteringFromAZoomEndsTheZoomFirst) {
    const LayoutTree before = tree();
    store->toggleZoom(WindowID(1));
    clock.advance(1.0);
    ASSERT_EQ(store->zoomed(1), std::optional(WindowID(1)));
    ASSERT_TRUE(store->isParked(WindowID(2)));
    bridge->window(WindowID(1)).fullScreen = true;
    store->enterFullScreen(WindowID(1), 1);
    EXPECT_EQ(store->zoomed(1), std::nullopt);
    EXPECT_FALSE(store->isParked(WindowID(2)));
    EXPECT_THAT(tree().windows(), ElementsAre(WindowID(2)));
    bridge->window(WindowID(1)).fullScreen = false;
    EXPECT_TRUE(store->fullScreenChanged(WindowID(1), std::nullopt));
    EXPECT_EQ(tree(), before);
}

// ---- Settling back
// -------------------------------------------------------------------------------

class SettlingTest : public FullScreenTest {
  protected:
    void SetUp() override {
        FullScreenTest::SetUp();
        goFullScreen(1, true, whole);
        clock.advance(1.0);
        goFullScreen(1, false, CGRect(0, 0, 900, 800));
        ASSERT_TRUE(store->state().windows.at(WindowID(1)).settlingFromFullScreen());
        clock.advance(1.0);  // the layout pass has put it back into its slot by now
        recorder.clear();
    }

    bool settling() const {
        return store->state().windows.at(WindowID(1)).settlingFromFullScreen();
    }
};

TEST_F(SettlingTest, FrameEventsWhileSettlingAreIgnored) {
    bridge->window(WindowID(1)).record.frame = CGRect(0, 0, 900, 800);  // still animating
    for (int i = 0; i < 10; ++i)
        store->windowFrameChanged(WindowID(1));
    clock.advance(1.0);
    EXPECT_TRUE(settling());
    EXPECT_EQ(store->state().windows.at(WindowID(1)).fullScreenSettleFrames, 10);
    EXPECT_THAT(recorder.lines(), IsEmpty());
}

TEST_F(SettlingTest, TheSixtiethEventEndsTheSettlingEvenWithoutAFit) {
    bridge->window(WindowID(1)).record.frame = CGRect(0, 0, 900, 800);
    for (int i = 0; i < 59; ++i)
        store->windowFrameChanged(WindowID(1));
    EXPECT_TRUE(settling());
    store->windowFrameChanged(WindowID(1));
    EXPECT_FALSE(settling());
    EXPECT_FALSE(store->state().windows.at(WindowID(1)).fullScreenSettleFrames);
    clock.advance(1.0);
    EXPECT_THAT(recorder.lines(), IsEmpty()) << "the sixtieth event is ignored too";
    // From now on frame changes count again.
    store->windowFrameChanged(WindowID(1));
    clock.advance(1.0);
    EXPECT_THAT(recorder.of("onExternalFrameChange"),
                ElementsAre("onExternalFrameChange(win#1, {0, 0, 900, 800})"));
}

TEST_F(SettlingTest, ASizeWithinFourPointsOfTheSlotEndsIt) {
    const struct {
        CGSize size;
        bool ends;
    } rows[] = {
        {CGSize{603.9, 796.1}, true},
        {CGSize{604, 800}, false},
        {CGSize{600, 804}, false},
    };
    for (const auto& row : rows) {
        SetUp();
        bridge->window(WindowID(1)).record.frame = CGRect(CGPoint{0, 0}, row.size);
        store->windowFrameChanged(WindowID(1));
        EXPECT_EQ(settling(), !row.ends) << row.size.width << "x" << row.size.height;
    }
}

TEST_F(SettlingTest, AHeldButtonEndsTheSettlingAndTheEventIsADrag) {
    buttonDown = true;
    frameEvent(1, CGRect(0, 0, 650, 800));
    EXPECT_FALSE(settling());
    EXPECT_TRUE(store->isDragging());
    buttonDown = false;
    clock.advance(1.0);
    EXPECT_NEAR(*tree().root->ratio(), 0.65, 1e-9);
}

}  // namespace
}  // namespace kelvo
