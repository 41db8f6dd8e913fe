#pragma once

#include "KelvoCore/Bindings/KeyReference.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// One shortcut of the cheat sheet: its description, wrapping as needed, then the key caps of
/// its first chord (none when it has no chord).
struct CheatsheetRow {
    static constexpr CGFloat spacing = 10;
    static constexpr CGFloat textSize = 12;
    static constexpr CGFloat capSpacing = 3;
    static constexpr CGFloat capTextSize = 11;
    static constexpr CGFloat capMinimumWidth = 16;
    static constexpr CGFloat capPaddingAcross = 5;
    static constexpr CGFloat capPaddingDown = 3;
    static constexpr CGFloat capCornerRadius = 5;
    static constexpr double capFillOpacity = 0.07;

    KeyReference::Entry entry;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    /// One key cap: the label on a faint, outlined rounded rectangle.
    static SwiftUI::View keyCap(const std::string& label);
};

}  // namespace kelvo
