#include "Platform/QuartzCore/CAMediaTimingFunction.h"

#include <algorithm>
#include <cmath>

namespace {

double bezier(double p1, double p2, double t) {
    const double u = 1 - t;
    return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
}

double finiteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

}  // namespace

CAMediaTimingFunction::CAMediaTimingFunction(CGFloat c1x, CGFloat c1y, CGFloat c2x, CGFloat c2y)
    // The x of both controls stays within 0 to 1, so that time never runs backwards.
    : c1_{std::clamp(finiteOr(c1x, 0), 0.0, 1.0), finiteOr(c1y, 0)},
      c2_{std::clamp(finiteOr(c2x, 1), 0.0, 1.0), finiteOr(c2y, 1)} {}

CAMediaTimingFunctionRef CAMediaTimingFunction::named(CAMediaTimingFunctionName name) {
    switch (name) {
        case CAMediaTimingFunctionName::linear:
            return std::make_shared<const CAMediaTimingFunction>(0, 0, 1, 1);
        case CAMediaTimingFunctionName::easeIn:
            return std::make_shared<const CAMediaTimingFunction>(0.42, 0, 1, 1);
        case CAMediaTimingFunctionName::easeOut:
            return std::make_shared<const CAMediaTimingFunction>(0, 0, 0.58, 1);
        case CAMediaTimingFunctionName::easeInEaseOut:
            return std::make_shared<const CAMediaTimingFunction>(0.42, 0, 0.58, 1);
        case CAMediaTimingFunctionName::systemDefault:
            break;
    }
    return std::make_shared<const CAMediaTimingFunction>(0.25, 0.1, 0.25, 1);
}

double CAMediaTimingFunction::xAt(double t) const {
    return bezier(c1_.x, c2_.x, t);
}

double CAMediaTimingFunction::yAt(double t) const {
    return bezier(c1_.y, c2_.y, t);
}

double CAMediaTimingFunction::valueAt(double progress) const {
    if (std::isnan(progress)) return 0;
    const double x = std::clamp(progress, 0.0, 1.0);
    if (x == 0 || x == 1) return x;
    // The curve's parameter whose x is `progress`: Newton's steps, then halving if they stray.
    double t = x;
    for (int i = 0; i < 8; ++i) {
        const double error = xAt(t) - x;
        if (std::fabs(error) < 1e-12) return yAt(t);
        const double u = 1 - t;
        const double slope =
            3 * u * u * c1_.x + 6 * u * t * (c2_.x - c1_.x) + 3 * t * t * (1 - c2_.x);
        if (std::fabs(slope) < 1e-9) break;
        t -= error / slope;
        if (t < 0 || t > 1) break;
    }
    double low = 0, high = 1;
    t = x;
    for (int i = 0; i < 60; ++i) {
        t = (low + high) / 2;
        (xAt(t) < x ? low : high) = t;
    }
    return yAt(t);
}
