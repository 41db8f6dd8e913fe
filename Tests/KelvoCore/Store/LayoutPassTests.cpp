#include <gtest/gtest.h>

#include "Support/KelvoCore/StoreFixture.h"

namespace kelvo {
namespace {

using Node = LayoutTree::Node;

class LayoutPass : public StoreFixture {
  protected:
    /// Puts the windows on the fake desktop and restores them into desktop 1's pane as `tree`.
    void restoreTree(const LayoutTree& tree) {
        SessionSnapshot snapshot;
        snapshot.panes.push_back({1, store->managedDisplayID(), tree});
        std::vector<AdoptionRecord> records;
        for (WindowID w : tree.windows()) {
            if (!bridge->contains(w)) window(w.raw, CGRect(10, 10, 100, 100));
            snapshot.bundleIDs[w] = FakeWindowBridge::defaultBundleID;
            records.push_back({w, FakeWindowBridge::defaultBundleID, false, false});
        }
        store->restore(snapshot, records);
    }
};

TEST_F(LayoutPass, GapsAreAppliedAndEveryEdgeRoundedOnce) {
    config.gaps = Gaps{10, 20};
    makeStore();
    adopt(1);
    adopt(2);
    EXPECT_EQ(frameOf(1), CGRect(20, 20, 475, 760));
    EXPECT_EQ(frameOf(2), CGRect(505, 20, 475, 760));

    // Half points round away from zero, on each edge separately.
    screen = CGRect(0, 0, 1001, 800);
    config.gaps = Gaps::none();
    makeStore();
    restoreTree(LayoutTree(
        Node::split(Axis::vertical, 0.5, Node::leaf(WindowID(1)), Node::leaf(WindowID(2)))));
    EXPECT_EQ(store->layout(1),
              (std::map<WindowID, CGRect>{{WindowID(1), CGRect(0, 0, 501, 800)},
                                          {WindowID(2), CGRect(501, 0, 500, 800)}}));
    screen = CGRect(-1001, 0, 1001, 800);
    makeStore();
    restoreTree(LayoutTree(
        Node::split(Axis::vertical, 0.5, Node::leaf(WindowID(1)), Node::leaf(WindowID(2)))));
    EXPECT_EQ(store->layout(1).at(WindowID(1)), CGRect(-1001, 0, 500, 800));
    EXPECT_EQ(store->layout(1).at(WindowID(2)), CGRect(-501, 0, 501, 800));
}

TEST_F(LayoutPass, RequestsInOneTurnRunOnePass) {
    makeStore();
    adopt(1);
    recorder.clear();
    store->applyLayout();
    store->applyLayout();
    store->applyLayout();
    EXPECT_TRUE(recorder.of("onLayoutPass").empty());
    settle();
    EXPECT_EQ(recorder.of("onLayoutPass"), std::vector<std::string>{"onLayoutPass(0, 0)"});
}

TEST_F(LayoutPass, WithoutASchedulerTheRequestRunsAtOnce) {
    makeStore(/*withSchedulers=*/false);
    window(1, CGRect(5, 5, 100, 100));
    store->add(WindowID(1), "a", std::nullopt, false, false);
    recorder.clear();
    store->applyLayout();
    EXPECT_EQ(recorder.of("onLayoutPass").size(), 1u);
}

TEST_F(LayoutPass, AQuietPassSaysWhyNothingWasWritten) {
    makeStore();
    adopt(1);
    adopt(2);
    bridge->window(WindowID(2)).unreadable();
    recorder.clear();
    store->applyLayoutNow();
    EXPECT_EQ(recorder.lines(), (std::vector<std::string>{
                                    "onLayoutPass(0, 1)",
                                    "onLayoutSkip(win#1, {0, 0, 500, 800}, {0, 0, 500, 800})",
                                    "onQuietPass(2, [2], [])",
                                }));
}

TEST_F(LayoutPass, ARefusingWindowIsStruckThreeTimesThenGivenUpAndCentred) {
    makeStore();
    adopt(1);
    window(2, CGRect(300, 200, 400, 300)).refuses();
    store->add(WindowID(2), "org.example.stubborn", std::nullopt, false, false);
    settle(2.0);
    EXPECT_EQ(recorder.of("onGaveUp"),
              std::vector<std::string>{"onGaveUp(win#2, org.example.stubborn, nil)"});
    EXPECT_TRUE(store->isFloating(WindowID(2)));
    EXPECT_EQ(store->state().trees.at(Pane{1, 0}).windows(), std::vector{WindowID(1)});
    // The pass that gave up lays the remaining window out alone.
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));
    const auto writes = bridge->writeLog();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "setFrame({500, 0, 500, 800}, win#2)"), 3);
    // Centred on the screen at its own size.
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "setFrame({300, 250, 400, 300}, win#2)"), 1);
    EXPECT_NE(store->stateDescription().find("unmanageable=[2]"), std::string::npos);
}

