#pragma once

#include <optional>
#include <vector>

#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

/// The spacing asked for; the platform's default for none or for one that is not a number.
CGFloat spacingOrDefault(std::optional<CGFloat> spacing);

/// The environments of a container's children, made one at a time from the container's own:
/// they differ only in their identity paths, so one copy serves them all.
class ChildEnvironments {
  public:
    /// `axis`: the stack the children are in, if any.
    ChildEnvironments(const EnvironmentValues& container, std::optional<LayoutAxis> axis)
        : child_(container), containerPath_(container.pathHash) {
        child_.stackAxis = axis;
    }
    /// The environment of the child at `index`, good until the next call.
    const EnvironmentValues& operator[](std::size_t index) {
        child_.pathHash = EnvironmentValues::childPath(containerPath_, index);
        return child_;
    }

  private:
    EnvironmentValues child_;
    std::size_t containerPath_;
};

/// How a stack shares its length among its children: every child's minimum is set aside,
/// then the children that are not spacers are offered the rest in turn, least flexible first,
/// each its own minimum and an equal share of what is left beyond the minimums; spacers share
/// what the others leave in the same way. Across the axis every child is offered the stack's
/// own offer.
class StackLayout {
  public:
    struct Placement {
        CGSize size;
        /// The child's offset across the axis, from the stack's top or leading edge.
        CGFloat crossOffset = 0;
    };
    struct Arrangement {
        /// One for each child, in order.
        std::vector<Placement> children;
        CGSize size;
        /// From the stack's top to the first text baseline of its children, if any has one.
        std::optional<CGFloat> baseline;
    };

    StackLayout(LayoutAxis axis, std::optional<CGFloat> spacing, const std::vector<View>& children)
        : axis_(axis), spacing_(spacingOrDefault(spacing)), children_(children) {}

    /// `environments` gives each child's environment. The children's baselines are asked only
    /// when the stack aligns by them or `withBaseline` asks for its own. `room`: a list of an
    /// earlier arrangement, whose memory the new one takes over.
    Arrangement arrange(const ProposedViewSize& proposal, ChildEnvironments& environments,
                        HorizontalAlignment horizontal, VerticalAlignment vertical,
                        bool withBaseline = false, std::vector<Placement> room = {}) const;

  private:
    /// Sets each child's size in `placements`.
    void size(const ProposedViewSize& proposal, ChildEnvironments& environments,
              std::vector<Placement>& placements) const;
    void alignAcross(Arrangement& arrangement, ChildEnvironments& environments,
                     HorizontalAlignment horizontal, VerticalAlignment vertical,
                     bool withBaseline) const;

    LayoutAxis axis_;
    CGFloat spacing_;
    const std::vector<View>& children_;
};

}  // namespace SwiftUI
