#include "Base/Text/DecimalText.h"

#include <charconv>
#include <cmath>

namespace kelvo {

std::string DecimalText::of(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    const double magnitude = std::fabs(value);
    const bool positional =
        magnitude == 0 || (magnitude >= positionalFloor && magnitude <= positionalCeiling);
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value,
                      positional ? std::chars_format::fixed : std::chars_format::scientific);
    std::string text(buffer, error == std::errc() ? end : buffer);
    if (positional && text.find('.') == std::string::npos) text += ".0";
    return text;
}

std::string DecimalText::withoutPointZero(double value) {
    std::string text = of(value);
    if (text.ends_with(".0")) text.resize(text.size() - 2);
    return text;
}

}  // namespace kelvo
