#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "KelvoCore/Layout/LayoutTree.h"

namespace kelvo {

/// A ratio held within [minimumPaneFraction, maximumPaneFraction], as the tree's own
/// operations store them.
double clampedPaneFraction(double ratio);

/// Every window's rectangle when `root` is laid out in `rect`, in flat passes over one listing
/// of the nodes and without a search per window, so that the cost grows linearly with the
/// number of windows. A window in two leaves gets its first leaf's rectangle.
LayoutTree::Rects paneRectangles(const LayoutTree::Node& root, const CGRect& rect,
                                 const LayoutTree::Minimums& minimums);

/// One node's subtree listed in pre-order: every parent before its children and `first`'s
/// subtree before `second`'s, so the leaves come in leaf order. The tree's walks run as loops
/// over this listing (forwards from the root, backwards from the leaves), whatever its depth.
/// It points into the node it was made from, which must outlive it.
class NodeIndex {
  public:
    using Node = LayoutTree::Node;
    static constexpr int none = -1;

    struct Entry {
        const Node* node = nullptr;
        int parent = none;
        int first = none;   // none for a leaf
        int second = none;  // none for a leaf
        int leafOrdinal = none;

        bool isLeaf() const { return first == none; }
    };

    explicit NodeIndex(const Node& root);

    int size() const { return static_cast<int>(entries_.size()); }
    const Entry& operator[](int index) const { return entries_[index]; }

    std::vector<WindowID> leaves() const;
    /// The first leaf holding the window, or none.
    int leafOf(WindowID window) const;

    /// The minimum size of every entry's subtree, by index.
    std::vector<CGSize> minimumExtents(const LayoutTree::Minimums& minimums) const;
    /// The rectangle of every entry when the root is laid out in `rect`, by index.
    std::vector<CGRect> rectangles(const CGRect& rect, const LayoutTree::Minimums& minimums) const;

    /// The root rebuilt with the entry at `index` replaced; everything off the path from the
    /// root to it is shared.
    Node replacing(int index, Node replacement) const;
    /// The root rebuilt with the split at `index` given another axis or ratio.
    Node replacingSplit(int index, Axis axis, double ratio) const;

    /// The root rebuilt with every leaf's window mapped: a leaf mapped to none disappears and a
    /// split that loses a child gives way to the other child whole. Subtrees in which nothing
    /// changed are shared. None when every leaf disappeared.
    std::optional<Node> mappingLeaves(
        const std::function<std::optional<WindowID>(WindowID, int leafOrdinal)>& map) const;

    /// Computes a value for every entry from the leaves up and returns the root's.
    template <class R, class OnLeaf, class OnSplit>
    R fold(OnLeaf onLeaf, OnSplit onSplit) const;

  private:
    std::vector<Entry> entries_;
};

template <class R, class OnLeaf, class OnSplit>
R NodeIndex::fold(OnLeaf onLeaf, OnSplit onSplit) const {
    std::vector<std::optional<R>> results(entries_.size());
    for (std::size_t i = entries_.size(); i-- > 0;) {
        const Entry& entry = entries_[i];
        if (entry.isLeaf()) {
            results[i].emplace(onLeaf(entry));
            continue;
        }
        results[i].emplace(
            onSplit(entry, std::move(*results[entry.first]), std::move(*results[entry.second])));
        results[entry.first].reset();
        results[entry.second].reset();
    }
    return std::move(*results.front());
}

}  // namespace kelvo
