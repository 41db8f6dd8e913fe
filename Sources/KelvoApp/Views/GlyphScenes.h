#pragma once

#include <vector>

#include "KelvoCore/Geometry/Direction.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// The shapes of each command glyph on its 22 × 16 canvas, in drawing order.
class GlyphScenes {
  public:
    /// The screen's frame, where a glyph draws one.
    static inline const CGRect screen{0.5, 0.5, 21, 15};
    /// The inner screen area the direction families divide.
    static inline const CGRect inner{1.6, 1.6, 18.8, 12.8};
    /// The space between two panes of the inner area.
    static constexpr CGFloat paneGap = 1.3;
    static constexpr CGFloat paneRadius = 1.8;
    static constexpr CGFloat chevronWidth = 1.4;
    static constexpr CGFloat smallChevronWidth = 1.1;

    static std::vector<SwiftUI::View> focus(Direction direction);
    static std::vector<SwiftUI::View> move(Direction direction);
    static std::vector<SwiftUI::View> resize(Direction direction);
    static std::vector<SwiftUI::View> desktopSwitch();
    static std::vector<SwiftUI::View> desktopThrow();
    static std::vector<SwiftUI::View> zoom();
    static std::vector<SwiftUI::View> rebalance();
    static std::vector<SwiftUI::View> split();
    static std::vector<SwiftUI::View> rotate();
    static std::vector<SwiftUI::View> floating();
    static std::vector<SwiftUI::View> terminal();
    static std::vector<SwiftUI::View> launcher();
    static std::vector<SwiftUI::View> master();
    static std::vector<SwiftUI::View> layoutMode();
    static std::vector<SwiftUI::View> showDesktop();
    static std::vector<SwiftUI::View> cheatsheet();

  private:
    /// Half the inner area's width and height, less half the gap.
    static CGFloat halfWidth();
    static CGFloat halfHeight();
    /// The inner area's left and right halves in one colour.
    static std::vector<SwiftUI::View> halves(const SwiftUI::Color& colour);
    static SwiftUI::View screenFrame();
};

}  // namespace kelvo
