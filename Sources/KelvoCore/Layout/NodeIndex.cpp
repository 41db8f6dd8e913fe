#include "KelvoCore/Layout/NodeIndex.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "KelvoCore/Geometry/RectOperations.h"

namespace kelvo {

namespace {

double extentAlong(Axis axis, const CGSize& size) {
    return axis == Axis::vertical ? size.width : size.height;
}

double extentAlong(Axis axis, const CGRect& rect) {
    return axis == Axis::vertical ? rect.width() : rect.height();
}

/// Where the divider really goes: the stored ratio, moved only as far as the children's
/// minimums demand; when both cannot fit, both fall short by the same amount.
double ratioUsed(double stored, double extent, double firstMinimum, double secondMinimum) {
    double ratio = stored;
    if (extent > 0) {
        const double lo = firstMinimum / extent;
        const double hi = 1 - secondMinimum / extent;
        if (lo <= hi) {
            if (ratio < lo) ratio = lo;
            if (ratio > hi) ratio = hi;
        } else {
            ratio = (lo + hi) / 2;
        }
    }
    if (ratio < 0) ratio = 0;
    if (ratio > 1) ratio = 1;
    return ratio;
}

/// A node of the flat listing: a split's `first` child follows it at once; `second` is where
/// its second child is listed.
struct FlatNode {
    const LayoutTree::Node* node = nullptr;
    int second = NodeIndex::none;
    CGSize minimum;
    CGRect rect;
};

/// The leaves as (window, place in the listing), ascending, so that equal windows keep the
/// listing's order.
using SortedLeaves = std::vector<std::pair<std::uint32_t, int>>;

/// Each leaf's minimum, walking the minimums beside the sorted leaves when there are few enough
/// of them to walk, else looking each leaf up.
void assignMinimums(std::vector<FlatNode>& nodes, const SortedLeaves& leaves,
                    const LayoutTree::Minimums& minimums) {
    constexpr std::size_t walkFactor = 4;
    if (minimums.size() > walkFactor * leaves.size()) {
        for (const auto& [window, place] : leaves) {
            const auto found = minimums.find(WindowID(window));
            if (found != minimums.end()) nodes[place].minimum = found->second;
        }
        return;
    }
    auto next = minimums.begin();
    for (const auto& [window, place] : leaves) {
        while (next != minimums.end() && next->first.raw < window)
            ++next;
        if (next != minimums.end() && next->first.raw == window)
            nodes[place].minimum = next->second;
    }
}

}  // namespace

LayoutTree::Rects paneRectangles(const LayoutTree::Node& root, const CGRect& rect,
                                 const LayoutTree::Minimums& minimums) {
    // The listing of a large tree is big enough that the allocator hands its memory back to
    // the system when it is freed, and faults it in again on the next pass; kept per thread,
    // it costs that once.
    thread_local std::vector<FlatNode> nodes;
    thread_local SortedLeaves leaves;
    nodes.clear();
    leaves.clear();
    // Pre-order: a split's second child waits beneath its first, whose subtree comes first.
    std::vector<std::pair<const LayoutTree::Node*, int>> pending{{&root, NodeIndex::none}};
    while (!pending.empty()) {
        const auto [node, secondOf] = pending.back();
        pending.pop_back();
        const int place = static_cast<int>(nodes.size());
        if (secondOf != NodeIndex::none) nodes[secondOf].second = place;
        nodes.emplace_back().node = node;
        if (node->isLeaf()) {
            leaves.emplace_back(node->window()->raw, place);
        } else {
            pending.emplace_back(node->second(), place);
            pending.emplace_back(node->first(), NodeIndex::none);
        }
    }
    std::sort(leaves.begin(), leaves.end());

    if (!minimums.empty()) {
        assignMinimums(nodes, leaves, minimums);
        for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; --i) {
            FlatNode& split = nodes[i];
            if (split.node->isLeaf()) continue;
            const CGSize f = nodes[i + 1].minimum, s = nodes[split.second].minimum;
            split.minimum = *split.node->axis() == Axis::vertical
                                ? CGSize{f.width + s.width, std::max(f.height, s.height)}
                                : CGSize{std::max(f.width, s.width), f.height + s.height};
        }
    }

    nodes.front().rect = rect;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const FlatNode& split = nodes[i];
        if (split.node->isLeaf()) continue;
        const Axis axis = *split.node->axis();
        const double ratio = ratioUsed(*split.node->ratio(), extentAlong(axis, split.rect),
                                       extentAlong(axis, nodes[i + 1].minimum),
                                       extentAlong(axis, nodes[split.second].minimum));
        std::tie(nodes[i + 1].rect, nodes[split.second].rect) =
            kelvo::split(split.rect, axis, ratio);
    }

    // Filled in ascending order, each window goes in at the end without a search.
    LayoutTree::Rects result;
    for (const auto& [window, place] : leaves) {
        if (!result.empty() && std::prev(result.end())->first.raw == window) continue;
        result.emplace_hint(result.end(), WindowID(window), nodes[place].rect);
    }
    return result;
}

