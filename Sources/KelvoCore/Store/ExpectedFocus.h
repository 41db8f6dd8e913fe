#pragma once

#include <optional>
#include <string>

#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// A focus or activation change that the store caused or is waiting for: an application about
/// to become active (no window), or a window about to be focused.
struct ExpectedFocus {
    std::optional<std::string> bundleID;
    std::optional<WindowID> window;

    /// The bundle identifier or "-", "/", the window number or "-", as the state text writes it.
    std::string description() const;

    bool operator==(const ExpectedFocus&) const = default;
};

}  // namespace kelvo
