#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <span>

#include "Support/KelvoCore/TreeBuilders.h"

namespace kelvo {
namespace {

const CGRect pane(0, 0, 1000, 800);

// Insertion

TEST(LayoutTreeInsert, FirstWindowBecomesTheRootLeaf) {
    LayoutTree tree;
    tree.insert(W(7), std::nullopt, pane);
    EXPECT_EQ(tree, T(L(7)));
}

TEST(LayoutTreeInsert, SecondWindowTakesTheRightHalfOfAWidePane) {
    LayoutTree tree = T(L(1));
    tree.insert(W(2), std::nullopt, pane);
    EXPECT_EQ(tree, T(V(0.5, L(1), L(2))));
}

TEST(LayoutTreeInsert, ChoosesTheTargetLeaf) {
    struct Row {
        const char* name;
        LayoutTree before;
        std::optional<WindowID> focused;
        LayoutTree after;
        CGRect in = pane;
    };
    const Row rows[] = {
        // Two 500 × 800 halves: equal areas, so the smaller id, cut across its longer side.
        {"equal areas: smaller id", T(V(0.5, L(1), L(2))), std::nullopt,
         T(V(0.5, H(0.5, L(1), L(3)), L(2)))},
        {"equal areas: smaller id on the right", T(V(0.5, L(5), L(2))), std::nullopt,
         T(V(0.5, L(5), H(0.5, L(2), L(3))))},
        {"larger area beats smaller id", T(V(0.3, L(1), L(2))), std::nullopt,
         T(V(0.3, L(1), H(0.5, L(2), L(3))))},
        {"wide target", T(V(0.6, L(1), L(2))), std::nullopt, T(V(0.6, V(0.5, L(1), L(3)), L(2))),
         CGRect(0, 0, 1000, 400)},
        {"focused window", T(V(0.5, L(1), L(2))), W(2), T(V(0.5, L(1), H(0.5, L(2), L(3))))},
        {"focused window not in the tree", T(V(0.5, L(1), L(2))), W(9),
         T(V(0.5, H(0.5, L(1), L(3)), L(2)))},
        // 400 × 400 is square: cut side by side.
        {"square target", T(H(0.5, L(1), L(2))), std::nullopt, T(H(0.5, V(0.5, L(1), L(3)), L(2))),
         CGRect(0, 0, 400, 800)},
    };
    for (const auto& row : rows) {
        LayoutTree tree = row.before;
        tree.insert(W(3), row.focused, row.in);
        EXPECT_EQ(tree, row.after) << row.name;
    }
}

TEST(LayoutTreeInsert, NodeInsertNeedsATargetInTheTree) {
    const Node node = V(0.5, L(1), L(2));
    EXPECT_EQ(LayoutTree::insert(node, W(3), std::nullopt, Axis::vertical), node);
    EXPECT_EQ(LayoutTree::insert(node, W(3), W(9), Axis::vertical), node);
    EXPECT_EQ(LayoutTree::insert(node, W(3), W(2), Axis::horizontal),
              V(0.5, L(1), H(0.5, L(2), L(3))));
}

// Removal

TEST(LayoutTreeRemove, SiblingTakesTheParentsPlaceWithItsOwnRatios) {
    struct Row {
        LayoutTree before;
        std::uint32_t removed;
        LayoutTree after;
    };
    const Row rows[] = {
        {T(V(0.5, L(1), L(2))), 1, T(L(2))},
        {T(V(0.5, L(1), L(2))), 2, T(L(1))},
        {T(L(1)), 1, LayoutTree()},
        {T(V(0.3, L(1), H(0.7, L(2), L(3)))), 1, T(H(0.7, L(2), L(3)))},
        {T(V(0.3, L(1), H(0.7, L(2), L(3)))), 3, T(V(0.3, L(1), L(2)))},
        {T(V(0.3, L(1), L(2))), 9, T(V(0.3, L(1), L(2)))},
        {LayoutTree(), 1, LayoutTree()},
        // A damaged tree can hold a window twice; it must go entirely.
        {T(V(0.5, L(1), H(0.5, L(2), L(1)))), 1, T(L(2))},
    };
    for (const auto& row : rows) {
        LayoutTree tree = row.before;
        tree.remove(W(row.removed));
        EXPECT_EQ(tree, row.after) << "removing " << row.removed;
    }
}

TEST(LayoutTreeRemove, LastWindowLeavesAnEmptyTree) {
    LayoutTree tree = T(V(0.5, L(1), L(2)));
    tree.remove(W(1));
    tree.remove(W(2));
    EXPECT_TRUE(tree.isEmpty());
    EXPECT_TRUE(tree.windows().empty());
    EXPECT_EQ(JSONWriter::write(encodeJSON(tree)), "{}");
}

// Pane rectangles

TEST(LayoutTreeRects, CutsWithoutRounding) {
    const auto rects = T(V(0.5, L(1), H(0.25, L(2), L(3)))).rects(CGRect(10, 20, 1001, 800));
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects.at(W(1)), CGRect(10, 20, 500.5, 800));
    EXPECT_EQ(rects.at(W(2)), CGRect(510.5, 20, 500.5, 200));
    EXPECT_EQ(rects.at(W(3)), CGRect(510.5, 220, 500.5, 600));
}

TEST(LayoutTreeRects, EmptyTreeHasNoRectangles) {
    EXPECT_TRUE(LayoutTree().rects(pane).empty());
}

TEST(LayoutTreeRects, RatioUsedFollowsStoredRatioAndMinimums) {
    struct Row {
        const char* name;
        double ratio;
        CGSize firstMinimum, secondMinimum;
        double firstWidth;
    };
    const Row rows[] = {
        {"stored 0.95", 0.95, {}, {}, 950},
        {"stored 1.3 lowered to 1", 1.3, {}, {}, 1000},
        {"stored below 0 raised to 0", -0.2, {}, {}, 0},
        {"first needs more", 0.5, {600, 0}, {300, 0}, 600},
        {"second needs more", 0.5, {0, 0}, {700, 0}, 300},
        {"both fit: stored ratio stays", 0.5, {300, 0}, {300, 0}, 500},
        {"neither fits: both fall short alike", 0.5, {600, 0}, {500, 0}, 550},
        {"first needs more than everything", 0.5, {1200, 0}, {0, 0}, 1000},
        {"second needs more than everything", 0.5, {0, 0}, {1200, 0}, 0},
        {"heights do not matter to a vertical cut", 0.5, {0, 5000}, {0, 5000}, 500},
    };
    for (const auto& row : rows) {
        const LayoutTree tree = T(V(row.ratio, L(1), L(2)));
        const auto rects = tree.rects(pane, {{W(1), row.firstMinimum}, {W(2), row.secondMinimum}});
        EXPECT_DOUBLE_EQ(rects.at(W(1)).width(), row.firstWidth) << row.name;
        EXPECT_DOUBLE_EQ(rects.at(W(2)).width(), 1000 - row.firstWidth) << row.name;
        EXPECT_DOUBLE_EQ(rects.at(W(2)).minX(), row.firstWidth) << row.name;
        EXPECT_EQ(tree, T(V(row.ratio, L(1), L(2)))) << "stored ratio changed: " << row.name;
    }
}

TEST(LayoutTreeRects, ZeroExtentUsesTheStoredRatioAndStaysFinite) {
    const LayoutTree tree = T(V(0.3, L(1), H(1.4, L(2), L(3))));
    const auto rects = tree.rects(CGRect(5, 5, 0, 0), {{W(1), {100, 100}}, {W(3), {50, 50}}});
    for (const auto& [id, r] : rects) {
        EXPECT_TRUE(std::isfinite(r.minX()) && std::isfinite(r.minY())) << id.description();
        EXPECT_EQ(r.width(), 0);
        EXPECT_EQ(r.height(), 0);
    }
    // A zero-width pane still cuts its height at the stored ratio, clamped to [0, 1].
    const auto tall = T(H(0.25, L(1), L(2))).rects(CGRect(0, 0, 0, 400), {});
    EXPECT_EQ(tall.at(W(1)), CGRect(0, 0, 0, 100));
    EXPECT_EQ(T(H(1.4, L(1), L(2))).rects(CGRect(0, 0, 0, 400), {}).at(W(2)).height(), 0);
}

TEST(LayoutTreeRects, NestedMinimumsMoveOuterDividers) {
    // The left column stacks two windows; the wider of them sets the column's minimum width.
    const LayoutTree tree = T(V(0.5, H(0.5, L(1), L(2)), L(3)));
    const auto rects = tree.rects(pane, {{W(1), {300, 0}}, {W(2), {700, 0}}});
    EXPECT_DOUBLE_EQ(rects.at(W(1)).width(), 700);
    EXPECT_DOUBLE_EQ(rects.at(W(3)).minX(), 700);
}

TEST(LayoutTreeRects, ManyMinimumsOfOtherWindowsGiveTheSameRectanglesAsTheTreesOwn) {
    // Leaves out of window order, so that the walk beside the minimums meets them sorted.
    const LayoutTree tree = T(V(0.5, H(0.5, L(40), L(2)), V(0.5, L(17), L(5))));
    const LayoutTree::Minimums own{{W(2), {700, 0}}, {W(17), {0, 300}}, {W(40), {300, 0}}};
    LayoutTree::Minimums many = own;
    for (std::uint32_t raw = 100; raw < 200; ++raw)
        many[W(raw)] = {5000, 5000};
    many[W(1)] = {5000, 5000};
    const auto rects = tree.rects(pane, own);
    EXPECT_EQ(tree.rects(pane, many), rects) << "minimums looked up one by one";
    EXPECT_DOUBLE_EQ(rects.at(W(40)).width(), 700);
    EXPECT_EQ(rects.size(), 4u);
}

TEST(LayoutTreeRects, AWindowInTwoLeavesHasItsFirstLeafsRectangle) {
    const auto rects = T(V(0.25, L(3), V(0.5, L(1), L(3)))).rects(CGRect(0, 0, 1000, 100));
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects.at(W(3)), CGRect(0, 0, 250, 100));
}

