#pragma once

#include <cstddef>

namespace kelvo::testing {

/// The threads of this process, from the kernel's own list: for tests that a thread does not
/// outlive what started it.
std::size_t threadCount();

}  // namespace kelvo::testing
