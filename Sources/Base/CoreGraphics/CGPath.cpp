#include "Base/CoreGraphics/CGPath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

bool finite(CGPoint p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool finite(const CGRect& r) {
    return finite(r.origin) && std::isfinite(r.size.width) && std::isfinite(r.size.height);
}

CGPoint operator+(CGPoint p, CGPoint q) {
    return {p.x + q.x, p.y + q.y};
}

CGPoint operator-(CGPoint p, CGPoint q) {
    return {p.x - q.x, p.y - q.y};
}

CGPoint operator*(CGPoint p, double s) {
    return {p.x * s, p.y * s};
}

double length(CGPoint p) {
    return std::hypot(p.x, p.y);
}

double cross(CGPoint p, CGPoint q) {
    return p.x * q.y - p.y * q.x;
}

// How a rounded corner is drawn, in multiples of its radius: where along each edge the curve
// leaves the straight line, and how far from the corner its two control points sit. A circle's
// quarter leaves at one radius with controls at 1 − 0.5523 (the usual cubic for a quarter
// circle); the continuous corner leaves at 1.528 radii and keeps its middle where the circle's
// is, so that it bends in more gently and the curvature never jumps to its full value.
struct CornerShape {
    double reach;
    double control;
};

constexpr double circularControl = 1 - 0.5522847498;
constexpr double continuousReach = 1.528;
constexpr double continuousControl = ((1 - std::numbers::sqrt2 / 2) * 8 - continuousReach) / 3;

/// The shape for a corner whose curve may begin at most `reachLimit` radii from the corner: a
/// continuous corner with too little room blends towards the circular one.
CornerShape cornerShape(CGRoundedCornerStyle style, double reachLimit) {
    if (style == CGRoundedCornerStyle::circular || !(reachLimit > 1)) return {1, circularControl};
    const double reach = std::min(reachLimit, continuousReach);
    const double t = (reach - 1) / (continuousReach - 1);
    return {reach, circularControl + t * (continuousControl - circularControl)};
}

/// Adds the extremes of one coordinate of a cubic curve to `values`.
void cubicExtremes(double p0, double p1, double p2, double p3, std::vector<double>& roots) {
    const double d0 = p1 - p0, d1 = p2 - p1, d2 = p3 - p2;
    const double a = d0 - 2 * d1 + d2, b = 2 * (d1 - d0), c = d0;
    const auto keep = [&](double t) {
        if (t > 0 && t < 1) roots.push_back(t);
    };
    if (std::fabs(a) < 1e-12) {
        if (std::fabs(b) > 1e-12) keep(-c / b);
        return;
    }
    const double discriminant = b * b - 4 * a * c;
    if (discriminant < 0) return;
    const double root = std::sqrt(discriminant);
    keep((-b + root) / (2 * a));
    keep((-b - root) / (2 * a));
}

CGPoint cubicAt(CGPoint p0, CGPoint p1, CGPoint p2, CGPoint p3, double t) {
    const double u = 1 - t;
    return p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) + p3 * (t * t * t);
}

}  // namespace

/// One rounded corner: where it leaves the first edge, its two controls, where it meets the
/// next edge.
struct CGPath::Corner {
    CGPoint start;
    CGPoint control1;
    CGPoint control2;
    CGPoint end;
    bool rounded = false;

    /// The corner at `at` between the edge along `toStart` and the edge along `toEnd` (unit
    /// vectors pointing away from the corner).
    static Corner make(CGPoint at, CGPoint toStart, double startRadius, CGPoint toEnd,
                       double endRadius, CornerShape shape) {
        if (!(startRadius > 0) || !(endRadius > 0)) return {at, at, at, at, false};
        return {at + toStart * (startRadius * shape.reach),
                at + toStart * (startRadius * shape.control),
                at + toEnd * (endRadius * shape.control), at + toEnd * (endRadius * shape.reach),
                true};
    }
};

