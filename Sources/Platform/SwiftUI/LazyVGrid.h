#pragma once

#include <vector>

#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

/// A column of a grid: flexible, at least `minimum` wide and at most `maximum`.
struct GridItem {
    CGFloat minimum = 10;
    CGFloat maximum = infinity;
    /// The space after this column, before the next.
    std::optional<CGFloat> spacing = std::nullopt;
    Alignment alignment = Alignment::center();

    static GridItem flexible(CGFloat minimum = 10, CGFloat maximum = infinity,
                             std::optional<CGFloat> spacing = std::nullopt) {
        return {minimum, maximum, spacing};
    }
};

/// Cells in rows of the columns' count, left to right: the columns share the width left after
/// their spacing equally (within their bounds); each row is as high as its tallest cell.
View LazyVGrid(std::vector<GridItem> columns, HorizontalAlignment alignment,
               std::optional<CGFloat> spacing, std::vector<View> content);

}  // namespace SwiftUI
