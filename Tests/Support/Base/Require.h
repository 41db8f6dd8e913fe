#pragma once

#include <cstdlib>

namespace kelvo::testing {

/// A fuzz target's check: a condition that does not hold ends the process at once, so that
/// the fuzzer keeps the input that broke it.
inline void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace kelvo::testing
