#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Config/Config.h"

namespace kelvo {

/// What the guide shows that is not a step of its own.
namespace FirstRunGuide {

/// The key-reference rows of the keys step, in display order.
inline constexpr std::array<std::string_view, 8> dayOneKeys = {
    "desktopSwitch", "desktopThrow", "focusLeft",   "focusDown",
    "focusUp",       "focusRight",   "newTerminal", "launcher",
};

/// The rows of `dayOneKeys` as `config` binds them; a row the reference does not hold (the
/// launcher's, while the launcher is off) is left out.
std::vector<KeyReference::Entry> dayOne(const Config& config);

}  // namespace FirstRunGuide

}  // namespace kelvo
