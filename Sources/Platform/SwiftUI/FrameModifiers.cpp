#include <algorithm>
#include <cmath>

#include "Platform/SwiftUI/ModifierNode.h"

namespace SwiftUI {

namespace {

/// A length that is not a number counts as none; a negative one as zero.
std::optional<CGFloat> cleanLength(std::optional<CGFloat> length) {
    if (!length || std::isnan(*length)) return std::nullopt;
    return std::max(*length, 0.0);
}

/// A view that offers its content something of its own making and places the content, at the
/// size it chooses for that offer, aligned in its frame.
class OfferingNode : public ModifierNode {
  public:
    /// Its own part of an answer is a little arithmetic around one question to the content,
    /// which remembers its answers: it answers at once.
    OfferingNode(View content, NodeKind kind, Alignment alignment)
        : ModifierNode(std::move(content)), kind_(kind), alignment_(alignment) {
        sizeAtOnce();
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        const CGSize size = measure(content_, offer(ProposedViewSize::of(frame.size)), environment);
        LayoutNode& node = wrapNode(parent, kind_, frame, environment);
        placeView(content_,
                  CGRect(frame.origin.x + offsetX(frame.size, size),
                         frame.origin.y + offsetY(frame.size, size), size.width, size.height),
                  environment, node);
    }

    std::optional<CGFloat> firstBaseline(CGSize size,
                                         const EnvironmentValues& environment) const override {
        const CGSize own = measure(content_, offer(ProposedViewSize::of(size)), environment);
        const std::optional<CGFloat> baseline = baselineOf(content_, own, environment);
        if (!baseline) return std::nullopt;
        return *baseline + offsetY(size, own);
    }

  protected:
    /// What the content is offered when the frame is offered `proposal`.
    virtual ProposedViewSize offer(const ProposedViewSize& proposal) const = 0;

  private:
    CGFloat offsetX(CGSize frame, CGSize content) const {
        return alignedOffset(alignment_.horizontal, frame.width, content.width);
    }
    CGFloat offsetY(CGSize frame, CGSize content) const {
        return alignedOffset(alignment_.vertical, frame.height, content.height);
    }

    NodeKind kind_;
    Alignment alignment_;
};

class FixedFrameNode final : public OfferingNode {
  public:
    FixedFrameNode(View content, std::optional<CGFloat> width, std::optional<CGFloat> height,
                   Alignment alignment)
        : OfferingNode(std::move(content), NodeKind::frame, alignment),
          width_(cleanLength(width)),
          height_(cleanLength(height)) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        if (width_ && height_) return {*width_, *height_};
        const CGSize size = measure(content_, offer(proposal), environment);
        return {width_.value_or(size.width), height_.value_or(size.height)};
    }

  protected:
    ProposedViewSize offer(const ProposedViewSize& proposal) const override {
        return {width_ ? width_ : proposal.width, height_ ? height_ : proposal.height};
    }

  private:
    std::optional<CGFloat> width_;
    std::optional<CGFloat> height_;
};

/// One axis of a flexible frame.
struct Bounds {
    std::optional<CGFloat> minimum;
    std::optional<CGFloat> ideal;
    std::optional<CGFloat> maximum;

    bool any() const { return minimum || maximum; }
    /// What the content is offered along this axis.
    std::optional<CGFloat> offer(std::optional<CGFloat> proposed) const {
        if (!proposed) return ideal;
        CGFloat length = *proposed;
        if (minimum) length = std::max(*minimum, length);
        if (maximum) length = std::min(*maximum, length);
        return length;
    }
    /// The frame's length for the content's, given the (bounded) offer.
    CGFloat length(CGFloat content, std::optional<CGFloat> offered) const {
        CGFloat result = content;
        // Without an offer the content's own length stands, held within the bounds.
        if (minimum) result = std::max(*minimum, std::min(result, offered.value_or(result)));
        if (maximum) result = std::min(*maximum, std::max(result, offered.value_or(result)));
        if (!any() && ideal && !offered) result = *ideal;
        return result;
    }
};

class FlexibleFrameNode final : public OfferingNode {
  public:
    FlexibleFrameNode(View content, const FlexibleFrame& frame)
        : OfferingNode(std::move(content), NodeKind::frame, frame.alignment),
          width_{cleanLength(frame.minWidth), cleanLength(frame.idealWidth),
                 cleanLength(frame.maxWidth)},
          height_{cleanLength(frame.minHeight), cleanLength(frame.idealHeight),
                  cleanLength(frame.maxHeight)} {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        const ProposedViewSize offered = offer(proposal);
        const CGSize size = measure(content_, offered, environment);
        return {width_.length(size.width, offered.width),
                height_.length(size.height, offered.height)};
    }

