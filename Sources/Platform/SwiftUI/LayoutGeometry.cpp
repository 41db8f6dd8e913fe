#include "Platform/SwiftUI/LayoutGeometry.h"

#include <cmath>

namespace SwiftUI {

namespace {

CGFloat finiteOrZero(CGFloat value) {
    return std::isfinite(value) && value > 0 ? value : 0;
}

}  // namespace

std::optional<CGFloat> ProposedViewSize::along(LayoutAxis axis) const {
    return axis == LayoutAxis::horizontal ? width : height;
}

std::optional<CGFloat> ProposedViewSize::across(LayoutAxis axis) const {
    return axis == LayoutAxis::horizontal ? height : width;
}

ProposedViewSize ProposedViewSize::make(LayoutAxis axis, std::optional<CGFloat> length,
                                        std::optional<CGFloat> cross) {
    return axis == LayoutAxis::horizontal ? ProposedViewSize{length, cross}
                                          : ProposedViewSize{cross, length};
}

CGSize ProposedViewSize::replacingUnspecified(CGSize size) const {
    return {width.value_or(size.width), height.value_or(size.height)};
}

CGSize sanitizedSize(CGSize size) {
    // An infinite answer stays: a view may take all of an infinite offer, and the parent
    // decides what that means; only what cannot be measured at all becomes zero.
    auto clean = [](CGFloat value) { return std::isnan(value) || value < 0 ? 0.0 : value; };
    return {clean(size.width), clean(size.height)};
}

CGFloat length(CGSize size, LayoutAxis axis) {
    return axis == LayoutAxis::horizontal ? size.width : size.height;
}

CGSize sizeAlong(LayoutAxis axis, CGFloat length, CGFloat cross) {
    return axis == LayoutAxis::horizontal ? CGSize{length, cross} : CGSize{cross, length};
}

CGFloat alignedOffset(HorizontalAlignment alignment, CGFloat available, CGFloat length) {
    switch (alignment) {
        case HorizontalAlignment::leading:
            return 0;
        case HorizontalAlignment::center:
            return finiteOrZero(available) / 2 - finiteOrZero(length) / 2;
        case HorizontalAlignment::trailing:
            return finiteOrZero(available) - finiteOrZero(length);
    }
    return 0;
}

CGFloat alignedOffset(VerticalAlignment alignment, CGFloat available, CGFloat length) {
    switch (alignment) {
        case VerticalAlignment::top:
        case VerticalAlignment::firstTextBaseline:
            return 0;
        case VerticalAlignment::center:
            return finiteOrZero(available) / 2 - finiteOrZero(length) / 2;
        case VerticalAlignment::bottom:
            return finiteOrZero(available) - finiteOrZero(length);
    }
    return 0;
}

EdgeInsets Edges::insets(CGFloat amount) const {
    return {contains(topBit) ? amount : 0, contains(leadingBit) ? amount : 0,
            contains(bottomBit) ? amount : 0, contains(trailingBit) ? amount : 0};
}

}  // namespace SwiftUI
