#include "Platform/SwiftUI/Color.h"

#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

Color::Color(const NSColorRef& color) : value_(color ? color->value() : CGColorValue{}) {}

CGColorRef Color::cgColor() const {
    return CGColorCreateSRGB(value_.red, value_.green, value_.blue, value_.alpha);
}

NSColorRef Color::nsColor() const {
    return NSColor::colorWithSRGBRed(value_.red, value_.green, value_.blue, value_.alpha);
}

View Color::view() const {
    return Shape(NodeKind::color,
                 [](const CGRect& rect) {
                     CGPath path;
                     path.addRect(rect);
                     return path;
                 })
        .fill(*this);
}

Color::operator View() const {
    return view();
}

}  // namespace SwiftUI
