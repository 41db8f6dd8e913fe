#include "KelvoCore/Color/HexColor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "Base/Text/UnicodeText.h"

namespace kelvo {

namespace {

constexpr std::size_t hexDigitCount = 6;
constexpr double channelMaximum = 255;

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int channelByte(double c) {
    if (std::isnan(c) || c < 0) return 0;
    return static_cast<int>(std::round(std::min(c, 1.0) * channelMaximum));
}

}  // namespace

std::optional<HexColor> HexColor::hex(const std::string& text) {
    std::string digits = UnicodeText::trimmingWhitespaceAndNewlines(text);
    if (!digits.empty() && digits.front() == '#') digits.erase(0, 1);
    if (digits.size() != hexDigitCount || !std::all_of(digits.begin(), digits.end(), isHexDigit)) {
        return std::nullopt;
    }
    return fromValue(static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16)));
}

HexColor HexColor::fromValue(std::uint32_t value) {
    return HexColor{((value >> 16) & 0xFF) / channelMaximum, ((value >> 8) & 0xFF) / channelMaximum,
                    (value & 0xFF) / channelMaximum};
}

HexColor HexColor::parse(const std::string& text) {
    return hex(text).value_or(white());
}

std::string HexColor::hexString() const {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", channelByte(red), channelByte(green),
                  channelByte(blue));
    return text;
}

}  // namespace kelvo
