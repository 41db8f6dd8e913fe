#pragma once

#include <string>

#include "Platform/SwiftUI/Color.h"

namespace kelvo {

/// The colour tokens of the settings window, the guide, the cheat sheet, the launcher and the
/// command glyphs: sRGB, each made once on first use.
class Palette {
  public:
    static const SwiftUI::Color& background();
    static const SwiftUI::Color& chrome();
    static const SwiftUI::Color& card();
    static const SwiftUI::Color& stroke();
    static const SwiftUI::Color& hairline();
    /// The brand's accent.
    static const SwiftUI::Color& accent();
    static const SwiftUI::Color& tile();
    static const SwiftUI::Color& title();
    static const SwiftUI::Color& label();
    static const SwiftUI::Color& dim();
    static const SwiftUI::Color& caution();
    static const SwiftUI::Color& warning();
    static const SwiftUI::Color& good();
};

/// "#" and six upper-case hexadecimal digits of a colour's red, green and blue in sRGB, as the
/// configuration stores a picked colour; white's for a colour that has no sRGB form.
std::string hexString(const SwiftUI::Color& color);

}  // namespace kelvo
