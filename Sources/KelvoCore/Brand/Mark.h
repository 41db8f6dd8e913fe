#pragma once

#include "Base/CoreGraphics/CGPath.h"

namespace kelvo {

/// The mark's geometry, in a design square of `unit` a side with y growing downwards: a
/// rounded square holding a bar across the top and two panes below it.
class Mark {
  public:
    static constexpr CGFloat unit = 100;
    /// The share of an image's side the mark takes, and its inset from each edge
    /// (inset + body + inset = 1).
    static constexpr CGFloat bodyFraction = 0.8046875;
    static constexpr CGFloat bodyInset = 0.09765625;

    /// The three panes, in design units.
    struct Pane {
        static constexpr CGFloat exportScale = 40;
        static constexpr CGFloat outerRadius = 13.074525;
        static constexpr CGFloat innerRadius = 2.72985;
        static constexpr CGFloat barHeight = 23.537925;
        static constexpr CGFloat paneTop = 28.8012;
        static constexpr CGFloat paneWidth = 47.36835;
        static constexpr CGFloat rightPaneX = 52.63165;
    };

    /// The outline of the rounded square: eight cubic curves clockwise from the top middle.
    static CGPath squircle();
    /// A rectangle whose corners each have their own radius.
    static CGPath roundedRect(const CGRect& rect, CGFloat topLeft, CGFloat topRight,
                              CGFloat bottomRight, CGFloat bottomLeft);
    /// The bar and the two panes as one path, moved by (offset, offset).
    static CGPath panes(CGFloat offset = 0);
};

}  // namespace kelvo
