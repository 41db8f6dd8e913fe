#pragma once

#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/Display.h"
#include "KelvoCore/Keys/Command.h"

namespace kelvo {

/// The small text forms the coordinator's log lines share.
struct LogText {
    LogText() = delete;

    /// Cut toward zero; a value that is not finite or beyond a 64-bit integer is spelt out
    /// ("nan", "inf", "-inf", or in exponent form) rather than breaking the line.
    static std::string whole(double value);
    /// Width, the separator and height, each cut to a whole number.
    static std::string size(double width, double height, const std::string& separator);
    /// "(" x "," y ")", each cut to a whole number.
    static std::string origin(double x, double y);
    /// "#" id " " width "x" height " at (" x "," y ")".
    static std::string display(const Display& display);
    /// The displays joined by ", ".
    static std::string displays(const std::vector<Display>& displays);
    /// The rectangle's standard text: "(" x ", " y ", " width ", " height ")" with decimals.
    static std::string rect(const CGRect& rect);
    /// A number with decimals in its shortest exact form: 30.0, 0.5, 1e+16.
    static std::string decimal(double value);
    /// The command's default textual form: the case name, then a payload in parentheses; a
    /// direction is qualified with its module and type ("focus(KelvoCore.Direction.left)").
    static std::string command(const Command& command);
};

}  // namespace kelvo
