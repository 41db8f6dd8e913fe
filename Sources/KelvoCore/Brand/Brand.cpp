#include "KelvoCore/Brand/Brand.h"

namespace kelvo {

HexColor Brand::components(std::uint32_t value) {
    return HexColor::fromValue(value);
}

const std::string& Brand::coralHex() {
    static const std::string text = coral().hexString();
    return text;
}

}  // namespace kelvo
