#pragma once

#include "Base/CoreGraphics/CGColor.h"
#include "Platform/AppKit/NSColor.h"

namespace SwiftUI {

class View;

/// A colour in sRGB; as a view it fills whatever it is offered.
class Color {
  public:
    /// Clear.
    Color() = default;
    Color(double red, double green, double blue, double opacity = 1)
        : value_{red, green, blue, opacity} {}
    explicit Color(const CGColorValue& value) : value_(value) {}
    explicit Color(const NSColorRef& color);

    static Color white() { return {1, 1, 1}; }
    static Color black() { return {0, 0, 0}; }
    static Color clear() { return {}; }
    /// The platform's accent blue, the tint when no view sets one.
    static Color accentColor() { return {0.0, 0.478, 1.0}; }
    /// A grey of the given white level.
    static Color gray(double white, double opacity = 1) { return {white, white, white, opacity}; }

    /// The same colour with its opacity multiplied by `opacity`.
    Color opacity(double opacity) const {
        CGColorValue value = value_;
        value.alpha *= opacity;
        return Color(value);
    }
    const CGColorValue& value() const { return value_; }
    CGColorRef cgColor() const;
    NSColorRef nsColor() const;
    bool operator==(const Color&) const = default;

    /// The colour as a view that fills its frame.
    View view() const;
    operator View() const;

  private:
    CGColorValue value_;
};

}  // namespace SwiftUI
