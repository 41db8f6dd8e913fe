#pragma once

#include <string>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// The blocks pages put above or inside their cards to tell the user something: a symbol and a
/// wrapping text on a tinted, outlined rounded rectangle.
class Banners {
  public:
    static constexpr CGFloat spacing = 9;
    static constexpr CGFloat textSize = 12;
    static constexpr CGFloat inset = 13;
    static constexpr CGFloat cornerRadius = 10;
    static constexpr double fillOpacity = 0.1;
    static constexpr double strokeOpacity = 0.28;
};

/// A warning: "exclamationmark.triangle.fill" in `Palette::warning`.
SwiftUI::View notice(const std::string& text);
/// A note of care: "info.circle.fill" in `Palette::caution`.
SwiftUI::View caution(const std::string& text);
/// The inner row in the blocks' dress: inset, as wide as offered, on its tinted rounded
/// rectangle. `notice` and `caution` are two of these; the settings-file card shows its
/// transfer notice as one.
SwiftUI::View bannerBlock(const std::string& text, const std::string& symbol,
                          const SwiftUI::Color& colour);
/// The inner row of both: the symbol in the colour, then the text, top-aligned.
SwiftUI::View banner(const std::string& text, const std::string& symbol,
                     const SwiftUI::Color& colour);

}  // namespace kelvo
