#include "Platform/AppKit/NSColor.h"

#include "Platform/AppKit/NSGraphicsContext.h"

NSColorRef NSColor::colorWithSRGBRed(double red, double green, double blue, double alpha) {
    return std::make_shared<const NSColor>(CGColorValue{red, green, blue, alpha});
}

NSColorRef NSColor::colorWithWhite(double white, double alpha) {
    return colorWithSRGBRed(white, white, white, alpha);
}

NSColorRef NSColor::colorWithCGColor(const CGColorRef& color) {
    return std::make_shared<const NSColor>(color ? *color : CGColorValue{});
}

NSColorRef NSColor::clearColor() {
    return colorWithSRGBRed(0, 0, 0, 0);
}

NSColorRef NSColor::whiteColor() {
    return colorWithSRGBRed(1, 1, 1, 1);
}

NSColorRef NSColor::blackColor() {
    return colorWithSRGBRed(0, 0, 0, 1);
}

NSColorRef NSColor::labelColor() {
    return colorWithWhite(0, 0.85);
}

NSColorRef NSColor::secondaryLabelColor() {
    return colorWithWhite(0, 0.5);
}

NSColorRef NSColor::colorWithAlphaComponent(double alpha) const {
    return colorWithSRGBRed(color_.red, color_.green, color_.blue, alpha);
}

NSColorRef NSColor::colorUsingColorSpace(NSColorSpace) const {
    return std::make_shared<const NSColor>(color_);
}

CGColorRef NSColor::CGColor() const {
    return std::make_shared<const CGColorValue>(color_);
}

void NSColor::set() const {
    setFill();
    setStroke();
}

void NSColor::setFill() const {
    if (auto* context = NSGraphicsContext::currentContext())
        context->cgContext().setFillColor(CGColor());
}

void NSColor::setStroke() const {
    if (auto* context = NSGraphicsContext::currentContext())
        context->cgContext().setStrokeColor(CGColor());
}
