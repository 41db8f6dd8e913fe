#pragma once

#include "KelvoCore/Geometry/Direction.h"
#include "Platform/SwiftUI/Shape.h"

namespace kelvo {

// The shapes command glyphs are built of. Rectangles are in the glyph's own canvas, origin top
// left, y down; each primitive is sized to its rectangle and placed there.

/// The colours of the glyphs, from the accent and white, each made once.
class GlyphColour {
  public:
    static const SwiftUI::Color& accent();
    static const SwiftUI::Color& even();
    static const SwiftUI::Color& quiet();
    static const SwiftUI::Color& edge();
    static const SwiftUI::Color& faint();
    static const SwiftUI::Color& faintFill();
};

/// A filled rounded rectangle with continuous corners.
SwiftUI::View GlyphPane(const CGRect& rect, const SwiftUI::Color& fill, CGFloat radius);
/// A rounded rectangle's border, stroked inside it.
SwiftUI::View GlyphOutline(const CGRect& rect, const SwiftUI::Color& colour);
/// An open arrow head pointing in the direction, with round caps and joins.
SwiftUI::View GlyphChevron(Direction direction, const CGRect& rect, const SwiftUI::Color& colour,
                           CGFloat width);

/// The three points of a chevron in a rectangle.
SwiftUI::Shape ChevronShape(Direction direction);
/// The arrow head at the end of the rotation arc, at fixed canvas corners.
SwiftUI::Shape RotationHead();
/// The rotation arc, at fixed canvas coordinates whatever rectangle it is given.
SwiftUI::Shape RotationArc();

/// Sizes of the primitives.
struct GlyphMetrics {
    static constexpr CGFloat outlineRadius = 2.6;
    static constexpr CGFloat outlineWidth = 1;
    static constexpr CGPoint arcCentre{11, 8};
    static constexpr CGFloat arcRadius = 5.1;
    static constexpr CGFloat arcStart = 0.6108652381980153;
    static constexpr CGFloat arcEnd = 5.235987755982989;
};

}  // namespace kelvo
