#pragma once

#include <string>

#include "Base/Foundation/CGGeometry.h"

namespace kelvo {

/// What the rules need to know of a window, read once from its attributes.
struct WindowTraits {
    /// Empty when the window has none.
    std::string subrole;
    bool positionSettable = false;
    bool sizeSettable = false;
    /// Points.
    CGSize size;
    /// The owning application's.
    std::string bundleID;
    bool fullScreen = false;

    bool operator==(const WindowTraits&) const = default;
};

}  // namespace kelvo
