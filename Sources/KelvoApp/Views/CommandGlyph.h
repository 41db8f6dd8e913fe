#pragma once

#include <vector>

#include "KelvoCore/Bindings/KeyReference.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// The tiny picture of what a command does to the screen, shown beside its key caps: a fixed
/// 22 × 16 canvas of panes, outlines and chevrons. Decorative only, hidden from accessibility.
class CommandGlyph {
  public:
    static constexpr CGFloat width = 22;
    static constexpr CGFloat height = 16;

    explicit CommandGlyph(KeyReference::Glyph glyph) : glyph(glyph) {}

    KeyReference::Glyph glyph;

    /// The glyph's shapes, in drawing order.
    std::vector<SwiftUI::View> shapes() const;
    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

}  // namespace kelvo
