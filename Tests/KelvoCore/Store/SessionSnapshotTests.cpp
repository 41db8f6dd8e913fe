#include <gtest/gtest.h>

#include "Base/JSON/JSONWriter.h"
#include "Support/Base/DecodeText.h"
#include "Support/KelvoCore/StoreFixture.h"
#include "Support/KelvoCore/TreeBuilders.h"
#include "Support/KelvoCore/TreeInvariant.h"

namespace kelvo {
namespace {

using Node = LayoutTree::Node;
using testing::decodeText;

LayoutTree pair(std::uint32_t a, std::uint32_t b) {
    return LayoutTree(
        Node::split(Axis::vertical, 0.5, Node::leaf(WindowID(a)), Node::leaf(WindowID(b))));
}

class Session : public StoreFixture {};

TEST_F(Session, SnapshotListsNonEmptyPanesInDesktopThenDisplayOrder) {
    makeStore();
    store->switchTo(2, std::nullopt);
    adopt(7, CGRect(0, 0, 10, 10), false, "org.example.b");
    store->switchTo(1, std::nullopt);
    adopt(5, CGRect(0, 0, 10, 10), false, "org.example.a");
    adopt(9, CGRect(0, 0, 10, 10), true, "org.example.float");
    store->removeFromTree(WindowID(7), 2);  // desktop 2 keeps an empty tree
    const SessionSnapshot snapshot = store->sessionSnapshot(1700000000.5);
    ASSERT_EQ(snapshot.panes.size(), 1u);
    EXPECT_EQ(snapshot.panes[0].desktop, 1);
    EXPECT_EQ(snapshot.bundleIDs,
              (std::map<WindowID, std::string>{{WindowID(5), "org.example.a"}}));
    EXPECT_EQ(JSONWriter::write(encodeJSON(snapshot)),
              R"({"activeDesktop":1,"bootTime":1700000000.5,"bundleIDs":[5,"org.example.a"],)"
              R"("panes":[{"desktop":1,"display":0,"tree":{"root":{"leaf":{"_0":{"raw":5}}}}}]})");

    store->insertIntoTree(WindowID(7), 2, std::nullopt);
    const SessionSnapshot both = store->sessionSnapshot(1);
    ASSERT_EQ(both.panes.size(), 2u);
    EXPECT_EQ(both.panes[0].desktop, 1);
    EXPECT_EQ(both.panes[1].desktop, 2);
    EXPECT_NE(JSONWriter::write(encodeJSON(both))
                  .find(R"("bundleIDs":[5,"org.example.a",7,"org.example.b"])"),
              std::string::npos);
}

TEST_F(Session, SnapshotRoundTripsThroughItsJSON) {
    SessionSnapshot snapshot;
    snapshot.bootTime = 12.25;
    snapshot.activeDesktop = 3;
    snapshot.panes = {{1, 4, pair(5, 7)}, {3, 4, LayoutTree()}};
    snapshot.bundleIDs = {{WindowID(5), "a/b"}, {WindowID(7), "c"}};
    const std::string text = JSONWriter::write(encodeJSON(snapshot));
    EXPECT_EQ(decodeText<SessionSnapshot>(text), snapshot);
}

TEST_F(Session, DamagedFilesAreRefusedWhole) {
    const char* const damaged[] = {
        "",
        "{",
        "[]",
        R"({"activeDesktop":1,"panes":[],"bundleIDs":[]})",
        R"({"bootTime":1,"panes":[],"bundleIDs":[]})",
        R"({"bootTime":1,"activeDesktop":1,"bundleIDs":[]})",
        R"({"bootTime":1,"activeDesktop":1,"panes":[]})",
        R"({"bootTime":1,"activeDesktop":1,"panes":[],"bundleIDs":[5]})",
        R"({"bootTime":1,"activeDesktop":1,"panes":[],"bundleIDs":["5","a"]})",
        R"({"bootTime":1,"activeDesktop":1,"panes":[],"bundleIDs":[-5,"a"]})",
        R"({"bootTime":1,"activeDesktop":1,"panes":[],"bundleIDs":[5,6]})",
        R"({"bootTime":1,"activeDesktop":1,"panes":[{"desktop":1,"tree":{}}],"bundleIDs":[]})",
        R"({"bootTime":1,"activeDesktop":1,"panes":[{"desktop":1,"display":1}],"bundleIDs":[]})",
        R"({"bootTime":"1","activeDesktop":1,"panes":[],"bundleIDs":[]})",
        R"({"bootTime":1,"activeDesktop":1,"panes":[{"desktop":1,"display":1,"tree":{"root":{"leaf":{}}}}],"bundleIDs":[]})",
    };
    for (const char* text : damaged) {
        EXPECT_THROW(decodeText<SessionSnapshot>(text), DecodingError) << text;
    }
    const auto ok = decodeText<SessionSnapshot>(
        R"({"bundleIDs":[],"panes":[],"activeDesktop":2,"bootTime":5,"extra":true})");
    EXPECT_EQ(ok.activeDesktop, 2);
}

TEST_F(Session, RestorePutsLiveWindowsBackAndDropsTheRest) {
    makeStore();
    SessionSnapshot snapshot;
    snapshot.panes = {
        {2, 0, pair(5, 6)},
        {12, 0, LayoutTree(Node::leaf(WindowID(8)))},  // beyond the desktop count
        {1, 0, pair(7, 9)},
    };
    snapshot.bundleIDs = {{WindowID(5), "a"},
                          {WindowID(6), "b"},
                          {WindowID(7), "c"},
                          {WindowID(8), "d"},
                          {WindowID(9), "e"}};
    // 6 now belongs to another application, 9 floats, 5 and 7 live on.
    const std::vector<AdoptionRecord> live = {record(5, "a"), record(6, "other"), record(7, "c"),
                                              record(8, "d"), record(9, "e", true)};
    const std::set<WindowID> restored = store->restore(snapshot, live);
    EXPECT_EQ(restored, (std::set{WindowID(5), WindowID(7)}));
    EXPECT_EQ(recorder.of("onRestoredSession"), std::vector<std::string>{"onRestoredSession(2)"});
    EXPECT_EQ(store->desktop(WindowID(5)), 2);
    EXPECT_EQ(store->desktop(WindowID(7)), 1);
    EXPECT_FALSE(store->desktop(WindowID(8)));
    EXPECT_EQ(store->state().trees.at(Pane{2, 0}), LayoutTree(Node::leaf(WindowID(5))));
    // Without displays nothing is recorded as a display home.
    EXPECT_TRUE(store->state()
                    .windowsWhere([](const WindowState& w) { return w.displayHome.has_value(); })
                    .empty());
}

TEST_F(Session, RestoreKeepsDisplaysThatAreStillAttached) {
    makeStore();
    store->displaysChanged(
        {Display(4, CGRect(0, 0, 1000, 800)), Display(6, CGRect(1000, 0, 800, 600))});
    SessionSnapshot snapshot;
    snapshot.panes = {{1, 6, LayoutTree(Node::leaf(WindowID(5)))},
                      {1, 9, LayoutTree(Node::leaf(WindowID(7)))}};
    snapshot.bundleIDs = {{WindowID(5), "a"}, {WindowID(7), "a"}};
    EXPECT_EQ(store->restore(snapshot, {record(5, "a"), record(7, "a")}), std::set{WindowID(5)});
    EXPECT_EQ(store->state().windows.at(WindowID(5)).displayHome, 6u);
}

TEST_F(Session, AWindowSavedTwiceIsRestoredOnce) {
    makeStore();
    SessionSnapshot snapshot;
    // Twice in one tree, and again in a later pane.
    snapshot.panes = {{1, 0,
                       LayoutTree(Node::split(Axis::vertical, 0.5, pair(5, 6).root.value(),
                                              Node::leaf(WindowID(5))))},
                      {2, 0, pair(5, 7)}};
    snapshot.bundleIDs = {{WindowID(5), "a"}, {WindowID(6), "a"}, {WindowID(7), "a"}};
    const auto restored =
        store->restore(snapshot, {record(5, "a"), record(6, "a"), record(7, "a")});
    EXPECT_EQ(restored, (std::set{WindowID(5), WindowID(6), WindowID(7)}));
    EXPECT_EQ(store->state().trees.at(Pane{1, 0}), pair(5, 6));
    EXPECT_EQ(store->state().trees.at(Pane{2, 0}), LayoutTree(Node::leaf(WindowID(7))));
    EXPECT_EQ(store->desktop(WindowID(5)), 1);
}

TEST_F(Session, AFileOfOneLongChainReadsBackEqual) {
    // Some 40,000 levels of nesting: far past what a recursive writer or reader survives.
    constexpr std::uint32_t windows = 20000;
    SessionSnapshot snapshot;
    snapshot.bootTime = 7;
    snapshot.panes = {{1, 4, splitChain(1, windows)}};
    for (std::uint32_t w = 1; w <= windows; ++w)
        snapshot.bundleIDs[WindowID(w)] = "org.example.app";
    const std::string text = snapshot.fileText();
    EXPECT_EQ(text.rfind(R"({"bootTime":7,"activeDesktop":1,"panes":[{"desktop":1,)", 0), 0u);
    EXPECT_EQ(SessionSnapshot::fromFileText(text), snapshot);
    // Other documents keep their nesting guard.
    EXPECT_THROW(decodeText<SessionSnapshot>(text), DecodingError);
}

TEST_F(Session, ADamagedDeepFileFailsWithThePathOfTheFault) {
    const std::string deep = R"({"split":{"axis":{"vertical":{}},"ratio":0.5,"first":)"
                             R"({"leaf":{"_0":{"raw":1}}},"second":)";
    std::string tree;
    for (int i = 0; i < 600; ++i)
        tree += deep;
    tree += R"({"leaf":{"_0":{"raw":"x"}}})" + std::string(1200, '}');
    const std::string text = R"({"bootTime":1,"activeDesktop":1,"bundleIDs":[],)"
                             R"("panes":[{"desktop":1,"display":0,"tree":{"root":)" +
                             tree + "}}]}";
    try {
        SessionSnapshot::fromFileText(text);
        FAIL() << "decoded";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.kind(), DecodingError::Kind::typeMismatch);
        const auto& path = error.codingPath();
        ASSERT_EQ(path.size(), 4u + 600 * 2 + 3);
        EXPECT_EQ(
            std::vector(path.begin(), path.begin() + 6),
            (std::vector<std::string>{"panes", "Index 0", "tree", "root", "split", "second"}));
        EXPECT_EQ(std::vector(path.end() - 4, path.end()),
                  (std::vector<std::string>{"second", "leaf", "_0", "raw"}));
    }
}

TEST_F(Session, TwoSavedPanesOfOnePaneKeepEveryWindowInATree) {
    makeStore();
    SessionSnapshot snapshot;
    snapshot.panes = {{1, 0, pair(5, 6)}, {1, 0, pair(7, 8)}};
    snapshot.bundleIDs = {
        {WindowID(5), "a"}, {WindowID(6), "a"}, {WindowID(7), "a"}, {WindowID(8), "a"}};
    const auto live = {record(5, "a"), record(6, "a"), record(7, "a"), record(8, "a")};
    EXPECT_EQ(store->restore(snapshot, live).size(), 4u);
    EXPECT_EQ(shape(*store, Pane{1, 0}), "(v0.5 (v0.5 5 6) (v0.5 7 8))");
    EXPECT_EQ(treeInvariantViolations(*store), std::vector<std::string>{});
}

TEST_F(Session, EveryDisplaysPaneComesToTheOneDisplayWhenNoneIsKnown) {
    makeStore();
    SessionSnapshot snapshot;
    snapshot.panes = {{2, 4, pair(5, 6)}, {2, 9, LayoutTree(Node::leaf(WindowID(7)))}};
    snapshot.bundleIDs = {{WindowID(5), "a"}, {WindowID(6), "a"}, {WindowID(7), "a"}};
    EXPECT_EQ(store->restore(snapshot, {record(5, "a"), record(6, "a"), record(7, "a")}).size(),
              3u);
    EXPECT_EQ(shape(*store, Pane{2, 0}), "(v0.5 (v0.5 5 6) 7)");
    EXPECT_EQ(treeInvariantViolations(*store), std::vector<std::string>{});
}

TEST_F(Session, ManyGoneWindowsLeaveTheLiveOnesInTheirPlaces) {
    makeStore();
    constexpr std::uint32_t saved = 20000;
    SessionSnapshot snapshot;
    snapshot.panes = {{1, 0, splitChain(1, saved)}};
    for (std::uint32_t w = 1; w <= saved; ++w)
        snapshot.bundleIDs[WindowID(w)] = "a";
    const auto live = {record(3, "a"), record(10000, "a"), record(saved, "a")};
    EXPECT_EQ(store->restore(snapshot, live).size(), 3u);
    EXPECT_EQ(shape(*store, Pane{1, 0}), "(v0.5 3 (v0.5 10000 20000))");
}

TEST_F(Session, NoSnapshotRestoresNothing) {
    makeStore();
    EXPECT_TRUE(store->restore(std::nullopt, {record(1, "a")}).empty());
    SessionSnapshot empty;
    EXPECT_TRUE(store->restore(empty, {record(1, "a")}).empty());
    EXPECT_TRUE(recorder.of("onRestoredSession").empty());
}

}  // namespace
}  // namespace kelvo
