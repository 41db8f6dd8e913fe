#include "KelvoCore/Brand/Brand.h"

namespace kelvo {

HexColor Brand::components(std::uint32_t value) {
    return HexColor::fromValue(value);
}

CGColorRef Brand::hex(std::uint32_t value, CGFloat alpha) {
    const HexColor color = components(value);
    return CGColorCreateSRGB(color.red, color.green, color.blue, alpha);
}

const CGColorSpaceRef& Brand::space() {
    static const CGColorSpaceRef made = CGColorSpaceCreateWithName(kCGColorSpaceSRGB);
    return made;
}

const CGColorRef& Brand::ground() {
    static const CGColorRef made = hex(groundValue, 1);
    return made;
}

const CGColorRef& Brand::tile() {
    static const CGColorRef made = hex(tileValue, 1);
    return made;
}

const std::vector<CGColorRef>& Brand::rimColors() {
    static const std::vector<CGColorRef> made = [] {
        std::vector<CGColorRef> colors;
        for (std::uint32_t value : rimValues)
            colors.push_back(hex(value, 1));
        return colors;
    }();
    return made;
}

const std::string& Brand::coralHex() {
    static const std::string text = coral().hexString();
    return text;
}

}  // namespace kelvo
