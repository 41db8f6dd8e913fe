#pragma once

#include <string>

namespace kelvo {

/// The default decimal text of a double: the shortest digits that read back to the same value,
/// written positionally with their fraction ("1080.0", "0.0001") and with an exponent only for
/// very small or very large magnitudes ("1e-05", "3e+17"). Files and wire lines of the system
/// write their numbers this way, so that readers on either side agree on them byte for byte.
struct DecimalText {
    /// Magnitudes from the floor up to and including the ceiling are written positionally.
    static constexpr double positionalFloor = 1e-4;
    static constexpr double positionalCeiling = 0x1p54;

    /// The text with its fraction: an integral value ends in ".0". Not-a-number and the
    /// infinities read "nan", "inf" and "-inf".
    static std::string of(double value);
    /// The same text without a trailing ".0", as numbers are written in JSON.
    static std::string withoutPointZero(double value);
};

}  // namespace kelvo
