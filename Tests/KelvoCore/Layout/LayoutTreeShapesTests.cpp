#include <gtest/gtest.h>

#include <cmath>

#include "Support/KelvoCore/TreeBuilders.h"

namespace kelvo {
namespace {

const CGRect pane(0, 0, 1000, 800);

// Minimum sizes

TEST(LayoutTreeMinimums, ToleranceDecidesWhatIsUnsatisfied) {
    struct Row {
        double minimumWidth;
        bool unsatisfied;
    };
    // A window alone in a 1000-wide pane.
    const Row rows[] = {{1000, false}, {1001, false}, {1001.5, true}, {2000, true}};
    for (const auto& row : rows) {
        const auto result = T(L(1)).unsatisfiedMinimums({{W(1), {row.minimumWidth, 0}}}, pane, 1.0);
        EXPECT_EQ(result.contains(W(1)), row.unsatisfied) << row.minimumWidth;
    }
    EXPECT_TRUE(T(L(1)).unsatisfiedMinimums({{W(1), {0, 801.5}}}, pane, 1.0).contains(W(1)));
}

TEST(LayoutTreeMinimums, DividersMoveBeforeAnythingIsUnsatisfied) {
    const LayoutTree tree = T(V(0.5, L(1), L(2)));
    EXPECT_TRUE(tree.unsatisfiedMinimums({{W(1), {800, 0}}}, pane, 1.0).empty());
    EXPECT_EQ(tree.unsatisfiedMinimums({{W(1), {800, 0}}, {W(2), {300, 0}}}, pane, 1.0),
              (std::set<WindowID>{W(1), W(2)}));
}

TEST(LayoutTreeMinimums, WindowsOutsideTheTreeAreIgnored) {
    EXPECT_TRUE(T(L(1)).unsatisfiedMinimums({{W(9), {5000, 5000}}}, pane, 1.0).empty());
    EXPECT_TRUE(LayoutTree().unsatisfiedMinimums({{W(1), {5000, 5000}}}, pane, 1.0).empty());
}

TEST(LayoutTreeWindowsToFloat, LargestDemandFirstUntilTheRestFit) {
    // 800 × 1000, stacked: 1 cannot get 900 wide anywhere, and the two heights cannot both fit.
    const CGRect tall(0, 0, 800, 1000);
    const LayoutTree tree = T(H(0.5, L(1), L(2)));
    const auto all = [](WindowID) { return true; };
    EXPECT_EQ(tree.windowsToFloat({{W(1), {900, 400}}, {W(2), {0, 700}}}, tall, 1.0, all),
              ids({1}));
    // The larger demand wins even with the larger number.
    EXPECT_EQ(tree.windowsToFloat({{W(1), {0, 700}}, {W(2), {900, 400}}}, tall, 1.0, all),
              ids({2}));
    // Equal demands: the smaller number.
    EXPECT_EQ(tree.windowsToFloat({{W(1), {900, 0}}, {W(2), {900, 0}}}, tall, 1.0, all),
              ids({1, 2}));
    EXPECT_EQ(tree, T(H(0.5, L(1), L(2)))) << "works on a copy";
}

TEST(LayoutTreeWindowsToFloat, DemandCountsOnlyTheDimensionsThatFallShort) {
    const CGRect huge(0, 0, 1000, 6000);
    const LayoutTree tree = T(V(0.5, L(1), L(2)));
    const auto all = [](WindowID) { return true; };
    // 1: short in width only (needs 700 beside 2's 400), height 5000 fits → demand 700.
    // 2: short in width only → demand 400. So 1 goes first despite 2's larger height.
    EXPECT_EQ(tree.windowsToFloat({{W(1), {700, 5000}}, {W(2), {400, 5999}}}, huge, 1.0, all),
              ids({1}));
}

TEST(LayoutTreeWindowsToFloat, RefusedChoiceEndsTheList) {
    const LayoutTree tree = T(V(0.5, L(1), V(0.5, L(2), L(3))));
    const LayoutTree::Minimums minimums{{W(1), {900, 0}}, {W(2), {600, 0}}, {W(3), {500, 0}}};
    EXPECT_EQ(tree.windowsToFloat(minimums, pane, 1.0, [](WindowID w) { return w != W(1); }),
              ids({}));
    EXPECT_EQ(tree.windowsToFloat(minimums, pane, 1.0, [](WindowID w) { return w != W(2); }),
              ids({1}));
    EXPECT_EQ(tree.windowsToFloat(minimums, pane, 1.0, {}), ids({1, 2})) << "empty admits all";
    EXPECT_EQ(LayoutTree().windowsToFloat(minimums, pane, 1.0, {}), ids({}));
}

// Grid

TEST(LayoutTreeGrid, RowCountMinimisesTheMeanAspectError) {
    struct Row {
        int count;
        CGRect rect;
        int rows;
    };
    const Row rows[] = {
        {0, pane, 1},
        {1, pane, 1},
        {5, CGRect(0, 0, 1500, 1000), 2},
        // Two windows in a square: one row and two rows cost the same; fewer rows win.
        {2, CGRect(0, 0, 1000, 1000), 1},
        {3, CGRect(0, 0, 500, 1500), 3},
        {4, CGRect(0, 0, 1000, 1000), 2},
        {4, CGRect(0, 0, 4000, 1000), 1},
        {6, CGRect(0, 0, 0, 1000), 1},
        {6, CGRect(0, 0, 1000, 0), 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LayoutTree::gridRowCount(row.count, row.rect), row.rows) << row.count;
}

TEST(LayoutTreeGrid, RowCountIsTheCheapestOfEveryRowCountUpToTheWindowCount) {
    // The mean |ln(cell aspect)| of r rows, row by row, the upper n mod r rows one window longer.
    const auto cost = [](int n, int r, double width, double height) {
        double sum = 0;
        for (int row = 0; row < r; ++row) {
            const double length = n / r + (row < n % r ? 1 : 0);
            sum += length * std::abs(std::log((width / length) / (height / r)));
        }
        return sum / n;
    };
    for (const CGRect& rect : {CGRect(0, 0, 1920, 1080), CGRect(0, 0, 600, 1800),
                               CGRect(0, 0, 5000, 700), CGRect(0, 0, 1000, 1000)}) {
        for (int n = 2; n <= 120; ++n) {
            double cheapest = cost(n, 1, rect.width(), rect.height());
            for (int r = 2; r <= n; ++r)
                cheapest = std::min(cheapest, cost(n, r, rect.width(), rect.height()));
            const int rows = LayoutTree::gridRowCount(n, rect);
            ASSERT_GE(rows, 1);
            ASSERT_LE(rows, n);
            EXPECT_NEAR(cost(n, rows, rect.width(), rect.height()), cheapest, 1e-12)
                << n << " windows in " << rect.width() << " x " << rect.height();
        }
    }
}

TEST(LayoutTreeGrid, FiveWindowsInAWidePane) {
    const LayoutTree grid = LayoutTree::grid(ids({1, 2, 3, 4, 5}), CGRect(0, 0, 1500, 1000));
    EXPECT_EQ(grid, T(H(0.6, V(1.0 / 3, L(1), V(0.5, L(2), L(3))), V(0.5, L(4), L(5)))));
}

TEST(LayoutTreeGrid, WithoutARectangleUsesTheCeilingOfTheSquareRoot) {
    struct Row {
        std::vector<WindowID> windows;
        LayoutTree grid;
    };
    const Row rows[] = {
        {ids({}), LayoutTree()},
        {ids({4}), T(L(4))},
        {ids({1, 2}), T(H(0.5, L(1), L(2)))},
        {ids({1, 2, 3}), T(H(2.0 / 3, V(0.5, L(1), L(2)), L(3)))},
        {ids({1, 2, 3, 4}), T(H(0.5, V(0.5, L(1), L(2)), V(0.5, L(3), L(4))))},
        // Three rows of 2, 2 and 1: the lower pair of rows weighs 3 of the 5 windows.
        {ids({9, 8, 7, 6, 5}), T(H(0.4, V(0.5, L(9), L(8)), H(2.0 / 3, V(0.5, L(7), L(6)), L(5))))},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LayoutTree::grid(row.windows, std::nullopt), row.grid) << row.windows.size();
}

TEST(LayoutTreeGrid, EveryWindowGetsTheSameArea) {
    for (std::uint32_t n = 2; n <= 23; ++n) {
        std::vector<WindowID> windows;
        for (std::uint32_t i = 1; i <= n; ++i)
            windows.emplace_back(i);
        const auto rects = LayoutTree::grid(windows, pane).rects(pane);
        ASSERT_EQ(rects.size(), n);
        for (const auto& [id, r] : rects)
            EXPECT_NEAR(r.width() * r.height(), 1000.0 * 800 / n, 1e-6) << n << " " << id.raw;
        EXPECT_EQ(LayoutTree::grid(windows, pane).windows(), windows) << "order kept";
    }
}

TEST(LayoutTreeGrid, BalancedSplitPutsTheExtraItemSecondAndWeighsTheHalves) {
    const std::int64_t weights[] = {1, 2, 3, 4};
    const Node node = LayoutTree::balancedSplit(
        4, Axis::horizontal, [&](std::size_t i) { return weights[i]; },
        [](std::size_t i) { return L(static_cast<std::uint32_t>(i + 1)); });
    EXPECT_EQ(node, H(0.3, H(1.0 / 3, L(1), L(2)), H(3.0 / 7, L(3), L(4))));
    const Node odd = LayoutTree::balancedSplit(
        3, Axis::vertical, [](std::size_t) { return std::int64_t{1}; },
        [](std::size_t i) { return L(static_cast<std::uint32_t>(i + 1)); });
    EXPECT_EQ(odd, V(1.0 / 3, L(1), V(0.5, L(2), L(3))));
}

// Main and stack

TEST(LayoutTreeMasterStack, BuildsTheMainWindowBesideAnEvenStack) {
    struct Row {
        std::vector<WindowID> windows;
        double ratio;
        LayoutTree tree;
    };
    const Row rows[] = {
        {ids({}), 0.5, LayoutTree()},
        {ids({1}), 0.5, T(L(1))},
        {ids({1, 2}), 0.5, T(V(0.5, L(1), L(2)))},
        {ids({1, 2, 3, 4}), 0.5, T(V(0.5, L(1), H(2.0 / 3, H(0.5, L(2), L(3)), L(4))))},
        {ids({1, 2}), 0.95, T(V(0.9, L(1), L(2)))},
        {ids({1, 2}), 0.05, T(V(0.1, L(1), L(2)))},
        {ids({1, 2}), 0.3, T(V(0.3, L(1), L(2)))},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LayoutTree::masterStack(row.windows, row.ratio), row.tree);
}

TEST(LayoutTreeMasterStack, StackWindowsShareTheHeightEvenly) {
    const auto rects =
        LayoutTree::masterStack(ids({1, 2, 3, 4}), 0.5).rects(CGRect(0, 0, 1000, 900));
    EXPECT_EQ(rects.at(W(1)), CGRect(0, 0, 500, 900));
    for (std::uint32_t i = 2; i <= 4; ++i) {
        EXPECT_DOUBLE_EQ(rects.at(W(i)).minY(), 300.0 * (i - 2));
        EXPECT_DOUBLE_EQ(rects.at(W(i)).height(), 300);
        EXPECT_DOUBLE_EQ(rects.at(W(i)).minX(), 500);
    }
}

TEST(LayoutTreeMasterStack, InsertIntoStackAddsAtTheEndOfTheSecondSide) {
    struct Row {
        const char* name;
        LayoutTree before;
        double ratio;
        LayoutTree after;
    };
    const Row rows[] = {
        {"empty", LayoutTree(), 0.5, T(L(9))},
        {"single leaf", T(L(1)), 0.5, T(V(0.5, L(1), L(9)))},
        {"single leaf, ratio clamped", T(L(1)), 0.95, T(V(0.9, L(1), L(9)))},
        {"ratio argument unused on a split", T(V(0.3, L(1), L(2))), 0.8,
         T(V(0.3, L(1), H(0.5, L(2), L(9))))},
        {"rotated root: the stack takes the other axis", T(H(0.3, L(1), L(2))), 0.5,
         T(H(0.3, L(1), V(0.5, L(2), L(9))))},
        {"second side of any shape", T(V(0.4, L(1), H(0.5, V(0.5, L(2), L(3)), L(4)))), 0.5,
         T(V(0.4, L(1), H(0.75, H(0.5, V(0.5, L(2), L(3)), L(4)), L(9))))},
    };
    for (const auto& row : rows) {
        LayoutTree tree = row.before;
        tree.insertIntoStack(W(9), row.ratio);
        EXPECT_EQ(tree, row.after) << row.name;
    }
}

TEST(LayoutTreeMasterStack, InsertingOneByOneGivesTheBuiltShape) {
    LayoutTree grown;
    for (const WindowID w : ids({1, 2, 3, 4, 5}))
        grown.insertIntoStack(w, 0.6);
    EXPECT_EQ(grown, LayoutTree::masterStack(ids({1, 2, 3, 4, 5}), 0.6));
}

TEST(LayoutTreeMasterStack, PromoteToMaster) {
    const LayoutTree stack = LayoutTree::masterStack(ids({1, 2, 3, 4}), 0.7);
    struct Row {
        const char* name;
        LayoutTree before;
        std::uint32_t window;
        LayoutTree after;
    };
    const Row rows[] = {
        {"stack window: old main tops the stack", stack, 3,
         T(V(0.7, L(3), H(2.0 / 3, H(0.5, L(1), L(2)), L(4))))},
        {"last stack window", stack, 4, T(V(0.7, L(4), H(2.0 / 3, H(0.5, L(1), L(2)), L(3))))},
        {"already main", stack, 1, stack},
        {"not in the tree", stack, 9, stack},
        {"empty", LayoutTree(), 1, LayoutTree()},
        {"single leaf", T(L(1)), 1, T(L(1))},
        {"not main-and-stack shaped: rebuilt", T(H(0.3, V(0.6, L(1), L(2)), V(0.5, L(3), L(4)))), 3,
         LayoutTree::masterStack(ids({3, 1, 2, 4}), 0.5)},
        {"main beside a stack of any shape", T(V(0.4, L(1), V(0.2, L(2), L(3)))), 3,
         T(V(0.4, L(3), V(0.2, L(1), L(2))))},
    };
    for (const auto& row : rows) {
        LayoutTree tree = row.before;
        tree.promoteToMaster(W(row.window));
        EXPECT_EQ(tree, row.after) << row.name;
    }
}

TEST(LayoutTreeMasterStack, ReorderNeedsAPermutation) {
    const LayoutTree tree = T(V(0.3, L(1), H(0.6, L(2), L(3))));
    struct Row {
        std::vector<WindowID> order;
        LayoutTree after;
    };
    const Row rows[] = {
        {ids({3, 1, 2}), T(V(0.3, L(3), H(0.6, L(1), L(2))))},
        {ids({1, 2, 3}), tree},
        {ids({3, 1}), tree},
        {ids({3, 1, 2, 4}), tree},
        {ids({3, 1, 1}), tree},
        {ids({3, 1, 9}), tree},
    };
    for (const auto& row : rows) {
        LayoutTree changed = tree;
        changed.reorder(row.order);
        EXPECT_EQ(changed, row.after) << row.order.size();
    }
    LayoutTree empty;
    empty.reorder(ids({}));
    EXPECT_TRUE(empty.isEmpty());
}

TEST(LayoutTreeMasterStack, MasterAndRatio) {
    struct Row {
        LayoutTree tree;
        std::optional<WindowID> master;
        std::optional<double> ratio;
    };
    const Row rows[] = {
        {LayoutTree(), std::nullopt, std::nullopt},
        {T(L(4)), W(4), std::nullopt},
        {T(V(0.3, L(4), L(2))), W(4), 0.3},
        {T(H(0.6, L(2), V(0.5, L(4), L(5)))), W(2), 0.6},
        {T(V(0.3, H(0.5, L(4), L(2)), L(1))), std::nullopt, 0.3},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.tree.master(), row.master);
        EXPECT_EQ(row.tree.masterRatio(), row.ratio);
    }
}

}  // namespace
}  // namespace kelvo
