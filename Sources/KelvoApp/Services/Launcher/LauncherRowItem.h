#pragma once

#include <optional>
#include <string>

#include "Platform/AppKit/NSImage.h"

namespace kelvo {

/// One application row of the launcher as the view draws it.
struct LauncherRowItem {
    std::string bundleID;
    std::string name;
    bool isRunning = false;
    /// The desktop to show as a badge; none for no badge.
    std::optional<int> desktop;
    /// Null: the row draws a placeholder square.
    NSImageRef icon;

    /// Rows are the same row when they are the same application.
    const std::string& id() const { return bundleID; }
    bool operator==(const LauncherRowItem&) const = default;
};

}  // namespace kelvo
