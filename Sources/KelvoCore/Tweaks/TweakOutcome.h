#pragma once

#include <string>

namespace kelvo {

/// The result of one tweak operation.
enum class TweakOutcome {
    /// The store now holds what was asked, verified by reading it back.
    changed,
    /// Nothing needed doing: the tweak was already on, or already off.
    unchanged,
    /// The key holds a value that could not be written back later, so it was left alone.
    refusedUnrestorable,
    /// Read back after the write, the key does not hold what was written.
    writeFailed,
};

/// The case name.
std::string rawValue(TweakOutcome outcome);

}  // namespace kelvo