// The give-up is reported before the stash's own report, naming the desktop the window goes to;
// a stash desktop that is the window's own, or beyond the count, takes it nowhere.
TEST_F(LayoutPass, AWindowGivenUpIsReportedWithTheStashDesktopItGoesTo) {
    const auto giveUpWithStash = [this](std::optional<int> stash) {
        config.stashDesktop = stash;
        makeStore();
        adopt(1);
        adopt(2);
        recorder.clear();
        // A window stashed is manageable again on its new desktop: the reports tell the give-up.
        refuseUntilGivenUp(2);
        std::vector<std::string> reports;
        for (const std::string& line : recorder.lines()) {
            if (line.starts_with("onGaveUp") || line.starts_with("onStashed"))
                reports.push_back(line);
        }
        return reports;
    };
    EXPECT_EQ(giveUpWithStash(3), (std::vector<std::string>{"onGaveUp(win#2, com.example.app, 3)",
                                                            "onStashed(win#2, 3)"}));
    EXPECT_EQ(store->desktop(WindowID(2)), 3);
    EXPECT_EQ(giveUpWithStash(1),
              std::vector<std::string>{"onGaveUp(win#2, com.example.app, nil)"});
    EXPECT_EQ(store->desktop(WindowID(2)), 1);
    config.desktopCount = 4;
    EXPECT_EQ(giveUpWithStash(5),
              std::vector<std::string>{"onGaveUp(win#2, com.example.app, nil)"});
    EXPECT_EQ(giveUpWithStash(std::nullopt),
              std::vector<std::string>{"onGaveUp(win#2, com.example.app, nil)"});
}

// Adopted at start-up, a window is exempt from strikes for the launch burst: refusing then costs it
// nothing, and its exemption is spent. The next burst strikes it three times and gives it up.
TEST_F(LayoutPass, AWindowRefusingAtLaunchIsSparedItsLaunchBurstAndGivenUpInTheNext) {
    makeStore();
    window(1, CGRect(10, 10, 300, 200));
    window(2, CGRect(300, 200, 400, 300)).refusesPosition();
    store->adopt({record(1), record(2, "org.example.stubborn")}, std::nullopt);
    settle(2.0);
    EXPECT_EQ(recorder.of("onLayoutPass"),
              (std::vector<std::string>{"onLayoutPass(2, 1)", "onLayoutPass(1, 1)",
                                        "onLayoutPass(1, 1)", "onLayoutPass(1, 1)"}));
    EXPECT_TRUE(recorder.of("onGaveUp").empty());
    EXPECT_EQ(store->state().windowsWhere(&WindowState::spentExemption), std::set{WindowID(2)});
    EXPECT_NE(store->stateDescription().find("unmanageable=[]"), std::string::npos);

    recorder.clear();
    store->applyLayout();
    settle(2.0);
    EXPECT_EQ(recorder.of("onLayoutPass"),
              (std::vector<std::string>{"onLayoutPass(1, 1)", "onLayoutPass(1, 1)",
                                        "onLayoutPass(1, 0)", "onLayoutPass(1, 0)"}));
    EXPECT_EQ(recorder.of("onGaveUp"),
              std::vector<std::string>{"onGaveUp(win#2, org.example.stubborn, nil)"});
    EXPECT_TRUE(store->isFloating(WindowID(2)));
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));
}