int CGPathElement::pointCount() const {
    switch (type) {
        case CGPathElementType::moveToPoint:
        case CGPathElementType::addLineToPoint:
            return 1;
        case CGPathElementType::addQuadCurveToPoint:
            return 2;
        case CGPathElementType::addCurveToPoint:
            return 3;
        case CGPathElementType::closeSubpath:
            return 0;
    }
    return 0;
}

void CGPath::append(CGPathElementType type, std::array<CGPoint, 3> points) {
    elements_.push_back({type, points});
}

void CGPath::move(CGPoint to) {
    if (!finite(to)) return;
    append(CGPathElementType::moveToPoint, {to});
    subpathStart_ = to;
    current_ = to;
}

void CGPath::addLine(CGPoint to) {
    if (!finite(to)) return;
    if (!current_) return move(to);
    append(CGPathElementType::addLineToPoint, {to});
    current_ = to;
}

void CGPath::addQuadCurve(CGPoint to, CGPoint control) {
    if (!finite(to) || !finite(control)) return;
    if (!current_) move(control);
    append(CGPathElementType::addQuadCurveToPoint, {control, to});
    current_ = to;
}

void CGPath::addCurve(CGPoint to, CGPoint control1, CGPoint control2) {
    if (!finite(to) || !finite(control1) || !finite(control2)) return;
    if (!current_) move(control1);
    append(CGPathElementType::addCurveToPoint, {control1, control2, to});
    current_ = to;
}

void CGPath::closeSubpath() {
    if (!current_) return;
    append(CGPathElementType::closeSubpath, {});
    current_ = subpathStart_;
}

void CGPath::addRect(const CGRect& rect) {
    if (!finite(rect) || rect.isNull()) return;
    move({rect.minX(), rect.minY()});
    addLine({rect.maxX(), rect.minY()});
    addLine({rect.maxX(), rect.maxY()});
    addLine({rect.minX(), rect.maxY()});
    closeSubpath();
}

void CGPath::addEllipse(const CGRect& rect) {
    if (!finite(rect) || rect.isNull()) return;
    addRoundedRect(rect, rect.width() / 2, rect.height() / 2);
}

void CGPath::addCorner(const Corner& corner) {
    if (corner.rounded) {
        addLine(corner.start);
        addCurve(corner.end, corner.control1, corner.control2);
    } else {
        addLine(corner.start);
    }
}

void CGPath::addRoundedCorners(const std::array<Corner, 4>& corners) {
    // Top-left's end on the top edge, then clockwise (in top-down drawing) round the corners.
    const Corner& topLeft = corners[0];
    move(topLeft.end);
    for (int i = 1; i < 4; ++i)
        addCorner(corners[i]);
    addCorner(topLeft);
    closeSubpath();
}

void CGPath::addRoundedRect(const CGRect& rect, CGFloat cornerWidth, CGFloat cornerHeight) {
    if (!finite(rect) || rect.isNull() || !std::isfinite(cornerWidth) ||
        !std::isfinite(cornerHeight))
        return;
    const CGRect r = rect.standardized();
    const double rx = std::clamp(cornerWidth, 0.0, r.width() / 2);
    const double ry = std::clamp(cornerHeight, 0.0, r.height() / 2);
    if (rx == 0 || ry == 0) return addRect(r);
    const CornerShape shape = cornerShape(CGRoundedCornerStyle::circular, 1);
    const CGPoint left{-1, 0}, right{1, 0}, up{0, -1}, down{0, 1};
    addRoundedCorners({
        Corner::make({r.minX(), r.minY()}, down, ry, right, rx, shape),
        Corner::make({r.maxX(), r.minY()}, left, rx, down, ry, shape),
        Corner::make({r.maxX(), r.maxY()}, up, ry, left, rx, shape),
        Corner::make({r.minX(), r.maxY()}, right, rx, up, ry, shape),
    });
}

void CGPath::addRoundedRect(const CGRect& rect, CGFloat radius, CGRoundedCornerStyle style) {
    addRoundedRect(rect, CGCornerRadii{radius, radius, radius, radius}, style);
}