double clampedPaneFraction(double ratio) {
    return std::clamp(ratio, LayoutTree::minimumPaneFraction, LayoutTree::maximumPaneFraction);
}

NodeIndex::NodeIndex(const Node& root) {
    std::vector<std::pair<const Node*, int>> pending{{&root, none}};
    int leafCount = 0;
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        const int index = size();
        entries_.push_back(Entry{.node = node, .parent = parent});
        if (parent != none) {
            Entry& p = entries_[parent];
            (p.first == none ? p.first : p.second) = index;
        }
        if (node->isLeaf()) {
            entries_.back().leafOrdinal = leafCount++;
        } else {
            // `second` waits beneath `first`, so `first`'s whole subtree is listed before it.
            pending.emplace_back(node->second(), index);
            pending.emplace_back(node->first(), index);
        }
    }
}

std::vector<WindowID> NodeIndex::leaves() const {
    std::vector<WindowID> windows;
    for (const Entry& entry : entries_)
        if (entry.isLeaf()) windows.push_back(*entry.node->window());
    return windows;
}

int NodeIndex::leafOf(WindowID window) const {
    for (int i = 0; i < size(); ++i)
        if (entries_[i].isLeaf() && *entries_[i].node->window() == window) return i;
    return none;
}

std::vector<CGSize> NodeIndex::minimumExtents(const LayoutTree::Minimums& minimums) const {
    std::vector<CGSize> extents(entries_.size());
    for (int i = size() - 1; i >= 0; --i) {
        const Entry& entry = entries_[i];
        if (entry.isLeaf()) {
            const auto found = minimums.find(*entry.node->window());
            if (found != minimums.end()) extents[i] = found->second;
            continue;
        }
        const CGSize f = extents[entry.first], s = extents[entry.second];
        extents[i] = *entry.node->axis() == Axis::vertical
                         ? CGSize{f.width + s.width, std::max(f.height, s.height)}
                         : CGSize{std::max(f.width, s.width), f.height + s.height};
    }
    return extents;
}

std::vector<CGRect> NodeIndex::rectangles(const CGRect& rect,
                                          const LayoutTree::Minimums& minimums) const {
    const std::vector<CGSize> extents = minimumExtents(minimums);
    std::vector<CGRect> rects(entries_.size());
    rects.front() = rect;
    for (int i = 0; i < size(); ++i) {
        const Entry& entry = entries_[i];
        if (entry.isLeaf()) continue;
        const Axis axis = *entry.node->axis();
        const double ratio = ratioUsed(*entry.node->ratio(), extentAlong(axis, rects[i]),
                                       extentAlong(axis, extents[entry.first]),
                                       extentAlong(axis, extents[entry.second]));
        std::tie(rects[entry.first], rects[entry.second]) = split(rects[i], axis, ratio);
    }
    return rects;
}

NodeIndex::Node NodeIndex::replacing(int index, Node replacement) const {
    Node node = std::move(replacement);
    for (int child = index, parent = entries_[index].parent; parent != none;
         child = parent, parent = entries_[parent].parent) {
        const Node& old = *entries_[parent].node;
        node = entries_[parent].first == child
                   ? Node::split(*old.axis(), *old.ratio(), std::move(node), *old.second())
                   : Node::split(*old.axis(), *old.ratio(), *old.first(), std::move(node));
    }
    return node;
}

NodeIndex::Node NodeIndex::replacingSplit(int index, Axis axis, double ratio) const {
    const Node& old = *entries_[index].node;
    return replacing(index, Node::split(axis, ratio, *old.first(), *old.second()));
}

std::optional<NodeIndex::Node> NodeIndex::mappingLeaves(
    const std::function<std::optional<WindowID>(WindowID, int leafOrdinal)>& map) const {
    // Each entry yields its new subtree (none: gone) and whether anything in it changed.
    struct Result {
        std::optional<Node> node;
        bool changed = false;
    };
    const Result result = fold<Result>(
        [&](const Entry& entry) {
            const WindowID window = *entry.node->window();
            const std::optional<WindowID> mapped = map(window, entry.leafOrdinal);
            if (!mapped) return Result{std::nullopt, true};
            if (*mapped == window) return Result{*entry.node, false};
            return Result{Node::leaf(*mapped), true};
        },
        [](const Entry& entry, Result first, Result second) {
            if (!first.changed && !second.changed) return Result{*entry.node, false};
            if (!first.node) return Result{std::move(second.node), true};
            if (!second.node) return Result{std::move(first.node), true};
            const Node& old = *entry.node;
            return Result{Node::split(*old.axis(), *old.ratio(), std::move(*first.node),
                                      std::move(*second.node)),
                          true};
        });
    return result.node;
}

}  // namespace kelvo
