#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Geometry/Axis.h"
#include "KelvoCore/Geometry/Direction.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// The binary split tree of one pane: every tiled window is a leaf, every inner node cuts its
/// rectangle in two along an axis at a ratio. A pure value: nodes are immutable and shared
/// between copies, and every change builds new nodes along the path it touches.
///
/// Every walk over a tree runs as a loop over an explicit listing rather than by recursion,
/// so a degenerate chain of any length (a long stack, a tree read from a file) cannot exhaust
/// the call stack, not even when it is destroyed.
///
/// Where a tree holds one window in two leaves (only a damaged file can do that), an operation
/// that acts on "the window's leaf" takes the first one in leaf order, the pane rectangles give
/// the window the first leaf's rectangle, and removal drops every leaf of the window.
class LayoutTree {
  public:
    /// The lower bound of every ratio that `resize` and `moveDivider` produce.
    static constexpr double minimumPaneFraction = 0.1;
    /// Their upper bound.
    static constexpr double maximumPaneFraction = 1 - minimumPaneFraction;
    /// The ratio of the split that an inserted window creates.
    static constexpr double insertionRatio = 0.5;
    /// The main window's share of the width when a main-and-stack tree is built.
    static constexpr double defaultMasterRatio = 0.5;

    /// Minimum size per window; a window without an entry needs (0, 0).
    using Minimums = std::map<WindowID, CGSize>;
    using Rects = std::map<WindowID, CGRect>;

    /// `leaf(window)` or `split(axis, ratio, first, second)`. `vertical` puts `first` left of
    /// `second`, `horizontal` above it; `ratio` is `first`'s share of the extent along the axis.
    class Node {
      public:
        enum class Kind { leaf, split };

        static Node leaf(WindowID window);
        static Node split(Axis axis, double ratio, Node first, Node second);

        Kind kind() const;
        bool isLeaf() const { return kind() == Kind::leaf; }
        /// The window of a leaf.
        std::optional<WindowID> window() const;
        /// The payload of a split.
        std::optional<Axis> axis() const;
        std::optional<double> ratio() const;
        /// The children of a split (null for a leaf); they live as long as this node.
        const Node* first() const;
        const Node* second() const;

        /// Same case, same window, same axis, exactly equal ratios, equal children.
        bool operator==(const Node& other) const;

      private:
        struct Body;
        Node() = default;
        explicit Node(std::shared_ptr<const Body> body) : body_(std::move(body)) {}

        std::shared_ptr<const Body> body_;
    };

    std::optional<Node> root;

    LayoutTree() = default;
    explicit LayoutTree(std::optional<Node> root) : root(std::move(root)) {}

    bool isEmpty() const { return !root; }
    /// The leaves' windows depth first, `first` before `second`.
    std::vector<WindowID> windows() const;

    // Shape changes. Each leaves the tree as it was when it does not apply.

    /// Splits the focused window's leaf (or, when it is none or not in the tree, the leaf with
    /// the largest rectangle in `pane`, the smaller window on equal areas) along its longer
    /// axis; the new window takes the right or lower half.
    void insert(WindowID window, std::optional<WindowID> focused, const CGRect& pane);
    /// Drops the window's leaf; the sibling takes the parent's place whole.
    void remove(WindowID window);
    /// Drops, in one walk, every leaf for which `drop` (given the window and the leaf's place
    /// in leaf order) is true; the result is that of removing those leaves one by one.
    void removeWhere(const std::function<bool(WindowID, int leafOrdinal)>& drop);
    /// Moves the nearest enclosing divider of the direction's axis by `step` in that direction.
    void resize(WindowID window, Direction direction, double step);
    /// Flips the axis of the split that directly holds the window's leaf.
    void toggleSplit(WindowID window);
    /// Flips the axis of every split.
    void rotate();
    /// Exchanges the window with its neighbour in the direction.
    void move(WindowID window, Direction direction, const CGRect& pane);
    /// Exchanges the two windows' leaves; shape and ratios stay.
    void swap(WindowID a, WindowID b);
    /// Puts the innermost divider that forms the window's `edge` side at the absolute
    /// coordinate. True when a divider moved.
    bool moveDivider(WindowID bordering, Direction edge, CGFloat coordinate, const CGRect& pane,
                     const Minimums& minimums);

    // Queries.

    /// Every window's rectangle; dividers give way to minimum sizes here only, never in the
    /// stored ratios.
    Rects rects(const CGRect& pane, const Minimums& minimums = {}) const;
    /// The adjacent window in the direction, judged by the pane rectangles.
    std::optional<WindowID> neighbour(WindowID of, const CGRect& pane, Direction direction) const;
    /// The same judged among any rectangles: the nearest window on that side (within one
    /// point) that overlaps across the axis; then the nearer centre, the smaller leading edge
    /// and the smaller window decide.
    static std::optional<WindowID> neighbour(WindowID of, const Rects& among, Direction direction);

