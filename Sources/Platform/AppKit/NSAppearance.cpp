#include "Platform/AppKit/NSAppearance.h"

NSAppearanceRef NSAppearance::appearanceNamed(const NSAppearanceName& name) {
    static const auto dark = std::make_shared<NSAppearance>(NSAppearanceNameDarkAqua);
    if (name == NSAppearanceNameDarkAqua) return dark;
    if (name == NSAppearanceNameAqua) return aqua();
    return nullptr;
}

const NSAppearanceRef& NSAppearance::aqua() {
    static const NSAppearanceRef light = std::make_shared<NSAppearance>(NSAppearanceNameAqua);
    return light;
}

NSColorRef NSAppearance::labelColor() const {
    return isDark() ? NSColor::colorWithSRGBRed(1, 1, 1, 0.85)
                    : NSColor::colorWithSRGBRed(0, 0, 0, 0.85);
}

NSColorRef NSAppearance::placeholderTextColor() const {
    return isDark() ? NSColor::colorWithSRGBRed(1, 1, 1, 0.25)
                    : NSColor::colorWithSRGBRed(0, 0, 0, 0.25);
}

NSColorRef NSAppearance::textInsertionPointColor() const {
    return isDark() ? NSColor::whiteColor() : NSColor::blackColor();
}

NSColorRef NSAppearance::selectedTextBackgroundColor() const {
    return isDark() ? NSColor::colorWithSRGBRed(0.247, 0.388, 0.631, 1)
                    : NSColor::colorWithSRGBRed(0.702, 0.843, 1, 1);
}

NSColorRef NSAppearance::textBackgroundColor() const {
    return isDark() ? NSColor::colorWithSRGBRed(0.118, 0.118, 0.118, 1) : NSColor::whiteColor();
}
