#pragma once

#include <memory>

// Colours: sRGB components in 0 to 1, and the drawing layer's form of them.

struct CGColorValue {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;
    bool operator==(const CGColorValue&) const = default;
};
using CGColorRef = std::shared_ptr<const CGColorValue>;

class NSColor;
using NSColorRef = std::shared_ptr<const NSColor>;

class NSColor {
  public:
    explicit NSColor(CGColorValue color) : color_(color) {}
    static NSColorRef colorWithSRGBRed(double red, double green, double blue, double alpha);
    static NSColorRef clearColor();
    static NSColorRef whiteColor();
    static NSColorRef blackColor();

    double redComponent() const { return color_.red; }
    double greenComponent() const { return color_.green; }
    double blueComponent() const { return color_.blue; }
    double alphaComponent() const { return color_.alpha; }
    CGColorRef CGColor() const;

  private:
    CGColorValue color_;
};
