#include "KelvoCore/Store/ParkFinding.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kelvo {

namespace {

/// Cut toward zero; a coordinate that is not a number prints as 0 and an infinite one as the
/// nearest representable integer, so a broken read never breaks the line.
std::string wholePoints(CGFloat value) {
    if (std::isnan(value)) return "0";
    constexpr double limit = 9.2e18;
    const double cut = std::trunc(std::fmax(-limit, std::fmin(limit, value)));
    return std::to_string(static_cast<std::int64_t>(cut));
}

}  // namespace

std::string ParkFinding::line() const {
    return "park of window " + std::to_string(id.raw) + " (" + bundleID + ") of desktop " +
           std::to_string(desktop) + ": " + explanation(outcome) + " — read back at (" +
           wholePoints(frame.minX()) + ", " + wholePoints(frame.minY()) + ")";
}

}  // namespace kelvo
