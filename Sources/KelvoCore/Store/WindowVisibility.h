#pragma once

#include <optional>

#include "Base/Foundation/CGGeometry.h"

namespace kelvo {

/// What is known about one window that should be visible on the active desktop.
struct WindowVisibility {
    /// The bridge can still address the window.
    bool reachable = true;
    bool reportsMinimized = false;
    bool applicationReportsHidden = false;
    /// The frame read now, if it could be read.
    std::optional<CGRect> frame;
    /// Given up on by the reconciler and not floating.
    bool isUnmanageable = false;
    /// Kept by the bridge although its application's window list no longer shows it.
    bool absentFromWindowList = false;
    /// Where the visible layout puts it.
    std::optional<CGRect> intendedFrame;

    bool operator==(const WindowVisibility&) const = default;
};

}  // namespace kelvo
