#include "KelvoCore/Geometry/Direction.h"

namespace kelvo {

Axis axisOf(Direction direction) {
    switch (direction) {
        case Direction::left:
        case Direction::right:
            return Axis::vertical;
        case Direction::up:
        case Direction::down:
            return Axis::horizontal;
    }
    return Axis::vertical;
}

std::string toString(Direction direction) {
    switch (direction) {
        case Direction::left:
            return "left";
        case Direction::right:
            return "right";
        case Direction::up:
            return "up";
        case Direction::down:
            return "down";
    }
    return "left";
}

std::optional<Direction> directionFromString(const std::string& word) {
    return caseWithRawValue<Direction>(direction::allCases, word,
                                       [](Direction d) { return toString(d); });
}

}  // namespace kelvo
