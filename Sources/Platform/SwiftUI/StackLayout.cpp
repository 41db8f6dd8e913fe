#include "Platform/SwiftUI/StackLayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

namespace {

struct Share {
    std::size_t index;
    CGFloat minimum;
    CGFloat flexibility;
    bool spacer;
};

}  // namespace

CGFloat spacingOrDefault(std::optional<CGFloat> spacing) {
    if (!spacing || !std::isfinite(*spacing)) return defaultSpacing;
    return *spacing;
}

std::vector<CGSize> StackLayout::sizes(const ProposedViewSize& proposal,
                                       ChildEnvironments& environments) const {
    const std::size_t count = children_.size();
    std::vector<CGSize> result(count);
    const std::optional<CGFloat> cross = proposal.across(axis_);
    const std::optional<CGFloat> offered = proposal.along(axis_);
    if (!offered) {
        for (std::size_t i = 0; i < count; ++i)
            result[i] = measure(children_[i], ProposedViewSize::make(axis_, std::nullopt, cross),
                                environments[i]);
        return result;
    }
    std::vector<Share> shares;
    CGFloat remaining = *offered - spacing_ * static_cast<CGFloat>(count - 1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<CGFloat> spacerMinimum =
            children_[i].node().spacerMinLength(axis_, environments[i]);
        Share share{i, spacerMinimum.value_or(0), infinity, spacerMinimum.has_value()};
        if (!share.spacer) {
            share.minimum = length(
                measure(children_[i], ProposedViewSize::make(axis_, 0.0, cross), environments[i]),
                axis_);
            const CGFloat maximum =
                length(measure(children_[i], ProposedViewSize::make(axis_, infinity, cross),
                               environments[i]),
                       axis_);
            share.flexibility = maximum - share.minimum;
        }
        remaining -= share.minimum;
        shares.push_back(share);
    }
    std::stable_sort(shares.begin(), shares.end(), [](const Share& a, const Share& b) {
        if (a.spacer != b.spacer) return b.spacer;
        return a.flexibility < b.flexibility;
    });
    std::size_t left = static_cast<std::size_t>(
        std::count_if(shares.begin(), shares.end(), [](const Share& s) { return !s.spacer; }));
    std::size_t spacersLeft = count - left;
    for (const Share& share : shares) {
        remaining += share.minimum;
        std::size_t& among = share.spacer ? spacersLeft : left;
        const CGFloat offer = std::max(remaining / static_cast<CGFloat>(among), share.minimum);
        const CGSize size =
            measure(children_[share.index], ProposedViewSize::make(axis_, offer, cross),
                    environments[share.index]);
        result[share.index] = size;
        remaining -= length(size, axis_);
        --among;
    }
    return result;
}

StackLayout::Arrangement StackLayout::arrange(const ProposedViewSize& proposal,
                                              ChildEnvironments& environments,
                                              HorizontalAlignment horizontal,
                                              VerticalAlignment vertical, bool withBaseline) const {
    Arrangement arrangement;
    if (children_.empty()) return arrangement;
    arrangement.sizes = sizes(proposal, environments);
    CGFloat along = spacing_ * static_cast<CGFloat>(children_.size() - 1);
    for (const CGSize& size : arrangement.sizes)
        along += length(size, axis_);
    alignAcross(arrangement, environments, horizontal, vertical, withBaseline);
    CGFloat cross = 0;
    for (std::size_t i = 0; i < children_.size(); ++i)
        cross = std::max(cross, arrangement.crossOffsets[i] +
                                    length(arrangement.sizes[i], axis_ == LayoutAxis::horizontal
                                                                     ? LayoutAxis::vertical
                                                                     : LayoutAxis::horizontal));
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
    arrangement.crossOffsets.assign(count, 0);
    std::vector<std::optional<CGFloat>> baselines(count);
    if (byBaseline || withBaseline)
        for (std::size_t i = 0; i < count; ++i)
            baselines[i] = baselineOf(children_[i], arrangement.sizes[i], environments[i]);
    if (byBaseline) {
        // A view without text sits on its bottom edge.
        CGFloat above = 0;
        for (std::size_t i = 0; i < count; ++i)
            above = std::max(above, baselines[i].value_or(arrangement.sizes[i].height));
        for (std::size_t i = 0; i < count; ++i)
            arrangement.crossOffsets[i] =
                above - baselines[i].value_or(arrangement.sizes[i].height);
    } else {
        CGFloat cross = 0;
        for (const CGSize& size : arrangement.sizes)
            cross = std::max(cross, length(size, crossAxis));
        for (std::size_t i = 0; i < count; ++i) {
            const CGFloat own = length(arrangement.sizes[i], crossAxis);
            arrangement.crossOffsets[i] = axis_ == LayoutAxis::horizontal
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
                                   : arrangement.crossOffsets[i] + *baselines[i];
            if (axis_ == LayoutAxis::vertical) {
                arrangement.baseline = at;
                break;
            }
            arrangement.baseline = std::min(arrangement.baseline.value_or(at), at);
        }
        along += length(arrangement.sizes[i], axis_) + spacing_;
    }
}

}  // namespace SwiftUI
