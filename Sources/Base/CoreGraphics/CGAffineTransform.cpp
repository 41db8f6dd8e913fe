#include "Base/CoreGraphics/CGAffineTransform.h"

#include <algorithm>
#include <cmath>

CGAffineTransform CGAffineTransform::translation(CGFloat x, CGFloat y) {
    return {1, 0, 0, 1, x, y};
}

CGAffineTransform CGAffineTransform::scale(CGFloat sx, CGFloat sy) {
    return {sx, 0, 0, sy, 0, 0};
}

CGAffineTransform CGAffineTransform::rotation(CGFloat angle) {
    const CGFloat cosine = std::cos(angle), sine = std::sin(angle);
    return {cosine, sine, -sine, cosine, 0, 0};
}

CGAffineTransform CGAffineTransform::concatenating(const CGAffineTransform& o) const {
    return {a * o.a + b * o.c, a * o.b + b * o.d,          c * o.a + d * o.c,
            c * o.b + d * o.d, tx * o.a + ty * o.c + o.tx, tx * o.b + ty * o.d + o.ty};
}

CGAffineTransform CGAffineTransform::translatedBy(CGFloat x, CGFloat y) const {
    return translation(x, y).concatenating(*this);
}

CGAffineTransform CGAffineTransform::scaledBy(CGFloat sx, CGFloat sy) const {
    return scale(sx, sy).concatenating(*this);
}

CGAffineTransform CGAffineTransform::rotated(CGFloat angle) const {
    return rotation(angle).concatenating(*this);
}

bool CGAffineTransform::isInvertible() const {
    const bool finite = std::isfinite(a) && std::isfinite(b) && std::isfinite(c) &&
                        std::isfinite(d) && std::isfinite(tx) && std::isfinite(ty);
    const CGFloat det = determinant();
    return finite && std::isfinite(det) && det != 0;
}

CGAffineTransform CGAffineTransform::inverted() const {
    if (!isInvertible()) return *this;
    const CGFloat det = determinant();
    return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

CGPoint CGPointApplyAffineTransform(CGPoint p, const CGAffineTransform& t) {
    return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}

CGSize CGSizeApplyAffineTransform(CGSize s, const CGAffineTransform& t) {
    return {t.a * s.width + t.c * s.height, t.b * s.width + t.d * s.height};
}

CGRect CGRectApplyAffineTransform(const CGRect& rect, const CGAffineTransform& t) {
    if (rect.isNull()) return rect;
    const CGPoint corners[] = {
        CGPointApplyAffineTransform({rect.minX(), rect.minY()}, t),
        CGPointApplyAffineTransform({rect.maxX(), rect.minY()}, t),
        CGPointApplyAffineTransform({rect.minX(), rect.maxY()}, t),
        CGPointApplyAffineTransform({rect.maxX(), rect.maxY()}, t),
    };
    CGFloat minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const CGPoint& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return CGRect(minX, minY, maxX - minX, maxY - minY);
}
