#pragma once

#include <memory>

#include "Base/CoreGraphics/CGColor.h"

// Colours: sRGB components in 0 to 1, and the drawing layer's form of them.

class NSColor;
using NSColorRef = std::shared_ptr<const NSColor>;

/// The colour spaces a colour can be asked for; every colour here is in sRGB already.
enum class NSColorSpace { sRGB };

class NSColor {
  public:
    explicit NSColor(CGColorValue color) : color_(color) {}
    static NSColorRef colorWithSRGBRed(double red, double green, double blue, double alpha);
    /// A grey: the white level in each of red, green and blue.
    static NSColorRef colorWithWhite(double white, double alpha);
    static NSColorRef colorWithCGColor(const CGColorRef& color);
    static NSColorRef clearColor();
    static NSColorRef whiteColor();
    static NSColorRef blackColor();
    /// The text colours of the light appearance the system's menus are drawn in here.
    static NSColorRef labelColor();
    static NSColorRef secondaryLabelColor();

    double redComponent() const { return color_.red; }
    double greenComponent() const { return color_.green; }
    double blueComponent() const { return color_.blue; }
    double alphaComponent() const { return color_.alpha; }
    NSColorRef colorWithAlphaComponent(double alpha) const;
    /// The colour in that space (never none here).
    NSColorRef colorUsingColorSpace(NSColorSpace space) const;
    CGColorRef CGColor() const;
    const CGColorValue& value() const { return color_; }

    /// Makes this the fill and stroke colour of the current graphics context.
    void set() const;
    void setFill() const;
    void setStroke() const;

  private:
    CGColorValue color_;
};
