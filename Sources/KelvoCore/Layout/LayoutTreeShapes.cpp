#include <algorithm>
#include <cmath>

#include "KelvoCore/Layout/LayoutTree.h"
#include "KelvoCore/Layout/NodeIndex.h"

namespace kelvo {

using Node = LayoutTree::Node;

namespace {

/// How far a window's rectangle falls short of its minimum, beyond the tolerance.
struct Shortfall {
    bool width = false;
    bool height = false;

    Shortfall(const CGRect& rect, const CGSize& minimum, double tolerance)
        : width(rect.width() < minimum.width - tolerance),
          height(rect.height() < minimum.height - tolerance) {}

    bool any() const { return width || height; }
    /// The larger of the minimum dimensions that fall short: how much the window demands.
    double size(const CGSize& minimum) const {
        return std::max({width ? minimum.width : 0.0, height ? minimum.height : 0.0, 0.0});
    }
};

/// The unsatisfied window with the greatest demand; the smaller window on equal demands.
std::optional<WindowID> largestShortfall(const LayoutTree& tree,
                                         const LayoutTree::Minimums& minimums, const CGRect& pane,
                                         double tolerance) {
    const LayoutTree::Rects rects = tree.rects(pane, minimums);
    std::optional<WindowID> chosen;
    double chosenSize = 0;
    for (const auto& [id, minimum] : minimums) {  // ascending, so a tie keeps the smaller
        const auto rect = rects.find(id);
        if (rect == rects.end()) continue;
        const Shortfall shortfall(rect->second, minimum, tolerance);
        if (!shortfall.any()) continue;
        const double size = shortfall.size(minimum);
        if (!chosen || size > chosenSize) {
            chosen = id;
            chosenSize = size;
        }
    }
    return chosen;
}

/// Row i of n windows in r rows holds n / r windows, one more while i < n mod r.
std::size_t rowLength(std::size_t row, std::size_t count, std::size_t rows) {
    return count / rows + (row < count % rows ? 1 : 0);
}

/// The mean |ln(cell aspect)| over all windows when they fill `rows` equally high rows. The
/// rows hold only two lengths (the upper `count % rows` one window more), so each length's
/// rows are weighed together: the cost of a row count takes constant time, and trying every
/// row count stays linear in the windows.
double gridCost(std::size_t count, std::size_t rows, double width, double height) {
    const double cellHeight = height / static_cast<double>(rows);
    const auto rowsCost = [&](std::size_t rowCount, std::size_t length) {
        if (rowCount == 0) return 0.0;
        const double windows = static_cast<double>(length);
        return static_cast<double>(rowCount) * windows *
               std::abs(std::log((width / windows) / cellHeight));
    };
    const std::size_t longer = count % rows;
    const std::size_t shorter = count / rows;
    return (rowsCost(longer, shorter + 1) + rowsCost(rows - longer, shorter)) /
           static_cast<double>(count);
}

/// The smallest r with r × r ≥ n: ⌈√n⌉ without rounding trouble.
std::size_t ceilSquareRoot(std::size_t count) {
    std::size_t root = static_cast<std::size_t>(std::sqrt(static_cast<double>(count)));
    while (root * root < count)
        ++root;
    while (root > 1 && (root - 1) * (root - 1) >= count)
        --root;
    return root;
}

/// Adds a window at the end of a stack that holds `count` windows: every window of the stack
/// keeps the same height.
Node growStack(Node stack, std::size_t count, Axis axis, WindowID window) {
    const double ratio = static_cast<double>(count) / static_cast<double>(count + 1);
    return Node::split(axis, ratio, std::move(stack), Node::leaf(window));
}

}  // namespace

std::set<WindowID> LayoutTree::unsatisfiedMinimums(const Minimums& minimums, const CGRect& pane,
                                                   double tolerance) const {
    std::set<WindowID> unsatisfied;
    const Rects all = rects(pane, minimums);
    for (const auto& [id, minimum] : minimums) {
        const auto rect = all.find(id);
        if (rect != all.end() && Shortfall(rect->second, minimum, tolerance).any())
            unsatisfied.insert(id);
    }
    return unsatisfied;
}

std::vector<WindowID> LayoutTree::windowsToFloat(
    const Minimums& minimums, const CGRect& pane, double tolerance,
    const std::function<bool(WindowID)>& eligible) const {
    LayoutTree tree = *this;
    Minimums remaining = minimums;
    std::vector<WindowID> chosen;
    while (!tree.isEmpty()) {
        const auto next = largestShortfall(tree, remaining, pane, tolerance);
        if (!next || (eligible && !eligible(*next))) break;
        chosen.push_back(*next);
        tree.remove(*next);
        remaining.erase(*next);
    }
    return chosen;
}

LayoutTree LayoutTree::grid(const std::vector<WindowID>& windows, std::optional<CGRect> pane) {
    if (windows.empty()) return LayoutTree();
    if (windows.size() == 1) return LayoutTree(Node::leaf(windows.front()));
    const std::size_t count = windows.size();
    const std::size_t rows =
        pane ? static_cast<std::size_t>(gridRowCount(static_cast<int>(count), *pane))
             : ceilSquareRoot(count);
    std::vector<std::span<const WindowID>> dealt;
    for (std::size_t row = 0, start = 0; row < rows; ++row) {
        const std::size_t length = rowLength(row, count, rows);
        dealt.push_back(std::span(windows).subspan(start, length));
        start += length;
    }
    return LayoutTree(balancedSplit(
        rows, Axis::horizontal, [&](std::size_t row) { return std::int64_t(dealt[row].size()); },
        [&](std::size_t row) {
            const auto line = dealt[row];
            return balancedSplit(
                line.size(), Axis::vertical, [](std::size_t) { return std::int64_t{1}; },
                [&](std::size_t i) { return Node::leaf(line[i]); });
        }));
}

int LayoutTree::gridRowCount(int count, const CGRect& pane) {
    if (count <= 1 || !(pane.width() > 0) || !(pane.height() > 0)) return 1;
    const auto n = static_cast<std::size_t>(count);
    std::size_t best = 1;
    double bestCost = gridCost(n, 1, pane.width(), pane.height());
    for (std::size_t rows = 2; rows <= n; ++rows) {
        const double cost = gridCost(n, rows, pane.width(), pane.height());
        if (cost < bestCost) {
            best = rows;
            bestCost = cost;
        }
    }
    return static_cast<int>(best);
}

Node LayoutTree::balancedSplit(std::size_t count, Axis axis,
                               const std::function<std::int64_t(std::size_t)>& weight,
                               const std::function<Node(std::size_t)>& leaf) {
    // Halving keeps the depth near log2(count), so plain recursion is safe here.
    const auto build = [&](const auto& self, std::size_t begin, std::size_t end) -> Node {
        if (end - begin == 1) return leaf(begin);
        const std::size_t middle = begin + (end - begin) / 2;
        std::int64_t firstWeight = 0, totalWeight = 0;
        for (std::size_t i = begin; i < end; ++i) {
            totalWeight += weight(i);
            if (i < middle) firstWeight += weight(i);
        }
        const double ratio = static_cast<double>(firstWeight) / static_cast<double>(totalWeight);
        return Node::split(axis, ratio, self(self, begin, middle), self(self, middle, end));
    };
    return build(build, 0, count);
}

LayoutTree LayoutTree::masterStack(const std::vector<WindowID>& windows, double masterRatio) {
    if (windows.empty()) return LayoutTree();
    if (windows.size() == 1) return LayoutTree(Node::leaf(windows.front()));
    const Axis stackAxis = flipped(Axis::vertical);
    Node stack = Node::leaf(windows[1]);
    for (std::size_t i = 2; i < windows.size(); ++i)
        stack = growStack(std::move(stack), i - 1, stackAxis, windows[i]);
    return LayoutTree(Node::split(Axis::vertical, clampedPaneFraction(masterRatio),
                                  Node::leaf(windows.front()), std::move(stack)));
}

void LayoutTree::insertIntoStack(WindowID window, double masterRatio) {
    if (!root) {
        root = Node::leaf(window);
    } else if (auto only = root->window()) {
        root = Node::split(Axis::vertical, clampedPaneFraction(masterRatio), Node::leaf(*only),
                           Node::leaf(window));
    } else {
        const Axis axis = *root->axis();
        const Node& stack = *root->second();
        root = Node::split(axis, *root->ratio(), *root->first(),
                           growStack(stack, collect(stack).size(), flipped(axis), window));
    }
}

void LayoutTree::promoteToMaster(WindowID window) {
    const std::vector<WindowID> leaves = windows();
    if (std::ranges::find(leaves, window) == leaves.end()) return;
    std::vector<WindowID> order{window};
    if (!root->isLeaf() && !root->first()->isLeaf()) {
        // Not in main-and-stack shape: start one.
        std::ranges::copy_if(leaves, std::back_inserter(order),
                             [&](WindowID w) { return w != window; });
        *this = masterStack(order, defaultMasterRatio);
        return;
    }
    const WindowID current = *master();
    if (current == window) return;
    order.push_back(current);
    std::ranges::copy_if(leaves, std::back_inserter(order),
                         [&](WindowID w) { return w != window && w != current; });
    std::span<const WindowID> ids(order);
    root = relabel(*root, ids);
}

void LayoutTree::reorder(const std::vector<WindowID>& order) {
    if (!root) return;
    const std::vector<WindowID> leaves = windows();
    if (order.size() != leaves.size() ||
        std::set(order.begin(), order.end()) != std::set(leaves.begin(), leaves.end()))
        return;
    std::span<const WindowID> ids(order);
    root = relabel(*root, ids);
}

std::optional<WindowID> LayoutTree::master() const {
    if (!root) return std::nullopt;
    if (auto only = root->window()) return only;
    return root->first()->window();
}

std::optional<double> LayoutTree::masterRatio() const {
    return root ? root->ratio() : std::nullopt;
}

}  // namespace kelvo