void CGPath::addRoundedRect(const CGRect& rect, const CGCornerRadii& radii,
                            CGRoundedCornerStyle style) {
    if (!finite(rect) || rect.isNull()) return;
    const CGRect r = rect.standardized();
    const auto sane = [](double v) { return std::isfinite(v) ? std::max(v, 0.0) : 0.0; };
    double tl = sane(radii.topLeft), tr = sane(radii.topRight);
    double br = sane(radii.bottomRight), bl = sane(radii.bottomLeft);
    const double w = r.width(), h = r.height();
    // Radii that do not fit along a side shrink together, so the shape keeps its proportions.
    const auto room = [](double side, double one, double other) {
        return one + other > 0 ? side / (one + other) : INFINITY;
    };
    const double fit =
        std::min({room(w, tl, tr), room(w, bl, br), room(h, tl, bl), room(h, tr, br), 1.0});
    tl *= fit, tr *= fit, br *= fit, bl *= fit;
    if (tl == 0 && tr == 0 && br == 0 && bl == 0) return addRect(r);
    // A continuous corner may reach as far along each side as its share of that side allows.
    const auto shape = [&](double own, double alongX, double alongY) {
        if (own <= 0) return cornerShape(style, 1);
        return cornerShape(style, std::min(w / (own + alongX), h / (own + alongY)));
    };
    const CGPoint left{-1, 0}, right{1, 0}, up{0, -1}, down{0, 1};
    addRoundedCorners({
        Corner::make({r.minX(), r.minY()}, down, tl, right, tl, shape(tl, tr, bl)),
        Corner::make({r.maxX(), r.minY()}, left, tr, down, tr, shape(tr, tl, br)),
        Corner::make({r.maxX(), r.maxY()}, up, br, left, br, shape(br, bl, tr)),
        Corner::make({r.minX(), r.maxY()}, right, bl, up, bl, shape(bl, br, tl)),
    });
}

void CGPath::addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                    bool clockwise) {
    if (!finite(center) || !std::isfinite(radius) || radius < 0 || !std::isfinite(startAngle) ||
        !std::isfinite(endAngle))
        return;
    double sweep = endAngle - startAngle;
    if (!clockwise && sweep < 0) sweep = std::fmod(sweep, 2 * pi) + 2 * pi;
    if (clockwise && sweep > 0) sweep = std::fmod(sweep, 2 * pi) - 2 * pi;
    sweep = std::clamp(sweep, -2 * pi, 2 * pi);
    const auto at = [&](double angle) {
        return CGPoint{center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
    };
    const CGPoint start = at(startAngle);
    if (!current_ || length(start - *current_) > 1e-9 * std::max(1.0, radius)) addLine(start);
    const int segments =
        std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / (pi / 2) - 1e-9)));
    const double step = sweep / segments;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    double angle = startAngle;
    for (int i = 0; i < segments && sweep != 0; ++i) {
        const double next = angle + step;
        const CGPoint from = at(angle), to = at(next);
        const CGPoint c1 = from + CGPoint{-std::sin(angle), std::cos(angle)} * (k * radius);
        const CGPoint c2 = to - CGPoint{-std::sin(next), std::cos(next)} * (k * radius);
        addCurve(to, c1, c2);
        angle = next;
    }
}

