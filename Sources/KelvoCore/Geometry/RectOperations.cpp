#include "KelvoCore/Geometry/RectOperations.h"

namespace kelvo {

Axis longerAxis(const CGRect& rect) {
    return rect.width() >= rect.height() ? Axis::vertical : Axis::horizontal;
}

std::pair<CGRect, CGRect> split(const CGRect& rect, Axis along, double ratio) {
    const double x = rect.minX(), y = rect.minY(), w = rect.width(), h = rect.height();
    if (along == Axis::vertical) {
        const double a = ratio * w;
        return {CGRect(x, y, a, h), CGRect(x + a, y, w - a, h)};
    }
    const double a = ratio * h;
    return {CGRect(x, y, w, a), CGRect(x, y + a, w, h - a)};
}

}  // namespace kelvo
