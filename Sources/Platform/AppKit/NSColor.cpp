#include "Platform/AppKit/NSColor.h"

NSColorRef NSColor::colorWithSRGBRed(double red, double green, double blue, double alpha) {
    return std::make_shared<const NSColor>(CGColorValue{red, green, blue, alpha});
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

CGColorRef NSColor::CGColor() const {
    return std::make_shared<const CGColorValue>(color_);
}
