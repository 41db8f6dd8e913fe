#include "Platform/SwiftUI/Shape.h"

#include <algorithm>
#include <cmath>

#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

namespace {

bool drawable(const CGRect& rect) {
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) &&
           std::isfinite(rect.size.width) && std::isfinite(rect.size.height) &&
           rect.size.width > 0 && rect.size.height > 0;
}

CGRoundedCornerStyle cornerStyle(RoundedCornerStyle style) {
    return style == RoundedCornerStyle::continuous ? CGRoundedCornerStyle::continuous
                                                   : CGRoundedCornerStyle::circular;
}

enum class ShapeDrawing { fill, stroke, strokeBorder };

class ShapePaint final : public LayoutPaint {
  public:
    ShapePaint(Shape shape, ShapeDrawing drawing, Color color, const StrokeStyle& line)
        : shape_(std::move(shape)), drawing_(drawing), color_(color), line_(line) {}

    void paint(const LayoutNode& node, const PaintTarget& target) const override {
        CGContext& context = target.context;
        context.saveGState();
        context.beginPath();
        if (drawing_ == ShapeDrawing::fill) {
            context.addPath(shape_.path(node.frame));
            context.setFillColor(node.color.value_or(color_).cgColor());
            context.fillPath();
        } else {
            const CGFloat inset = drawing_ == ShapeDrawing::strokeBorder ? line_.lineWidth / 2 : 0;
            context.addPath(shape_.path(node.frame.insetBy(inset, inset)));
            context.setStrokeColor(node.color.value_or(color_).cgColor());
            context.setLineWidth(line_.lineWidth);
            context.setLineCap(line_.lineCap);
            context.setLineJoin(line_.lineJoin);
            context.strokePath();
        }
        context.restoreGState();
    }

  private:
    Shape shape_;
    ShapeDrawing drawing_;
    Color color_;
    StrokeStyle line_;
};

/// A shape as a view: it takes what it is offered (10 points where nothing is).
class ShapeNode final : public ViewNode {
  public:
    static constexpr CGFloat idealLength = 10;

    ShapeNode(Shape shape, ShapeDrawing drawing, std::optional<Color> color,
              const StrokeStyle& line)
        : shape_(std::move(shape)), drawing_(drawing), color_(color), line_(line) {
        sizeAtOnce();
    }

    CGSize sizeThatFits(const ProposedViewSize& proposal, const EnvironmentValues&) const override {
        return {proposal.width.value_or(idealLength), proposal.height.value_or(idealLength)};
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = parent.add();
        node.kind = shape_.kind();
        node.frame = frame;
        node.color = color_.value_or(environment.resolvedForeground());
        node.opacity = environment.opacity;
        node.enabled = environment.isEnabled;
        node.paint = std::make_shared<ShapePaint>(shape_, drawing_, *node.color, line_);
    }

  private:
    Shape shape_;
    ShapeDrawing drawing_;
    std::optional<Color> color_;
    StrokeStyle line_;
};

View shapeView(const Shape& shape, ShapeDrawing drawing, std::optional<Color> color,
               StrokeStyle line) {
    if (!(std::isfinite(line.lineWidth) && line.lineWidth > 0)) line.lineWidth = 0;
    return View(std::make_shared<ShapeNode>(shape, drawing, color, line));
}

}  // namespace

CGPath Shape::path(const CGRect& rect) const {
    if (!drawable(rect)) return {};
    return outline_(rect);
}

Shape Shape::inset(CGFloat amount) const {
    Outline outline = outline_;
    return Shape(kind_, [outline, amount](const CGRect& rect) {
        const CGRect inner = rect.insetBy(amount, amount);
        return drawable(inner) ? outline(inner) : CGPath{};
    });
}

View Shape::fill(const Color& color) const {
    return shapeView(*this, ShapeDrawing::fill, color, {0});
}

View Shape::stroke(const Color& color, CGFloat lineWidth) const {
    return shapeView(*this, ShapeDrawing::stroke, color, {lineWidth});
}

View Shape::stroke(const Color& color, const StrokeStyle& style) const {
    return shapeView(*this, ShapeDrawing::stroke, color, style);
}

View Shape::strokeBorder(const Color& color, CGFloat lineWidth) const {
    return shapeView(*this, ShapeDrawing::strokeBorder, color, {lineWidth});
}

Shape::operator View() const {
    return shapeView(*this, ShapeDrawing::fill, std::nullopt, {0});
}

Shape Rectangle() {
    return Shape(NodeKind::rectangle, [](const CGRect& rect) {
        CGPath path;
        path.addRect(rect);
        return path;
    });
}

Shape RoundedRectangle(CGFloat cornerRadius, RoundedCornerStyle style) {
    return Shape(NodeKind::roundedRectangle, [cornerRadius, style](const CGRect& rect) {
        CGPath path;
        const CGFloat radius = std::isfinite(cornerRadius) ? std::max(cornerRadius, 0.0) : 0;
        path.addRoundedRect(rect, radius, cornerStyle(style));
        return path;
    });
}

Shape Circle() {
    return Shape(NodeKind::circle, [](const CGRect& rect) {
        const CGFloat side = std::min(rect.width(), rect.height());
        CGPath path;
        path.addEllipse(CGRect(rect.midX() - side / 2, rect.midY() - side / 2, side, side));
        return path;
    });
}

Shape Capsule(RoundedCornerStyle style) {
    return Shape(NodeKind::capsule, [style](const CGRect& rect) {
        CGPath path;
        path.addRoundedRect(rect, std::min(rect.width(), rect.height()) / 2, cornerStyle(style));
        return path;
    });
}

Shape Path(Shape::Outline outline) {
    return Shape(NodeKind::path, std::move(outline));
}

}  // namespace SwiftUI
