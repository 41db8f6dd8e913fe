#pragma once

#include <optional>
#include <string>

#include "Simulator/DesktopValues.h"

namespace sim {

/// A colour panel as a client shows it: the colour it starts from, as a hash sign and six
/// upper-case hexadecimal digits, and whether it offers opacity.
struct ColorPanelSpec {
    std::string color;
    bool showsAlpha = false;
    bool operator==(const ColorPanelSpec&) const = default;
};

/// One colour panel the desktop showed, with the application that showed it and the colour
/// picked in it (none when the person closed it without a pick).
struct ColorPanelRecord {
    Pid owner = 0;
    ColorPanelSpec panel;
    std::optional<std::string> picked;
    bool operator==(const ColorPanelRecord&) const = default;
};

}  // namespace sim