  protected:
    ProposedViewSize offer(const ProposedViewSize& proposal) const override {
        return {width_.offer(proposal.width), height_.offer(proposal.height)};
    }

  private:
    Bounds width_;
    Bounds height_;
};

class FixedSizeNode final : public OfferingNode {
  public:
    FixedSizeNode(View content, bool horizontal, bool vertical)
        : OfferingNode(std::move(content), NodeKind::fixedSize, Alignment::center()),
          horizontal_(horizontal),
          vertical_(vertical) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        return measure(content_, offer(proposal), environment);
    }

  protected:
    ProposedViewSize offer(const ProposedViewSize& proposal) const override {
        return {horizontal_ ? std::nullopt : proposal.width,
                vertical_ ? std::nullopt : proposal.height};
    }

  private:
    bool horizontal_;
    bool vertical_;
};

class PaddingNode final : public ModifierNode {
  public:
    /// Answers at once, as a frame does.
    PaddingNode(View content, EdgeInsets insets)
        : ModifierNode(std::move(content)), insets_(insets) {
        for (CGFloat* edge : {&insets_.top, &insets_.leading, &insets_.bottom, &insets_.trailing})
            if (!std::isfinite(*edge)) *edge = 0;
        sizeAtOnce();
    }

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        const CGSize size = measure(content_, inset(proposal), environment);
        return {size.width + horizontal(), size.height + vertical()};
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = wrapNode(parent, NodeKind::padding, frame, environment);
        const CGRect inner(frame.origin.x + insets_.leading, frame.origin.y + insets_.top,
                           std::max(frame.size.width - horizontal(), 0.0),
                           std::max(frame.size.height - vertical(), 0.0));
        placeView(content_, inner, environment, node);
    }

    std::optional<CGFloat> firstBaseline(CGSize size,
                                         const EnvironmentValues& environment) const override {
        const std::optional<CGFloat> baseline = baselineOf(
            content_,
            {std::max(size.width - horizontal(), 0.0), std::max(size.height - vertical(), 0.0)},
            environment);
        if (!baseline) return std::nullopt;
        return *baseline + insets_.top;
    }

  private:
    CGFloat horizontal() const { return insets_.leading + insets_.trailing; }
    CGFloat vertical() const { return insets_.top + insets_.bottom; }
    ProposedViewSize inset(const ProposedViewSize& proposal) const {
        auto less = [](std::optional<CGFloat> length, CGFloat by) -> std::optional<CGFloat> {
            if (!length) return std::nullopt;
            return std::max(*length - by, 0.0);
        };
        return {less(proposal.width, horizontal()), less(proposal.height, vertical())};
    }

    EdgeInsets insets_;
};

class OffsetNode final : public ModifierNode {
  public:
    OffsetNode(View content, CGFloat x, CGFloat y)
        : ModifierNode(std::move(content)),
          x_(std::isfinite(x) ? x : 0),
          y_(std::isfinite(y) ? y : 0) {
        answerAs(content_);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        placeView(content_, frame.offsetBy(x_, y_), environment, parent);
    }

  private:
    CGFloat x_;
    CGFloat y_;
};

}  // namespace

View View::frame(std::optional<CGFloat> width, std::optional<CGFloat> height,
                 Alignment alignment) const {
    return View(std::make_shared<FixedFrameNode>(*this, width, height, alignment));
}

View View::frame(const FlexibleFrame& frame) const {
    return View(std::make_shared<FlexibleFrameNode>(*this, frame));
}

View View::fixedSize(bool horizontal, bool vertical) const {
    return View(std::make_shared<FixedSizeNode>(*this, horizontal, vertical));
}

View View::padding() const {
    return padding(16);
}

View View::padding(CGFloat amount) const {
    return padding(Edges::all().insets(amount));
}

View View::padding(Edges edges, CGFloat amount) const {
    return padding(edges.insets(amount));
}

View View::padding(const EdgeInsets& insets) const {
    return View(std::make_shared<PaddingNode>(*this, insets));
}

View View::offset(CGFloat x, CGFloat y) const {
    return View(std::make_shared<OffsetNode>(*this, x, y));
}

}  // namespace SwiftUI
