#include "Platform/SwiftUI/StackLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <span>

#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

namespace {

struct Share {
    std::size_t index;
    CGFloat minimum;
    CGFloat flexibility;
    bool spacer;
};

/// Most stacks hold a few children: their shares are sorted where they are, without the
/// buffer a merge sort takes.
constexpr std::ptrdiff_t fewShares = 16;

/// Spacers last, the others least flexible first, each group in the order given.
void sortShares(Share* begin, Share* end) {
    const auto before = [](const Share& a, const Share& b) {
        if (a.spacer != b.spacer) return b.spacer;
        return a.flexibility < b.flexibility;
    };
    const bool ordered =
        std::none_of(begin, end, [](const Share& share) { return std::isnan(share.flexibility); });
    if (!ordered || end - begin > fewShares) {
        std::stable_sort(begin, end, before);
        return;
    }
    for (Share* next = begin + 1; next < end; ++next) {
        const Share moving = *next;
        Share* place = next;
        for (; place > begin && before(moving, *(place - 1)); --place)
            *place = *(place - 1);
        *place = moving;
    }
}

}  // namespace

CGFloat spacingOrDefault(std::optional<CGFloat> spacing) {
    if (!spacing || !std::isfinite(*spacing)) return defaultSpacing;
    return *spacing;
}

void StackLayout::size(const ProposedViewSize& proposal, ChildEnvironments& environments,
                       std::vector<Placement>& placements) const {
    const std::size_t count = children_.size();
    placements.assign(count, Placement{});
    const std::optional<CGFloat> cross = proposal.across(axis_);
    const std::optional<CGFloat> offered = proposal.along(axis_);
    if (!offered) {
        for (std::size_t i = 0; i < count; ++i)
            placements[i].size = measure(
                children_[i], ProposedViewSize::make(axis_, std::nullopt, cross), environments[i]);
        return;
    }
    std::array<Share, fewShares> few;
    std::vector<Share> many(count > few.size() ? count : 0);
    Share* const shares = count > few.size() ? many.data() : few.data();
    CGFloat remaining = *offered - spacing_ * static_cast<CGFloat>(count - 1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<CGFloat> spacerMinimum = children_[i].node().spacerMinLength(axis_);
        Share share{i, spacerMinimum.value_or(0), infinity, spacerMinimum.has_value()};
        if (!share.spacer) {
            const EnvironmentValues& environment = environments[i];
            share.minimum = length(
                measure(children_[i], ProposedViewSize::make(axis_, 0.0, cross), environment),
                axis_);
            const CGFloat maximum = length(
                measure(children_[i], ProposedViewSize::make(axis_, infinity, cross), environment),
                axis_);
            share.flexibility = maximum - share.minimum;
        }
        remaining -= share.minimum;
        shares[i] = share;
    }
    sortShares(shares, shares + count);
    std::size_t left = static_cast<std::size_t>(
        std::count_if(shares, shares + count, [](const Share& s) { return !s.spacer; }));
    std::size_t spacersLeft = count - left;
    // `remaining` is what is left beyond the minimums of the children not yet sized. A child's
    // minimum was set aside for it alone, so it is offered that and an equal share of the
    // rest. Were its minimum shared out with the rest, a child whose minimum is most of its
    // ideal could be offered less than its ideal even with the stack offered the sum of its
    // children's ideals, and of two like spacers the first would get less.
    for (const Share& share : std::span(shares, count)) {
        std::size_t& among = share.spacer ? spacersLeft : left;
        const CGFloat offer =
            share.minimum + std::max(remaining, 0.0) / static_cast<CGFloat>(among);
        const CGSize size =
            measure(children_[share.index], ProposedViewSize::make(axis_, offer, cross),
                    environments[share.index]);
        placements[share.index].size = size;
        remaining -= length(size, axis_) - share.minimum;
        --among;
    }
}

StackLayout::Arrangement StackLayout::arrange(const ProposedViewSize& proposal,
                                              ChildEnvironments& environments,
                                              HorizontalAlignment horizontal,
                                              VerticalAlignment vertical, bool withBaseline,
                                              std::vector<Placement> room) const {
    Arrangement arrangement;
    if (children_.empty()) return arrangement;
    arrangement.children = std::move(room);
    size(proposal, environments, arrangement.children);
    CGFloat along = spacing_ * static_cast<CGFloat>(children_.size() - 1);
    for (const Placement& child : arrangement.children)
        along += length(child.size, axis_);
    alignAcross(arrangement, environments, horizontal, vertical, withBaseline);
    const LayoutAxis crossAxis =
        axis_ == LayoutAxis::horizontal ? LayoutAxis::vertical : LayoutAxis::horizontal;
    CGFloat cross = 0;
    for (const Placement& child : arrangement.children)
        cross = std::max(cross, child.crossOffset + length(child.size, crossAxis));
    arrangement.size = sizeAlong(axis_, along, cross);
    return arrangement;
}

void StackLayout::alignAcross(Arrangement& arrangement, ChildEnvironments& environments,
                              HorizontalAlignment horizontal, VerticalAlignment vertical,
                              bool withBaseline) const {
    const std::size_t count = children_.size();
    const bool byBaseline =
        axis_ == LayoutAxis::horizontal && vertical == VerticalAlignment::firstTextBaseline;
    const LayoutAxis crossAxis =
        axis_ == LayoutAxis::horizontal ? LayoutAxis::vertical : LayoutAxis::horizontal;
    std::vector<Placement>& children = arrangement.children;
    // Baselines are asked only when they are used: a text's costs a setting of its lines.
    std::vector<std::optional<CGFloat>> baselines;
    if (byBaseline || withBaseline) {
        baselines.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            baselines[i] = baselineOf(children_[i], children[i].size, environments[i]);
    }
    if (byBaseline) {
        // A view without text sits on its bottom edge.
        CGFloat above = 0;
        for (std::size_t i = 0; i < count; ++i)
            above = std::max(above, baselines[i].value_or(children[i].size.height));
        for (std::size_t i = 0; i < count; ++i)
            children[i].crossOffset = above - baselines[i].value_or(children[i].size.height);
    } else {
        CGFloat cross = 0;
        for (const Placement& child : children)
            cross = std::max(cross, length(child.size, crossAxis));
        for (Placement& child : children) {
            const CGFloat own = length(child.size, crossAxis);
            child.crossOffset = axis_ == LayoutAxis::horizontal
                                    ? alignedOffset(vertical, cross, own)
                                    : alignedOffset(horizontal, cross, own);
        }
    }
    if (!withBaseline) return;
    // The stack's first baseline: the first child's along a vertical stack, the highest
    // baseline across a horizontal one.
    CGFloat along = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (baselines[i]) {
            const CGFloat at = axis_ == LayoutAxis::vertical
                                   ? along + *baselines[i]
                                   : children[i].crossOffset + *baselines[i];
            if (axis_ == LayoutAxis::vertical) {
                arrangement.baseline = at;
                break;
            }
            arrangement.baseline = std::min(arrangement.baseline.value_or(at), at);
        }
        along += length(children[i].size, axis_) + spacing_;
    }
}

}  // namespace SwiftUI
