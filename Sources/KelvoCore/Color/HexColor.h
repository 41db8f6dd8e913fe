#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvo {

/// An sRGB colour with channels nominally 0 … 1; values are kept as given, even outside.
struct HexColor {
    double red = 0;
    double green = 0;
    double blue = 0;

    static HexColor white() { return HexColor{1, 1, 1}; }
    /// The colour of a 24-bit 0xRRGGBB value, each channel / 255.
    static HexColor fromValue(std::uint32_t value);

    /// "#RRGGBB" or "RRGGBB" (either case), white space and line breaks around it allowed;
    /// anything else gives none.
    static std::optional<HexColor> hex(const std::string& text);
    /// `hex`, or white when the text is no colour.
    static HexColor parse(const std::string& text);

    /// "#" and six upper-case hexadecimal digits; channels below 0 or not a number read as 0,
    /// above 1 as 1.
    std::string hexString() const;

    bool operator==(const HexColor&) const = default;
};

}  // namespace kelvo
