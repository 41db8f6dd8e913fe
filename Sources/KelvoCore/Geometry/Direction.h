#pragma once

#include <array>
#include <optional>
#include <string>

#include "KelvoCore/Geometry/Axis.h"

namespace kelvo {

enum class Direction { left, right, up, down };

namespace direction {
inline constexpr std::array<Direction, 4> allCases = {Direction::left, Direction::right,
                                                      Direction::up, Direction::down};
}

/// The axis of a split whose two children lie in this direction from each other: moving left
/// or right crosses a vertical split, moving up or down a horizontal one.
Axis axisOf(Direction direction);

/// "left", "right", "up", "down": the words the wire and the logs use.
std::string toString(Direction direction);
/// Exact, case-sensitive; any other text gives none.
std::optional<Direction> directionFromString(const std::string& word);

}  // namespace kelvo
