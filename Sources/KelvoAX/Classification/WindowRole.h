#pragma once

namespace kelvo {

/// What becomes of a window the system meets.
enum class WindowRole { tiled, floating, ignored };

}  // namespace kelvo
