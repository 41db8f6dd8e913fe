#include <algorithm>
#include <cmath>

#include "Platform/SwiftUI/ModifierNode.h"
#include "Platform/SwiftUI/Shape.h"

namespace SwiftUI {

namespace {

/// A view behind or over the content, offered the content's size and aligned on it.
class LayerNode final : public ModifierNode {
  public:
    LayerNode(View content, View layer, Alignment alignment, bool behind)
        : ModifierNode(std::move(content)),
          layer_(std::move(layer)),
          alignment_(alignment),
          behind_(behind) {
        answerAs(content_);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = wrapNode(parent, behind_ ? NodeKind::background : NodeKind::overlay,
                                    frame, environment);
        if (!behind_) placeView(content_, frame, environment, node);
        const EnvironmentValues layerEnvironment = [&] {
            EnvironmentValues inner = environment.child(behind_ ? "background" : "overlay");
            inner.stackAxis.reset();
            return inner;
        }();
        const CGSize size = measure(layer_, ProposedViewSize::of(frame.size), layerEnvironment);
        const CGRect layerFrame(
            frame.origin.x + alignedOffset(alignment_.horizontal, frame.size.width, size.width),
            frame.origin.y + alignedOffset(alignment_.vertical, frame.size.height, size.height),
            size.width, size.height);
        placeView(layer_, layerFrame, layerEnvironment, node);
        if (behind_) placeView(content_, frame, environment, node);
    }

  private:
    View layer_;
    Alignment alignment_;
    bool behind_;
};

/// Draws the node's children into a layer of their own, composed with what `setUp` sets. The
/// layer reaches as far as the children draw and `spread` beyond (a shadow's blur and offset).
void paintInLayer(const LayoutNode& node, const PaintTarget& target,
                  const std::function<void(CGContext&)>& setUp, CGFloat spread = 0) {
    target.context.saveGState();
    const CGRect reach = drawnReach(node).insetBy(-spread, -spread);
    if (isFinite(reach)) target.context.clip(reach);
    setUp(target.context);
    target.context.beginTransparencyLayer();
    paintChildren(node, target);
    target.context.endTransparencyLayer();
    target.context.restoreGState();
}

class OpacityPaint final : public LayoutPaint {
  public:
    explicit OpacityPaint(double opacity) : opacity_(opacity) {}
    void paint(const LayoutNode& node, const PaintTarget& target) const override {
        if (opacity_ <= 0) return;
        paintInLayer(node, target, [this](CGContext& context) { context.setAlpha(opacity_); });
    }

  private:
    double opacity_;
};

class OpacityNode final : public ModifierNode {
  public:
    OpacityNode(View content, double opacity)
        : ModifierNode(std::move(content), true),
          opacity_(std::isnan(opacity) ? 1 : std::clamp(opacity, 0.0, 1.0)) {}

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = wrapNode(parent, NodeKind::opacity, frame, environment);
        node.opacity = environment.opacity * opacity_;
        node.paint = std::make_shared<OpacityPaint>(opacity_);
        placeView(content_, frame, inner(environment), node);
    }

  protected:
    EnvironmentValues inner(const EnvironmentValues& environment) const override {
        EnvironmentValues result = environment;
        result.opacity *= opacity_;
        return result;
    }

  private:
    double opacity_;
};

class ShadowPaint final : public LayoutPaint {
  public:
    ShadowPaint(Color color, CGFloat radius, CGFloat x, CGFloat y)
        : color_(color), radius_(radius), x_(x), y_(y) {}
    void paint(const LayoutNode& node, const PaintTarget& target) const override {
        // The context's shadow offset is in its base space, where y grows upwards.
        paintInLayer(
            node, target,
            [this](CGContext& context) {
                context.setShadow({x_, -y_}, radius_, color_.cgColor());
            },
            spread());
    }

  private:
    /// How far the shadow falls beyond what casts it: its offset and its blur.
    CGFloat spread() const {
        return std::max(std::abs(x_), std::abs(y_)) + blurReach * radius_ + 1;
    }
    /// A blur reaches three deviations, and the deviation is half the radius.
    static constexpr CGFloat blurReach = 1.5;

    Color color_;
    CGFloat radius_;
    CGFloat x_;
    CGFloat y_;
};

class ClipPaint final : public LayoutPaint {
  public:
    explicit ClipPaint(Shape shape) : shape_(std::move(shape)) {}
    void paint(const LayoutNode& node, const PaintTarget& target) const override {
        CGContext& context = target.context;
        context.saveGState();
        context.beginPath();
        context.addPath(shape_.path(node.frame));
        context.clip();
        paintChildren(node, target);
        context.restoreGState();
    }

  private:
    Shape shape_;
};

class ScalePaint final : public LayoutPaint {
  public:
    explicit ScalePaint(CGFloat scale) : scale_(scale) {}
    void paint(const LayoutNode& node, const PaintTarget& target) const override {
        CGContext& context = target.context;
        context.saveGState();
        context.translateBy(node.frame.midX(), node.frame.midY());
        context.scaleBy(scale_, scale_);
        context.translateBy(-node.frame.midX(), -node.frame.midY());
        paintChildren(node, target);
        context.restoreGState();
    }

  private:
    CGFloat scale_;
};

/// Places the content inside a node of `kind` drawn by `paint`.
class PaintedNode final : public ModifierNode {
  public:
    PaintedNode(View content, NodeKind kind, std::shared_ptr<const LayoutPaint> paint, bool clips)
        : ModifierNode(std::move(content)), kind_(kind), paint_(std::move(paint)), clips_(clips) {
        answerAs(content_);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = wrapNode(parent, kind_, frame, environment);
        node.paint = paint_;
        node.clipsChildren = clips_;
        placeView(content_, frame, environment, node);
    }

  private:
    NodeKind kind_;
    std::shared_ptr<const LayoutPaint> paint_;
    bool clips_;
};

CGFloat finiteOr(CGFloat value, CGFloat fallback) {
    return std::isfinite(value) ? value : fallback;
}

}  // namespace

View View::background(const View& view, Alignment alignment) const {
    return View(std::make_shared<LayerNode>(*this, view, alignment, true));
}

View View::overlay(const View& view, Alignment alignment) const {
    return View(std::make_shared<LayerNode>(*this, view, alignment, false));
}

View View::opacity(double value) const {
    return View(std::make_shared<OpacityNode>(*this, value));
}

View View::shadow(const Color& color, CGFloat radius, CGFloat x, CGFloat y) const {
    return View(std::make_shared<PaintedNode>(
        *this, NodeKind::shadow,
        std::make_shared<ShadowPaint>(color, std::max(finiteOr(radius, 0), 0.0), finiteOr(x, 0),
                                      finiteOr(y, 0)),
        false));
}

View View::clipShape(const Shape& shape) const {
    return View(std::make_shared<PaintedNode>(*this, NodeKind::clipShape,
                                              std::make_shared<ClipPaint>(shape), true));
}

View View::clipped() const {
    return clipShape(Rectangle());
}

View View::cornerRadius(CGFloat radius) const {
    return clipShape(RoundedRectangle(radius));
}

View View::scaleEffect(CGFloat scale) const {
    return View(std::make_shared<PaintedNode>(
        *this, NodeKind::scaleEffect, std::make_shared<ScalePaint>(finiteOr(scale, 1)), false));
}

}  // namespace SwiftUI
