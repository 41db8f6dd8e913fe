#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Base/Foundation/CGGeometry.h"

namespace kelvo {

/// An attached display, identified by its `id`.
struct Display {
    std::uint32_t id = 0;
    CGRect frame;

    Display() = default;
    Display(std::uint32_t displayID, CGRect displayFrame) : id(displayID), frame(displayFrame) {}

    bool operator==(const Display&) const = default;
};

/// The display that holds a rectangle: the largest positive overlap, ties to the lower id;
/// none when the rectangle overlaps no display by more than an edge.
std::optional<Display> holding(const std::vector<Display>& displays, const CGRect& rect);

}  // namespace kelvo
