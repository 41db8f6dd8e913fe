#include "Base/CoreGraphics/CGColor.h"

#include <algorithm>
#include <cmath>

namespace {

double unit(double value) {
    return std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0);
}

}  // namespace

CGColorValue CGColorValue::clamped() const {
    return CGColorValue{unit(red), unit(green), unit(blue), unit(alpha)};
}

CGColorRef CGColorCreateSRGB(double red, double green, double blue, double alpha) {
    return std::make_shared<const CGColorValue>(CGColorValue{red, green, blue, alpha});
}

CGColorRef CGColorCreateGenericGray(double white, double alpha) {
    return CGColorCreateSRGB(white, white, white, alpha);
}

CGColorRef CGColorCreateCopyWithAlpha(const CGColorRef& color, double alpha) {
    if (!color) return nullptr;
    return CGColorCreateSRGB(color->red, color->green, color->blue, alpha);
}

double CGColorGetAlpha(const CGColorRef& color) {
    return color ? color->alpha : 0;
}

CGColorSpaceRef CGColorSpaceCreateWithName(const std::string& name) {
    if (name != kCGColorSpaceSRGB) return nullptr;
    static const CGColorSpaceRef sRGB = std::make_shared<const CGColorSpace>(CGColorSpace{name});
    return sRGB;
}