TEST(LayoutTreeRects, MinimumExtentAddsAlongTheAxisAndTakesTheLargerAcross) {
    const LayoutTree::Minimums minimums{{W(1), {300, 200}}, {W(2), {100, 500}}, {W(3), {400, 50}}};
    struct Row {
        Node node;
        CGSize extent;
    };
    const Row rows[] = {
        {L(1), {300, 200}},
        {L(9), {0, 0}},
        {V(0.5, L(1), L(2)), {400, 500}},
        {H(0.5, L(1), L(2)), {300, 700}},
        {V(0.5, H(0.5, L(1), L(2)), L(3)), {700, 700}},
        {H(0.5, V(0.5, L(1), L(3)), L(2)), {700, 700}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LayoutTree::minimumExtent(row.node, minimums), row.extent);
}

TEST(LayoutTreeRects, WindowHeldTwiceGetsItsFirstLeafsRectangle) {
    const auto rects = T(V(0.25, L(1), V(0.5, L(2), L(1)))).rects(pane);
    EXPECT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects.at(W(1)), CGRect(0, 0, 250, 800));
}

// Resizing

TEST(LayoutTreeResize, MovesTheNearestEnclosingDividerOfTheMatchingAxis) {
    struct Row {
        const char* name;
        LayoutTree before;
        std::uint32_t window;
        Direction direction;
        LayoutTree after;
    };
    const Row rows[] = {
        {"right half, right: window shrinks", T(V(0.5, L(1), L(2))), 2, Direction::right,
         T(V(0.55, L(1), L(2)))},
        {"left half, left", T(V(0.5, L(1), L(2))), 1, Direction::left, T(V(0.45, L(1), L(2)))},
        {"down", T(H(0.5, L(1), L(2))), 1, Direction::down, T(H(0.55, L(1), L(2)))},
        {"up", T(H(0.5, L(1), L(2))), 2, Direction::up, T(H(0.45, L(1), L(2)))},
        {"up with only vertical splits", T(V(0.5, L(1), V(0.5, L(2), L(3)))), 3, Direction::up,
         T(V(0.5, L(1), V(0.5, L(2), L(3))))},
        {"parent of the other axis: the ancestor moves", T(H(0.5, V(0.5, L(1), L(2)), L(3))), 1,
         Direction::down, T(H(0.55, V(0.5, L(1), L(2)), L(3)))},
        {"parent of the same axis wins over the ancestor", T(V(0.5, V(0.5, L(1), L(2)), L(3))), 2,
         Direction::right, T(V(0.5, V(0.55, L(1), L(2)), L(3)))},
        {"stored above the bound is clamped", T(V(0.97, L(1), L(2))), 1, Direction::left,
         T(V(0.9, L(1), L(2)))},
        {"alone", T(L(1)), 1, Direction::right, T(L(1))},
        {"absent", T(V(0.5, L(1), L(2))), 9, Direction::right, T(V(0.5, L(1), L(2)))},
        {"empty", LayoutTree(), 1, Direction::right, LayoutTree()},
    };
    for (const auto& row : rows) {
        LayoutTree tree = row.before;
        tree.resize(W(row.window), row.direction, 0.05);
        EXPECT_EQ(tree, row.after) << row.name;
    }
}