TEST_F(LayoutPass, UnsettledExemptWindowsGetExactlyThreeRetries) {
    makeStore();
    adopt(1);
    bridge->window(WindowID(1)).refuses();
    bridge->window(WindowID(1)).record.frame = CGRect(50, 50, 100, 100);
    recorder.clear();
    store->applyLayoutForCommand(std::nullopt, /*now=*/true);
    settle(5.0);
    EXPECT_EQ(recorder.of("onLayoutPass"),
              (std::vector<std::string>{"onLayoutPass(1, 1)", "onLayoutPass(1, 1)",
                                        "onLayoutPass(1, 1)", "onLayoutPass(1, 1)"}));
    EXPECT_TRUE(recorder.of("onGaveUp").empty());
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::burstExempt).empty());
    EXPECT_EQ(store->state().windowsWhere(&WindowState::spentExemption), std::set{WindowID(1)});
    EXPECT_EQ(clock.pendingCount(), 0u);

    // A spent exemption is not granted again by the next command.
    store->applyLayoutForCommand(std::nullopt, true);
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::burstExempt).empty());
}

TEST_F(LayoutPass, ALateWindowIsRetriedUntilItLands) {
    makeStore();
    window(1, CGRect(10, 10, 100, 100)).landsLate(1);
    store->add(WindowID(1), "a", std::nullopt, false, false);
    settle();
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 1000, 800));
    EXPECT_TRUE(recorder.of("onGaveUp").empty());
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(LayoutPass, DividersGiveWayToALearnedMinimum) {
    makeStore();
    adopt(1);
    window(2, CGRect(10, 10, 100, 100)).clampsToMinimum(CGSize{700, 0});
    store->add(WindowID(2), "a", std::nullopt, false, false);
    settle();
    EXPECT_EQ(frameOf(2), CGRect(300, 0, 700, 800));
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 300, 800));
    EXPECT_TRUE(recorder.of("onFloatedForMinimum").empty());
    // The stored ratio stays: only the handed-out rectangles moved.
    EXPECT_EQ(store->state().trees.at(Pane{1, 0}).root->ratio(), 0.5);
}

TEST_F(LayoutPass, AWindowWhoseMinimumCannotFitFloats) {
    makeStore();
    window(1, CGRect(10, 10, 100, 100)).clampsToMinimum(CGSize{700, 0});
    window(2, CGRect(20, 20, 100, 100)).clampsToMinimum(CGSize{700, 0});
    store->add(WindowID(1), "a", std::nullopt, false, false);
    store->add(WindowID(2), "a", std::nullopt, false, false);
    settle();
    EXPECT_EQ(recorder.of("onFloatedForMinimum"),
              std::vector<std::string>{"onFloatedForMinimum(win#1, {700, 0})"});
    EXPECT_TRUE(store->isFloating(WindowID(1)));
    EXPECT_EQ(frameOf(2), CGRect(0, 0, 1000, 800));
}

TEST_F(LayoutPass, AnEvenGridThatSatisfiesEveryMinimumReplacesTheTree) {
    screen = CGRect(0, 0, 1800, 800);
    makeStore();
    window(1, CGRect(10, 10, 100, 100)).clampsToMinimum(CGSize{0, 500});
    window(2, CGRect(20, 20, 100, 100)).clampsToMinimum(CGSize{0, 500});
    restoreTree(LayoutTree(
        Node::split(Axis::horizontal, 0.5, Node::leaf(WindowID(1)), Node::leaf(WindowID(2)))));
    store->applyLayoutNow();
    settle();
    EXPECT_EQ(recorder.of("onRearrangedForMinimum"),
              std::vector<std::string>{"onRearrangedForMinimum(1)"});
    EXPECT_TRUE(recorder.of("onFloatedForMinimum").empty());
    EXPECT_EQ(store->state().trees.at(Pane{1, 0}),
              LayoutTree::grid({WindowID(1), WindowID(2)}, screen));
    EXPECT_EQ(frameOf(1), CGRect(0, 0, 900, 800));
    EXPECT_EQ(frameOf(2), CGRect(900, 0, 900, 800));
}

TEST_F(LayoutPass, OneWindowAloneIsNeverFloatedForSize) {
    makeStore();
    window(1, CGRect(10, 10, 100, 100)).clampsToMinimum(CGSize{1500, 900});
    store->add(WindowID(1), "a", std::nullopt, false, false);
    settle();
    EXPECT_FALSE(store->isFloating(WindowID(1)));
    EXPECT_TRUE(recorder.of("onFloatedForMinimum").empty());
}

