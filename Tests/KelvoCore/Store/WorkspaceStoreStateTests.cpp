#include <gtest/gtest.h>

#include "Support/KelvoCore/StoreFixture.h"

namespace kelvo {
namespace {

const char* const emptyTail =
    "active=1 parked=[] parkRefused=[] parkMinimized=[] floating=[] inDock=[] zoomed=nil "
    "showingDesktop=[] unmanageable=[] expected=[] focus=nil switchParked=[]";

class WorkspaceStoreState : public StoreFixture {};

TEST_F(WorkspaceStoreState, EmptyStoreDescribesItself) {
    makeStore();
    EXPECT_EQ(store->stateDescription(), std::string("desktops: (none)\n") + emptyTail);
}

TEST_F(WorkspaceStoreState, StateTextNamesWindowsByDesktopAndApplication) {
    makeStore();
    SessionSnapshot snapshot;
    snapshot.panes.push_back({1, 0, LayoutTree(LayoutTree::Node::leaf(WindowID(4711)))});
    snapshot.bundleIDs[WindowID(4711)] = "com.example.app";
    window(4711, CGRect(0, 0, 100, 100));
    // Restoring sets the home but not the application, so the window reads as unknown.
    store->restore(snapshot, {{WindowID(4711), "com.example.app", false, false}});
    EXPECT_EQ(store->stateDescription(), std::string("desktops: 1=[4711(?)]\n") + emptyTail);

    adopt(12, CGRect(0, 0, 100, 100), false, "org.example.editor");
    adopt(3, CGRect(0, 0, 100, 100), true, "org.example.float");
    store->park({WindowID(12)});
    EXPECT_EQ(store->stateDescription(),
              "desktops: 1=[3(org.example.float) 12(org.example.editor) 4711(?)]\n"
              "active=1 parked=[12] parkRefused=[] parkMinimized=[] floating=[3] inDock=[] "
              "zoomed=nil showingDesktop=[] unmanageable=[] expected=[] focus=nil "
              "switchParked=[]");
}

TEST_F(WorkspaceStoreState, DesktopCountIsClampedFromTheStart) {
    for (auto [given, kept] :
         {std::pair{0, 1}, {1, 1}, {-5, 1}, {9, 9}, {10, 9}, {42, 9}, {4, 4}}) {
        config.desktopCount = given;
        makeStore();
        EXPECT_EQ(store->desktopCount(), kept) << given;
        store->switchTo(9, std::nullopt);
        EXPECT_LE(store->activeDesktop(), kept);
    }
}

TEST_F(WorkspaceStoreState, WithoutDisplaysEverythingIsTheScreen) {
    makeStore();
    store->queries.pointerLocation = [] { return CGPoint{10, 10}; };
    EXPECT_EQ(store->managedDisplayID(), 0u);
    EXPECT_EQ(store->bounds(0), screen);
    EXPECT_EQ(store->bounds(77), screen);
    EXPECT_FALSE(store->pointerDisplay());
    EXPECT_FALSE(store->parkingDisplay());
    EXPECT_EQ(store->parkingCorner(), (CGPoint{999, 799}));
}

TEST_F(WorkspaceStoreState, OneDisplayNeverFollowsThePointer) {
    makeStore();
    store->displaysChanged({Display(5, CGRect(0, 0, 1000, 825))});
    store->queries.pointerLocation = [] { return CGPoint{10, 10}; };
    EXPECT_EQ(store->managedDisplayID(), 5u);
    EXPECT_FALSE(store->pointerDisplay());
    EXPECT_EQ(store->focusedDisplay(), 5u);
    // The managed display's rectangle is the screen, not its frame.
    EXPECT_EQ(store->bounds(5), screen);
    EXPECT_FALSE(store->parkingDisplay());
}

TEST_F(WorkspaceStoreState, ActiveDesktopFollowsThePointerAcrossDisplays) {
    makeStore();
    store->displaysChanged(
        {Display(1, CGRect(0, 0, 1000, 800)), Display(2, CGRect(1000, 0, 800, 600))});
    CGPoint pointer{1500, 100};
    store->queries.pointerLocation = [&] { return pointer; };
    EXPECT_EQ(store->pointerDisplay(), 2u);
    store->setActiveDesktop(3);
    EXPECT_EQ(store->activeDesktop(2), 3);
    EXPECT_EQ(store->activeDesktop(1), 1);
    pointer = {10, 10};
    EXPECT_EQ(store->activeDesktop(), 1);
    pointer = {5000, 5000};  // off every display: the managed one
    EXPECT_FALSE(store->pointerDisplay());
    EXPECT_EQ(store->focusedDisplay(), 1u);
    EXPECT_EQ(store->bounds(2), CGRect(1000, 0, 800, 600));
}

TEST_F(WorkspaceStoreState, ParkingDisplayIsTheRightmostThenLowestThenGreaterId) {
    makeStore();
    store->displaysChanged(
        {Display(1, CGRect(0, 0, 1000, 800)), Display(2, CGRect(-1000, 0, 1000, 800))});
    EXPECT_EQ(store->parkingDisplay()->id, 1u);
    EXPECT_EQ(store->parkingCorner(), (CGPoint{999, 799}));
    store->displaysChanged(
        {Display(1, CGRect(0, 0, 1000, 800)), Display(2, CGRect(0, 800, 1000, 900))});
    EXPECT_EQ(store->parkingDisplay()->id, 2u);
    store->displaysChanged(
        {Display(4, CGRect(0, 0, 1000, 800)), Display(2, CGRect(0, 0, 1000, 800))});
    EXPECT_EQ(store->parkingDisplay()->id, 4u);
    EXPECT_EQ(store->parkingCorner(), (CGPoint{999, 799}));
}

TEST_F(WorkspaceStoreState, DisplayChangesAreDetectedInOrder) {
    makeStore();
    const std::vector<Display> two = {Display(1, CGRect(0, 0, 1000, 800)),
                                      Display(2, CGRect(1000, 0, 800, 600))};
    EXPECT_TRUE(store->displaysChanged(two));
    settle();
    recorder.clear();
    EXPECT_FALSE(store->displaysChanged(two));
    settle();
    EXPECT_TRUE(recorder.of("onLayoutPass").empty());
    EXPECT_TRUE(store->displaysChanged({two[1], two[0]}));
    settle();
    EXPECT_EQ(recorder.of("onLayoutPass").size(), 1u);
}

TEST_F(WorkspaceStoreState, WindowsOfAVanishedDisplayMoveToTheOneHoldingMostOfThem) {
    makeStore();
    store->displaysChanged({Display(1, CGRect(0, 0, 1000, 800))});
    adopt(10, CGRect(100, 100, 300, 200));
    adopt(11, CGRect(200, 100, 300, 200));
    recorder.clear();
    // Display 1 is replaced by 7 and 3: window 10 lies mostly on 7, window 11 equally on both.
    bridge->window(WindowID(10)).record.frame = CGRect(900, 0, 300, 200);
    bridge->window(WindowID(11)).record.frame = CGRect(900, 0, 200, 200);
    store->displaysChanged(
        {Display(7, CGRect(1000, 0, 1000, 800)), Display(3, CGRect(0, 0, 1000, 800))});
    EXPECT_EQ(store->state().windows.at(WindowID(10)).displayHome, 7u);
    EXPECT_EQ(store->state().windows.at(WindowID(11)).displayHome, 3u);
    EXPECT_EQ(
        recorder.of("onChangedDisplay"),
        (std::vector<std::string>{"onChangedDisplay(win#10, 7)", "onChangedDisplay(win#11, 3)"}));
    EXPECT_EQ(store->state().trees.at(Pane{1, 7}).windows(), std::vector{WindowID(10)});
    EXPECT_EQ(store->state().trees.at(Pane{1, 3}).windows(), std::vector{WindowID(11)});

    // A window still on an attached display stays, wherever its frame is.
    bridge->window(WindowID(11)).record.frame = CGRect(1500, 0, 200, 200);
    // Display 7 is unplugged: its window, off every display now, goes to the managed one.
    bridge->window(WindowID(10)).record.frame = CGRect(5000, 0, 300, 200);
    store->displaysChanged({Display(3, CGRect(0, 0, 1000, 800))});
    EXPECT_EQ(store->state().windows.at(WindowID(10)).displayHome, 3u);
    EXPECT_EQ(store->state().windows.at(WindowID(11)).displayHome, 3u);
    EXPECT_EQ(recorder.of("onChangedDisplay").size(), 3u);
}

TEST_F(WorkspaceStoreState, WindowsAdoptedBeforeAnyDisplayFollowTheirTree) {
    makeStore();
    adopt(1);
    adopt(2);
    ASSERT_FALSE(store->state().windows.at(WindowID(1)).displayHome);
    ASSERT_FALSE(store->state().windows.at(WindowID(2)).displayHome);
    store->displaysChanged({Display(4, CGRect(0, 0, 1000, 800))});
    settle();
    EXPECT_EQ(store->state().trees.at(Pane{1, 4}).windows(),
              (std::vector{WindowID(1), WindowID(2)}));
    EXPECT_TRUE(store->state().trees.at(Pane{1, 0}).isEmpty());
    EXPECT_EQ(store->visibleLayout().size(), 2u);
    EXPECT_EQ(frameOf(2), CGRect(500, 0, 500, 800));
}

TEST_F(WorkspaceStoreState, AWindowWithoutItsOwnDisplayMovesWithTheManagedOne) {
    makeStore();
    store->displaysChanged(
        {Display(1, CGRect(0, 0, 1000, 800)), Display(2, CGRect(1000, 0, 1000, 800))});
    window(5, CGRect(100, 100, 300, 200)).unreadable();
    store->add(WindowID(5), "a", std::nullopt, false, false);
    ASSERT_FALSE(store->state().windows.at(WindowID(5)).displayHome);
    // The screen now lies on display 2, which becomes the managed display.
    store->screenChanged(CGRect(1000, 0, 1000, 800));
    settle();
    EXPECT_EQ(store->paneKey(WindowID(5)), (Pane{1, 1}));
    EXPECT_EQ(store->state().trees.at(Pane{1, 1}).windows(), std::vector{WindowID(5)});
    EXPECT_EQ(store->layout(1).count(WindowID(5)), 1u);
}

TEST_F(WorkspaceStoreState, ParkedAndFullScreenWindowsKeepTheirDisplay) {
    makeStore();
    store->displaysChanged(
        {Display(1, CGRect(0, 0, 1000, 800)), Display(2, CGRect(1000, 0, 1000, 800))});
    adopt(10, CGRect(100, 100, 300, 200));
    adopt(11, CGRect(150, 100, 300, 200));
    store->park({WindowID(10)});
    store->enterFullScreen(WindowID(11), 1);
    const auto before = store->state().windows;
    store->displaysChanged({Display(3, CGRect(0, 0, 1000, 800))});
    for (std::uint32_t w : {10u, 11u}) {
        EXPECT_EQ(store->state().windows.at(WindowID(w)).displayHome,
                  before.at(WindowID(w)).displayHome);
    }
}

TEST_F(WorkspaceStoreState, RemovingTheMainWindowPromotesTheFirstOfTheStack) {
    config.defaultLayoutMode = LayoutMode::masterStack;
    makeStore();
    for (std::uint32_t w : {1u, 2u, 3u})
        adopt(w);
    const LayoutTree before = store->state().trees.at(Pane{1, 0});
    EXPECT_EQ(before, LayoutTree::masterStack({WindowID(1), WindowID(2), WindowID(3)}, 0.5));
    store->removeFromTree(WindowID(1), 1);
    EXPECT_EQ(store->state().trees.at(Pane{1, 0}),
              LayoutTree::masterStack({WindowID(2), WindowID(3)}, 0.5));
}

TEST_F(WorkspaceStoreState, RemovingFromASplitTreeIsThePlainRemoval) {
    config.defaultLayoutMode = LayoutMode::masterStack;
    makeStore();
    using Node = LayoutTree::Node;
    // The root's first child is a split: not the main-and-stack shape.
    const LayoutTree tree(Node::split(
        Axis::vertical, 0.5,
        Node::split(Axis::horizontal, 0.3, Node::leaf(WindowID(1)), Node::leaf(WindowID(2))),
        Node::leaf(WindowID(3))));
    SessionSnapshot snapshot;
    snapshot.panes.push_back({1, 0, tree});
    std::vector<AdoptionRecord> records;
    for (std::uint32_t w : {1u, 2u, 3u}) {
        window(w, CGRect(0, 0, 100, 100));
        snapshot.bundleIDs[WindowID(w)] = "a";
        records.push_back({WindowID(w), "a", false, false});
    }
    store->restore(snapshot, records);
    store->removeFromTree(WindowID(3), 1);
    LayoutTree expected = tree;
    expected.remove(WindowID(3));
    EXPECT_EQ(store->state().trees.at(Pane{1, 0}), expected);
}

TEST_F(WorkspaceStoreState, LoweringTheDesktopCountGathersTheSurplusOnTheLastDesktop) {
    config.defaultLayoutMode = LayoutMode::masterStack;  // keeps insertion order visible
    makeStore();
    // One window on each of desktops 1 … 9, numbered 10 + desktop, and a second on 6.
    for (int d = 1; d <= 9; ++d) {
        store->switchTo(d, std::nullopt);
        adopt(static_cast<std::uint32_t>(10 + d));
    }
    store->switchTo(6, std::nullopt);
    adopt(30);
    settle();
    Config fewer = config;
    fewer.desktopCount = 4;
    store->apply(fewer);
    settle();
    EXPECT_EQ(store->desktopCount(), 4);
    EXPECT_EQ(store->activeDesktop(), 4);
    EXPECT_EQ(store->windows(4),
              (std::vector<WindowID>{WindowID(14), WindowID(15), WindowID(16), WindowID(17),
                                     WindowID(18), WindowID(19), WindowID(30)}));
    // Desktops 9 down to 5, each desktop's windows ascending, joined the stack in that order.
    EXPECT_EQ(store->state().trees.at(Pane{4, 0}).windows(),
              (std::vector<WindowID>{WindowID(14), WindowID(19), WindowID(18), WindowID(17),
                                     WindowID(16), WindowID(30), WindowID(15)}));
    EXPECT_TRUE(store->windows(5).empty());
}

TEST_F(WorkspaceStoreState, QueriesOnUnmanagedWindowsFindNothing) {
    makeStore();
    EXPECT_FALSE(store->paneKey(WindowID(1)));
    EXPECT_FALSE(store->desktop(WindowID(1)));
    EXPECT_FALSE(store->zoomed(1));
    EXPECT_TRUE(store->occupiedDesktops().empty());
    EXPECT_TRUE(store->windows(1).empty());
    store->moveToDisplay(WindowID(1), 3, 1);  // names nothing managed: only re-homes
    adopt(5, CGRect(10, 10, 100, 100), true);
    adopt(6);
    EXPECT_EQ(store->occupiedDesktops(), std::set<int>{1});
    EXPECT_EQ(store->tiled(1), std::vector{WindowID(6)});
    EXPECT_EQ(store->floatingFrames(1),
              (std::map<WindowID, CGRect>{{WindowID(5), CGRect(10, 10, 100, 100)}}));
    bridge->window(WindowID(5)).unreadable();
    EXPECT_TRUE(store->floatingFrames(1).empty());
}

}  // namespace
}  // namespace kelvo
