#include <algorithm>

#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/StackLayout.h"
#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

namespace {

class StackNode final : public ViewNode {
  public:
    StackNode(LayoutAxis axis, HorizontalAlignment horizontal, VerticalAlignment vertical,
              std::optional<CGFloat> spacing, std::vector<View> content)
        : axis_(axis),
          horizontal_(horizontal),
          vertical_(vertical),
          spacing_(spacing),
          children_(flattened(std::move(content))) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        ChildEnvironments inner(environment, axis_);
        StackLayout::Arrangement arrangement = arrange(proposal, inner);
        keepRoom(arrangement);
        return arrangement.size;
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = parent.add();
        node.kind = axis_ == LayoutAxis::horizontal ? NodeKind::hStack : NodeKind::vStack;
        node.frame = frame;
        node.opacity = environment.opacity;
        node.enabled = environment.isEnabled;
        node.children.reserve(children_.size());
        ChildEnvironments inner(environment, axis_);
        StackLayout::Arrangement arrangement = arrange(ProposedViewSize::of(frame.size), inner);
        CGFloat along = 0;
        const CGFloat spacing = spacingOrDefault(spacing_);
        for (std::size_t i = 0; i < children_.size(); ++i) {
            const CGSize size = arrangement.children[i].size;
            const CGFloat cross = arrangement.children[i].crossOffset;
            const CGRect childFrame = axis_ == LayoutAxis::horizontal
                                          ? CGRect(frame.origin.x + along, frame.origin.y + cross,
                                                   size.width, size.height)
                                          : CGRect(frame.origin.x + cross, frame.origin.y + along,
                                                   size.width, size.height);
            placeView(children_[i], childFrame, inner[i], node);
            along += length(size, axis_) + spacing;
        }
        keepRoom(arrangement);
    }

    std::optional<CGFloat> firstBaseline(CGSize size,
                                         const EnvironmentValues& environment) const override {
        ChildEnvironments inner(environment, axis_);
        StackLayout::Arrangement arrangement = arrange(ProposedViewSize::of(size), inner, true);
        keepRoom(arrangement);
        return arrangement.baseline;
    }

  private:
    StackLayout::Arrangement arrange(const ProposedViewSize& proposal, ChildEnvironments& inner,
                                     bool withBaseline = false) const {
        return StackLayout(axis_, spacing_, children_)
            .arrange(proposal, inner, horizontal_, vertical_, withBaseline, std::move(room_));
    }
    /// A stack is asked several times a pass: each arrangement's list serves the next.
    void keepRoom(StackLayout::Arrangement& arrangement) const {
        room_ = std::move(arrangement.children);
    }

    LayoutAxis axis_;
    HorizontalAlignment horizontal_;
    VerticalAlignment vertical_;
    std::optional<CGFloat> spacing_;
    std::vector<View> children_;
    mutable std::vector<StackLayout::Placement> room_;
};

class ZStackNode final : public ViewNode {
  public:
    ZStackNode(Alignment alignment, std::vector<View> content)
        : alignment_(alignment), children_(flattened(std::move(content))) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        CGSize size;
        ChildEnvironments inner(environment, std::nullopt);
        for (std::size_t i = 0; i < children_.size(); ++i) {
            const CGSize own = measure(children_[i], proposal, inner[i]);
            size = {std::max(size.width, own.width), std::max(size.height, own.height)};
        }
        return size;
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = parent.add();
        node.kind = NodeKind::zStack;
        node.frame = frame;
        node.opacity = environment.opacity;
        node.enabled = environment.isEnabled;
        ChildEnvironments inner(environment, std::nullopt);
        for (std::size_t i = 0; i < children_.size(); ++i) {
            const EnvironmentValues& childEnvironment = inner[i];
            const CGSize size =
                measure(children_[i], ProposedViewSize::of(frame.size), childEnvironment);
            const CGRect childFrame(
                frame.origin.x + alignedOffset(alignment_.horizontal, frame.size.width, size.width),
                frame.origin.y + alignedOffset(alignment_.vertical, frame.size.height, size.height),
                size.width, size.height);
            placeView(children_[i], childFrame, childEnvironment, node);
        }
    }

  private:
    Alignment alignment_;
    std::vector<View> children_;
};

class SpacerNode final : public ViewNode {
  public:
    explicit SpacerNode(std::optional<CGFloat> minLength) : minLength_(minLength) { sizeAtOnce(); }

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        if (!environment.stackAxis)
            return {proposal.width.value_or(0), proposal.height.value_or(0)};
        const LayoutAxis axis = *environment.stackAxis;
        const CGFloat minimum = minLength_.value_or(defaultSpacing);
        return sizeAlong(axis, std::max(proposal.along(axis).value_or(minimum), minimum), 0);
    }

    void place(const CGRect& frame, const EnvironmentValues&, LayoutNode& parent) const override {
        LayoutNode& node = parent.add();
        node.kind = NodeKind::spacer;
        node.frame = frame;
        node.hitTesting = false;
    }

    std::optional<CGFloat> spacerMinLength(LayoutAxis) const override {
        return minLength_.value_or(defaultSpacing);
    }

  private:
    std::optional<CGFloat> minLength_;
};

class DividerNode final : public ViewNode {
  public:
    static constexpr CGFloat thickness = 1;

    DividerNode() { sizeAtOnce(); }

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        if (environment.stackAxis == LayoutAxis::horizontal)
            return {thickness, proposal.height.value_or(0)};
        return {proposal.width.value_or(0), thickness};
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        placeView(Rectangle().fill(separatorColor()), frame, environment, parent);
        parent.children.back().kind = NodeKind::divider;
    }

    /// The separator of the dark look.
    static Color separatorColor() { return Color::white().opacity(0.1); }
};

}  // namespace

View VStack(HorizontalAlignment alignment, std::optional<CGFloat> spacing,
            std::vector<View> content) {
    return View(std::make_shared<StackNode>(
        LayoutAxis::vertical, alignment, VerticalAlignment::center, spacing, std::move(content)));
}

View VStack(std::vector<View> content) {
    return VStack(HorizontalAlignment::center, std::nullopt, std::move(content));
}

View HStack(VerticalAlignment alignment, std::optional<CGFloat> spacing,
            std::vector<View> content) {
    return View(std::make_shared<StackNode>(LayoutAxis::horizontal, HorizontalAlignment::center,
                                            alignment, spacing, std::move(content)));
}

View HStack(std::vector<View> content) {
    return HStack(VerticalAlignment::center, std::nullopt, std::move(content));
}

View ZStack(Alignment alignment, std::vector<View> content) {
    return View(std::make_shared<ZStackNode>(alignment, std::move(content)));
}

View ZStack(std::vector<View> content) {
    return ZStack(Alignment::center(), std::move(content));
}

View Spacer(std::optional<CGFloat> minLength) {
    return View(std::make_shared<SpacerNode>(minLength));
}

View Divider() {
    return View(std::make_shared<DividerNode>());
}

}  // namespace SwiftUI
