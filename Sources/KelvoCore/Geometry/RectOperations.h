#pragma once

#include <utility>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/Axis.h"

namespace kelvo {

/// The axis along which a rectangle is best cut: `vertical` (left and right halves) when it
/// is at least as wide as it is tall, else `horizontal`.
Axis longerAxis(const CGRect& rect);

/// Cuts a rectangle in two along the axis. The ratio is used exactly as given, nothing is
/// clamped or rounded, and the two parts always tile the input.
std::pair<CGRect, CGRect> split(const CGRect& rect, Axis along, double ratio);

}  // namespace kelvo