void CGPath::addArc(CGPoint tangent1End, CGPoint tangent2End, CGFloat radius) {
    if (!finite(tangent1End) || !finite(tangent2End) || !std::isfinite(radius) || radius < 0)
        return;
    if (!current_) return move(tangent1End);
    const CGPoint p0 = *current_;
    const CGPoint toStart = p0 - tangent1End, toEnd = tangent2End - tangent1End;
    const double l1 = length(toStart), l2 = length(toEnd);
    // Without a corner to round (a radius of 0, a point repeated, three points in a line) the
    // arc is just the line to the first tangent's end.
    if (radius == 0 || l1 == 0 || l2 == 0 || std::fabs(cross(toStart, toEnd)) < 1e-12 * l1 * l2)
        return addLine(tangent1End);
    const CGPoint u1 = toStart * (1 / l1), u2 = toEnd * (1 / l2);
    const double angle = std::acos(std::clamp(u1.x * u2.x + u1.y * u2.y, -1.0, 1.0));
    const double reach = radius / std::tan(angle / 2);
    const CGPoint t1 = tangent1End + u1 * reach, t2 = tangent1End + u2 * reach;
    const CGPoint bisector = u1 + u2;
    const CGPoint center =
        tangent1End + bisector * (radius / std::sin(angle / 2) / length(bisector));
    const double start = std::atan2(t1.y - center.y, t1.x - center.x);
    const double end = std::atan2(t2.y - center.y, t2.x - center.x);
    // Travelling along the first line and turning towards the second decides the direction.
    const bool clockwise = cross(tangent1End - p0, toEnd) < 0;
    addLine(t1);
    addArc(center, radius, start, end, clockwise);
}

void CGPath::addPath(const CGPath& path, const CGAffineTransform& transform) {
    for (const CGPathElement& e : path.applying(transform).elements_) {
        switch (e.type) {
            case CGPathElementType::moveToPoint:
                move(e.points[0]);
                break;
            case CGPathElementType::addLineToPoint:
                addLine(e.points[0]);
                break;
            case CGPathElementType::addQuadCurveToPoint:
                addQuadCurve(e.points[1], e.points[0]);
                break;
            case CGPathElementType::addCurveToPoint:
                addCurve(e.points[2], e.points[0], e.points[1]);
                break;
            case CGPathElementType::closeSubpath:
                closeSubpath();
                break;
        }
    }
}

CGRect CGPath::boundingBox() const {
    std::vector<CGPoint> points;
    CGPoint current, start;
    for (const CGPathElement& e : elements_) {
        switch (e.type) {
            case CGPathElementType::moveToPoint:
                start = current = e.points[0];
                points.push_back(current);
                break;
            case CGPathElementType::addLineToPoint:
                current = e.points[0];
                points.push_back(current);
                break;
            case CGPathElementType::addQuadCurveToPoint:
            case CGPathElementType::addCurveToPoint: {
                const bool quad = e.type == CGPathElementType::addQuadCurveToPoint;
                const CGPoint end = quad ? e.points[1] : e.points[2];
                const CGPoint c1 =
                    quad ? current + (e.points[0] - current) * (2.0 / 3) : e.points[0];
                const CGPoint c2 = quad ? end + (e.points[0] - end) * (2.0 / 3) : e.points[1];
                std::vector<double> roots;
                cubicExtremes(current.x, c1.x, c2.x, end.x, roots);
                cubicExtremes(current.y, c1.y, c2.y, end.y, roots);
                for (double t : roots)
                    points.push_back(cubicAt(current, c1, c2, end, t));
                points.push_back(end);
                current = end;
                break;
            }
            case CGPathElementType::closeSubpath:
                current = start;
                break;
        }
    }
    if (points.empty()) return CGRect::null();
    double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const CGPoint& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return CGRect(minX, minY, maxX - minX, maxY - minY);
}

CGPath CGPath::applying(const CGAffineTransform& transform) const {
    CGPath copy = *this;
    for (CGPathElement& e : copy.elements_)
        for (int i = 0; i < e.pointCount(); ++i)
            e.points[i] = CGPointApplyAffineTransform(e.points[i], transform);
    copy.subpathStart_ = CGPointApplyAffineTransform(subpathStart_, transform);
    if (current_) copy.current_ = CGPointApplyAffineTransform(*current_, transform);
    // A transform with values that are not finite would put such points into the path.
    for (const CGPathElement& e : copy.elements_)
        for (int i = 0; i < e.pointCount(); ++i)
            if (!finite(e.points[i])) return CGPath();
    return copy;
}
