#pragma once

#include <cstdint>
#include <vector>

#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// The windows of these numbers, in order.
inline std::vector<WindowID> ids(const std::vector<std::uint32_t>& numbers) {
    std::vector<WindowID> windows;
    for (const auto number : numbers)
        windows.emplace_back(number);
    return windows;
}

}  // namespace kelvo
