#include "KelvoApp/Coordinator/LogText.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "KelvoCore/Geometry/Direction.h"

namespace kelvo {

std::string LogText::whole(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    const double cut = std::trunc(value);
    // Both bounds are exact in a double.
    if (cut >= -0x1p63 && cut < 0x1p63) return std::to_string(static_cast<std::int64_t>(cut));
    return decimal(cut);
}

std::string LogText::size(double width, double height, const std::string& separator) {
    return whole(width) + separator + whole(height);
}

std::string LogText::origin(double x, double y) {
    return "(" + whole(x) + "," + whole(y) + ")";
}

std::string LogText::display(const Display& display) {
    const CGRect& f = display.frame;
    return "#" + std::to_string(display.id) + " " + size(f.width(), f.height(), "x") + " at " +
           origin(f.minX(), f.minY());
}

std::string LogText::displays(const std::vector<Display>& displays) {
    std::string text;
    for (const Display& d : displays)
        text += (text.empty() ? "" : ", ") + display(d);
    return text;
}

std::string LogText::rect(const CGRect& rect) {
    return "(" + decimal(rect.origin.x) + ", " + decimal(rect.origin.y) + ", " +
           decimal(rect.size.width) + ", " + decimal(rect.size.height) + ")";
}

std::string LogText::decimal(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

std::string LogText::command(const Command& command) {
    if (const auto desktop = command.desktop()) {
        return command.name() + "(" + std::to_string(*desktop) + ")";
    }
    if (const auto direction = command.direction()) {
        return command.name() + "(KelvoCore.Direction." + toString(*direction) + ")";
    }
    return command.name();
}

}  // namespace kelvo
