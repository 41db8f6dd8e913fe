#pragma once

#include <optional>
#include <vector>

#include "Base/Foundation/CGGeometry.h"

namespace kelvo {

/// Where the status item's row puts everything, in points, top-down: an optional band with
/// the focused application's name, the layout-mode mark, and one tile per desktop.
class MenuBarLayout {
  public:
    /// Side of a desktop tile.
    static constexpr CGFloat cell = 15;
    /// Width of the layout-mode mark's box.
    static constexpr CGFloat modeCell = 13;
    /// Space between two tiles.
    static constexpr CGFloat gap = 3;
    /// Margin at the left and right ends.
    static constexpr CGFloat edge = 4;
    static constexpr CGFloat nameBand = 90;
    /// Horizontal room of the mode mark: its box and 3 more.
    static constexpr CGFloat modeSegment = 16;
    static constexpr CGFloat rowHeight = 18;
    /// Top of every box in the row.
    static constexpr CGFloat boxTop = 1.5;

    struct Frames {
        CGFloat width = 0;
        /// None when there is no name band.
        std::optional<CGRect> name;
        CGRect mode;
        /// Desktop 1 first.
        std::vector<CGRect> cells;
        bool operator==(const Frames&) const = default;
    };

    /// The name band and the gap after it when the name is shown, else 0.
    static CGFloat nameSegment(bool showName);
    /// The tiles with their gaps and the margin after them (0 and fewer desktops count as 1).
    static CGFloat indicatorsOffset(int desktops);
    /// The image's width: the status item's length.
    static CGFloat width(int desktops, bool showName);
    static Frames frames(int desktops, bool showName);
};

}  // namespace kelvo
