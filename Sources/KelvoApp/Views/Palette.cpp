#include "KelvoApp/Views/Palette.h"

#include "KelvoCore/Brand/Brand.h"

namespace kelvo {

using SwiftUI::Color;

namespace {

Color white(double opacity) {
    return Color::white().opacity(opacity);
}

Color fromHex(const HexColor& color) {
    return Color(color.red, color.green, color.blue);
}

}  // namespace

const Color& Palette::background() {
    static const Color made(0.043, 0.055, 0.086);
    return made;
}

const Color& Palette::chrome() {
    static const Color made(0.067, 0.081, 0.118);
    return made;
}

const Color& Palette::card() {
    static const Color made(0.086, 0.102, 0.145);
    return made;
}

const Color& Palette::stroke() {
    static const Color made = white(0.06);
    return made;
}

const Color& Palette::hairline() {
    static const Color made = white(0.045);
    return made;
}

const Color& Palette::accent() {
    static const Color made = fromHex(Brand::accent());
    return made;
}

const Color& Palette::tile() {
    static const Color made = fromHex(Brand::tileTint());
    return made;
}

const Color& Palette::title() {
    static const Color made = white(0.94);
    return made;
}

const Color& Palette::label() {
    static const Color made = white(0.82);
    return made;
}

const Color& Palette::dim() {
    static const Color made = white(0.42);
    return made;
}

const Color& Palette::caution() {
    static const Color made = Color(0.95, 0.72, 0.33).opacity(0.86);
    return made;
}

const Color& Palette::warning() {
    static const Color made(1.0, 0.72, 0.35);
    return made;
}

const Color& Palette::good() {
    static const Color made(0.45, 0.83, 0.62);
    return made;
}

std::string hexString(const Color& color) {
    const NSColorRef srgb = color.nsColor()->colorUsingColorSpace(NSColorSpace::sRGB);
    if (!srgb) return HexColor::white().hexString();
    return HexColor{srgb->redComponent(), srgb->greenComponent(), srgb->blueComponent()}
        .hexString();
}

}  // namespace kelvo