TEST(LayoutTreeResize, StepsStopAtTheBounds) {
    LayoutTree tree = T(V(0.5, L(1), L(2)));
    for (int i = 0; i < 20; ++i)
        tree.resize(W(2), Direction::right, 0.05);
    EXPECT_EQ(tree.masterRatio(), 0.9);
    for (int i = 0; i < 40; ++i)
        tree.resize(W(2), Direction::left, 0.05);
    EXPECT_EQ(tree.masterRatio(), 0.1);
}

TEST(LayoutTreeResize, NodeOperationsSplitTheWorkBetweenParentAndAncestor) {
    const Node node = H(0.5, V(0.5, L(1), L(2)), L(3));
    EXPECT_EQ(LayoutTree::resize(node, W(1), Direction::down, 0.05), std::nullopt);
    EXPECT_EQ(LayoutTree::resizeAncestor(node, W(1), Direction::down, 0.05),
              H(0.55, V(0.5, L(1), L(2)), L(3)));
    EXPECT_EQ(LayoutTree::resize(node, W(1), Direction::right, 0.05),
              H(0.5, V(0.55, L(1), L(2)), L(3)));
    EXPECT_EQ(LayoutTree::resizeAncestor(node, W(3), Direction::right, 0.05), std::nullopt);
    EXPECT_EQ(LayoutTree::resize(L(1), W(1), Direction::right, 0.05), std::nullopt);
}

