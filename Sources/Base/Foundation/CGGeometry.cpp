#include "Base/Foundation/CGGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

CGRect CGRect::null() {
    constexpr CGFloat inf = std::numeric_limits<CGFloat>::infinity();
    return CGRect(inf, inf, 0, 0);
}

CGFloat CGRect::minX() const {
    return size.width < 0 ? origin.x + size.width : origin.x;
}
CGFloat CGRect::minY() const {
    return size.height < 0 ? origin.y + size.height : origin.y;
}
CGFloat CGRect::maxX() const {
    return size.width < 0 ? origin.x : origin.x + size.width;
}
CGFloat CGRect::maxY() const {
    return size.height < 0 ? origin.y : origin.y + size.height;
}
CGFloat CGRect::midX() const {
    return origin.x + size.width / 2;
}
CGFloat CGRect::midY() const {
    return origin.y + size.height / 2;
}
CGFloat CGRect::width() const {
    return std::fabs(size.width);
}
CGFloat CGRect::height() const {
    return std::fabs(size.height);
}

bool CGRect::isNull() const {
    return std::isinf(origin.x) || std::isinf(origin.y);
}

bool CGRect::isEmpty() const {
    return isNull() || size.width == 0 || size.height == 0;
}

CGRect CGRect::standardized() const {
    if (isNull()) return null();
    return CGRect(minX(), minY(), width(), height());
}

CGRect CGRect::intersection(const CGRect& other) const {
    if (isNull() || other.isNull()) return null();
    const CGFloat x0 = std::max(minX(), other.minX());
    const CGFloat y0 = std::max(minY(), other.minY());
    const CGFloat x1 = std::min(maxX(), other.maxX());
    const CGFloat y1 = std::min(maxY(), other.maxY());
    // Touching edges still meet (a zero-sized overlap); only a gap gives null.
    if (x1 < x0 || y1 < y0) return null();
    return CGRect(x0, y0, x1 - x0, y1 - y0);
}

bool CGRect::intersects(const CGRect& other) const {
    const CGRect overlap = intersection(other);
    return !overlap.isNull() && overlap.width() > 0 && overlap.height() > 0;
}

bool CGRect::contains(CGPoint p) const {
    if (isNull()) return false;
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

CGRect CGRect::offsetBy(CGFloat dx, CGFloat dy) const {
    if (isNull()) return *this;
    return CGRect(minX() + dx, minY() + dy, width(), height());
}

CGRect CGRect::insetBy(CGFloat dx, CGFloat dy) const {
    if (isNull()) return *this;
    const CGRect r(minX() + dx, minY() + dy, width() - 2 * dx, height() - 2 * dy);
    if (r.size.width < 0 || r.size.height < 0) return null();
    return r;
}
