#pragma once

#include <cstdint>
#include <string>

#include "KelvoCore/Color/HexColor.h"

namespace kelvo {

/// The brand palette as 24-bit 0xRRGGBB values and the colours made from them.
class Brand {
  public:
    static constexpr std::uint32_t groundValue = 0x0A0E1A;
    static constexpr std::uint32_t tileValue = 0x2E3F68;
    static constexpr std::uint32_t coralValue = 0xFF7A60;
    static constexpr std::uint32_t accentValue = 0x22D3EE;

    /// The three channels of a 0xRRGGBB value, each / 255.
    static HexColor components(std::uint32_t value);

    static HexColor coral() { return components(coralValue); }
    static HexColor accent() { return components(accentValue); }
    static HexColor tileTint() { return components(tileValue); }

    /// "#FF7A60": the coral as the configuration writes colours.
    static const std::string& coralHex();
};

}  // namespace kelvo