// Split direction, rotation, swapping and moving

TEST(LayoutTreeShape, ToggleSplitFlipsOnlyTheDirectParent) {
    LayoutTree tree = T(H(0.3, V(0.6, L(1), L(2)), L(3)));
    tree.toggleSplit(W(1));
    EXPECT_EQ(tree, T(H(0.3, H(0.6, L(1), L(2)), L(3))));
    tree.toggleSplit(W(3));
    EXPECT_EQ(tree, T(V(0.3, H(0.6, L(1), L(2)), L(3))));

    LayoutTree alone = T(L(1));
    alone.toggleSplit(W(1));
    EXPECT_EQ(alone, T(L(1)));
    EXPECT_EQ(LayoutTree::toggleSplit(L(1), W(1)), std::nullopt);
    EXPECT_EQ(LayoutTree::toggleSplit(V(0.5, L(1), L(2)), W(9)), std::nullopt);
}

TEST(LayoutTreeShape, RotateFlipsEverySplitKeepingRatiosAndOrder) {
    LayoutTree tree = T(V(0.3, H(0.6, L(1), L(2)), V(0.8, L(3), L(4))));
    tree.rotate();
    EXPECT_EQ(tree, T(H(0.3, V(0.6, L(1), L(2)), H(0.8, L(3), L(4)))));
    LayoutTree empty;
    empty.rotate();
    EXPECT_TRUE(empty.isEmpty());
}

TEST(LayoutTreeShape, SwapExchangesLeavesOnlyWhenBothArePresent) {
    const LayoutTree before = T(V(0.3, L(1), H(0.6, L(2), L(3))));
    struct Row {
        std::uint32_t a, b;
        LayoutTree after;
    };
    const Row rows[] = {
        {1, 3, T(V(0.3, L(3), H(0.6, L(2), L(1))))},
        {3, 1, T(V(0.3, L(3), H(0.6, L(2), L(1))))},
        {2, 2, before},
        {1, 9, before},
        {9, 1, before},
    };
    for (const auto& row : rows) {
        LayoutTree tree = before;
        tree.swap(W(row.a), W(row.b));
        EXPECT_EQ(tree, row.after) << row.a << " with " << row.b;
    }
}

