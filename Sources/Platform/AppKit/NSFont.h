#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "Platform/AppKit/NSFontDescriptor.h"

typedef struct _PangoFontDescription PangoFontDescription;

class NSFont;
using NSFontRef = std::shared_ptr<const NSFont>;

/// A font of the system family: the standard and rounded designs drawn with the sans-serif
/// family that stands in for the platform's, the monospaced one with DejaVu Sans Mono; each
/// weight with the family's face nearest to it. A point is one unit of user space (one pixel
/// at scale 1).
class NSFont {
  public:
    static constexpr CGFloat systemFontSize = 13;
    static constexpr CGFloat menuFontSize = 14;
    /// Sizes above this are drawn at it.
    static constexpr CGFloat maximumPointSize = 4096;
    /// The family of the standard and rounded designs: of the sans-serif families at hand, the
    /// one under which the most of the system's texts fit the widths drawn for the platform's
    /// own font.
    static constexpr const char* systemFamily = "Carlito";
    static constexpr const char* monospacedFamily = "DejaVu Sans Mono";

    /// A size that is not positive (or not a number) gives the system font size.
    static NSFontRef systemFontOfSize(CGFloat size, NSFontWeight weight = NSFontWeightRegular);
    static NSFontRef monospacedSystemFontOfSize(CGFloat size, NSFontWeight weight);
    /// The menus' font; a size of 0 gives their standard size.
    static NSFontRef menuFontOfSize(CGFloat size);
    /// The font a descriptor names, at `size` (0: the descriptor's own size); none for a
    /// descriptor of a design the family has no face of.
    static NSFontRef fontWithDescriptor(const NSFontDescriptor& descriptor, CGFloat size);

    NSFont(CGFloat size, NSFontWeight weight, NSFontDesign design);
    ~NSFont();
    NSFont(const NSFont&) = delete;
    NSFont& operator=(const NSFont&) = delete;

    CGFloat pointSize() const { return size_; }
    NSFontWeight weight() const { return weight_; }
    NSFontDesign design() const { return design_; }
    NSFontDescriptorRef fontDescriptor() const;
    /// `systemFamily` or `monospacedFamily`.
    std::string familyName() const;
    /// The family and the face the weight is drawn with: "Carlito Bold", …
    std::string displayName() const;
    /// Distances from the baseline to the top and (negative) to the bottom of the font's lines.
    CGFloat ascender() const;
    CGFloat descender() const;
    /// The space the font asks for between the bottom of one line and the top of the next.
    CGFloat leading() const;
    /// A line of this font is ascender - descender + leading high, as the platform's text system
    /// sets it: that height over ascender - descender.
    double lineHeightFactor() const;

    /// For the text system.
    const PangoFontDescription* pangoDescription() const { return description_; }

  private:
    struct Metrics {
        CGFloat ascender = 0;
        CGFloat descender = 0;
        CGFloat leading = 0;
    };
    /// How many faces and sizes a thread keeps the metrics of before it measures afresh.
    static constexpr std::size_t measuredLimit = 256;

    void measure() const;
    Metrics measured() const;
    std::string loadedFaceName() const;

    CGFloat size_;
    NSFontWeight weight_;
    NSFontDesign design_;
    PangoFontDescription* description_;
    mutable std::optional<Metrics> metrics_;
    mutable std::optional<std::string> faceName_;
};
