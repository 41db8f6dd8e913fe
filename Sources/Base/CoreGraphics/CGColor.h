#pragma once

#include <memory>
#include <string>

// Colours in the sRGB colour space: components in 0 to 1, not premultiplied. The drawing
// layer clamps what it is given when it draws (a component that is not a number counts as 0),
// so a colour value itself keeps whatever it was made with.

struct CGColorValue {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;
    bool operator==(const CGColorValue&) const = default;

    /// Each component limited to 0 to 1, and 0 for one that is not a number.
    CGColorValue clamped() const;
};
using CGColorRef = std::shared_ptr<const CGColorValue>;

CGColorRef CGColorCreateSRGB(double red, double green, double blue, double alpha);
/// A grey of the given white level: the same value in red, green and blue.
CGColorRef CGColorCreateGenericGray(double white, double alpha);
CGColorRef CGColorCreateCopyWithAlpha(const CGColorRef& color, double alpha);
/// The colour's alpha, 0 for no colour.
double CGColorGetAlpha(const CGColorRef& color);

/// A colour space. Only sRGB exists here: every colour of the drawing layer is in it.
struct CGColorSpace {
    std::string name;
    bool operator==(const CGColorSpace&) const = default;
};
using CGColorSpaceRef = std::shared_ptr<const CGColorSpace>;

inline constexpr const char* kCGColorSpaceSRGB = "kCGColorSpaceSRGB";
/// The space of that name, or null for a name other than `kCGColorSpaceSRGB`.
CGColorSpaceRef CGColorSpaceCreateWithName(const std::string& name);