TEST_F(LayoutPass, PaneMinimumsArePaddedByTheGaps) {
    config.gaps = Gaps{10, 8};
    makeStore();
    window(1, CGRect(10, 10, 100, 100)).clampsToMinimum(CGSize{700, 0});
    store->add(WindowID(1), "a", std::nullopt, false, false);
    adopt(2);
    EXPECT_EQ(store->reconciler().clampedSizes().at(WindowID(1)).width, 700 - 0);
    // 2 × max(10 × 0.5, 8) = 16 in each positive dimension; a zero one stays zero.
    EXPECT_EQ(store->paneMinimums().at(WindowID(1)), (CGSize{716, 0}));
    config.gaps = Gaps::none();
    store->apply(config);
    EXPECT_EQ(store->paneMinimums(), store->reconciler().clampedSizes());
}

TEST_F(LayoutPass, AWindowMinimizedWithoutAnEventLeavesTheLayout) {
    makeStore();
    adopt(1);
    adopt(2);
    bridge->window(WindowID(2)).minimized();
    bridge->window(WindowID(2)).record.frame = CGRect(0, 0, 10, 10);
    store->applyLayoutNow();
    EXPECT_EQ(store->state().windowsWhere(&WindowState::inTheDock), std::set{WindowID(2)});
    bridge->clearCalls();
    store->applyLayoutNow();
    EXPECT_EQ(bridge->count(FakeWindowBridge::Call::Operation::setFrame), 0u);

    // Restored without an event: written again and exempt for that burst.
    bridge->window(WindowID(2)).record.minimized = false;
    bridge->window(WindowID(2)).record.frame = CGRect(0, 0, 10, 10);
    store->applyLayoutNow();
    EXPECT_TRUE(store->state().windowsWhere(&WindowState::inTheDock).empty());
    EXPECT_EQ(frameOf(2), CGRect(500, 0, 500, 800));
}

TEST_F(LayoutPass, AZoomedWindowGetsItsDisplayExactlyAndTheOthersNothing) {
    screen = CGRect(0, 0, 1000.5, 800);
    config.gaps = Gaps{10, 20};
    makeStore();
    adopt(1);
    adopt(2);
    adopt(3, CGRect(50, 50, 200, 200), /*floating=*/true);
    store->toggleZoom(WindowID(2));
    settle();
    EXPECT_EQ(store->layout(1), (std::map<WindowID, CGRect>{{WindowID(2), screen}}));
    EXPECT_EQ(store->visibleLayout(), store->layout(1));
    EXPECT_EQ(frameOf(2), screen);
    EXPECT_TRUE(store->isParked(WindowID(1)));
    EXPECT_TRUE(store->isParked(WindowID(3)));
    store->toggleZoom(WindowID(2));
    settle();
    EXPECT_EQ(store->layout(1).size(), 2u);
    EXPECT_FALSE(store->isParked(WindowID(1)));
}

TEST_F(LayoutPass, EndingAZoomLeavesAnotherDisplaysParkedWindowsParked) {
    makeStore();
    store->displaysChanged(
        {Display(1, CGRect(0, 0, 1000, 800)), Display(2, CGRect(1000, 0, 800, 600))});
    CGPoint pointer{1500, 100};
    store->queries.pointerLocation = [&] { return pointer; };
    adopt(3, CGRect(1100, 100, 300, 200));  // desktop 1 of display 2
    store->switchTo(2, std::nullopt);       // display 2 now shows desktop 2
    settle();
    ASSERT_TRUE(store->isParked(WindowID(3)));
    pointer = {100, 100};
    adopt(1);
    adopt(2);
    store->toggleZoom(WindowID(1));
    settle();
    store->toggleZoom(WindowID(1));
    settle();
    EXPECT_FALSE(store->isParked(WindowID(2)));
    EXPECT_TRUE(store->isParked(WindowID(3)));
    store->restoreAll();
    EXPECT_TRUE(CGRect(1000, 0, 800, 600).intersects(*frameOf(3)));
}

TEST_F(LayoutPass, ASettledPassWritesNothing) {
    makeStore();
    for (std::uint32_t w = 1; w <= 5; ++w)
        adopt(w);
    bridge->clearCalls();
    store->applyLayoutNow();
    EXPECT_TRUE(bridge->writeLog().empty());
}

TEST_F(LayoutPass, AStoreThatIsGoneRunsNoScheduledPass) {
    makeStore();
    adopt(1);
    store->applyLayout();
    EXPECT_EQ(clock.pendingCount(), 1u);
    store.reset();
    settle();  // must not touch the destroyed store
    EXPECT_EQ(clock.pendingCount(), 0u);
}

}  // namespace
}  // namespace kelvo
