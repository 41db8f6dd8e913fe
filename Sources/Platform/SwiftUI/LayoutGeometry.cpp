#include "Platform/SwiftUI/LayoutGeometry.h"

namespace SwiftUI {

CGSize ProposedViewSize::replacingUnspecified(CGSize size) const {
    return {width.value_or(size.width), height.value_or(size.height)};
}

EdgeInsets Edges::insets(CGFloat amount) const {
    return {contains(topBit) ? amount : 0, contains(leadingBit) ? amount : 0,
            contains(bottomBit) ? amount : 0, contains(trailingBit) ? amount : 0};
}

}  // namespace SwiftUI
