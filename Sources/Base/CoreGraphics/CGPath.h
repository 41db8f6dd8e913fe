#pragma once

#include <array>
#include <optional>
#include <vector>

#include "Base/CoreGraphics/CGAffineTransform.h"

enum class CGPathElementType {
    moveToPoint,
    addLineToPoint,
    addQuadCurveToPoint,
    addCurveToPoint,
    closeSubpath,
};

/// One element of a path. Its points end with the element's end point: one for a move or a
/// line, the control and the end for a quadratic curve, two controls and the end for a cubic
/// one; none for a close.
struct CGPathElement {
    CGPathElementType type = CGPathElementType::moveToPoint;
    std::array<CGPoint, 3> points{};
    bool operator==(const CGPathElement&) const = default;

    /// How many of `points` the element uses.
    int pointCount() const;
};

enum class CGPathFillRule { winding, evenOdd };

/// The shape of a rounded corner: a quarter circle, or the continuous curve that leaves the
/// straight edge earlier and bends gently into the corner.
enum class CGRoundedCornerStyle { circular, continuous };

/// The radius of each corner of a rectangle. Top is the minY edge, as in top-down drawing.
struct CGCornerRadii {
    CGFloat topLeft = 0;
    CGFloat topRight = 0;
    CGFloat bottomRight = 0;
    CGFloat bottomLeft = 0;
    bool operator==(const CGCornerRadii&) const = default;
};

/// A path: subpaths of lines and Bézier curves, a value like any other. Arcs and rounded
/// corners become cubic curves as they are added. A point or a length that is not finite
/// adds nothing, so a path never holds such values.
class CGPath {
  public:
    void move(CGPoint to);
    /// A line from the current point; with none, `to` starts a new subpath.
    void addLine(CGPoint to);
    void addQuadCurve(CGPoint to, CGPoint control);
    void addCurve(CGPoint to, CGPoint control1, CGPoint control2);
    void closeSubpath();

    void addRect(const CGRect& rect);
    void addEllipse(const CGRect& rect);
    /// Elliptic corners of the given width and height (each at most half the side).
    void addRoundedRect(const CGRect& rect, CGFloat cornerWidth, CGFloat cornerHeight);
    /// Four corners of one radius, at most half the shorter side.
    void addRoundedRect(const CGRect& rect, CGFloat radius,
                        CGRoundedCornerStyle style = CGRoundedCornerStyle::circular);
    /// A radius per corner; radii that do not fit along a side are scaled down together.
    void addRoundedRect(const CGRect& rect, const CGCornerRadii& radii,
                        CGRoundedCornerStyle style = CGRoundedCornerStyle::circular);
    /// An arc of a circle from `startAngle` to `endAngle` (radians, from the x axis towards the
    /// y axis); `clockwise` false sweeps through growing angles. A line joins the current point
    /// to the arc's start.
    void addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                bool clockwise);
    /// The arc of `radius` tangent to the line from the current point to `tangent1End` and to
    /// the line from there to `tangent2End`, after a line to its first tangent point.
    void addArc(CGPoint tangent1End, CGPoint tangent2End, CGFloat radius);
    void addPath(const CGPath& path, const CGAffineTransform& transform = {});

    bool isEmpty() const { return elements_.empty(); }
    std::optional<CGPoint> currentPoint() const { return current_; }
    /// The smallest rectangle holding every point the path passes through (control points
    /// that lie outside the curves do not count); the null rectangle for an empty path.
    CGRect boundingBox() const;
    const std::vector<CGPathElement>& elements() const { return elements_; }
    /// A copy with every point transformed.
    CGPath applying(const CGAffineTransform& transform) const;

    bool operator==(const CGPath& other) const { return elements_ == other.elements_; }

  private:
    struct Corner;
    void append(CGPathElementType type, std::array<CGPoint, 3> points);
    void addCorner(const Corner& corner);
    void addRoundedCorners(const std::array<Corner, 4>& corners);

    std::vector<CGPathElement> elements_;
    CGPoint subpathStart_;
    std::optional<CGPoint> current_;
};
