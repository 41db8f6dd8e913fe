#pragma once

#include <string>
#include <vector>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// One key of a chord, on a small rounded cap.
struct Keycap {
    static constexpr CGFloat textSize = 11;
    static constexpr CGFloat minimumWidth = 11;
    static constexpr CGFloat cornerRadius = 5;

    std::string label;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// Chords as rows of caps, "or" between them.
struct ChordChips {
    static constexpr CGFloat spacing = 5;
    static constexpr CGFloat capSpacing = 3;

    /// Each chord's key labels, in order.
    std::vector<std::vector<std::string>> caps;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

}  // namespace kelvo
