#include "KelvoCore/Brand/Mark.h"

#include <array>

namespace kelvo {

namespace {

/// One curve of the squircle: where it ends and its two controls.
struct SquircleCurve {
    CGPoint to;
    CGPoint control1;
    CGPoint control2;
};

constexpr CGPoint squircleStart{50, 0};
constexpr std::array<SquircleCurve, 8> squircleCurves{{
    {{94.8, 5.2}, {77, 0}, {89.6, 0}},
    {{100, 50}, {100, 10.4}, {100, 23}},
    {{94.8, 94.8}, {100, 77}, {100, 89.6}},
    {{50, 100}, {89.6, 100}, {77, 100}},
    {{5.2, 94.8}, {23, 100}, {10.4, 100}},
    {{0, 50}, {0, 89.6}, {0, 77}},
    {{5.2, 5.2}, {0, 23}, {0, 10.4}},
    {{50, 0}, {10.4, 0}, {23, 0}},
}};

}  // namespace

CGPath Mark::squircle() {
    CGPath path;
    path.move(squircleStart);
    for (const SquircleCurve& curve : squircleCurves)
        path.addCurve(curve.to, curve.control1, curve.control2);
    path.closeSubpath();
    return path;
}

CGPath Mark::roundedRect(const CGRect& rect, CGFloat topLeft, CGFloat topRight, CGFloat bottomRight,
                         CGFloat bottomLeft) {
    const CGFloat minX = rect.minX(), minY = rect.minY(), maxX = rect.maxX(), maxY = rect.maxY();
    CGPath path;
    path.move({minX + topLeft, minY});
    path.addArc({maxX, minY}, {maxX, maxY}, topRight);
    path.addArc({maxX, maxY}, {minX, maxY}, bottomRight);
    path.addArc({minX, maxY}, {minX, minY}, bottomLeft);
    path.addArc({minX, minY}, {maxX, minY}, topLeft);
    path.closeSubpath();
    return path;
}

CGPath Mark::panes(CGFloat offset) {
    const CGFloat lowerHeight = unit - Pane::paneTop;
    CGPath path;
    path.addPath(roundedRect(CGRect(0, 0, unit, Pane::barHeight), Pane::outerRadius,
                             Pane::outerRadius, Pane::innerRadius, Pane::innerRadius));
    path.addPath(roundedRect(CGRect(0, Pane::paneTop, Pane::paneWidth, lowerHeight),
                             Pane::innerRadius, Pane::innerRadius, Pane::innerRadius,
                             Pane::outerRadius));
    path.addPath(roundedRect(CGRect(Pane::rightPaneX, Pane::paneTop, Pane::paneWidth, lowerHeight),
                             Pane::innerRadius, Pane::innerRadius, Pane::outerRadius,
                             Pane::innerRadius));
    if (offset == 0) return path;
    return path.applying(CGAffineTransform::translation(offset, offset));
}

}  // namespace kelvo
