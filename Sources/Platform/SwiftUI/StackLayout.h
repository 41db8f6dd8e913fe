#pragma once

#include <optional>
#include <vector>

#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

/// The spacing asked for; the platform's default for none or for one that is not a number.
CGFloat spacingOrDefault(std::optional<CGFloat> spacing);

/// How a stack shares its length among its children: every child's minimum is set aside,
/// then the children that are not spacers are offered the rest in turn, least flexible first,
/// each an equal share of what is left; spacers share what the others leave, never less than
/// their minimum length. Across the axis every child is offered the stack's own offer.
class StackLayout {
  public:
    struct Arrangement {
        std::vector<CGSize> sizes;
        /// Each child's offset across the axis, from the stack's top or leading edge.
        std::vector<CGFloat> crossOffsets;
        CGSize size;
        /// From the stack's top to the first text baseline of its children, if any has one.
        std::optional<CGFloat> baseline;
    };

    StackLayout(LayoutAxis axis, std::optional<CGFloat> spacing, const std::vector<View>& children)
        : axis_(axis), spacing_(spacingOrDefault(spacing)), children_(children) {}

    /// `environments` holds each child's environment, in order. The children's baselines are
    /// asked only when the stack aligns by them or `withBaseline` asks for its own.
    Arrangement arrange(const ProposedViewSize& proposal,
                        const std::vector<EnvironmentValues>& environments,
                        HorizontalAlignment horizontal, VerticalAlignment vertical,
                        bool withBaseline = false) const;

  private:
    std::vector<CGSize> sizes(const ProposedViewSize& proposal,
                              const std::vector<EnvironmentValues>& environments) const;
    void alignAcross(Arrangement& arrangement, const std::vector<EnvironmentValues>& environments,
                     HorizontalAlignment horizontal, VerticalAlignment vertical,
                     bool withBaseline) const;

    LayoutAxis axis_;
    CGFloat spacing_;
    const std::vector<View>& children_;
};

}  // namespace SwiftUI
