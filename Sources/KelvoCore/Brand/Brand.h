#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGColor.h"
#include "Base/CoreGraphics/CGDrawOperation.h"
#include "KelvoCore/Color/HexColor.h"

namespace kelvo {

/// The brand palette as 24-bit 0xRRGGBB values, the colours made from them once per process,
/// and the glow the drawn mark is lit with.
class Brand {
  public:
    /// One layer of the mark's glow: how far it spreads (in mark units), its colour and alpha.
    struct Halation {
        CGFloat blur = 0;
        std::uint32_t color = 0;
        CGFloat alpha = 0;
        bool operator==(const Halation&) const = default;
    };

    static constexpr std::uint32_t groundValue = 0x0A0E1A;
    static constexpr std::uint32_t tileValue = 0x2E3F68;
    static constexpr std::uint32_t coralValue = 0xFF7A60;
    static constexpr std::uint32_t accentValue = 0x22D3EE;
    /// The panes' gradient, dark to light, at `rimStops`.
    static constexpr std::array<std::uint32_t, 3> rimValues{0x0E93A8, 0x22D3EE, 0xA5EEFA};
    static constexpr std::array<CGFloat, 3> rimStops{0, 0.5, 1};
    /// Tightest glow first.
    static constexpr std::array<Halation, 3> halation{Halation{1.5, 0xA5EEFA, 0.55},
                                                      Halation{3.4, 0x22D3EE, 0.48},
                                                      Halation{7.0, 0x0E93A8, 0.42}};
    static constexpr CGBlendMode halationBlend = CGBlendMode::plusLighter;
    /// Each glow layer's alpha is multiplied by this (and capped at 1).
    static constexpr CGFloat bloomGain = 1.8;

    /// The three channels of a 0xRRGGBB value, each / 255.
    static HexColor components(std::uint32_t value);
    /// The colour of a 0xRRGGBB value with the given alpha, in `space`.
    static CGColorRef hex(std::uint32_t value, CGFloat alpha);

    static const CGColorSpaceRef& space();
    static const CGColorRef& ground();
    static const CGColorRef& tile();
    static const std::vector<CGColorRef>& rimColors();

    static HexColor coral() { return components(coralValue); }
    static HexColor accent() { return components(accentValue); }
    static HexColor tileTint() { return components(tileValue); }

    /// "#FF7A60": the coral as the configuration writes colours.
    static const std::string& coralHex();
};

}  // namespace kelvo