    // Minimum sizes.

    /// The windows whose rectangles, with the dividers moved as far as the minimums allow,
    /// still fall short of their minimum by more than the tolerance in width or height.
    std::set<WindowID> unsatisfiedMinimums(const Minimums& minimums, const CGRect& pane,
                                           double tolerance) const;
    /// The windows to float so that the rest fit, largest demand first; stops at the first
    /// choice that `eligible` refuses. An empty predicate admits every window.
    std::vector<WindowID> windowsToFloat(const Minimums& minimums, const CGRect& pane,
                                         double tolerance,
                                         const std::function<bool(WindowID)>& eligible) const;

    // Whole shapes.

    /// Rows of windows side by side, every window the same area; the upper rows take the
    /// windows left over. Without a rectangle the row count is ⌈√n⌉.
    static LayoutTree grid(const std::vector<WindowID>& windows, std::optional<CGRect> pane);
    /// The row count whose cells come closest to square on average; ties keep fewer rows.
    static int gridRowCount(int count, const CGRect& pane);
    /// Halves the items (the extra one in the second half) until each stands alone; a split's
    /// ratio is its first half's share of the weight. `count` must not be 0.
    static Node balancedSplit(std::size_t count, Axis axis,
                              const std::function<std::int64_t(std::size_t)>& weight,
                              const std::function<Node(std::size_t)>& leaf);
    /// The first window on the left, the others stacked at its right, each the same height.
    static LayoutTree masterStack(const std::vector<WindowID>& windows, double masterRatio);
    /// Adds the window at the end of the stack (the root's `second` side, whatever its shape).
    void insertIntoStack(WindowID window, double masterRatio);
    /// Makes the window the main one; the old main window goes to the top of the stack.
    void promoteToMaster(WindowID window);
    /// Puts the windows into the leaves in the list's order when the list is a permutation of
    /// the tree's windows.
    void reorder(const std::vector<WindowID>& order);
    /// The root's window, or the root's `first` child's window when that is a leaf.
    std::optional<WindowID> master() const;
    /// The root split's ratio.
    std::optional<double> masterRatio() const;

    // The same on nodes; none means "does not apply here".

    static std::vector<WindowID> collect(const Node& node);
    static Rects rects(const Node& node, const CGRect& rect, const Minimums& minimums);
    /// Replaces the leaf of `splitting` by split(axis, 0.5, leaf(splitting), leaf(window)).
    static Node insert(const Node& node, WindowID window, std::optional<WindowID> splitting,
                       Axis axis);
    static std::optional<Node> remove(const Node& node, WindowID window);
    /// Only the split that directly holds the window's leaf, when its axis matches.
    static std::optional<Node> resize(const Node& node, WindowID window, Direction direction,
                                      double step);
    /// The innermost split of the matching axis on the path from the root to the window.
    static std::optional<Node> resizeAncestor(const Node& node, WindowID window,
                                              Direction direction, double step);
    static std::optional<Node> toggleSplit(const Node& node, WindowID window);
    static Node rotate(const Node& node);
    /// Rewrites every leaf of a to b and of b to a.
    static Node swap(const Node& node, WindowID a, WindowID b);
    static CGSize minimumExtent(const Node& node, const Minimums& minimums);
    static std::optional<Node> moveDivider(const Node& node, WindowID window, Direction edge,
                                           CGFloat coordinate, const CGRect& rect,
                                           const Minimums& minimums);
    /// The leaves, in leaf order, take the identifiers from the front of `ids`, which is left
    /// holding those not taken; leaves beyond its end keep their windows.
    static Node relabel(const Node& node, std::span<const WindowID>& ids);

    bool operator==(const LayoutTree&) const = default;
};

/// `{}` for an empty tree, else `{"root":N}` with N either `{"leaf":{"_0":{"raw":W}}}` or
/// `{"split":{"axis":A,"ratio":R,"first":N,"second":N}}`. Ratios are read as written.
template <>
struct JSONCoding<LayoutTree> {
    static JSONValue encode(const LayoutTree& tree);
    static LayoutTree decode(const JSONNode& node);
};

template <>
struct JSONCoding<LayoutTree::Node> {
    static JSONValue encode(const LayoutTree::Node& node);
    static LayoutTree::Node decode(const JSONNode& node);
};

}  // namespace kelvo
