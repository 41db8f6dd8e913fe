#pragma once

#include <functional>

#include "Base/CoreGraphics/CGDrawOperation.h"
#include "Base/CoreGraphics/CGPath.h"
#include "Platform/SwiftUI/NodeKind.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

enum class RoundedCornerStyle { circular, continuous };

/// How a shape's line is drawn: its width and the look of its ends and corners.
struct StrokeStyle {
    CGFloat lineWidth = 1;
    CGLineCap lineCap = CGLineCap::butt;
    CGLineJoin lineJoin = CGLineJoin::miter;
    bool operator==(const StrokeStyle&) const = default;
};

/// An outline drawn in whatever rectangle the view is given: filled, stroked along its edge,
/// or stroked inside it. As a view it is filled with the foreground colour.
class Shape {
  public:
    using Outline = std::function<CGPath(const CGRect&)>;

    /// `kind` names the shape in the laid-out tree.
    Shape(NodeKind kind, Outline outline) : kind_(kind), outline_(std::move(outline)) {}

    NodeKind kind() const { return kind_; }
    /// The outline in `rect`; nothing for a rectangle that is empty or not finite.
    CGPath path(const CGRect& rect) const;
    /// The same shape drawn `amount` inside the rectangle it is given.
    Shape inset(CGFloat amount) const;

    View fill(const Color& color) const;
    /// A line of `lineWidth` centred on the outline.
    View stroke(const Color& color, CGFloat lineWidth = 1) const;
    View stroke(const Color& color, const StrokeStyle& style) const;
    /// A line of `lineWidth` inside the outline.
    View strokeBorder(const Color& color, CGFloat lineWidth = 1) const;
    operator View() const;

  private:
    NodeKind kind_;
    Outline outline_;
};

Shape Rectangle();
Shape RoundedRectangle(CGFloat cornerRadius,
                       RoundedCornerStyle style = RoundedCornerStyle::circular);
Shape Circle();
Shape Capsule(RoundedCornerStyle style = RoundedCornerStyle::circular);
/// A custom outline.
Shape Path(Shape::Outline outline);

}  // namespace SwiftUI