TEST(LayoutTreeShape, MoveSwapsWithTheNeighbour) {
    LayoutTree tree = T(V(0.5, L(1), H(0.5, L(2), L(3))));
    tree.move(W(1), Direction::left, pane);
    EXPECT_EQ(tree, T(V(0.5, L(1), H(0.5, L(2), L(3))))) << "no neighbour on the left";
    tree.move(W(3), Direction::up, pane);
    EXPECT_EQ(tree, T(V(0.5, L(1), H(0.5, L(3), L(2)))));
    tree.move(W(1), Direction::right, pane);
    EXPECT_EQ(tree, T(V(0.5, L(3), H(0.5, L(1), L(2))))) << "the upper one has the smaller minY";
}

// Neighbours

TEST(LayoutTreeNeighbour, FindsTheAdjacentWindowInAGrid) {
    // 1 2
    // 3 4
    const LayoutTree tree = T(H(0.5, V(0.5, L(1), L(2)), V(0.5, L(3), L(4))));
    struct Row {
        std::uint32_t of;
        Direction direction;
        std::optional<WindowID> neighbour;
    };
    const Row rows[] = {
        {1, Direction::right, W(2)},        {1, Direction::down, W(3)},
        {4, Direction::left, W(3)},         {4, Direction::up, W(2)},
        {1, Direction::left, std::nullopt}, {1, Direction::up, std::nullopt},
        {3, Direction::right, W(4)},        {9, Direction::right, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(tree.neighbour(W(row.of), pane, row.direction), row.neighbour)
            << row.of << " " << toString(row.direction);
}

TEST(LayoutTreeNeighbour, PrefersTheSmallestGap) {
    const LayoutTree tree = T(V(1.0 / 3, L(1), V(0.5, L(2), L(3))));
    EXPECT_EQ(tree.neighbour(W(1), pane, Direction::right), W(2));
    EXPECT_EQ(tree.neighbour(W(3), pane, Direction::left), W(2));
}

TEST(LayoutTreeNeighbour, OnePointOfSlack) {
    const CGRect s(100, 100, 100, 100);
    const auto right = [&](double start) {
        return LayoutTree::neighbour(W(1), {{W(1), s}, {W(2), CGRect(start, 100, 100, 100)}},
                                     Direction::right);
    };
    EXPECT_EQ(right(200), W(2));
    EXPECT_EQ(right(199), W(2));
    EXPECT_EQ(right(198), std::nullopt);
    const auto up = [&](double end) {
        return LayoutTree::neighbour(W(1), {{W(1), s}, {W(2), CGRect(100, end - 50, 100, 50)}},
                                     Direction::up);
    };
    EXPECT_EQ(up(101), W(2));
    EXPECT_EQ(up(102), std::nullopt);
}

TEST(LayoutTreeNeighbour, NeedsOverlapAcrossTheAxis) {
    const CGRect s(100, 100, 100, 100);
    // Touching only at a corner is no overlap.
    EXPECT_EQ(LayoutTree::neighbour(W(1), {{W(1), s}, {W(2), CGRect(200, 200, 100, 100)}},
                                    Direction::right),
              std::nullopt);
    EXPECT_EQ(LayoutTree::neighbour(W(1), {{W(1), s}, {W(2), CGRect(200, 199, 100, 100)}},
                                    Direction::right),
              W(2));
}

TEST(LayoutTreeNeighbour, TiesGoToTheNearerCentreThenTheSmallerEdgeThenTheSmallerWindow) {
    const CGRect s(100, 100, 100, 100);
    struct Row {
        const char* name;
        LayoutTree::Rects among;
        Direction direction;
        WindowID expected;
    };
    const Row rows[] = {
        {"nearer centre",
         {{W(1), s}, {W(2), CGRect(200, 20, 100, 100)}, {W(3), CGRect(200, 140, 100, 100)}},
         Direction::right,
         W(3)},
        {"same centre distance: smaller minY",
         {{W(1), s}, {W(2), CGRect(200, 150, 100, 100)}, {W(3), CGRect(200, 50, 100, 100)}},
         Direction::right,
         W(3)},
        {"same minY: smaller window",
         {{W(1), s}, {W(3), CGRect(200, 50, 100, 100)}, {W(2), CGRect(200, 50, 300, 100)}},
         Direction::right,
         W(2)},
        {"up: smaller minX",
         {{W(1), s}, {W(2), CGRect(150, 0, 100, 100)}, {W(3), CGRect(50, 0, 100, 100)}},
         Direction::up,
         W(3)},
        {"smaller gap beats everything",
         {{W(1), s}, {W(2), CGRect(-100, 100, 100, 100)}, {W(3), CGRect(0, 199, 99, 5)}},
         Direction::left,
         W(3)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LayoutTree::neighbour(W(1), row.among, row.direction), row.expected) << row.name;
}

// Divider drags

TEST(LayoutTreeMoveDivider, MovesTheInnermostDividerFormingThatEdge) {
    struct Row {
        const char* name;
        LayoutTree before;
        std::uint32_t window;
        Direction edge;
        double coordinate;
        bool moved;
        LayoutTree after;
    };
    const Row rows[] = {
        {"left edge of the second child", T(V(0.5, L(1), L(2))), 2, Direction::left, 300, true,
         T(V(0.3, L(1), L(2)))},
        {"right edge of the first child", T(V(0.5, L(1), L(2))), 1, Direction::right, 700, true,
         T(V(0.7, L(1), L(2)))},
        {"left edge of the first child: nothing", T(V(0.5, L(1), L(2))), 1, Direction::left, 100,
         false, T(V(0.5, L(1), L(2)))},
        {"first child's left edge: the enclosing divider", T(V(0.5, L(1), V(0.5, L(2), L(3)))), 2,
         Direction::left, 400, true, T(V(0.4, L(1), V(0.5, L(2), L(3))))},
        {"innermost", T(V(0.5, L(1), V(0.5, L(2), L(3)))), 3, Direction::left, 800, true,
         T(V(0.5, L(1), V(0.6, L(2), L(3))))},
        {"across a split of the other axis", T(V(0.5, L(1), H(0.5, L(2), L(3)))), 3,
         Direction::left, 250, true, T(V(0.25, L(1), H(0.5, L(2), L(3))))},
        {"bottom edge", T(H(0.5, L(1), L(2))), 1, Direction::down, 200, true,
         T(H(0.25, L(1), L(2)))},
        {"top edge", T(H(0.5, L(1), L(2))), 2, Direction::up, 600, true, T(H(0.75, L(1), L(2)))},
        {"no divider of that axis", T(V(0.5, L(1), L(2))), 2, Direction::up, 100, false,
         T(V(0.5, L(1), L(2)))},
        {"clamped to 0.9", T(V(0.5, L(1), L(2))), 1, Direction::right, 990, true,
         T(V(0.9, L(1), L(2)))},
        {"clamped to 0.1", T(V(0.5, L(1), L(2))), 2, Direction::left, -50, true,
         T(V(0.1, L(1), L(2)))},
        {"not a number", T(V(0.5, L(1), L(2))), 2, Direction::left,
         std::numeric_limits<double>::quiet_NaN(), false, T(V(0.5, L(1), L(2)))},
        {"absent", T(V(0.5, L(1), L(2))), 9, Direction::left, 300, false, T(V(0.5, L(1), L(2)))},
        {"alone", T(L(1)), 1, Direction::left, 300, false, T(L(1))},
        {"empty", LayoutTree(), 1, Direction::left, 300, false, LayoutTree()},
    };
    for (const auto& row : rows) {
        LayoutTree tree = row.before;
        EXPECT_EQ(tree.moveDivider(W(row.window), row.edge, row.coordinate, pane, {}), row.moved)
            << row.name;
        EXPECT_EQ(tree, row.after) << row.name;
    }
}

TEST(LayoutTreeMoveDivider, CoordinateIsAbsoluteWithinTheSplitsOwnRectangle) {
    LayoutTree tree = T(V(0.5, L(1), V(0.5, L(2), L(3))));
    // Window 1 needs 700, so the outer divider stands at 800 (100 + 700) and the inner split
    // spans 800 to 1100.
    const LayoutTree::Minimums minimums{{W(1), {700, 0}}};
    EXPECT_TRUE(tree.moveDivider(W(3), Direction::left, 950, CGRect(100, 0, 1000, 800), minimums));
    EXPECT_EQ(tree, T(V(0.5, L(1), V(0.5, L(2), L(3)))));
    EXPECT_TRUE(tree.moveDivider(W(3), Direction::left, 1010, CGRect(100, 0, 1000, 800), minimums));
    EXPECT_EQ(tree, T(V(0.5, L(1), V(0.7, L(2), L(3)))));
}

TEST(LayoutTreeMoveDivider, ZeroExtentPassesTheDragOutwards) {
    // The inner split has no height; the outer one does.
    LayoutTree tree = T(H(0.5, L(1), H(0.5, L(2), L(3))));
    const LayoutTree::Minimums none;
    EXPECT_FALSE(tree.moveDivider(W(3), Direction::up, 100, CGRect(0, 0, 500, 0), none));
    EXPECT_TRUE(tree.moveDivider(W(3), Direction::up, 100, CGRect(0, 0, 500, 400), none));
    EXPECT_EQ(tree, T(H(0.5, L(1), H(0.1, L(2), L(3)))));
    tree = T(H(1.0, L(1), H(0.5, L(2), L(3))));  // the inner split gets nothing
    EXPECT_TRUE(tree.moveDivider(W(3), Direction::up, 100, CGRect(0, 0, 500, 400), none));
    EXPECT_EQ(tree, T(H(0.25, L(1), H(0.5, L(2), L(3)))));
}

// Relabelling and the node statics

TEST(LayoutTreeRelabel, TakesIdentifiersFromTheFront) {
    const Node node = V(0.3, L(1), H(0.6, L(2), L(3)));
    const auto order = ids({7, 8});
    std::span<const WindowID> slice(order);
    EXPECT_EQ(LayoutTree::relabel(node, slice), V(0.3, L(7), H(0.6, L(8), L(3))));
    EXPECT_TRUE(slice.empty());

    const auto more = ids({4, 5, 6, 9});
    std::span<const WindowID> rest(more);
    EXPECT_EQ(LayoutTree::relabel(node, rest), V(0.3, L(4), H(0.6, L(5), L(6))));
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest.front(), W(9));
}

TEST(LayoutTreeNodes, CollectListsLeavesDepthFirst) {
    EXPECT_EQ(LayoutTree::collect(V(0.5, H(0.5, L(4), L(2)), V(0.5, L(3), L(1)))),
              ids({4, 2, 3, 1}));
    EXPECT_EQ(T(L(5)).windows(), ids({5}));
}

TEST(LayoutTreeNodes, EqualityIsExact) {
    EXPECT_EQ(V(0.5, L(1), L(2)), V(0.5, L(1), L(2)));
    EXPECT_NE(V(0.5, L(1), L(2)), V(0.5000000000000001, L(1), L(2)));
    EXPECT_NE(V(0.5, L(1), L(2)), H(0.5, L(1), L(2)));
    EXPECT_NE(V(0.5, L(1), L(2)), V(0.5, L(2), L(1)));
    EXPECT_NE(V(0.5, L(1), L(2)), L(1));
    EXPECT_NE(T(L(1)), LayoutTree());
    EXPECT_EQ(LayoutTree(), LayoutTree());
}

TEST(LayoutTreeNodes, AccessorsGiveOnlyTheirCasesPayload) {
    const Node leaf = L(3);
    EXPECT_EQ(leaf.kind(), Node::Kind::leaf);
    EXPECT_EQ(leaf.window(), W(3));
    EXPECT_EQ(leaf.axis(), std::nullopt);
    EXPECT_EQ(leaf.ratio(), std::nullopt);
    EXPECT_EQ(leaf.first(), nullptr);
    const Node split = H(0.25, L(1), L(2));
    EXPECT_EQ(split.kind(), Node::Kind::split);
    EXPECT_EQ(split.window(), std::nullopt);
    EXPECT_EQ(split.axis(), Axis::horizontal);
    EXPECT_EQ(split.ratio(), 0.25);
    EXPECT_EQ(*split.first(), L(1));
    EXPECT_EQ(*split.second(), L(2));
}

// Value semantics

TEST(LayoutTreeValue, CopiesNeverChangeWithTheOriginal) {
    const LayoutTree original = T(V(0.5, L(1), H(0.5, L(2), L(3))));
    const std::pair<const char*, std::function<void(LayoutTree&)>> changes[] = {
        {"insert", [](LayoutTree& t) { t.insert(W(4), W(2), pane); }},
        {"remove", [](LayoutTree& t) { t.remove(W(2)); }},
        {"resize", [](LayoutTree& t) { t.resize(W(3), Direction::up, 0.05); }},
        {"toggleSplit", [](LayoutTree& t) { t.toggleSplit(W(2)); }},
        {"rotate", [](LayoutTree& t) { t.rotate(); }},
        {"move", [](LayoutTree& t) { t.move(W(1), Direction::right, pane); }},
        {"swap", [](LayoutTree& t) { t.swap(W(1), W(3)); }},
        {"moveDivider", [](LayoutTree& t) { t.moveDivider(W(2), Direction::left, 300, pane, {}); }},
        {"insertIntoStack", [](LayoutTree& t) { t.insertIntoStack(W(4), 0.5); }},
        {"promoteToMaster", [](LayoutTree& t) { t.promoteToMaster(W(3)); }},
        {"reorder",
         [](LayoutTree& t) {
             t.reorder(ids({3, 1, 2}));
         }},
    };
    for (const auto& [name, change] : changes) {
        LayoutTree changed = original;
        const LayoutTree copy = changed;
        change(changed);
        EXPECT_NE(changed, original) << name << " changed nothing";
        EXPECT_EQ(copy, original) << name;
        EXPECT_EQ(JSONWriter::write(encodeJSON(copy)), JSONWriter::write(encodeJSON(original)))
            << name;
    }
}

// Depth: a chain as deep as a long stack makes it, far deeper than any recursion could go.

TEST(LayoutTreeDepth, EveryOperationRunsOnAVeryDeepChain) {
    constexpr std::uint32_t count = 50000;
    LayoutTree tree = chain(count);
    EXPECT_EQ(tree.windows().size(), count);
    const auto rects = tree.rects(pane);
    ASSERT_EQ(rects.size(), count);
    EXPECT_EQ(rects.at(W(1)), CGRect(0, 0, 500, 800));
    EXPECT_NEAR(rects.at(W(2)).height(), 800.0 / (count - 1), 1e-9);
    EXPECT_NEAR(rects.at(W(count)).height(), 800.0 / (count - 1), 1e-9);
    const LayoutTree::Minimums minimums{{W(count), {10, 10}}};
    EXPECT_DOUBLE_EQ(tree.rects(pane, minimums).at(W(count)).height(), 10);
    EXPECT_EQ(LayoutTree::minimumExtent(*tree.root, minimums), (CGSize{10, 10}));
    EXPECT_EQ(tree, chain(count));

    tree.insert(W(count + 1), W(count), pane);
    tree.resize(W(count + 1), Direction::up, 0.05);
    tree.toggleSplit(W(2));
    tree.swap(W(2), W(count));
    tree.move(W(count), Direction::left, pane);
    EXPECT_TRUE(tree.moveDivider(W(count + 1), Direction::up, 799, pane, {}));
    EXPECT_TRUE(tree.neighbour(W(3), pane, Direction::down).has_value());
    tree.rotate();
    tree.remove(W(count / 2));
    tree.promoteToMaster(W(count - 1));
    EXPECT_EQ(tree.master(), W(count - 1));
    EXPECT_EQ(tree.windows().size(), count);
    tree.insertIntoStack(W(count + 2), 0.5);
    tree.reorder(tree.windows());
    EXPECT_NE(tree, chain(count));
    tree = LayoutTree();  // and destruction
    EXPECT_TRUE(tree.isEmpty());
}

TEST(LayoutTreeDepth, SharedSubtreesSurviveTheOthersDestruction) {
    auto original = std::make_unique<LayoutTree>(chain(50000));
    LayoutTree changed = *original;
    changed.insertIntoStack(W(60000), 0.5);
    original.reset();
    EXPECT_EQ(changed.windows().size(), 50001u);
    EXPECT_EQ(changed.windows().back(), W(60000));
}

}  // namespace
}  // namespace kelvo
