#pragma once

#include "Base/Foundation/CGGeometry.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// The height the guide's content wants: every measured part of one window adds its own.
struct GuideHeightKey {
    using Value = CGFloat;
    static Value defaultValue() { return 0; }
    static void reduce(Value& value, Value next) { value += next; }
};

/// `view` with its laid-out height added to the window's `GuideHeightKey`.
SwiftUI::View measuredIntoGuideHeight(const SwiftUI::View& view);

}  // namespace kelvo
