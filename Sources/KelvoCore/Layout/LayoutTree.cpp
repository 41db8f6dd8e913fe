#include "KelvoCore/Layout/LayoutTree.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "KelvoCore/Geometry/RectOperations.h"
#include "KelvoCore/Layout/NodeIndex.h"

namespace kelvo {

using Node = LayoutTree::Node;

namespace {

/// Within one point, a window still counts as lying on that side of another.
constexpr double neighbourSlack = 1;

/// Right and down move a divider towards larger coordinates, which grows `first`.
double signedStep(Direction direction, double step) {
    return direction == Direction::right || direction == Direction::down ? step : -step;
}

/// The edge of `second` that a split's divider forms is its left or top one; of `first`, its
/// right or bottom one.
bool dividerFormsEdge(const NodeIndex::Entry& split, int child, Direction edge) {
    if (*split.node->axis() != axisOf(edge)) return false;
    const bool leading = edge == Direction::left || edge == Direction::up;
    return child == (leading ? split.second : split.first);
}

std::optional<Node> resizingSplit(const NodeIndex& index, int split, Direction direction,
                                  double step) {
    const Node& node = *index[split].node;
    return index.replacingSplit(split, *node.axis(),
                                clampedPaneFraction(*node.ratio() + signedStep(direction, step)));
}

/// A candidate's place in the neighbour order: gap, then centre distance across the axis,
/// then its leading edge across the axis, then its number.
std::optional<std::tuple<double, double, double, std::uint32_t>> neighbourRank(const CGRect& s,
                                                                               const CGRect& c,
                                                                               Direction direction,
                                                                               WindowID id) {
    const bool acrossY = c.maxY() > s.minY() && c.minY() < s.maxY();
    const bool acrossX = c.maxX() > s.minX() && c.minX() < s.maxX();
    const auto rank = [&](double gap, double centre, double edge) {
        return std::make_tuple(gap, centre, edge, id.raw);
    };
    switch (direction) {
        case Direction::left:
            if (!(c.midX() < s.midX() && c.maxX() <= s.minX() + neighbourSlack && acrossY)) break;
            return rank(s.minX() - c.maxX(), std::abs(s.midY() - c.midY()), c.minY());
        case Direction::right:
            if (!(c.midX() > s.midX() && c.minX() >= s.maxX() - neighbourSlack && acrossY)) break;
            return rank(c.minX() - s.maxX(), std::abs(s.midY() - c.midY()), c.minY());
        case Direction::up:
            if (!(c.midY() < s.midY() && c.maxY() <= s.minY() + neighbourSlack && acrossX)) break;
            return rank(s.minY() - c.maxY(), std::abs(s.midX() - c.midX()), c.minX());
        case Direction::down:
            if (!(c.midY() > s.midY() && c.minY() >= s.maxY() - neighbourSlack && acrossX)) break;
            return rank(c.minY() - s.maxY(), std::abs(s.midX() - c.midX()), c.minX());
    }
    return std::nullopt;
}

/// The leaf with the largest rectangle; the smaller window on equal areas.
std::optional<WindowID> largestLeaf(const LayoutTree::Rects& rects) {
    std::optional<WindowID> largest;
    double largestArea = 0;
    for (const auto& [id, rect] : rects) {  // ascending, so a tie keeps the smaller window
        const double area = rect.width() * rect.height();
        if (!largest || area > largestArea) {
            largest = id;
            largestArea = area;
        }
    }
    return largest;
}

}  // namespace

std::vector<WindowID> LayoutTree::windows() const {
    return root ? collect(*root) : std::vector<WindowID>{};
}

void LayoutTree::insert(WindowID window, std::optional<WindowID> focused, const CGRect& pane) {
    if (!root) {
        root = Node::leaf(window);
        return;
    }
    const Rects existing = rects(pane);
    std::optional<WindowID> target = focused;
    if (!target || !existing.contains(*target)) target = largestLeaf(existing);
    root = insert(*root, window, target, longerAxis(existing.at(*target)));
}

void LayoutTree::remove(WindowID window) {
    if (root) root = remove(*root, window);
}

void LayoutTree::removeWhere(const std::function<bool(WindowID, int leafOrdinal)>& drop) {
    if (!root) return;
    root =
        NodeIndex(*root).mappingLeaves([&drop](WindowID w, int ordinal) -> std::optional<WindowID> {
            if (drop(w, ordinal)) return std::nullopt;
            return w;
        });
}

void LayoutTree::resize(WindowID window, Direction direction, double step) {
    if (!root) return;
    if (auto resized = resize(*root, window, direction, step)) {
        root = std::move(resized);
    } else if (auto outer = resizeAncestor(*root, window, direction, step)) {
        root = std::move(outer);
    }
}

void LayoutTree::toggleSplit(WindowID window) {
    if (!root) return;
    if (auto toggled = toggleSplit(*root, window)) root = std::move(toggled);
}

void LayoutTree::rotate() {
    if (root) root = rotate(*root);
}

void LayoutTree::move(WindowID window, Direction direction, const CGRect& pane) {
    if (auto other = neighbour(window, pane, direction)) swap(window, *other);
}

void LayoutTree::swap(WindowID a, WindowID b) {
    if (!root || a == b) return;
    const std::vector<WindowID> leaves = collect(*root);
    const auto holds = [&](WindowID w) { return std::ranges::find(leaves, w) != leaves.end(); };
    if (holds(a) && holds(b)) root = swap(*root, a, b);
}

bool LayoutTree::moveDivider(WindowID bordering, Direction edge, CGFloat coordinate,
                             const CGRect& pane, const Minimums& minimums) {
    if (!root) return false;
    auto moved = moveDivider(*root, bordering, edge, coordinate, pane, minimums);
    if (!moved) return false;
    root = std::move(moved);
    return true;
}

LayoutTree::Rects LayoutTree::rects(const CGRect& pane, const Minimums& minimums) const {
    return root ? rects(*root, pane, minimums) : Rects{};
}

std::optional<WindowID> LayoutTree::neighbour(WindowID of, const CGRect& pane,
                                              Direction direction) const {
    return neighbour(of, rects(pane), direction);
}

std::optional<WindowID> LayoutTree::neighbour(WindowID of, const Rects& among,
                                              Direction direction) {
    const auto own = among.find(of);
    if (own == among.end()) return std::nullopt;
    std::optional<WindowID> best;
    std::optional<std::tuple<double, double, double, std::uint32_t>> bestRank;
    for (const auto& [id, rect] : among) {
        if (id == of) continue;
        const auto rank = neighbourRank(own->second, rect, direction, id);
        if (rank && (!bestRank || *rank < *bestRank)) {
            best = id;
            bestRank = rank;
        }
    }
    return best;
}

// Operations on nodes.

std::vector<WindowID> LayoutTree::collect(const Node& node) {
    return NodeIndex(node).leaves();
}

LayoutTree::Rects LayoutTree::rects(const Node& node, const CGRect& rect,
                                    const Minimums& minimums) {
    return paneRectangles(node, rect, minimums);
}

Node LayoutTree::insert(const Node& node, WindowID window, std::optional<WindowID> splitting,
                        Axis axis) {
    if (!splitting) return node;
    const NodeIndex index(node);
    const int target = index.leafOf(*splitting);
    if (target == NodeIndex::none) return node;
    return index.replacing(
        target, Node::split(axis, insertionRatio, Node::leaf(*splitting), Node::leaf(window)));
}

std::optional<Node> LayoutTree::remove(const Node& node, WindowID window) {
    return NodeIndex(node).mappingLeaves([window](WindowID w, int) -> std::optional<WindowID> {
        if (w == window) return std::nullopt;
        return w;
    });
}

std::optional<Node> LayoutTree::resize(const Node& node, WindowID window, Direction direction,
                                       double step) {
    const NodeIndex index(node);
    const int leaf = index.leafOf(window);
    if (leaf == NodeIndex::none) return std::nullopt;
    const int parent = index[leaf].parent;
    if (parent == NodeIndex::none || *index[parent].node->axis() != axisOf(direction))
        return std::nullopt;
    return resizingSplit(index, parent, direction, step);
}

std::optional<Node> LayoutTree::resizeAncestor(const Node& node, WindowID window,
                                               Direction direction, double step) {
    const NodeIndex index(node);
    const int leaf = index.leafOf(window);
    if (leaf == NodeIndex::none) return std::nullopt;
    for (int split = index[leaf].parent; split != NodeIndex::none; split = index[split].parent)
        if (*index[split].node->axis() == axisOf(direction))
            return resizingSplit(index, split, direction, step);
    return std::nullopt;
}

std::optional<Node> LayoutTree::toggleSplit(const Node& node, WindowID window) {
    const NodeIndex index(node);
    const int leaf = index.leafOf(window);
    if (leaf == NodeIndex::none || index[leaf].parent == NodeIndex::none) return std::nullopt;
    const Node& parent = *index[index[leaf].parent].node;
    return index.replacingSplit(index[leaf].parent, flipped(*parent.axis()), *parent.ratio());
}

Node LayoutTree::rotate(const Node& node) {
    return NodeIndex(node).fold<Node>([](const NodeIndex::Entry& entry) { return *entry.node; },
                                      [](const NodeIndex::Entry& entry, Node first, Node second) {
                                          return Node::split(flipped(*entry.node->axis()),
                                                             *entry.node->ratio(), std::move(first),
                                                             std::move(second));
                                      });
}

Node LayoutTree::swap(const Node& node, WindowID a, WindowID b) {
    return *NodeIndex(node).mappingLeaves([a, b](WindowID w, int) {
        return w == a ? b : w == b ? a : w;
    });
}

CGSize LayoutTree::minimumExtent(const Node& node, const Minimums& minimums) {
    return NodeIndex(node).minimumExtents(minimums).front();
}

std::optional<Node> LayoutTree::moveDivider(const Node& node, WindowID window, Direction edge,
                                            CGFloat coordinate, const CGRect& rect,
                                            const Minimums& minimums) {
    // A coordinate that is not a number would store a ratio that is not one.
    if (std::isnan(coordinate)) return std::nullopt;
    const NodeIndex index(node);
    const int leaf = index.leafOf(window);
    if (leaf == NodeIndex::none) return std::nullopt;
    const std::vector<CGRect> rectangles = index.rectangles(rect, minimums);
    // The innermost divider that forms the edge wins, so walk outwards from the leaf.
    for (int child = leaf, split = index[leaf].parent; split != NodeIndex::none;
         child = split, split = index[split].parent) {
        if (!dividerFormsEdge(index[split], child, edge)) continue;
        const CGRect& r = rectangles[split];
        const bool vertical = axisOf(edge) == Axis::vertical;
        const double extent = vertical ? r.width() : r.height();
        if (!(extent > 0)) continue;
        const double ratio = (coordinate - (vertical ? r.minX() : r.minY())) / extent;
        return index.replacingSplit(split, axisOf(edge), clampedPaneFraction(ratio));
    }
    return std::nullopt;
}

Node LayoutTree::relabel(const Node& node, std::span<const WindowID>& ids) {
    const NodeIndex index(node);
    const std::span<const WindowID> taken = ids;
    const Node relabelled = *index.mappingLeaves([taken](WindowID w, int ordinal) {
        return static_cast<std::size_t>(ordinal) < taken.size() ? taken[ordinal] : w;
    });
    ids = ids.subspan(std::min(ids.size(), index.leaves().size()));
    return relabelled;
}

}  // namespace kelvo
