#pragma once

namespace kelvo {

/// Why a window is left alone: the user said so, it cannot be moved (yet), or it is in full
/// screen.
enum class IgnoreReason { userPreference, unsettablePosition, fullScreen };

}  // namespace kelvo
