#include "Platform/SwiftUI/Animation.h"

#include <algorithm>
#include <cmath>

namespace SwiftUI {

namespace {

/// The cubic Bézier timing curve through (0, 0), (x1, y1), (x2, y2), (1, 1), read at x.
double bezier(double x1, double y1, double x2, double y2, double x) {
    auto coordinate = [](double a, double b, double t) {
        const double u = 1 - t;
        return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
    };
    double low = 0, high = 1, t = x;
    for (int step = 0; step < 40; ++step) {
        t = (low + high) / 2;
        if (coordinate(x1, x2, t) < x) {
            low = t;
        } else {
            high = t;
        }
    }
    return coordinate(y1, y2, t);
}

}  // namespace

double Animation::progress(double elapsed) const {
    if (!(duration > 0) || !(elapsed < duration)) return 1;
    if (!(elapsed > 0)) return 0;
    const double x = elapsed / duration;
    switch (curve) {
        case Curve::linear:
            return x;
        case Curve::easeIn:
            return bezier(0.42, 0, 1, 1, x);
        case Curve::easeOut:
            return bezier(0, 0, 0.58, 1, x);
        case Curve::easeInOut:
            return bezier(0.42, 0, 0.58, 1, x);
    }
    return 1;
}

}  // namespace SwiftUI
